#pragma once

#include "engine/types.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// What the readers hand to the .pwn writer.

struct MaterialRecord {
    std::optional<std::string> name;
    bool hasAmbient = false;
    f32 ambient[3] = {};
    bool hasDiffuse = false;
    f32 diffuse[3] = {};
    bool hasSpecular = false;
    f32 specular[3] = {};
    bool hasShininess = false;
    f32 shininess = 0.0f;
    bool hasEmissive = false;
    f32 emissive = 0.0f;
    bool hasSpecularLevel = false;
    f32 specularLevel = 0.0f;
};

struct MeshAttribute {
    std::string name;
    u32 offset = 0;     // in floats
    u32 components = 0; // floats
};

struct MeshRecord {
    std::string name;
    std::string materialName;
    // The id of the document's geometry, which nodes may name to place it.
    std::string geometryId;
    // Another part (such as a further <triangles>) of the mesh written just
    // before: the nodes that place that mesh place this one too.
    bool furtherPart = false;
    std::vector<MeshAttribute> attributes;
    u32 triangleCount = 0;
    const u32* indices = nullptr;
    u32 indexCount = 0;
    const f32* vertices = nullptr;
    u32 vertexCount = 0;
    u32 floatsPerVertex = 0;
};

// An <instance_controller> of a node: its url as written, and what its
// <bind_material> binds (as NodeRecord::materials).
struct ControllerInstance {
    std::string url;
    std::unordered_map<std::string, u32> materials;
};

struct NodeRecord {
    std::string name;
    bool named = true; // a node without a name matches no mesh by its name
    // The id of the geometry the node places, when the document says it
    // (<instance_geometry url="#id">); else the node places the mesh of its name.
    std::string geometry;
    std::string geometryUrl; // that element's url as written, when there is one
    // What its <bind_material> binds: the material name a mesh of the
    // geometry gives (the symbol) to the number of the written material.
    std::unordered_map<std::string, u32> materials;
    // The child made for a further <instance_geometry> of its parent node.
    bool furtherGeometry = false;
    // What the node's <instance_controller> elements place, which is not read.
    std::vector<ControllerInstance> controllers;
    std::string id; // the document's id of the node, which <instance_node> names
    // What the node's <instance_node url="..."> elements name, as written.
    std::vector<std::string> instances;
    std::vector<std::unique_ptr<NodeRecord>> children;
    NodeRecord* parent = nullptr;
    i32 depth = -1;
    bool hasTranslation = false;
    f32 translation[3] = {};
    bool hasRotation = false;
    f32 rotation[4] = {}; // axis x, y, z, then the angle
    bool hasScale = false;
    f32 scale[3] = {};
    // The transform was no translation, rotation and scale and was given the
    // nearest such parts, not yet warned of.
    bool sheared = false;

    // The node's name in messages: its name (for the child that places a
    // further geometry, its node's), else its id.
    std::string label() const {
        if (!name.empty()) {
            return name;
        }
        return id.empty() ? "(unnamed)" : id;
    }

    // Appends child, which now stands under this node.
    void adoptChild(std::unique_ptr<NodeRecord> child) {
        child->parent = this;
        children.push_back(std::move(child));
    }

    // Appends a new child and gives it.
    NodeRecord& addChild() {
        children.push_back(std::make_unique<NodeRecord>());
        NodeRecord& child = *children.back();
        child.parent = this;
        child.depth = depth + 1;
        return child;
    }
};
