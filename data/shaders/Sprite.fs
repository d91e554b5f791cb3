// The sprite's texture tinted by the colour of its light.
precision mediump float;

uniform sampler2D TextureSampler;
uniform vec3 LightColor;

varying vec2 texCoord;

void main() {
    vec4 texel = texture2D(TextureSampler, texCoord);
    gl_FragColor = vec4(texel.rgb * LightColor, texel.a);
}
