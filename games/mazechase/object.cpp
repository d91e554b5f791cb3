#include "games/mazechase/object.h"

#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/mazechase/nibblorgame.h"

namespace {

// The world units of one quarter step and the minimap units of the same.
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

void Object::follow(const MazeMove& moved) {
    if (moved.wrapped) {
        // The far side at the same quarter offset, on the map as in the world.
        f32 x = static_cast<f32>(actor.cell.x) + static_cast<f32>(actor.stepX) / 4.0f;
        f32 y = static_cast<f32>(actor.cell.y) + static_cast<f32>(actor.stepY) / 4.0f;
        node->setTranslation(NibblorGame::toWorldPosition(x, y));
        marker->setTranslation(NibblorGame::toMinimapPosition(x, y));
    }
    if (moved.turned != 0) {
        node->rotate(static_cast<f32>(moved.turned * 1.57), 0, 1, 0);
    }
    if (moved.stepped) {
        i32 dx = 0, dy = 0;
        MazeDirectionDelta(actor.direction, &dx, &dy);
        node->translate(static_cast<f32>(dx) * kMazeSpeed, 0, static_cast<f32>(dy) * kMazeSpeed);
        marker->translate(static_cast<f32>(dx) * kMazeSpeed / kCellUnits,
                          -static_cast<f32>(dy) * kMazeSpeed / kCellUnits, 0);
    }
}

TriangleMesh* LoadObjectMesh(NibblorGame* game, const char* name, const char* file,
                             u32 purgeLevel) {
    TriangleMesh* mesh = SceneGraph::createTriangleMesh(name, file, false, purgeLevel);
    mesh->setLight(game->getWorldLight(), 0);
    return mesh;
}
