// One glyph of the text printer: the cell's quad placed at "offset" from the
// screen centre, slanted to the right when italic. The cell's corner moves
// onto whole screen pixels (a screen of odd size has its centre between two),
// so each font texel covers one pixel and the glyph stays as crisp as the
// font.
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
    // The corner in pixels from the screen's lower-left edge lies on a whole
    // or a half pixel; a quarter pixel up keeps rounding errors on one side.
    vec2 corner = floor((offset + 1.0) / pixel_size + 0.25) * pixel_size - 1.0;
    gl_Position = vec4(corner + pos + vec2(slant * pixel_size.x, 0.0), 0.0, 1.0);
}
