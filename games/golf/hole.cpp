#include "games/golf/hole.h"

#include "engine/group.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/golf/golfscene.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"
#include "games/golf/rules.h"

namespace {

// Below the ball, above the board.
const f32 kHoleDepth = -9.0f;

} // namespace

Hole::Hole(ProjectGame* game, Player* ball_, f32 size, f32 x_, f32 y_)
    : group(GolfLoadSphere("hole")), ball(ball_), captureRadius(kGolfCaptureRadiusPerSize * size),
      x(x_), y(y_) {
    TriangleMesh* mesh = GolfTakeMesh(group);
    GolfDressSphere(mesh, game->getLight(), GolfCreateMaterial(kHoleMaterial), size);
    if (mesh != nullptr) {
        mesh->setTranslation(x, y, kHoleDepth);
        game->getWorld()->attachChild(mesh);
    }
    game->addObject(this);
}

Hole::~Hole() {
    SceneGraph::deleteNode(group);
}

void Hole::update(FrameInput* input) {
    GolfHoleStep(input, x, y, captureRadius, ball->getBall());
}
