// Phong lighting in world space; the engine puts "#define DIRECTIONAL" or
// "#define POINT" in front.
//
// Meshes name their texture coordinates differently: "TexCoords" (meshes
// built from vertex arrays in code, such as the golf walls), "Texcoord"
// (every mesh read from a .pwn file) and "TexCoord" (meshes built from raw
// data by the engine). A mesh supplies one of them; the others are disabled
// arrays that read 0, so their sum is the mesh's own coordinates.
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
