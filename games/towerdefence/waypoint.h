#pragma once

#include "engine/types.h"
#include "games/towerdefence/gameobject.h"

// A point of the enemies' path on the map, linked to the next one; the last
// links to none.
class WayPoint : public GameObject {
  public:
    WayPoint(f32 x_, f32 y_) : x(x_), y(y_), next(nullptr) {}

    void update(FrameInput*) override {}
    void setNext(WayPoint* point) { next = point; }
    WayPoint* getNext() const { return next; }
    f32 getX() const { return x; }
    f32 getY() const { return y; }

  private:
    f32 x, y;
    WayPoint* next;
};
