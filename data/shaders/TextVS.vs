// One glyph of the text printer: the cell's quad placed at "offset" from the
// screen centre, slanted to the right when italic.
attribute vec2 pos;
attribute vec2 tex;

uniform vec2 offset;
uniform vec2 glyph;
uniform vec2 pixel_size;
uniform int italic;

varying vec2 cellTex;
varying vec2 cellPixel;
varying vec2 glyphCorner;

void main() {
    vec2 pixel = pos / pixel_size;
    // "italic" is 2 when set: a fifth of a pixel sideways per pixel above
    // the baseline, which is 4 pixels above the cell's bottom.
    float slant = float(italic) * 0.1 * (pixel.y - 4.0);
    cellTex = tex;
    cellPixel = pixel;
    glyphCorner = glyph;
    gl_Position = vec4(offset + pos + vec2(slant * pixel_size.x, 0.0), 0.0, 1.0);
}
