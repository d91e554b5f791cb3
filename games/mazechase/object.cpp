#include "games/mazechase/object.h"

#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/mazechase/nibblorgame.h"

namespace {

// The world units of a cell, which is one unit on the minimap.
constexpr f32 kCellUnits = 40.0f;

} // namespace

Object::Object() : game(nullptr), node(nullptr), marker(nullptr), actor{} {}

Object::~Object() = default;

void Object::update(FrameInput* input) {
    if (game->handleMeeting(actor)) {
        return;
    }
    move(input);
}

void Object::setSpecial(bool) {}

void Object::move(FrameInput*) {}

void Object::resetRotation() {}

void Object::reset() {
    resetRotation();
    MazeReset(actor, *game->getMap());
    placeAt(actor.startCell);
}

void Object::placeAt(GridPosition start) {
    actor.cell = start;
    actor.startCell = start;
    node->setTranslation(
        NibblorGame::toWorldPosition(static_cast<f32>(start.x), static_cast<f32>(start.y)));
    if (marker != nullptr) {
        marker->setTranslation(
            NibblorGame::toMinimapPosition(static_cast<f32>(start.x), static_cast<f32>(start.y)));
    }
}

void Object::advanceCell() {
    MazeAdvanceCell(actor, *game->getMap());
}

void Object::wrapAround() {
    if (!MazeWrapAround(actor)) {
        return;
    }
    f32 x = static_cast<f32>(actor.cell.x) + static_cast<f32>(actor.stepX) / 4.0f;
    f32 y = static_cast<f32>(actor.cell.y) + static_cast<f32>(actor.stepY) / 4.0f;
    node->setTranslation(NibblorGame::toWorldPosition(x, y));
    marker->setTranslation(NibblorGame::toMinimapPosition(x, y));
}

u32 Object::freeDirections(i32 out[4]) const {
    return MazeFreeDirections(actor, *game->getMap(), out);
}

i32 Object::checkAhead() {
    bool blocked = MazeBlockedAhead(actor, *game->getMap());
    eat();
    return blocked ? kBlocked : 0;
}

void Object::eat() {
    MazeFood food = MazeEat(actor, *game->getMap());
    if (food == kAteNothing) {
        return;
    }
    game->removeFood(actor.cell);
    if (food == kAtePellet) {
        game->increaseScore();
    } else {
        setSpecial(true);
    }
}

void Object::step(f32 distance) {
    MazeStep(actor);
    i32 dx = 0, dy = 0;
    MazeDirectionDelta(actor.direction, &dx, &dy);
    node->translate(static_cast<f32>(dx) * distance, 0, static_cast<f32>(dy) * distance);
    marker->translate(static_cast<f32>(dx) * distance / kCellUnits,
                      -static_cast<f32>(dy) * distance / kCellUnits, 0);
}

TriangleMesh* LoadObjectMesh(NibblorGame* game, const char* name, const char* file,
                             u32 purgeLevel) {
    TriangleMesh* mesh = SceneGraph::createTriangleMesh(name, file, false, purgeLevel);
    mesh->setLight(game->getWorldLight(), 0);
    return mesh;
}
