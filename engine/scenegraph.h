#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

class Camera;
class CubeMap;
class Group;
class IndexArray;
class Light;
class Material;
class Node;
class Resource;
class ResourceList;
class ShaderProgram;
class Sprite;
class State;
class Text;
class Texture;
class TriangleMesh;
class VertexArray;
class World;

// The engine's single registry and factory: it owns the seven resource lists,
// creates nodes by name, and is the only way to create, find and give back a
// resource. Every create operation hands the caller one reference (on a new
// object, or on the one found by name, whose purge level is then raised to the
// given one); every get operation is a find: one more reference, or null.
// Give references back with dereferenceResource.
class SceneGraph {
  public:
    // Creates the resource lists, then the text printer on "../fonts/font.png"
    // with a line spacing of 4. Called once by the host after the drawing
    // context exists.
    static void init();
    // Deletes the lists, with every resource in them, in the order Material,
    // ShaderProgram, VertexArray, IndexArray, Texture, CubeMap, Shader, and
    // then the text printer.
    static void shutdown();
    static bool isInitialized();
    // The size in pixels of the surface drawn on, told by the host every
    // frame; handed on to the text printer.
    static void setScreenSize(i32 width, i32 height);
    static f32 getScreenWidth();
    static f32 getScreenHeight();
    // The one text printer; null outside init and shutdown.
    static Text* getText();
    // Appends every list to "reslist.txt".
    static void dumpResources();
    // The list of a resource type code; null outside init and shutdown.
    static ResourceList* getResourceList(u32 type);

    static Group* createGroup(const char* name);
    // A group holding every mesh of the ".pwn" file as its node records place
    // them; an unreadable file gives an empty group.
    static Group* createGroup(const char* name, const char* file, bool uniqueNames, u32 purgeLevel);
    static Camera* createCamera(const char* name);
    static Light* createLight(const char* name);
    static Light* createLight(const char* name, vec3 color, f32 intensity);
    static State* createState(const char* name);
    static World* createWorld(const char* name);
    // With addRef the sprite takes a reference of its own on the texture;
    // without it the caller's reference passes to the sprite.
    static Sprite* createSprite(const char* name, Texture* texture, bool addRef);
    static Sprite* createSprite(const char* name, const char* file, u32 purgeLevel);
    // With addRef the mesh takes references of its own; without it the
    // caller's references pass to the mesh.
    static TriangleMesh* createTriangleMesh(const char* name, VertexArray* vertexArray,
                                            IndexArray* indexArray, Material* material,
                                            bool addRef);
    // A mesh made from the first mesh of the ".pwn" file.
    static TriangleMesh* createTriangleMesh(const char* name, const char* file, bool uniqueNames,
                                            u32 purgeLevel);
    // A mesh that builds its own arrays from raw data; any input but the
    // positions may be null.
    static TriangleMesh* createTriangleMesh(const char* name, const f32* positions,
                                            const f32* texcoords, const f32* normals,
                                            const f32* colors, u32 vertexCount, const u16* indices,
                                            u32 indexCount, u32 layout, u32 purgeLevel);
    // Deletes the node with its whole subtree; null is ignored.
    static void deleteNode(Node* node);

    static VertexArray* createVertexArray(const char* name, const f32* data, u32 floatsPerVertex,
                                          u32 vertexCount, u32 purgeLevel);
    static VertexArray* getVertexArray(const char* name);
    static IndexArray* createIndexArray(const char* name, const u16* indices, u32 count, u32 layout,
                                        u32 purgeLevel);
    static IndexArray* getIndexArray(const char* name);
    static Texture* createTexture(const char* file, bool mipmaps, u32 filter, u32 wrap,
                                  u32 purgeLevel);
    static Texture* createTexture(const u8* pixels, const char* name, u32 format, u32 width,
                                  u32 height, bool mipmaps, u32 filter, u32 wrap, u32 purgeLevel);
    static Texture* getTexture(const char* name);
    static CubeMap* createCubeMap(const char* name, const char* positiveX, const char* negativeX,
                                  const char* positiveY, const char* negativeY,
                                  const char* negativeZ, const char* positiveZ, u32 purgeLevel);
    static CubeMap* getCubeMap(const char* name);
    static Material* createMaterial(u32 materialType, const char* name, u32 purgeLevel);
    static Material* getMaterial(const char* name);
    // The program is registered under the given name; its shaders are shared
    // by header text plus file path.
    static ShaderProgram* createShaderProgram(const char* name, const char* header,
                                              const char* vertexFile, const char* fragmentFile,
                                              u32 purgeLevel);
    static ShaderProgram* getShaderProgram(const char* name);

    // Gives back one reference; true when the resource was deleted. Null,
    // or a call outside init and shutdown, gives false.
    static bool dereferenceResource(Resource* resource);
    // Deletes every resource whose purge level p has 1 <= p <= level,
    // whatever its reference count, unless a live engine object pins it (see
    // Resource): a resource that only a game holds by pointer is deleted, and
    // the pointer dangles. Level 0 resources are never purged. The lists go
    // in the order Material, ShaderProgram, VertexArray, IndexArray, Texture,
    // CubeMap, Shader, so a program, texture, cube map or shader that only a
    // purged material or program held is deleted by the same purge when its
    // level is in range.
    static void purge(u32 level);

    // The next generated name of a vertex array ("tm%4xv") or an index array
    // ("tm%xv") built from raw data. The 16-bit counter wraps, and a name
    // still registered in the array's list is skipped.
    static void makeArrayName(u32 type, char* out, u32 size);
};
