#include "engine/group.h"

#include "engine/pwnparser.h"
#include "engine/scenegraph.h"

Group::Group(const char* name) : Transformable(name, kNodeGroup) {}

Group::Group(const char* name, const char* file, bool uniqueNames, u32 purgeLevel)
    : Transformable(name, kNodeGroup) {
    PwnParse(this, file, false, uniqueNames, purgeLevel);
}

Node* Group::clone() const {
    return SceneGraph::createGroup(getName());
}
