// The vertex colours, blended across the triangle.
precision mediump float;

varying vec4 color;

void main() {
    gl_FragColor = color;
}
