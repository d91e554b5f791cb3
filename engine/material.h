#pragma once

#include "engine/resource.h"
#include "engine/vecmath.h"

class CubeMap;
class Geometry;
class Light;
class ShaderProgram;
class Texture;
struct RenderContext;

// Material type codes.
enum MaterialType : u32 {
    kMaterialDirectional = 0,
    kMaterialPoint = 1,
    kMaterialColorful = 2,
    kMaterialWeird = 3,
    kMaterialTextured = 4,
    kMaterialReflective = 5,
    kMaterialTriplanar = 6
};

// What a triangle mesh draws with: a material type code and one shader
// program, of which it holds one reference. The concrete kinds create their
// program under the material's own name and set their uniforms in
// prepareMaterial. The program and whatever the kinds' texture and cube-map
// slots hold are pinned: a purge leaves them to the live material.
class Material : public Resource {
  public:
    Material(const char* name, u32 purgeLevel, u32 materialType);
    ~Material() override;

    void print(FILE* file) const override;
    // Sets the material's own uniforms on its (active) program.
    virtual void prepareMaterial(RenderContext* context, Geometry* geometry);

    // A new material of the kind that the program's factory builds for the
    // code; not yet in any list (the registry adds it).
    static Material* create(u32 materialType, const char* name, u32 purgeLevel);

    // The material type code. It hides, not overrides, Resource::getType:
    // through a Resource pointer, as the registry files and gives back
    // resources, a material still reports the resource type code 6.
    u32 getType() const { return materialType; }
    ShaderProgram* getProgram() const { return program; }

    // Puts the program in use unless it already is the context's current
    // one, then sets the material's uniforms.
    void prepare(RenderContext* context, Geometry* geometry);

  protected:
    // Creates or finds the program the material draws with and pins it.
    void createProgram(const char* programName, const char* header, const char* vertexFile,
                       const char* fragmentFile, u32 purgeLevel);
    // The material a clone of this one is written into: the one registered
    // under newName (found or new, one reference for the caller); null, with
    // a warning, when that name holds a material of another kind.
    Material* cloneTarget(const char* newName, u32 purgeLevel);

    // Binds a texture or cube map to the program's sampler on a unit; without
    // one, warns that shading may look wrong and leaves the sampler alone.
    void sendSampler(const char* sampler, const Texture* texture, u32 unit) const;
    void sendSampler(const char* sampler, const CubeMap* map, u32 unit) const;
    // The light's world position and colour; without a light, a warning and
    // a white light at the origin.
    static void lightOrWhite(const Light* light, vec3* position, vec3* color);
    // Unpins and gives back what a texture or cube-map slot holds, if any.
    // The slots are set through Resource::assignPinned and
    // Texture::loadPinned.
    static void releaseSlot(Resource* resource);
    // Stores the texture every textured kind starts with,
    // "../textures/notex.png" kept cached, in a texture slot.
    static void loadDefaultTexture(Texture** slot);

    u32 materialType;
    ShaderProgram* program;
};

// The material factory of the program, one source file per program kind,
// chosen at link time: each maps the type codes to the kinds it has.
Material* MaterialFactoryCreate(u32 materialType, const char* name, u32 purgeLevel);

// Builds the kinds every program shares (codes 0 to 5); null for any other
// code, which the program's factory maps to a kind of its own or to its
// fallback.
Material* MaterialCreateStandard(u32 materialType, const char* name, u32 purgeLevel);
