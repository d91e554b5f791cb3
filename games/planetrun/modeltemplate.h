#pragma once

class Group;
class TriangleMesh;
class World;

// What the objects of one kind are copied from: a group attached to the
// world that holds the copies, and the template mesh, which is never
// attached and goes with this holder. Without a mesh (a missing or empty
// model) no object of the kind can be made.
class ModelTemplate {
  public:
    // Takes the mesh; the group is attached to the world, which owns it.
    ModelTemplate(World* world, Group* group, TriangleMesh* mesh);
    // The model file read into a group, renamed groupName, whose first
    // child, when it is a triangle mesh, is taken out as the template.
    static ModelTemplate* load(World* world, const char* modelName, const char* file,
                               const char* groupName);
    ~ModelTemplate();
    ModelTemplate(const ModelTemplate&) = delete;
    ModelTemplate& operator=(const ModelTemplate&) = delete;

    Group* getGroup() const { return group; }
    TriangleMesh* getMesh() const { return mesh; }
    // A copy of the template under the name, attached to the group; null
    // without a template.
    TriangleMesh* copy(const char* name) const;

  private:
    Group* group;
    TriangleMesh* mesh;
};
