// A point-lit surface whose texture the fragment shader warps over time.
// Texture coordinates as in MaterialTextured.vs: the sum of the three names
// meshes use, of which a mesh supplies one.
attribute vec3 Vertex;
attribute vec3 Normal;
attribute vec2 TexCoords;
attribute vec2 Texcoord;
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
    texCoord = TexCoords + Texcoord + TexCoord;
    gl_Position = WorldViewProjection * position;
}
