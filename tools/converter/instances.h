#pragma once

#include "tools/converter/ruleengine.h"

// Places what every <instance_node url="#id"> of the scene names: a copy of
// the node of that id (in the scene or in <library_nodes>) with everything
// inside it, under the instancing node. Where the instancing node (or a node
// above it) places no mesh, and so is not written, the copy stands under the
// nearest node that is written, or among the roots, with the transforms in
// between composed into its own; so do the nodes inside a copied node that
// places no mesh. A url that names no node, or a node that would stand
// inside itself, is left out with a warning on standard output naming the
// instancing node.
void placeInstances(RuleEngine& engine);
