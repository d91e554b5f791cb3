#pragma once

#include "engine/transformable.h"

// A plain transform node.
class Group : public Transformable {
  public:
    explicit Group(const char* name);

    // A new empty group of the same name.
    Node* clone() const override;
};
