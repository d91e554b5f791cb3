// A quad facing the camera: its centre at "Position" in the world, its
// half width and half height "Size" in world units (the shared quad runs
// from -1 to 1), showing the texture rectangle from "TexcoordsFrom"
// (top-left) to "TexcoordsTo" (bottom-right).
attribute vec2 Vertex;

uniform mat4 View;
uniform mat4 Projection;
uniform vec3 Position;
uniform vec2 Size;
uniform vec2 TexcoordsFrom;
uniform vec2 TexcoordsTo;

varying vec2 texCoord;

void main() {
    vec2 corner = Vertex * 0.5 + 0.5;
    texCoord = mix(TexcoordsFrom, TexcoordsTo, vec2(corner.x, 1.0 - corner.y));
    vec4 centre = View * vec4(Position, 1.0);
    gl_Position = Projection * (centre + vec4(Vertex * Size, 0.0, 0.0));
}
