#include "games/planetrun/gameobject.h"

#include "engine/transformable.h"
#include "games/planetrun/rules.h"

#include <cmath>
#include <cstring>

GameObject::GameObject(const char* word)
    : classWord(), velocity(0, 0, 0), spin(0, 0, 0), node(nullptr) {
    std::strncpy(classWord, word, sizeof classWord - 1);
}

vec3 GameObject::getPosition() const {
    return node->getTranslation();
}

f32 GameObject::getRadius() const {
    return std::sqrt(3.0f) * node->getScale().x;
}

bool GameObject::is(const char* word) const {
    return std::strcmp(classWord, word) == 0;
}

void GameObject::place(const PlanetSpawn& spawn) {
    node->setScale(spawn.scale, spawn.scale, spawn.scale);
    node->setTranslation(spawn.position);
    velocity = spawn.velocity;
    spin = spawn.spin;
}

void GameObject::drift() {
    node->translate(velocity);
    node->rotate(spin.x, 1, 0, 0);
    node->rotate(spin.y, 0, 1, 0);
    node->rotate(spin.z, 0, 0, 1);
}
