#include "games/mazechase/extralife.h"

#include "engine/group.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/mazechase/nibblorgame.h"
#include "games/mazechase/scenery.h"

Extra_life::Extra_life(NibblorGame* owner, i32 count) {
    game = owner;
    group = SceneGraph::createGroup("Group: Extra lifes");
    node = static_cast<TriangleMesh*>(game->getTileTemplate()->duplicate("extra live", false));
    node->setLight(game->getGameOverLight(), 0);
    node->setMaterial(makeMaterial(8, "extra life txture", 0), false);
    for (i32 i = 0; i < count; i++) {
        TriangleMesh* icon = static_cast<TriangleMesh*>(node->duplicate("life", true));
        icon->setTranslation(3.0f * static_cast<f32>(i) + 28.5f, 80.5f, 2);
        icon->setScale(1.9f, 1.9f, 2);
        group->attachChild(icon);
        lifeIcons.push_back(icon);
    }
    game->getPlayerNode()->attachChild(group);
}

Extra_life::~Extra_life() {
    SceneGraph::deleteNode(node);
}

void Extra_life::update(FrameInput*) {}

void Extra_life::removeLastIcon() {
    if (lifeIcons.empty()) {
        return;
    }
    lifeIcons.back()->setActive(false);
    lifeIcons.pop_back();
}
