#include "games/mazechase/monster.h"

#include "engine/trianglemesh.h"
#include "games/mazechase/nibblorgame.h"
#include "games/mazechase/scenery.h"

#include <cstdlib>

Monster::Monster(NibblorGame* owner) {
    game = owner;
    node = LoadObjectMesh(game, "Monster", "..\\models\\ogrehead.pwn", 0);
    // The model file carries no picture: the head takes its painted face.
    node->setMaterial(makeMonsterMaterial(), false);
    actor = MazeActorAt(kFlagMonster, GridPosition());
    resetRotation();
    node->setScale(6, 6, 6);
}

// Walled in on every side it stands still.
void Monster::move(FrameInput*) {
    advanceCell();
    wrapAround();
    i32 free[4];
    u32 count = freeDirections(free);
    i32 direction = actor.direction;
    // glibc's rand() reaches 2^31 - 1; the choice takes 15 bits of it.
    u32 random15 = static_cast<u32>(std::rand() & 0x7fff);
    if (!MazeChooseDirection(actor, *game->getMap(), free, count, random15, &direction)) {
        return;
    }
    node->rotate(static_cast<f32>((direction - actor.direction) * 1.57), 0, 1, 0);
    actor.direction = direction;
    step(kMazeSpeed);
}

void Monster::resetRotation() {
    node->setRotation(-1.57f, 1, 0, 0);
    node->rotate(3.14f, 0, 1, 0);
}
