#pragma once

#include "tools/converter/ruleengine.h"

#include <string>

// The three functions a rule program calls by name. Each turns what the rules
// gathered since the previous call into one material, mesh or node, then
// empties the gathered store and the vertex table. A failure stops the run
// through ruleFailure.

// "material_gather", "mesh_assemble" or "push_node" (with depth).
void callBuiltin(RuleEngine& engine, const std::string& name, i32 depth);

void materialGather(RuleEngine& engine);
void meshAssemble(RuleEngine& engine);
void pushNode(RuleEngine& engine, i32 depth);
