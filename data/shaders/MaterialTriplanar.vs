// Triplanar texturing: the mesh has no texture coordinates, so the fragment
// shader projects the texture along the three axes of the mesh's own space
// (voxel units), where it stays fixed to the rock as it spins. Lighting is
// in world space.
attribute vec3 Vertex;
attribute vec3 Normal;

uniform mat4 WorldInverseTranspose;
uniform mat4 WorldViewProjection;

varying vec3 objectPosition;
varying vec3 objectNormal;
varying vec3 worldNormal;

void main() {
    vec4 position = vec4(Vertex, 1.0);
    objectPosition = Vertex;
    objectNormal = Normal;
    worldNormal = (WorldInverseTranspose * vec4(Normal, 0.0)).xyz;
    gl_Position = WorldViewProjection * position;
}
