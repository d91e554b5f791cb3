#pragma once

#include "engine/frameinput.h"
#include "engine/vecmath.h"

// The base of every object of the ogre shooter: updated once a playing frame
// with the input record, placed and hit for the collision pass, and deleted
// by the game once its dead flag is set.
class GameObject {
  public:
    explicit GameObject(f32 radius_) : radius(radius_), dead(0) {}
    virtual ~GameObject() = default;
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    virtual void update(FrameInput* input) = 0;
    // Where the object collides; the objects that never collide stand at the
    // origin.
    virtual vec3 getPosition() { return vec3(0, 0, 0); }
    virtual void hit() {}

    f32 getRadius() const { return radius; }
    bool isDead() const { return dead != 0; }

  protected:
    f32 radius;
    u8 dead;
};
