#include "tools/converter/scene.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

struct Settling {
    const PwnWriter& writer;
    std::set<std::string> warned; // copies of one node warn once
};

void warnIfUnplaced(Settling& s, const NodeRecord& node) {
    if (node.geometryUrl.empty() || placesMesh(s.writer, node) ||
        s.writer.emptyGeometries.count(node.geometry) != 0) {
        return;
    }
    std::string shown = node.label() + "\n" + node.geometryUrl;
    if (s.warned.insert(shown).second) {
        std::printf("Warning: node %s: <instance_geometry url=\"%s\"> names no geometry of the "
                    "document; it was left out\n",
                    node.label().c_str(), node.geometryUrl.c_str());
    }
}

// How many nodes inside node place a mesh, not counting the children that
// place its own further geometries.
std::size_t nodesInside(const PwnWriter& w, const NodeRecord& node) {
    std::size_t count = 0;
    for (const auto& child : node.children) {
        count +=
            (!child->furtherGeometry && placesMesh(w, *child) ? 1 : 0) + nodesInside(w, *child);
    }
    return count;
}

// Warns of the converted transforms of node and every node inside it.
void warnOfShears(const PwnWriter& w, NodeRecord& node) {
    warnOfShear(w, node);
    for (auto& child : node.children) {
        warnOfShears(w, *child);
    }
}

// Lifts the nodes inside the nodes under node that place no mesh, all the
// way down.
void settle(Settling& s, NodeRecord& node) {
    std::vector<std::unique_ptr<NodeRecord>> children = std::move(node.children);
    node.children.clear();
    for (auto& child : children) {
        attachNode(s.writer, node, nullptr, std::move(child));
    }
    for (auto& child : node.children) {
        if (placesMesh(s.writer, *child)) {
            settle(s, *child);
        } else {
            warnIfUnplaced(s, *child);
        }
    }
}

} // namespace

std::size_t attachNode(const PwnWriter& writer, NodeRecord& parent, const Matrix4* above,
                       std::unique_ptr<NodeRecord> node) {
    if (placesMesh(writer, *node)) {
        if (above != nullptr && !setRecordTransform(*node, multiply(*above, recordMatrix(*node)))) {
            node->sheared = true;
        }
        warnOfShear(writer, *node);
        parent.adoptChild(std::move(node));
        return 1;
    }
    // A node without a transform, under none, leaves the nodes inside it as
    // they are written.
    bool hands = above != nullptr || node->hasTranslation || node->hasRotation || node->hasScale;
    Matrix4 own = recordMatrix(*node);
    if (above != nullptr) {
        own = multiply(*above, own);
    }
    std::vector<std::unique_ptr<NodeRecord>> inside = std::move(node->children);
    node->children.clear();
    parent.adoptChild(std::move(node));
    std::size_t placed = 0;
    for (auto& child : inside) {
        placed += attachNode(writer, parent, hands ? &own : nullptr, std::move(child));
    }
    return placed;
}

void warnOfShear(const PwnWriter& writer, NodeRecord& node) {
    if (!node.sheared) {
        return;
    }
    node.sheared = false;
    std::size_t inside = nodesInside(writer, node);
    std::string moved =
        inside == 0   ? std::string()
        : inside == 1 ? ", and the node inside it moves with it"
                      : ", and the " + std::to_string(inside) + " nodes inside it move with it";
    std::printf("Warning: node %s: its transform is not a translation, a rotation and a scale (it "
                "shears); the nearest of those was converted%s\n",
                node.label().c_str(), moved.c_str());
}

void settleScene(RuleEngine& e) {
    warnOfShears(*e.writer, e.libraryRoot);
    warnOfShears(*e.writer, *e.root);
    Settling s{*e.writer, {}};
    settle(s, *e.root);
}
