#pragma once

#include "tools/converter/ruleengine.h"

#include <string>

// The three functions a rule program calls by name. Each turns what the rules
// gathered since the previous call into one material, mesh or node, then
// empties the gathered store and the vertex table. A failure stops the run
// through ruleFailure.

// "material_gather", "mesh_assemble" or "push_node" (with depth).
void callBuiltin(RuleEngine& engine, const std::string& name, i32 depth);

// Ends a built-in call: empties the gathered store and the vertex table.
void finishCall(RuleEngine& engine);
// The value of the attribute gathered at path from the opening tag of the
// element its rule ran over, else nothing (an attribute of an element inside
// it is not the element's own).
std::string ownAttribute(const RuleEngine& engine, const char* path);
// The id a url of this document names ("#id"), else nothing.
std::string localId(const std::string& url);

void materialGather(RuleEngine& engine);
void meshAssemble(RuleEngine& engine);
void pushNode(RuleEngine& engine, i32 depth);
