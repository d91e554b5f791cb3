#pragma once

#include "engine/types.h"

class Resource;

// A fixed hash table of resources of one kind, chained per bucket, newest
// first. The list owns its objects: clearing or deleting it deletes them all.
class ResourceList {
  public:
    static constexpr u32 kDefaultBuckets = 97;

    ResourceList();
    // A count of 0 is raised to 1.
    explicit ResourceList(u32 bucketCount);
    ~ResourceList();
    ResourceList(const ResourceList&) = delete;
    ResourceList& operator=(const ResourceList&) = delete;

    // Puts the object at the head of its bucket with a count of 1. The
    // caller has made sure that the name is not registered yet.
    void add(Resource* resource);
    // The object of that name with one more reference, or null.
    Resource* find(const char* name);
    // Whether an object of that name is registered; no count changes.
    bool contains(const char* name) const;
    // Takes one reference; at 0 unlinks and deletes the object, true then.
    // Only this very object is unlinked, never another of the same name.
    bool remove(Resource* resource);
    // Deletes every object whose purge level p has 1 <= p <= level, whatever
    // its count, unless it is pinned (an engine holder holds it). Objects of
    // level 0 stay.
    void purge(u32 level);
    // Deletes every object whatever its count.
    void clear();
    // Appends the list's contents to "reslist.txt".
    void dump(const char* typeName) const;

    u32 getTotalSize() const { return totalSize; }
    u32 getEntryCount() const { return entryCount; }
    u32 getBucketCount() const { return bucketCount; }

  private:
    Resource** bucketOf(u32 hash) const { return &buckets[hash % bucketCount]; }
    Resource* lookUp(const char* name) const;
    // Unlinks the object at *link from its chain and deletes it.
    void destroyAt(Resource** link);

    u32 totalSize;
    u32 entryCount;
    u32 bucketCount;
    Resource** buckets;
};
