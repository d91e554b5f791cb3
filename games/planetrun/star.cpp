#include "games/planetrun/star.h"

#include "engine/group.h"
#include "engine/indexarray.h"
#include "engine/material.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "games/planetrun/asteroidgame.h"
#include "games/planetrun/modeltemplate.h"
#include "games/planetrun/rules.h"

namespace {

// Position and colour of the three corners.
const f32 kStarVertices[3 * 7] = {
    -1, -1, 0, 1, 1, 1, 1, //
    1,  -1, 0, 1, 1, 1, 1, //
    0,  0,  0, 1, 1, 1, 1, //
};
const u16 kStarIndices[3] = {0, 1, 2};

} // namespace

ModelTemplate* Star::createTemplate(World* world) {
    VertexArray* vertices = SceneGraph::createVertexArray("StarVertices", kStarVertices, 7, 3, 1);
    vertices->setAttribute(0, 3, "Vertex");
    vertices->setAttribute(3, 4, "Color");
    IndexArray* indices = SceneGraph::createIndexArray("StarIndices", kStarIndices, 3, 0, 1);
    Material* material = SceneGraph::createMaterial(kMaterialColorful, "StarMaterial", 1);
    TriangleMesh* mesh = SceneGraph::createTriangleMesh("Star", vertices, indices, material, false);
    return new ModelTemplate(world, SceneGraph::createGroup("AsteroidGroup"), mesh);
}

Star::Star(AsteroidGame* game) : GameObject("Star") {
    node = game->starTemplate()->copy("Star");
    place(PlanetStarSpawn(PlanetRandom));
    game->addObject(this);
}

void Star::update(FrameInput*) {
    node->translate(0, 0, -kPlanetAdvance);
}
