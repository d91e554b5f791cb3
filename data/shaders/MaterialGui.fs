// The menu bar: the picture in its own colours (the ambient colour), and a
// warm glow over the band of GUI-world x from "LightStart" to "LightStop".
// The bar's light is in no world, so the light uniforms do not change how
// it looks.
precision mediump float;

uniform vec3 LightVector;
uniform vec3 LightColor;
uniform vec3 ViewPosition;
uniform vec3 AmbientColor;
uniform vec3 DiffuseColor;
uniform vec3 SpecularColor;
uniform float Shininess;
uniform float Emissive;
uniform float SpecularLevel;
uniform float LightStart;
uniform float LightStop;
uniform sampler2D DiffuseSampler;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;

void main() {
    vec4 texel = texture2D(DiffuseSampler, texCoord);
    vec3 color = texel.rgb * AmbientColor;
    if (worldPosition.x > LightStart && worldPosition.x < LightStop) {
        color = mix(color, vec3(1.0, 0.8, 0.2), 0.3) + vec3(0.15) * Emissive;
    }
    gl_FragColor = vec4(color, texel.a);
}
