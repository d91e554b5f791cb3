#pragma once

#include "engine/geometry.h"

class IndexArray;
class ShaderProgram;
class Texture;
class VertexArray;

// A textured quad facing the camera at the sprite's world position, drawn
// with the engine's own sprite program. Every sprite shares one unit quad
// and the program; each holds and pins one reference on each of them and on
// its texture, so that no purge deletes them under a live sprite.
class Sprite : public Geometry {
  public:
    // With addRef the sprite takes a reference of its own on the texture;
    // without it the caller's reference passes to the sprite.
    Sprite(const char* name, Texture* texture, bool addRef);
    // The texture of the picture file (mipmapped, clamped to its edges).
    Sprite(const char* name, const char* file, u32 purgeLevel);
    ~Sprite() override;

    void drawSelf(RenderContext* context) override;
    // The same texture, size, rectangle and lights; not the transform.
    Node* clone() const override;

    void setTexture(Texture* texture, bool addRef);
    void setTexture(const char* file, u32 purgeLevel);
    Texture* getTexture() const { return texture; }
    // Width and height in world units.
    void setSize(vec2 value) { size = value; }
    vec2 getSize() const { return size; }
    // The texture-coordinate rectangle shown, from the picture's top-left
    // corner (from) to its bottom-right one (to).
    void setTexcoords(vec2 from, vec2 to);
    vec2 getTexcoordsFrom() const { return texcoordsFrom; }
    vec2 getTexcoordsTo() const { return texcoordsTo; }
    // The colour of the first light the sprite holds times its intensity;
    // white without one.
    vec3 getLightColor() const;

  private:
    void init(Texture* texture, bool addRef);

    vec2 size;
    vec2 texcoordsFrom;
    vec2 texcoordsTo;
    VertexArray* vertexArray;
    IndexArray* indexArray;
    Texture* texture;
    ShaderProgram* program;
};
