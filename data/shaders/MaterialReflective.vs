// A mirror: the fragment shader reflects the view ray at the surface.
attribute vec3 Vertex;
attribute vec3 Normal;

uniform mat4 World;
uniform mat4 WorldInverseTranspose;
uniform mat4 WorldViewProjection;

varying vec3 worldPosition;
varying vec3 worldNormal;

void main() {
    vec4 position = vec4(Vertex, 1.0);
    worldPosition = (World * position).xyz;
    worldNormal = (WorldInverseTranspose * vec4(Normal, 0.0)).xyz;
    gl_Position = WorldViewProjection * position;
}
