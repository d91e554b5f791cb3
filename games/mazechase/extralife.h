#pragma once

#include "games/mazechase/object.h"

#include <vector>

class Group;
class Node;

// The row of life icons at the top right of the view, one per spare life.
// They hang under the player's node, which carries the camera, so they stay
// fixed on screen.
class Extra_life : public Object {
  public:
    Extra_life(NibblorGame* game, i32 count);
    // Deletes the icon template (the icons go with the player's node).
    ~Extra_life() override;

    void update(FrameInput* input) override;
    // Hides the newest icon and forgets it.
    void removeLastIcon();
    u32 iconCount() const { return static_cast<u32>(lifeIcons.size()); }

  private:
    Group* group;
    std::vector<Node*> lifeIcons;
};
