#include "tools/converter/binding.h"

#include "tools/converter/builtins.h"
#include "tools/converter/numbers.h"

#include <algorithm>
#include <cstdio>

namespace {

// The number of the material written for the effect that the material of
// this id instances, or for the effect of this id (a target some documents
// write without <library_materials>); -1 for none.
i32 materialOfTarget(const DocumentLinks& links, const std::string& id) {
    auto effect = links.materialEffects.find(id);
    auto written =
        links.effectMaterials.find(effect == links.materialEffects.end() ? id : effect->second);
    return written == links.effectMaterials.end() ? -1 : static_cast<i32>(written->second);
}

// The values of a list joined by blanks (a file name may hold some), or
// nothing for no list.
std::string joined(const GatheredElements* list) {
    std::string text;
    for (std::size_t i = 0; list != nullptr && i < list->size(); ++i) {
        text += (i == 0 ? "" : " ") + std::string(list->value(i));
    }
    return text;
}

// The first value of the list its tag record's child of that name holds,
// as <init_from> of a surface or <source> of a sampler.
std::string childText(const TagRecord* record, const char* name) {
    const TagRecord* child = record != nullptr ? childTag(name, record, 0) : nullptr;
    return joined(child != nullptr ? childElements(name, child) : nullptr);
}

// The gathered <newparam> whose sid is name, or none.
const TagRecord* parameter(const RuleEngine& e, const std::string& name) {
    for (const TagRecord* record : e.store.tags) {
        if (lastComponent(record->id) != "newparam") {
            continue;
        }
        const GatheredAttribute* sid = childAttribute("sid", record);
        if (sid != nullptr && sid->value == name) {
            return record;
        }
    }
    return nullptr;
}

// The image id that a texture attribute leads to: a sampler parameter names
// a surface parameter by its <source> (or the image by an <instance_image
// url>), and a surface the image by its <init_from>. A name that no
// parameter has is taken as the image's id itself, as some exporters write.
std::string imageOfTexture(const RuleEngine& e, std::string name) {
    constexpr int kHops = 8; // a sampler, a surface and room for odd chains
    for (int hop = 0; hop < kHops; ++hop) {
        const TagRecord* param = parameter(e, name);
        if (param == nullptr) {
            return name;
        }
        if (const TagRecord* surface = childTag("surface", param, 0)) {
            return childText(surface, "init_from");
        }
        const TagRecord* sampler = childTag("sampler", param, 0);
        const TagRecord* image = sampler ? childTag("instance_image", sampler, 0) : nullptr;
        const GatheredAttribute* url = image ? childAttribute("url", image) : nullptr;
        if (url != nullptr) {
            return localId(url->value);
        }
        name = childText(sampler, "source");
    }
    return std::string();
}

// The geometry that the controller of this id deforms, through the
// controllers it is made over (a skin of a morph); kind receives the kind of
// the first. Nothing when the id names no controller or the chain ends in one.
std::string geometryOfController(const DocumentLinks& links, std::string id, std::string& kind) {
    constexpr int kHops = 8;
    for (int hop = 0; hop < kHops; ++hop) {
        auto controller = links.controllers.find(id);
        if (controller == links.controllers.end()) {
            return hop == 0 ? std::string() : id;
        }
        if (hop == 0) {
            kind = controller->second.first;
        }
        id = controller->second.second;
    }
    return std::string();
}

void noteControllersIn(const RuleEngine& e, const NodeRecord& node) {
    for (const ControllerInstance& instance : node.controllers) {
        std::string kind;
        std::string geometry = geometryOfController(e.links, localId(instance.url), kind);
        if (!geometry.empty()) {
            e.writer->controlledGeometries.emplace(
                geometry, ControlledGeometry{kind, node.label(), instance.url, instance.materials});
        }
    }
    for (const auto& child : node.children) {
        noteControllersIn(e, *child);
    }
}

// An up axis other than Y and a unit other than the metre, in one warning.
void warnOfAsset(const DocumentLinks& links) {
    bool turned = links.upAxis && *links.upAxis != "Y_UP";
    bool scaled = links.unitMeter && parseFloat(links.unitMeter->data(),
                                                static_cast<i32>(links.unitMeter->size())) != 1;
    if (!turned && !scaled) {
        return;
    }
    std::string said = turned ? "up axis is " + *links.upAxis + ", not Y_UP" : std::string();
    if (scaled) {
        said += turned ? ", and its unit " : "unit is ";
        said += *links.unitMeter + " metres";
        said += links.unitName ? " (" + *links.unitName + ")" : std::string();
        said += ", not 1 metre";
    }
    const char* left = !scaled  ? "not turned Y-up"
                       : turned ? "neither turned Y-up nor scaled to metres"
                                : "not scaled to metres";
    std::printf("Warning: the document's %s; its coordinates were written as the document holds "
                "them, %s\n",
                said.c_str(), left);
}

} // namespace

void linkMaterial(RuleEngine& e) {
    std::string id = ownAttribute(e, "material/id");
    const GatheredAttribute* url = findGatheredAttribute(e, "instance_effect/url");
    if (!id.empty() && url != nullptr && !localId(url->value).empty()) {
        e.links.materialEffects.emplace(id, localId(url->value));
    }
    finishCall(e);
}

void linkImage(RuleEngine& e) {
    std::string id = ownAttribute(e, "image/id");
    std::string file = joined(findGatheredElements(e, "image/init_from/init_from"));
    if (!id.empty() && !file.empty()) {
        e.links.images.emplace(id, file);
    }
    finishCall(e);
}

void linkController(RuleEngine& e) {
    std::string id = ownAttribute(e, "controller/id");
    for (const char* kind : {"skin", "morph"}) {
        std::string source = localId(ownAttribute(e, (std::string(kind) + "/source").c_str()));
        if (!id.empty() && !source.empty()) {
            e.links.controllers.emplace(id, std::make_pair(kind, source));
            break;
        }
    }
    finishCall(e);
}

void readAsset(RuleEngine& e) {
    const GatheredAttribute* meter = findGatheredAttribute(e, "unit/meter");
    const GatheredAttribute* name = findGatheredAttribute(e, "unit/name");
    std::string axis = joined(findGatheredElements(e, "up_axis/up_axis"));
    if (meter != nullptr && !meter->value.empty()) {
        e.links.unitMeter = meter->value;
    }
    if (name != nullptr && !name->value.empty()) {
        e.links.unitName = name->value;
    }
    if (!axis.empty()) {
        e.links.upAxis = axis;
    }
    finishCall(e);
}

void takeDiffuseTexture(RuleEngine& e, MaterialRecord& m) {
    const GatheredAttribute* texture = findGatheredAttribute(e, "diffuse/texture/texture");
    if (texture == nullptr || texture->value.empty() || m.hasDiffuse || !m.name) {
        return;
    }
    m.hasDiffuse = true;
    std::fill(m.diffuse, m.diffuse + 3, 1.0f);
    e.links.textures.push_back({*m.name, texture->value, imageOfTexture(e, texture->value)});
}

void beginScene(RuleEngine& e) {
    e.links.scenes.emplace_back(ownAttribute(e, "visual_scene/id"), e.root->children.size());
    finishCall(e);
}

void chooseScene(RuleEngine& e) {
    const GatheredAttribute* url = findGatheredAttribute(e, "instance_visual_scene/url");
    if (url != nullptr) {
        e.links.chosenScene = url->value;
    }
    finishCall(e);
}

void bindMaterials(const RuleEngine& e, const TagRecord& instance, const std::string& shown,
                   std::unordered_map<std::string, u32>& materials) {
    for (const TagRecord* m : childTags("instance_material", &instance)) {
        const GatheredAttribute* symbol = childAttribute("symbol", m);
        const GatheredAttribute* target = childAttribute("target", m);
        if (symbol == nullptr || target == nullptr || symbol->value.empty()) {
            continue;
        }
        i32 material = materialOfTarget(e.links, localId(target->value));
        if (material < 0) {
            std::printf("Warning: node %s: <instance_material symbol=\"%s\" target=\"%s\"> names "
                        "no material of the document\n",
                        shown.c_str(), symbol->value.c_str(), target->value.c_str());
            continue;
        }
        materials.emplace(symbol->value, static_cast<u32>(material));
    }
}

void keepChosenScene(RuleEngine& e) {
    const DocumentLinks& links = e.links;
    if (!links.chosenScene) {
        return;
    }
    std::string id = localId(*links.chosenScene);
    auto chosen = std::find_if(links.scenes.begin(), links.scenes.end(),
                               [&](const auto& scene) { return scene.first == id; });
    if (id.empty() || chosen == links.scenes.end()) {
        std::printf("Warning: <instance_visual_scene url=\"%s\"> names no visual scene of the "
                    "document; every visual scene was placed\n",
                    links.chosenScene->c_str());
        return;
    }
    std::size_t first = chosen->second;
    std::size_t end =
        chosen + 1 == links.scenes.end() ? e.root->children.size() : (chosen + 1)->second;
    std::vector<std::unique_ptr<NodeRecord>> roots = std::move(e.root->children);
    e.root->children.clear();
    for (std::size_t i = 0; i < roots.size(); ++i) {
        NodeRecord& to = i >= first && i < end ? *e.root : e.libraryRoot;
        to.adoptChild(std::move(roots[i]));
    }
}

void warnOfLeftOut(const RuleEngine& e) {
    warnOfAsset(e.links);
    for (const DocumentLinks::Texture& t : e.links.textures) {
        auto image = e.links.images.find(t.image);
        bool named = image != e.links.images.end();
        std::printf("Warning: material %s: its diffuse is the %s \"%s\", which was left out; the "
                    "diffuse colour was written white, which the %s would modulate\n",
                    t.material.c_str(), named ? "image" : "texture",
                    (named ? image->second : t.texture).c_str(), named ? "image" : "texture");
    }
}

void noteControlledGeometries(RuleEngine& e) {
    noteControllersIn(e, *e.root);
}
