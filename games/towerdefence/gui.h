#pragma once

#include "games/towerdefence/gameobject.h"
#include "games/towerdefence/rules.h"

class MaterialGui;
class TowerDefGame;
class TriangleMesh;

// The touch menu: a textured bar along the bottom of the screen with five
// buttons, whose picture follows the menu's state and whose material
// highlights the chosen button.
class Gui : public GameObject {
  public:
    explicit Gui(TowerDefGame* game);
    Gui(const Gui&) = delete;
    Gui& operator=(const Gui&) = delete;

    void update(FrameInput* input) override;
    // The button (1..5) of the bar under a pointer position, or 0.
    i32 hitTest(f32 x, f32 y) const;
    // A button's effect in the current state.
    void press(i32 button);
    // The band on all three pictures.
    void setHighlight(f32 start, f32 stop);
    // The tower prices over the tower buttons, in the tower menu only.
    void printPrices();

  private:
    void createMesh();
    void show(TdMenuPicture picture);

    TowerDefGame* game;
    TriangleMesh* mesh;
    MaterialGui* materials[3]; // the base menu, the towers, the upgrades
    TdMenuPointer pointer;
    i32 state;
};
