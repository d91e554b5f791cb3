// Each vertex in its own colour. The meshes drawn with this material (shots,
// stars, bullets) carry a "Color" attribute of four components; a mesh
// without one reads the disabled array's (0, 0, 0, 1) and shows black, so
// the colour is never made up from the normal.
attribute vec3 Vertex;
attribute vec4 Color;

uniform mat4 WorldViewProjection;

varying vec4 color;

void main() {
    color = Color;
    gl_Position = WorldViewProjection * vec4(Vertex, 1.0);
}
