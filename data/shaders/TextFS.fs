// One glyph of the text printer: the font's coverage in "color". Bold adds
// the coverage of the texel to the left, one screen pixel wider.
precision mediump float;

uniform sampler2D smp2d;
uniform vec4 color;
uniform int bold;

varying vec2 cellTex;
varying vec2 cellPixel;
varying vec2 glyphCorner;

void main() {
    float coverage = texture2D(smp2d, glyphCorner + cellTex).a;
    if (bold != 0) {
        // One font texel is one screen pixel: the texel width follows from
        // the cell's texture and pixel coordinates, which grow together.
        float texel = cellTex.x / max(cellPixel.x, 0.5);
        if (cellTex.x >= texel) {
            coverage = max(coverage, texture2D(smp2d, glyphCorner + cellTex - vec2(texel, 0.0)).a);
        }
    }
    gl_FragColor = vec4(color.rgb, color.a * coverage);
}
