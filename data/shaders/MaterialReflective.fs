// The environment cube map seen in the mirror: the ray from the eye to the
// surface, reflected at the surface normal, in world space. "ViewPosition"
// is the camera's negated position.
precision mediump float;

uniform vec3 ViewPosition;
uniform samplerCube EnvSampler;

varying vec3 worldPosition;
varying vec3 worldNormal;

void main() {
    vec3 ray = worldPosition + ViewPosition;
    gl_FragColor = textureCube(EnvSampler, reflect(ray, normalize(worldNormal)));
}
