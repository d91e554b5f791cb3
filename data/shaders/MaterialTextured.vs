// One texture, unlit. The texture coordinates come under any of the three
// names meshes use ("TexCoords" in code-built vertex arrays, "Texcoord" from
// .pwn files, "TexCoord" from raw data); the mesh supplies one and the
// others are disabled arrays that read 0.
attribute vec3 Vertex;
attribute vec2 TexCoords;
attribute vec2 Texcoord;
attribute vec2 TexCoord;

uniform mat4 WorldViewProjection;

varying vec2 texCoord;

void main() {
    texCoord = TexCoords + Texcoord + TexCoord;
    gl_Position = WorldViewProjection * vec4(Vertex, 1.0);
}
