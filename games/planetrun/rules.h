#pragma once

// The rules of the planet run without any GL: the ship's shrinking, health
// and growing, contact between bounding spheres, the damage and immunity
// frames, the power-up spheres and their durations, the start banner, the
// end test, the draws that place new objects and the refills. The game and
// its objects call these every frame, so a test of this module tests the
// game's own rules.

#include "engine/frameinput.h"
#include "engine/types.h"
#include "engine/vecmath.h"

// Per-frame motion of the ship and the camera along -z.
constexpr f32 kPlanetAdvance = 0.5f;
// The ship's scale is multiplied by this every frame.
constexpr f32 kPlanetShrink = 0.9995f;
// The ship's bounding radius at its initial scale.
constexpr f32 kPlanetShipRadius = 10.0f;
constexpr i32 kPlanetAsteroidDamage = 20;
constexpr i32 kPlanetImmunityFrames = 50;
constexpr i32 kPlanetAsteroidsOffFrames = 200;
// The start banner stands for the frames 0 to 60 of the counter.
constexpr i32 kPlanetStartBannerFrames = 60;
// The run is won once the ship is this close to the wormhole's plane.
constexpr f32 kPlanetWinDistance = 10.0f;
constexpr u32 kPlanetAsteroidCount = 20;
constexpr u32 kPlanetMinimumSpheres = 2;
// Where new asteroids, spheres and stars appear.
constexpr f32 kPlanetSpawnZ = -960.0f;

// The kinds of power-up sphere.
enum PlanetSphereKind : i32 {
    kPlanetSphereWhite = 100, // toggles small and fast asteroids
    kPlanetSphereGreen = 200, // grows the ship and clears its damage
    kPlanetSphereBlue = 300   // hides the asteroids for a while
};

// The banners, as AsteroidGame::showBanner takes them.
enum PlanetBanner : i32 {
    kPlanetBannerNone = 0,
    kPlanetBannerLost = 1,
    kPlanetBannerWon = 2,
    kPlanetBannerStart = 3
};

// The game's state besides its objects; one per game.
struct PlanetState {
    bool gameOver = false;
    i32 bannerFrames = 0; // the start banner's counter, -1 once play has begun
    i32 immunity = 0;     // frames left in which an asteroid costs nothing
    i32 asteroidsOff = 0; // frames left with the asteroids hidden
    bool shrunk = false;  // asteroids small and fast
    bool shrinkChanged = false;
    bool growArmed = false; // a green sphere was taken this frame
    u32 liveAsteroids = 0;
    u32 liveSpheres = 0;
};

// The ship: its mesh's translation and scale, the scale it started with, its
// size in percent of that and the damage taken.
struct PlanetShip {
    vec3 position;
    vec3 scale;
    vec3 initialScale;
    i32 sizePercent;
    i32 damage;
};

PlanetShip PlanetShipAt(vec3 position, vec3 scale);

// The ship's x scale over its initial one; 0 for an initial scale of 0.
f32 PlanetShipRatio(const PlanetShip& ship);
f32 PlanetShipRadius(const PlanetShip& ship);
// Size percent less damage, never below 0.
i32 PlanetHealth(const PlanetShip& ship);
// "~c9999Health:~c2929 %.2d%%" with the health.
void PlanetHealthText(i32 health, char* out, u32 size);

// One frame of the ship: a held pointer moves it toward its side, it
// shrinks, its size percent follows, and it advances along -z.
void PlanetShipStep(PlanetShip& ship, const FrameInput& input);
// A green sphere: twice the initial size when the ship is larger than it was
// at start, else twice its size; the damage is cleared.
void PlanetShipGrow(PlanetShip& ship);
void PlanetAddDamage(PlanetShip& ship, i32 amount);

// Two bounding spheres touch when their centres are at most the sum of the
// radii apart.
bool PlanetOverlap(vec3 a, f32 radiusA, vec3 b, f32 radiusB);

// One frame of the start banner. True while the banner frames last (nothing
// else happens in them); banner tells what to do with the banner then.
bool PlanetStartBannerStep(PlanetState& state, PlanetBanner* banner);

enum PlanetOutcome { kPlanetPlaying, kPlanetWon, kPlanetLost };
// Reaching the wormhole wins even at health 0.
PlanetOutcome PlanetEndTest(f32 shipZ, f32 wormholeZ, i32 health);

// An asteroid touches the ship: the damage it takes (none while it is
// immune), and immunity from this frame on.
i32 PlanetAsteroidContact(PlanetState& state);
// The ship takes a sphere of the kind.
void PlanetSphereTaken(PlanetState& state, i32 kind);
// The frame's end: immunity and the hidden asteroids' frames count down.
void PlanetCountDown(PlanetState& state);
bool PlanetAsteroidsVisible(const PlanetState& state);

// What a change of shrunk does to an asteroid's z velocity and scale.
struct PlanetShrinkFactors {
    f32 velocityZ;
    f32 scale;
};
PlanetShrinkFactors PlanetShrinkAdjustment(bool shrunk);

// An object that has passed the camera leaves the game.
bool PlanetPassed(f32 cameraZ, f32 objectZ);

// How many to spawn to keep twenty asteroids and at least two spheres.
u32 PlanetAsteroidsToSpawn(u32 live);
u32 PlanetSpheresToSpawn(u32 live);

// Random draws: 15 bits of rand() over 32767, 0..1.
f32 PlanetRandom();
// A generator whose next value is scaled into 0..1.
using PlanetRandomSource = f32 (*)();

// Where a new object starts and how it moves.
struct PlanetSpawn {
    vec3 position;
    vec3 velocity;
    vec3 spin;
    f32 scale;
};
PlanetSpawn PlanetAsteroidSpawn(PlanetRandomSource random);
PlanetSpawn PlanetSphereSpawn(PlanetRandomSource random);
// Stars draw the asteroid's motion, which they never use.
PlanetSpawn PlanetStarSpawn(PlanetRandomSource random);

// The seed a sphere's spawn reseeds the generator with: rand() plus the
// calendar time, summed without overflow.
u32 PlanetSeed(u32 randomValue, u64 now);
// The kind of a new sphere from a draw of rand().
i32 PlanetSphereKindOf(u32 randomValue);
// A planet's spin: each component drawn after its sign, which is +1 for an
// even draw of rand().
f32 PlanetSignOf(u32 randomValue);
