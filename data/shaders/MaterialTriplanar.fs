// Blends three projections of "DiffuseSampler", weighted by how squarely the
// surface faces each axis, and lights them by a directional light from
// "LightVector" with a little ambient light so the shadowed side still shows.
precision mediump float;

uniform sampler2D DiffuseSampler;
uniform vec3 LightVector;
uniform vec3 LightColor;

varying vec3 objectPosition;
varying vec3 objectNormal;
varying vec3 worldNormal;

// Texture repeats per voxel.
const float kTiling = 0.25;

void main() {
    vec3 weights = abs(normalize(objectNormal));
    weights = pow(weights, vec3(4.0));
    weights /= weights.x + weights.y + weights.z;
    vec3 p = objectPosition * kTiling;
    vec3 texel = texture2D(DiffuseSampler, p.yz).rgb * weights.x +
                 texture2D(DiffuseSampler, p.zx).rgb * weights.y +
                 texture2D(DiffuseSampler, p.xy).rgb * weights.z;
    float lambert = max(dot(normalize(worldNormal), LightVector), 0.0);
    vec3 light = LightColor * (0.25 + 0.85 * lambert);
    gl_FragColor = vec4(texel * light, 1.0);
}
