#pragma once

#include "engine/transformable.h"

// A plain transform node.
class Group : public Transformable {
  public:
    explicit Group(const char* name);
    // Every mesh of the .pwn file, linked under this group as the file's
    // node records place them; an unreadable file leaves the group empty.
    Group(const char* name, const char* file, bool uniqueNames, u32 purgeLevel);

    // A new empty group of the same name.
    Node* clone() const override;
};
