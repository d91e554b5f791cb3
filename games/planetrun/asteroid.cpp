#include "games/planetrun/asteroid.h"

#include "engine/materialtextured.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "games/planetrun/asteroidgame.h"
#include "games/planetrun/modeltemplate.h"
#include "games/planetrun/rules.h"

Asteroid* Asteroid::spawn(AsteroidGame* game) {
    TriangleMesh* mesh = game->asteroidTemplate()->copy("Asteroid");
    return mesh == nullptr ? nullptr : new Asteroid(game, mesh);
}

Asteroid::Asteroid(AsteroidGame* game_, TriangleMesh* mesh) : GameObject("Asteroid"), game(game_) {
    node = mesh;
    place(PlanetAsteroidSpawn(PlanetRandom));
    game->getState().liveAsteroids++;
    game->addObject(this);
}

Asteroid::~Asteroid() {
    game->getState().liveAsteroids--;
}

void Asteroid::update(FrameInput*) {
    drift();
}

void Asteroid::adjust(f32 velocityFactor, f32 scaleFactor) {
    velocity.z *= velocityFactor;
    node->scale(scaleFactor, scaleFactor, scaleFactor);
}
