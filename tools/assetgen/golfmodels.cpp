// The golf demo's model: the ball, a sphere of radius 14 round the origin
// with the chrome texture wrapped once round it. The hole uses it too.
#include "models.h"

std::vector<MeshModel> GolfModels() {
    MeshPart ball{"golfBall", "golfBallMaterial", 0.9f, 0.9f, 0.9f, {}, {}};
    AddSphere(&ball, {0, 0, 0}, 14.0f, 32, 16);
    return {{"sphere", {ball}}};
}
