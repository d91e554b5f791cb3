#pragma once

#include <string>
#include <vector>

// The programs' models as the asset generator builds them: parts of
// triangles, each one mesh with one material, written as a COLLADA document
// that Meshwright turns into a .pwn file at build time.

struct vec3f {
    float x, y, z;
};

struct MeshVertex {
    float x, y, z;    // position
    float nx, ny, nz; // unit normal
    float u, v;       // texture coordinate
};

// One mesh with one material.
struct MeshPart {
    std::string name;     // geometry/mesh name, unique across all models
    std::string material; // effect/material name, unique across all models
    float r, g, b;        // the material's diffuse colour (ambient a darker copy)
    std::vector<MeshVertex> vertices;
    std::vector<unsigned> indices; // triangles, counter-clockwise seen from outside
};

struct MeshModel {
    std::string file; // output base name: "<file>.dae" -> "models/<file>.pwn"
    std::vector<MeshPart> parts;
};

// Writes the model as a COLLADA 1.4 document Meshwright converts with the
// shipped rules. False, with a message on standard error, when the model
// cannot be written that way (an empty or unsafe name, a part without
// triangles, an index past its part's vertices) or the file cannot be written.
bool WriteColladaModel(const MeshModel& model, const std::string& path);

// Shape helpers: each appends closed, outward-facing triangles to a part.

// A box of the given half extents along the axes, each face with its own
// corners (flat normals) and the whole texture.
void AddBox(MeshPart* part, vec3f centre, vec3f halfExtents);
// A sphere with its poles on the y axis, in rings of latitude from the top
// (+y) pole: u runs once round (from +x towards -z), v from 1 at the top pole
// to 0 at the bottom one, with a seam column so the texture wraps once.
void AddSphere(MeshPart* part, vec3f centre, float radius, int slices, int stacks);
// A frustum along an axis from centre a (radius ra) to centre b (radius rb),
// capped; rb = 0 gives a cone.
void AddFrustum(MeshPart* part, vec3f a, float ra, vec3f b, float rb, int slices);
