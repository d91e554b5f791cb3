#pragma once

#include "engine/frameinput.h"
#include "engine/vecmath.h"

struct PlanetSpawn;
class Transformable;

// The base of every object of the planet run: a class word that tells the
// kinds apart, the motion it adds to its node each frame, and the node, a
// copy of its kind's template (null for the ship and the wormhole, which keep
// nodes of their own). The game's world owns the node.
class GameObject {
  public:
    explicit GameObject(const char* word);
    virtual ~GameObject() = default;
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    virtual void update(FrameInput* input) = 0;
    // The node's translation.
    virtual vec3 getPosition() const;
    // sqrt(3) times the node's x scale: the bounding sphere of a cube of
    // that scale.
    virtual f32 getRadius() const;

    bool is(const char* word) const;
    const char* getClassWord() const { return classWord; }
    Transformable* getNode() const { return node; }

  protected:
    // Scale, translation, velocity and spin from the draws.
    void place(const PlanetSpawn& spawn);
    // One frame of motion: the velocity added, then the spins about x, y
    // and z in turn.
    void drift();

    char classWord[16];
    vec3 velocity;
    vec3 spin;
    Transformable* node;
};
