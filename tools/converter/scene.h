#pragma once

#include "tools/converter/pwnwriter.h"
#include "tools/converter/ruleengine.h"
#include "tools/converter/transform.h"

#include <memory>

// Puts node under parent, after the transform above (none when null). A node
// that places no mesh (a group, a camera, a light), which is not written,
// hands its own transform on to the nodes inside it: they stand under parent
// in its place, and it stays there emptied, after the nodes before it. Gives
// how many nodes that place a mesh were put.
std::size_t attachNode(const PwnWriter& writer, NodeRecord& parent, const Matrix4* above,
                       std::unique_ptr<NodeRecord> node);

// Warns on standard output, once, that the node's transform was given the
// nearest translation, rotation and scale (NodeRecord::sheared), and how
// many nodes inside it, which place a mesh, move with it.
void warnOfShear(const PwnWriter& writer, NodeRecord& node);

// Every node of the scene that places no mesh hands its transform on to the
// nodes inside it (see attachNode), so that every node that places a mesh is
// written; an <instance_geometry> that names no mesh written is left out with
// a warning on standard output naming the node. First the converted
// transforms of every node, in the scene and in the library, are warned of.
void settleScene(RuleEngine& engine);
