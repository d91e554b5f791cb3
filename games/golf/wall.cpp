#include "games/golf/wall.h"

#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"
#include "games/golf/golfscene.h"
#include "games/golf/player.h"
#include "games/golf/projectgame.h"

namespace {

const f32 kWallDepth = -6.0f;
const f32 kWallHalfHeight = 5.0f;

} // namespace

Wall::Wall(ProjectGame* game, Player* ball_, f32 x, f32 y, f32 width, f32 height)
    : box{x, y, width / 2, height / 2}, ball(ball_) {
    TriangleMesh* mesh =
        static_cast<TriangleMesh*>(game->getTemplateCube()->duplicate("wallcopy", false));
    mesh->setTranslation(x, y, kWallDepth);
    mesh->setScale(box.halfWidth, box.halfHeight, kWallHalfHeight);
    mesh->setLight(game->getLight(), 0);
    mesh->setMaterial(GolfCreateMaterial(kWallMaterial), false);
    game->getWorld()->attachChild(mesh);
    game->addObject(this);
}

void Wall::update(FrameInput*) {
    GolfBounce(box, ball->getBall());
}
