#include "engine/group.h"

#include "engine/scenegraph.h"

Group::Group(const char* name) : Transformable(name, kNodeGroup) {}

Node* Group::clone() const {
    return SceneGraph::createGroup(getName());
}
