// Phong lighting in world space: a directional light shines from
// "LightVector", a point light sits at "LightPosition" and fades gently with
// distance. "ViewPosition" is the camera's negated position.
precision mediump float;

#ifdef DIRECTIONAL
uniform vec3 LightVector;
#endif
#ifdef POINT
uniform vec3 LightPosition;
#endif
uniform vec3 LightColor;
uniform vec3 ViewPosition;
uniform vec3 AmbientColor;
uniform vec3 DiffuseColor;
uniform vec3 SpecularColor;
uniform float Shininess;
uniform float Emissive;
uniform float SpecularLevel;
uniform sampler2D DiffuseSampler;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;

void main() {
    vec3 normal = normalize(worldNormal);
#ifdef POINT
    vec3 toLight = LightPosition - worldPosition;
    float distance = length(toLight);
    vec3 light = toLight / max(distance, 0.0001);
    float attenuation = 1.0 / (1.0 + 0.0001 * distance * distance);
#else
    vec3 light = LightVector;
    float attenuation = 1.0;
#endif
    vec3 toEye = normalize(-ViewPosition - worldPosition);
    float lambert = max(dot(normal, light), 0.0);
    float highlight = 0.0;
    if (lambert > 0.0) {
        highlight = pow(max(dot(reflect(-light, normal), toEye), 0.0), Shininess);
    }
    vec3 lightColor = LightColor * attenuation;
    vec4 texel = texture2D(DiffuseSampler, texCoord);
    vec3 color = texel.rgb * (AmbientColor + DiffuseColor * (lightColor * lambert + Emissive)) +
                 SpecularColor * SpecularLevel * lightColor * highlight;
    gl_FragColor = vec4(color, texel.a);
}
