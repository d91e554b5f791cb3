#pragma once

#include "tools/converter/ruleengine.h"

// What a COLLADA document binds by its ids: each <material> to the effect
// that gives its values, the material symbols of a placed geometry to
// materials, and the visual scene that <scene> places. The rule program
// calls the first three by name, like the other built-ins.

// "link_material": the gathered <material id="..."> and the url of its
// <instance_effect>, so that a binding to the material finds the material
// written for the effect.
void linkMaterial(RuleEngine& engine);

// "begin_scene": the gathered <visual_scene id="...">, in which the nodes
// pushed from now on stand.
void beginScene(RuleEngine& engine);

// "choose_scene": the gathered url of <instance_visual_scene>, the one visual
// scene the document places.
void chooseScene(RuleEngine& engine);

// Gives node what the <instance_material symbol="..." target="#..."> records
// inside instanceGeometry bind: the material written for the effect of the
// <material> the target names (or for the effect it names itself). A target
// that leads to no written material is left out with a warning naming the
// node.
void bindMaterials(const RuleEngine& engine, const TagRecord& instanceGeometry, NodeRecord& node);

// After the run: where the document chose a visual scene, the nodes of the
// other scenes leave the scene for the library, where only <instance_node>
// finds them. A choice that names no visual scene keeps every scene, with a
// warning.
void keepChosenScene(RuleEngine& engine);
