#include "games/golf/player.h"

#include "engine/camera.h"
#include "engine/group.h"
#include "engine/scenegraph.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/golf/golfscene.h"
#include "games/golf/projectgame.h"

#include <cstdio>

namespace {

const f32 kCameraHeight = 80.0f;

} // namespace

Player::Player(ProjectGame* game, f32 size, f32 x, f32 y)
    : mesh(nullptr),
      camera(game->getWorld()->getActiveCamera()), ball{x, y, 0, 0, kGolfBallRadiusPerSize * size},
      startX(x), startY(y) {
    Group* group = GolfLoadSphere("player");
    mesh = GolfTakeMesh(group);
    SceneGraph::deleteNode(group);
    GolfDressSphere(mesh, game->getLight(), GolfCreateMaterial(kPlayerMaterial), size);
    if (mesh != nullptr) {
        game->getWorld()->attachChild(mesh);
    }
    game->addObject(this);
}

void Player::update(FrameInput* input) {
    if (input->gameMode != kGolfPlaying) {
        return;
    }
    if (GolfShotStep(input, ball)) {
        move();
    }
    char shots[32];
    std::snprintf(shots, sizeof shots, "Shots: %d", input->shotCount);
    SceneGraph::getText()->print(shots, -1, -1, 150, 20);
}

void Player::reset() {
    ball.x = startX;
    ball.y = startY;
    ball.vx = 0;
    ball.vy = 0;
}

void Player::move() {
    GolfMove(ball);
    camera->setTranslation(ball.x, ball.y, kCameraHeight);
    if (mesh == nullptr) {
        return;
    }
    mesh->setTranslation(ball.x, ball.y, 0);
    f32 speed = getSpeed();
    if (speed != 0) {
        mesh->rotate(speed / ball.radius, -ball.vy, ball.vx, 0);
    }
}
