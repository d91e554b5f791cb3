#pragma once

#include "games/mazechase/object.h"

class Material;

// The player: steered by the pointer zones, eating what it walks over, and
// drawn with the weird material while the power state lasts.
class Player : public Object {
  public:
    explicit Player(NibblorGame* game);
    // Gives back the references it holds on both materials.
    ~Player() override;

    void setSpecial(bool on) override;

  protected:
    void move(FrameInput* input) override;
    void resetRotation() override;

  private:
    void turn(MazeTurn turn);

    // The player holds a reference on each, so switching never frees one.
    Material* normalMaterial;
    Material* specialMaterial;
};
