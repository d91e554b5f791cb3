#include "games/towerdefence/gui.h"

#include "engine/indexarray.h"
#include "engine/scenegraph.h"
#include "engine/text.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "games/towerdefence/materialgui.h"
#include "games/towerdefence/towerdefgame.h"
#include "games/towerdefence/towerscene.h"

#include <cstdio>

namespace {

// A unit quad of position, normal and texture coordinate (u = 1 - x,
// v = 1 - y), scaled into the bar along the bottom of the GUI camera's view.
const f32 kQuad[4 * 9] = {
    0, 0, 0, 0, 0, 1, 1, 1, 0, //
    1, 0, 0, 0, 0, 1, 0, 1, 0, //
    0, 1, 0, 0, 0, 1, 1, 0, 0, //
    1, 1, 0, 0, 0, 1, 0, 0, 0, //
};
const u16 kQuadIndices[6] = {0, 1, 2, 3, 2, 1};
const vec3 kBarScale = vec3(54, 6, 1);
const vec3 kBarPosition = vec3(-27, -34.5f, 15);

const Look kBarLook = {vec3(1, 1, 1), vec3(1, 1, 1), vec3(0.2f, 0.2f, 0.2f), 0.5f, 0.5f, 0.1f};

struct Picture {
    const char* material;
    const char* file;
};
// In the order of TdMenuPicture.
const Picture kPictures[3] = {
    {"guiTextMenu", "../textures/BaseMenuNew.png"},
    {"guiTextTower", "../textures/TowerMenu2.png"},
    {"guiTextUpgrade", "../textures/UpgradeSelections.png"},
};

// The price labels over tower buttons 1 to 4.
const f32 kPriceX[kTdTowerKindCount] = {-0.83f, -0.43f, -0.0175f, 0.395f};
const f32 kPriceY = -0.8f;
const u32 kTextWidth = 250;
const i32 kTowerMenuState = 2;

} // namespace

Gui::Gui(TowerDefGame* game_)
    : game(game_), mesh(nullptr), materials{nullptr, nullptr, nullptr}, state(1) {
    createMesh();
    game->getGuiWorld()->attachChild(mesh);
    mesh->setScale(kBarScale);
    mesh->translate(kBarPosition);
}

void Gui::createMesh() {
    VertexArray* vertices = CreateTexturedArray("GuiArray", kQuad, 4);
    IndexArray* indices = SceneGraph::createIndexArray("GuiIndex", kQuadIndices, 6, 0, 1);
    for (u32 i = 0; i < 3; i++) {
        materials[i] =
            static_cast<MaterialGui*>(SceneGraph::createMaterial(0, kPictures[i].material, 1));
        ApplyLook(materials[i], kBarLook, kPictures[i].file);
    }
    mesh = SceneGraph::createTriangleMesh("GuiTRI", vertices, indices, materials[0], true);
    mesh->setLight(game->getLight(), 0);
}

void Gui::update(FrameInput* input) {
    i32 button =
        TdMenuPointerStep(pointer, input->pointerDown, hitTest(input->pointerX, input->pointerY));
    if (button != 0) {
        press(button);
    }
    TdPlay& play = game->getPlay();
    if (play.highlightReset) {
        setHighlight(0, 0);
        play.highlightReset = false;
    }
    printPrices();
}

i32 Gui::hitTest(f32 x, f32 y) const {
    return TdMenuHitTest(x, y);
}

void Gui::press(i32 button) {
    TdMenuEffect effect = TdMenuPress(&state, button, game->getPlay());
    if (effect.highlight) {
        setHighlight(effect.band.start, effect.band.stop);
    }
    show(TdMenuPictureOf(state));
}

void Gui::show(TdMenuPicture picture) {
    MaterialGui* material = materials[static_cast<int>(picture)];
    if (mesh->getMaterial() != material) {
        mesh->setMaterial(material, true);
    }
}

void Gui::setHighlight(f32 start, f32 stop) {
    for (MaterialGui* material : materials) {
        material->lightStart = start;
        material->lightStop = stop;
    }
}

void Gui::printPrices() {
    if (state != kTowerMenuState) {
        return;
    }
    for (i32 kind = 1; kind <= kTdTowerKindCount; kind++) {
        char label[16];
        std::snprintf(label, sizeof label, "%d$", TdTowerKindOf(kind).cost);
        SceneGraph::getText()->print(label, kPriceX[kind - 1], kPriceY, kTextWidth, 1);
    }
}
