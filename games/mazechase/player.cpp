#include "games/mazechase/player.h"

#include "engine/material.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/mazechase/nibblorgame.h"
#include "games/mazechase/scenery.h"

Player::Player(NibblorGame* owner) {
    game = owner;
    node = LoadObjectMesh(game, "Nibblor player", "..\\models\\sphere.pwn", 0);
    normalMaterial = makeMaterial(0, "Material: Nibblor", 1);
    specialMaterial = makeSpecialMaterial("special nibblor", 0);
    node->setMaterial(normalMaterial, true);
    actor = MazeActorAt(kFlagPlayer, GridPosition());
    node->setTranslation(0, 0, 0);
    node->scale(0.5f, 0.5f, 0.5f);
}

Player::~Player() {
    SceneGraph::dereferenceResource(normalMaterial);
    SceneGraph::dereferenceResource(specialMaterial);
}

void Player::setSpecial(bool on) {
    if (on) {
        MazePowerOn(actor);
    } else {
        actor.special = 0;
    }
    node->setMaterial(on ? specialMaterial : normalMaterial, true);
}

void Player::move(FrameInput* input) {
    if (MazePowerTick(actor)) {
        setSpecial(false);
    }
    MazeSteering steering = MazeSteer(actor, *input);
    if (steering.forward) {
        advanceCell();
        wrapAround();
        if (checkAhead() != kBlocked) {
            step(kMazeSpeed);
        }
    }
    turn(steering.turn);
}

void Player::resetRotation() {
    node->setRotation(0, 1, 0, 0);
}

void Player::turn(MazeTurn turn) {
    switch (turn) {
    case kTurnAround:
        node->rotate(3.14f, 0, 1, 0);
        break;
    case kTurnLeft:
        node->rotate(1.57f, 0, 1, 0);
        break;
    case kTurnRight:
        node->rotate(1.57f, 0, -1, 0);
        break;
    case kTurnNone:
        return;
    }
    actor.direction = MazeTurnedDirection(actor.direction, turn);
}
