// Phong lighting in world space; the engine puts "#define DIRECTIONAL" or
// "#define POINT" in front.
attribute vec3 Vertex;
attribute vec3 Normal;
attribute vec2 TexCoord;

uniform mat4 World;
uniform mat4 WorldInverseTranspose;
uniform mat4 WorldViewProjection;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;

void main() {
    vec4 position = vec4(Vertex, 1.0);
    worldPosition = (World * position).xyz;
    worldNormal = (WorldInverseTranspose * vec4(Normal, 0.0)).xyz;
    texCoord = TexCoord;
    gl_Position = WorldViewProjection * position;
}
