// "Time" runs from 0 to 1 and wraps. The noise texture, scrolled by it,
// ripples the diffuse texture's coordinates and makes the ambient light
// flicker; everything moves with whole periods of Time, so the wrap does not
// show. The light is a point light at "LightPosition"; "ViewPosition" is
// the camera's negated position.
precision mediump float;

uniform vec3 LightColor;
uniform vec3 LightPosition;
uniform vec3 ViewPosition;
uniform vec3 AmbientColor;
uniform vec3 DiffuseColor;
uniform vec3 SpecularColor;
uniform float Shininess;
uniform float Time;
uniform sampler2D DiffuseSampler;
uniform sampler2D NoiseSampler;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;

const float kTurn = 6.2831853;

void main() {
    float noise = texture2D(NoiseSampler, texCoord + vec2(Time, 2.0 * Time)).r;
    float wave = sin((texCoord.y + Time) * kTurn * 2.0);
    vec2 ripple = vec2(noise - 0.5) * 0.05 * wave;
    vec4 texel = texture2D(DiffuseSampler, texCoord + ripple);

    vec3 normal = normalize(worldNormal);
    vec3 light = normalize(LightPosition - worldPosition);
    vec3 toEye = normalize(-ViewPosition - worldPosition);
    float lambert = max(dot(normal, light), 0.0);
    float highlight = 0.0;
    if (lambert > 0.0) {
        highlight = pow(max(dot(reflect(-light, normal), toEye), 0.0), Shininess);
    }
    vec3 ambient = AmbientColor * (0.5 + noise);
    vec3 color = texel.rgb * (ambient + DiffuseColor * LightColor * lambert) +
                 SpecularColor * LightColor * highlight;
    gl_FragColor = vec4(color, texel.a);
}
