#include "engine/resource.h"

#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"

#include <cstring>

namespace {

const Result kNotPinned = {1, "A resource was unpinned that holds no pin"};

} // namespace

Resource::Resource(const char* name_, u32 purgeLevel_, u32 type_)
    : referenceCount(0), next(nullptr), type(type_), name(StringDuplicate(name_)), size(0),
      purgeLevel(purgeLevel_), pins(0) {
    hash = StringHash(name);
}

Resource::~Resource() {
    MemoryFree(name);
    GL_ASSERT();
}

bool Resource::equals(const Resource* other) const {
    return hash == other->hash && std::strcmp(name, other->name) == 0;
}

Resource* Resource::clone(const char*, u32) {
    return nullptr;
}

Resource* Resource::reference() {
    referenceCount++;
    return this;
}

void Resource::print(FILE*) const {}

void Resource::raisePurgeLevel(u32 level) {
    if (level > purgeLevel) {
        purgeLevel = level;
    }
}

char* Resource::getName() const {
    return StringDuplicate(name);
}

void Resource::unpin() {
    if (pins == 0) {
        REPORT(kNotPinned);
        return;
    }
    pins--;
}

void Resource::pinHeld(Resource* resource) {
    if (resource != nullptr) {
        resource->pin();
    }
}

void Resource::unpinHeld(Resource* resource) {
    if (resource != nullptr && SceneGraph::isInitialized()) {
        resource->unpin();
    }
}

void Resource::releasePinned(Resource* resource) {
    if (resource != nullptr) {
        unpinHeld(resource);
        giveBack(resource);
    }
}

void Resource::giveBack(Resource* resource) {
    SceneGraph::dereferenceResource(resource);
}
