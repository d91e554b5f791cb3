#pragma once

#include "games/golf/gameobject.h"
#include "games/golf/rules.h"

class Camera;
class ProjectGame;
class TriangleMesh;

// The ball: aimed by a press at rest, shot on the release, rolling and
// slowing until it stops; the camera follows it.
class Player : public GameObject {
  public:
    Player(ProjectGame* game, f32 size, f32 x, f32 y);

    void update(FrameInput* input) override;

    // The ball's position, velocity and radius, which the hole reads and the
    // walls bounce.
    GolfBall& getBall() { return ball; }
    // Back at the start, at rest.
    void reset();
    // The distance between two points of the board.
    static f32 distance(f32 x1, f32 y1, f32 x2, f32 y2) { return GolfDistance(x1, y1, x2, y2); }
    // The length of the ball's velocity.
    f32 getSpeed() const { return GolfSpeed(ball); }

  private:
    void move();

    // Null when the sphere model gave no mesh: the ball then rolls unseen.
    TriangleMesh* mesh;
    Camera* camera;
    GolfBall ball;
    f32 startX, startY;
};
