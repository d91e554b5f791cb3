#pragma once

#include "games/ogreblast/gameobject.h"

class AwesomenessGame;
class Sprite;

// The bar along the top of the screen: hits fill it, escaped ogres and time
// drain it; full, every hit scores.
class AwesomenessMeter : public GameObject {
  public:
    explicit AwesomenessMeter(AwesomenessGame* game);

    void update(FrameInput* input) override;
    // Within 0..1.
    void add(f32 amount);
    f32 getValue() const { return value; }
    void empty() { value = 0; }

  private:
    Sprite* sprite;
    f32 value;
};
