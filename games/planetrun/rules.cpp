#include "games/planetrun/rules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr i32 kRandomBits = 0x7fff;

// A value of 0..1 stretched over [0, range) and shifted down by offset,
// rounded down to a whole unit first.
f32 spread(PlanetRandomSource random, f32 range, f32 offset) {
    return std::floor(range * random()) - offset;
}

// A place on the spawn plane, x and y drawn over [0, range) less offset.
vec3 spawnPosition(PlanetRandomSource random, f32 range, f32 offset) {
    const f32 x = spread(random, range, offset);
    const f32 y = spread(random, range, offset);
    return vec3(x, y, kPlanetSpawnZ);
}

// Three draws in order, each times the factor.
vec3 draws(PlanetRandomSource random, f32 factor) {
    const f32 x = factor * random();
    const f32 y = factor * random();
    const f32 z = factor * random();
    return vec3(x, y, z);
}

// The asteroid's velocity: slow sideways drift, 1..3 units a frame toward
// the ship.
vec3 asteroidVelocity(PlanetRandomSource random) {
    const f32 x = 0.5f * random() - 0.25f;
    const f32 y = 0.5f * random() - 0.25f;
    const f32 z = 2 * random() + 1;
    return vec3(x, y, z);
}

// An asteroid's draws after its scale: place, velocity and spin. Stars draw
// the same, though they never use the motion.
PlanetSpawn fieldSpawn(PlanetRandomSource random, f32 scale, f32 range, f32 offset) {
    PlanetSpawn spawn;
    spawn.scale = scale;
    spawn.position = spawnPosition(random, range, offset);
    spawn.velocity = asteroidVelocity(random);
    spawn.spin = draws(random, 0.01f);
    return spawn;
}

} // namespace

PlanetShip PlanetShipAt(vec3 position, vec3 scale) {
    return PlanetShip{position, scale, scale, 100, 0};
}

f32 PlanetShipRatio(const PlanetShip& ship) {
    if (ship.initialScale.x == 0) {
        return 0;
    }
    return ship.scale.x / ship.initialScale.x;
}

f32 PlanetShipRadius(const PlanetShip& ship) {
    return PlanetShipRatio(ship) * kPlanetShipRadius;
}

i32 PlanetHealth(const PlanetShip& ship) {
    const i32 health = ship.sizePercent - ship.damage;
    return health < 0 ? 0 : health;
}

void PlanetHealthText(i32 health, char* out, u32 size) {
    std::snprintf(out, size, "~c9999Health:~c2929 %.2d%%", health);
}

void PlanetShipStep(PlanetShip& ship, const FrameInput& input) {
    if (input.pointerDown != 0) {
        ship.position.x += input.pointerX;
        ship.position.y += input.pointerY;
    }
    ship.scale *= kPlanetShrink;
    ship.sizePercent = static_cast<i32>(std::floor(PlanetShipRatio(ship) * 100));
    ship.position.z -= kPlanetAdvance;
}

void PlanetShipGrow(PlanetShip& ship) {
    if (ship.scale.x > ship.initialScale.x) {
        ship.scale = ship.initialScale * 2;
    } else {
        ship.scale *= 2;
    }
    ship.damage = 0;
}

void PlanetAddDamage(PlanetShip& ship, i32 amount) {
    ship.damage += amount;
}

bool PlanetOverlap(vec3 a, f32 radiusA, vec3 b, f32 radiusB) {
    return (a - b).length() <= radiusA + radiusB;
}

bool PlanetStartBannerStep(PlanetState& state, PlanetBanner* banner) {
    *banner = kPlanetBannerNone;
    if (state.bannerFrames < 0) {
        return false;
    }
    if (state.bannerFrames == 0) {
        *banner = kPlanetBannerStart;
        state.bannerFrames = 1;
    } else if (state.bannerFrames < kPlanetStartBannerFrames) {
        state.bannerFrames++;
    } else {
        state.bannerFrames = -1;
    }
    return true;
}

PlanetOutcome PlanetEndTest(f32 shipZ, f32 wormholeZ, i32 health) {
    if (shipZ <= wormholeZ + kPlanetWinDistance) {
        return kPlanetWon;
    }
    return health == 0 ? kPlanetLost : kPlanetPlaying;
}

i32 PlanetAsteroidContact(PlanetState& state) {
    const i32 damage = state.immunity == 0 ? kPlanetAsteroidDamage : 0;
    state.immunity = kPlanetImmunityFrames;
    return damage;
}

void PlanetSphereTaken(PlanetState& state, i32 kind) {
    switch (kind) {
    case kPlanetSphereWhite:
        state.shrunk = !state.shrunk;
        state.shrinkChanged = true;
        break;
    case kPlanetSphereGreen:
        state.growArmed = true;
        break;
    case kPlanetSphereBlue:
        state.asteroidsOff = kPlanetAsteroidsOffFrames;
        break;
    default:
        break;
    }
}

void PlanetCountDown(PlanetState& state) {
    if (state.immunity > 0) {
        state.immunity--;
    }
    if (state.asteroidsOff > 0) {
        state.asteroidsOff--;
    }
}

bool PlanetAsteroidsVisible(const PlanetState& state) {
    return state.asteroidsOff == 0;
}

PlanetShrinkFactors PlanetShrinkAdjustment(bool shrunk) {
    return shrunk ? PlanetShrinkFactors{4.0f, 0.25f} : PlanetShrinkFactors{0.25f, 4.0f};
}

bool PlanetPassed(f32 cameraZ, f32 objectZ) {
    return cameraZ < objectZ;
}

u32 PlanetAsteroidsToSpawn(u32 live) {
    return live < kPlanetAsteroidCount ? kPlanetAsteroidCount - live : 0;
}

u32 PlanetSpheresToSpawn(u32 live) {
    return live < kPlanetMinimumSpheres ? kPlanetMinimumSpheres - live : 0;
}

f32 PlanetRandom() {
    return static_cast<f32>(std::rand() & kRandomBits) / static_cast<f32>(kRandomBits);
}

PlanetSpawn PlanetAsteroidSpawn(PlanetRandomSource random) {
    const f32 scale = random();
    return fieldSpawn(random, scale, 200, 100);
}

PlanetSpawn PlanetSphereSpawn(PlanetRandomSource random) {
    PlanetSpawn spawn;
    spawn.scale = 2 * random();
    spawn.position = spawnPosition(random, 75, 35);
    spawn.velocity = vec3(0, 0, 2 * random() + 1);
    spawn.spin = draws(random, 0.01f);
    return spawn;
}

PlanetSpawn PlanetStarSpawn(PlanetRandomSource random) {
    return fieldSpawn(random, 7, 1800, 900);
}

u32 PlanetSeed(u32 randomValue, u64 now) {
    return randomValue + static_cast<u32>(now);
}

i32 PlanetSphereKindOf(u32 randomValue) {
    return static_cast<i32>(randomValue % 3) * 100 + 100;
}

f32 PlanetSignOf(u32 randomValue) {
    return randomValue % 2 == 0 ? 1.0f : -1.0f;
}
