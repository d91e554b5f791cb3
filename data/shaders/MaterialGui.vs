// The menu bar: textured, with the x coordinate of the GUI world handed on
// so the fragment shader can mark the highlighted band.
attribute vec3 Vertex;
attribute vec3 Normal;
attribute vec2 Texcoord;

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
    texCoord = Texcoord;
    gl_Position = WorldViewProjection * position;
}
