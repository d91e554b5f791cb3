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

// "link_image": the gathered <image id="..."> and the file its <init_from>
// names, which a material's texture may lead to.
void linkImage(RuleEngine& engine);

// "link_controller": the gathered <controller id="..."> and the source of its
// <skin> or <morph>, the geometry (or the controller) that it deforms.
void linkController(RuleEngine& engine);

// "read_asset": the <up_axis> and the <unit meter="..." name="..."> of the
// document's <asset>.
void readAsset(RuleEngine& engine);

// Sets the diffuse of a material whose <diffuse> is a <texture> (and no
// colour) to white, which the texture would modulate, and notes the texture
// for warnOfLeftOut; its image is the one the texture attribute leads to
// through the effect's <newparam>s (a sampler's <source>, a surface's
// <init_from>).
void takeDiffuseTexture(RuleEngine& engine, MaterialRecord& material);

// Adds to materials what the <instance_material symbol="..." target="#...">
// records inside instance (an <instance_geometry> or <instance_controller>)
// bind: the material written for the effect of the <material> the target
// names (or for the effect it names itself). A target that leads to no
// written material is left out with a warning naming the node shown.
void bindMaterials(const RuleEngine& engine, const TagRecord& instance, const std::string& shown,
                   std::unordered_map<std::string, u32>& materials);

// After the run: warns on standard output of what the document holds that
// the model leaves out: an up axis other than Y or a unit other than the
// metre (the coordinates are written as they stand), and the image of each
// material whose diffuse is a texture, by its file where the document names
// one, else by the texture attribute as written.
void warnOfLeftOut(const RuleEngine& engine);

// After the instances are placed: tells the writer which geometry each
// <instance_controller> of the scene places through its controller (a skin
// or a morph, which is not read), with the materials that the element binds.
void noteControlledGeometries(RuleEngine& engine);

// After the run: where the document chose a visual scene, the nodes of the
// other scenes leave the scene for the library, where only <instance_node>
// finds them. A choice that names no visual scene keeps every scene, with a
// warning.
void keepChosenScene(RuleEngine& engine);
