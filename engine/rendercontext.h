#pragma once

class MatrixTransformation;
class ShaderProgram;
struct FrameInput;

// What a world hands to every node in its two tree walks.
struct RenderContext {
    MatrixTransformation* matrices; // the world's named-matrix cache
    ShaderProgram* currentProgram;  // the program last put in use; null at the start of a draw walk
    FrameInput* input;              // this frame's input record
};
