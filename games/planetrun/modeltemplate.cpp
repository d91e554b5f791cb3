#include "games/planetrun/modeltemplate.h"

#include "engine/group.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/world.h"

ModelTemplate::ModelTemplate(World* world, Group* group_, TriangleMesh* mesh_)
    : group(group_), mesh(mesh_) {
    world->attachChild(group);
}

ModelTemplate* ModelTemplate::load(World* world, const char* modelName, const char* file,
                                   const char* groupName) {
    Group* group = SceneGraph::createGroup(modelName, file, true, 1);
    group->setName(groupName);
    TriangleMesh* mesh = nullptr;
    Node* first = group->getChild(0);
    if (first != nullptr && first->getType() == kNodeTriangleMesh) {
        first->detachFromParent();
        mesh = static_cast<TriangleMesh*>(first);
    }
    return new ModelTemplate(world, group, mesh);
}

ModelTemplate::~ModelTemplate() {
    SceneGraph::deleteNode(mesh);
}

TriangleMesh* ModelTemplate::copy(const char* name) const {
    if (mesh == nullptr) {
        return nullptr;
    }
    TriangleMesh* copied = static_cast<TriangleMesh*>(mesh->duplicate(name, true));
    group->attachChild(copied);
    return copied;
}
