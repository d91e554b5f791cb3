// One glyph of the text printer: the font's coverage in "color". Bold adds
// the coverage of the texel to the left, one screen pixel wider. Samples stay
// inside the glyph's cell, so a slanted (italic) glyph picks up nothing of
// the next cell's ink at its right edge.
precision mediump float;

uniform sampler2D smp2d;
uniform vec4 color;
uniform int bold;

varying vec2 cellTex;
varying vec2 cellPixel;
varying vec2 glyphCorner;

void main() {
    // One font texel is one screen pixel: the texel width follows from the
    // cell's texture and pixel coordinates, which grow together.
    float texel = cellTex.x / max(cellPixel.x, 0.5);
    vec2 inCell = vec2(min(cellTex.x, 1.0 / 16.0 - 0.5 * texel), cellTex.y);
    float coverage = texture2D(smp2d, glyphCorner + inCell).a;
    if (bold != 0) {
        if (cellTex.x >= texel) {
            coverage = max(coverage, texture2D(smp2d, glyphCorner + inCell - vec2(texel, 0.0)).a);
        }
    }
    gl_FragColor = vec4(color.rgb, color.a * coverage);
}
