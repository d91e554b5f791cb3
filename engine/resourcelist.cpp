#include "engine/resourcelist.h"

#include "engine/memory.h"
#include "engine/resource.h"
#include "engine/result.h"

#include <cstdio>
#include <cstring>

ResourceList::ResourceList() : ResourceList(kDefaultBuckets) {}

ResourceList::ResourceList(u32 count)
    : totalSize(0), entryCount(0), bucketCount(count == 0 ? 1 : count),
      buckets(static_cast<Resource**>(MemoryAllocateZeroed(bucketCount, sizeof(Resource*)))) {}

ResourceList::~ResourceList() {
    clear();
    MemoryFree(buckets);
}

void ResourceList::add(Resource* resource) {
    Resource** head = bucketOf(resource->hash);
    resource->next = *head;
    *head = resource;
    resource->referenceCount = 1;
    totalSize += resource->size;
    entryCount++;
}

Resource* ResourceList::lookUp(const char* name) const {
    u32 hash = StringHash(name);
    for (Resource* r = *bucketOf(hash); r != nullptr; r = r->next) {
        if (r->hash == hash && std::strcmp(r->name, name) == 0) {
            return r;
        }
    }
    return nullptr;
}

Resource* ResourceList::find(const char* name) {
    Resource* r = lookUp(name);
    return r != nullptr ? r->reference() : nullptr;
}

bool ResourceList::contains(const char* name) const {
    return lookUp(name) != nullptr;
}

void ResourceList::destroyAt(Resource** link) {
    Resource* r = *link;
    *link = r->next;
    r->next = nullptr;
    totalSize -= r->size;
    entryCount--;
    delete r;
}

bool ResourceList::remove(Resource* resource) {
    if (resource->referenceCount > 0) {
        resource->referenceCount--;
    }
    GL_ASSERT();
    if (resource->referenceCount != 0) {
        return false;
    }
    for (Resource** link = bucketOf(resource->hash); *link != nullptr; link = &(*link)->next) {
        if (*link == resource) {
            destroyAt(link);
            GL_ASSERT();
            return true;
        }
    }
    GL_ASSERT();
    return false;
}

void ResourceList::purge(u32 level) {
    for (u32 b = 0; b < bucketCount; b++) {
        Resource** link = &buckets[b];
        while (*link != nullptr) {
            u32 p = (*link)->purgeLevel;
            if (p >= 1 && p <= level && !(*link)->isPinned()) {
                destroyAt(link);
                MemoryCheck();
                // A destructor may have given back references into this very
                // list; walk the chain again from its head.
                link = &buckets[b];
            } else {
                link = &(*link)->next;
            }
        }
    }
}

void ResourceList::clear() {
    for (u32 b = 0; b < bucketCount; b++) {
        while (buckets[b] != nullptr) {
            destroyAt(&buckets[b]);
        }
    }
}

void ResourceList::dump(const char* typeName) const {
    FILE* f = std::fopen("reslist.txt", "a");
    if (f == nullptr) {
        return;
    }
    std::fprintf(f, "\n\n\n\n - - = = %s list contents = = - - \n", typeName);
    std::fprintf(f, "  [ N ENTRIES    ][ %u ]\n", entryCount);
    std::fprintf(f, "  [ HASH SIZE    ][ %u ]\n", bucketCount);
    std::fprintf(f, "  [ TOTAL MEM    ][ %u ]\n", totalSize);
    for (u32 b = 0; b < bucketCount; b++) {
        for (const Resource* r = buckets[b]; r != nullptr; r = r->next) {
            std::fprintf(f, "  -- %s --\n", r->name);
            std::fprintf(f, "    [ N REFS   ][ %u ]\n", r->referenceCount);
            std::fprintf(f, "    [ PURGE    ][ %u ]\n", r->purgeLevel);
            std::fprintf(f, "    [ SIZE     ][ %u ]\n", r->size);
            std::fprintf(f, "    [ HASH     ][ %0x ]\n", r->hash);
            r->print(f);
            std::fprintf(f, "\n");
        }
    }
    std::fclose(f);
}
