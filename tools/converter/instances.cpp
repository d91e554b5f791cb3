#include "tools/converter/instances.h"

#include "tools/converter/builtins.h"
#include "tools/converter/scene.h"
#include "tools/converter/transform.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace {

// More node records than this made by copies are left out: a few nodes that
// instance each other twice over would otherwise double the copies at every
// level.
constexpr std::size_t kMostCopies = 4096;

// A copy made for an <instance_node>, to be put under parent once every copy
// is made (so that no copy holds another's).
struct Placement {
    NodeRecord* parent;
    bool direct; // under the instancing node itself
    Matrix4 above;
    std::unique_ptr<NodeRecord> copy;
    const NodeRecord* by;
    std::string url;
};

struct Instancer {
    const PwnWriter& writer;
    std::unordered_map<std::string, const NodeRecord*> byId;
    std::size_t copies = 0;
    bool tooMany = false;
    std::vector<Placement> placements;
};

void index(Instancer& in, const NodeRecord& node) {
    if (!node.id.empty()) {
        in.byId.emplace(node.id, &node);
    }
    for (const auto& child : node.children) {
        index(in, *child);
    }
}

std::unique_ptr<NodeRecord> copyNode(Instancer& in, const NodeRecord& from,
                                     std::vector<const NodeRecord*>& path);

// A copy of what url names, for the node by on the path of nodes being
// copied (by last); null, with a warning, when it names none or a node on
// the path.
std::unique_ptr<NodeRecord> instanceOf(Instancer& in, const NodeRecord& by, const std::string& url,
                                       std::vector<const NodeRecord*>& path) {
    std::string id = localId(url);
    auto found = id.empty() ? in.byId.end() : in.byId.find(id);
    if (found == in.byId.end()) {
        std::printf("Warning: node %s: <instance_node url=\"%s\"> names no node of the document; "
                    "it was left out\n",
                    by.label().c_str(), url.c_str());
        return nullptr;
    }
    if (std::find(path.begin(), path.end(), found->second) != path.end()) {
        std::printf("Warning: node %s: <instance_node url=\"%s\"> names a node that holds it, "
                    "so it would stand inside itself; it was left out\n",
                    by.label().c_str(), url.c_str());
        return nullptr;
    }
    return copyNode(in, *found->second, path);
}

// A copy of from with everything inside it, its own instances placed.
std::unique_ptr<NodeRecord> copyNode(Instancer& in, const NodeRecord& from,
                                     std::vector<const NodeRecord*>& path) {
    if (in.copies == kMostCopies) {
        in.tooMany = true;
        return nullptr;
    }
    ++in.copies;
    auto copy = std::make_unique<NodeRecord>();
    copy->name = from.name;
    copy->named = from.named;
    copy->geometry = from.geometry;
    copy->geometryUrl = from.geometryUrl;
    copy->materials = from.materials;
    copy->furtherGeometry = from.furtherGeometry;
    copy->controllers = from.controllers;
    copy->id = from.id;
    copy->hasTranslation = from.hasTranslation;
    copy->hasRotation = from.hasRotation;
    copy->hasScale = from.hasScale;
    std::copy(from.translation, from.translation + 3, copy->translation);
    std::copy(from.rotation, from.rotation + 4, copy->rotation);
    std::copy(from.scale, from.scale + 3, copy->scale);
    path.push_back(&from);
    for (const std::string& url : from.instances) {
        if (auto c = instanceOf(in, from, url, path)) {
            copy->adoptChild(std::move(c));
        }
    }
    for (const auto& child : from.children) {
        if (auto c = copyNode(in, *child, path)) {
            copy->adoptChild(std::move(c));
        }
    }
    path.pop_back();
    return copy;
}

// The nodes from the root (not included) down to node.
std::vector<NodeRecord*> pathTo(NodeRecord& node) {
    std::vector<NodeRecord*> path;
    for (NodeRecord* n = &node; n->parent != nullptr; n = n->parent) {
        path.push_back(n);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

// Copies the instances of node, which stands in the scene under root.
void copyInstancesOf(Instancer& in, NodeRecord& root, NodeRecord& node) {
    std::vector<NodeRecord*> path = pathTo(node);
    // The copies go under the deepest node of the path that is written.
    std::size_t written = 0;
    while (written < path.size() && placesMesh(in.writer, *path[written])) {
        ++written;
    }
    Matrix4 above;
    for (std::size_t i = written; i < path.size(); ++i) {
        above = multiply(above, recordMatrix(*path[i]));
    }
    std::vector<const NodeRecord*> copying(path.begin(), path.end());
    for (const std::string& url : node.instances) {
        if (std::unique_ptr<NodeRecord> copy = instanceOf(in, node, url, copying)) {
            in.placements.push_back({written == 0 ? &root : path[written - 1],
                                     written == path.size(), above, std::move(copy), &node, url});
        }
    }
}

void collectInstancing(NodeRecord& node, std::vector<NodeRecord*>& out) {
    if (!node.instances.empty()) {
        out.push_back(&node);
    }
    for (const auto& child : node.children) {
        collectInstancing(*child, out);
    }
}

} // namespace

void placeInstances(RuleEngine& e) {
    Instancer in{*e.writer, {}, 0, false, {}};
    index(in, e.libraryRoot);
    index(in, *e.root);
    std::vector<NodeRecord*> instancing;
    collectInstancing(*e.root, instancing);
    for (NodeRecord* node : instancing) {
        copyInstancesOf(in, *e.root, *node);
    }
    for (Placement& p : in.placements) {
        if (attachNode(in.writer, *p.parent, p.direct ? nullptr : &p.above, std::move(p.copy)) ==
            0) {
            std::printf("Warning: node %s: <instance_node url=\"%s\"> names a node that places "
                        "no mesh\n",
                        p.by->label().c_str(), p.url.c_str());
        }
    }
    if (in.tooMany) {
        std::printf("Warning: more than %zu nodes were made by <instance_node>; the rest were "
                    "left out\n",
                    kMostCopies);
    }
}
