#pragma once

#include "games/mazechase/object.h"

// The still things of the maze. The game makes one of each while it builds
// the level and copies its mesh into every cell of its kind; the template's
// own mesh is never attached and goes with the template.
class TemplateObject : public Object {
  public:
    struct Kind {
        const char* meshName;
        const char* modelFile;
        u32 meshPurge;
        i32 textureIndex;
        const char* materialName;
        u32 materialPurge;
    };
    TemplateObject(NibblorGame* game, const Kind& kind);
    ~TemplateObject() override;

    void update(FrameInput* input) override;
};

class Food : public TemplateObject {
  public:
    explicit Food(NibblorGame* game);
};

class Inner_Wall : public TemplateObject {
  public:
    explicit Inner_Wall(NibblorGame* game);
};

class Outer_Wall : public TemplateObject {
  public:
    explicit Outer_Wall(NibblorGame* game);
};

class Monster_Cage : public TemplateObject {
  public:
    explicit Monster_Cage(NibblorGame* game);
};

class Special_Food : public TemplateObject {
  public:
    explicit Special_Food(NibblorGame* game);
};
