#pragma once

#include "engine/types.h"

#include <cstdio>

// Resource type codes: the index of each kind's list in the scene registry.
enum ResourceType : u32 {
    kResourceVertexArray = 0,
    kResourceIndexArray = 1,
    kResourceTexture = 2,
    kResourceCubeMap = 3,
    kResourceShader = 4,
    kResourceShaderProgram = 5,
    kResourceMaterial = 6,
    kResourceTypeCount = 7
};

// The highest purge level: a resource of it stays cached at count 0 until a
// purge of this level or the registry's shutdown.
constexpr u32 kKeepCached = 0xFFFFFFFFu;

// A named, hashed, reference-counted object shared through the scene
// registry. It lives in the ResourceList of its type, which owns it.
//
// Purge level 0: deleted when the last reference is given back. Any other
// level: kept cached at count 0 until a purge of at least that level.
//
// Every holder inside the engine also pins what it holds: a triangle mesh its
// vertex array, index array and material; a sprite its texture, the shared
// quad and the sprite program; a material its program and what its texture
// and cube-map slots hold; a program its shaders; the text printer its
// program. A purge deletes an object of its level whatever its count, so also
// one that only a game still holds by pointer, but never a pinned one.
class Resource {
    friend class ResourceList;
    friend class SceneGraph;

  public:
    Resource(const char* name, u32 purgeLevel, u32 type);
    virtual ~Resource();

    // Equal hashes and equal names.
    virtual bool equals(const Resource* other) const;
    // A copy under a new name; null for kinds that cannot be copied.
    virtual Resource* clone(const char* newName, u32 purgeLevel);
    // One more reference; returns the object itself.
    virtual Resource* reference();
    // The kind's own lines of the resource dump.
    virtual void print(FILE* file) const;

    u32 getType() const { return type; }
    u32 getPurgeLevel() const { return purgeLevel; }
    void setPurgeLevel(u32 level) { purgeLevel = level; }
    // The larger of the current and the given level.
    void raisePurgeLevel(u32 level);
    u32 getReferenceCount() const { return referenceCount; }
    void pin() { pins++; }
    // One pin less; an object that holds no pin stays at none, with a warning.
    void unpin();
    bool isPinned() const { return pins != 0; }
    // Pins an object an engine holder takes; null is ignored.
    static void pinHeld(Resource* resource);
    // Takes back a holder's pin. Null is ignored, and so is every object once
    // the registry is shut down: the shutdown deleted them all, and a holder
    // deleted later touches nothing, as a late dereferenceResource does not.
    static void unpinHeld(Resource* resource);
    // Unpins it and gives the holder's reference back; null is ignored.
    static void releasePinned(Resource* resource);
    u32 getSize() const { return size; }
    // A new copy of the name that the caller frees.
    char* getName() const;
    // The name itself, valid while the object lives.
    const char* nameText() const { return name; }

    // Hands a holder's slot a new resource (or null): the new reference is
    // taken first (when addReference is set), then the old object's is given
    // back, so re-setting the object a slot already holds never deletes it.
    template <class T> static void assignReference(T** slot, T* resource, bool addReference) {
        if (addReference && resource != nullptr) {
            resource->reference();
        }
        T* old = *slot;
        *slot = resource;
        if (old != nullptr) {
            giveBack(old);
        }
    }

    // assignReference for a slot that pins what it holds: the new object is
    // pinned, the old one unpinned before its reference goes back.
    template <class T> static void assignPinned(T** slot, T* resource, bool addReference) {
        pinHeld(resource);
        unpinHeld(*slot);
        assignReference(slot, resource, addReference);
    }

  protected:
    void setSize(u32 bytes) { size = bytes; }

  private:
    static void giveBack(Resource* resource);

    u32 hash;
    u32 referenceCount;
    Resource* next;
    u32 type;
    char* name;
    u32 size;
    u32 purgeLevel;
    u32 pins;
};
