#include "tools/converter/binding.h"

#include "tools/converter/builtins.h"

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

} // namespace

void linkMaterial(RuleEngine& e) {
    std::string id = ownAttribute(e, "material/id");
    const GatheredAttribute* url = findGatheredAttribute(e, "instance_effect/url");
    if (!id.empty() && url != nullptr && !localId(url->value).empty()) {
        e.links.materialEffects.emplace(id, localId(url->value));
    }
    finishCall(e);
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

void bindMaterials(const RuleEngine& e, const TagRecord& instanceGeometry, NodeRecord& node) {
    for (const TagRecord* m : childTags("instance_material", &instanceGeometry)) {
        const GatheredAttribute* symbol = childAttribute("symbol", m);
        const GatheredAttribute* target = childAttribute("target", m);
        if (symbol == nullptr || target == nullptr || symbol->value.empty()) {
            continue;
        }
        i32 material = materialOfTarget(e.links, localId(target->value));
        if (material < 0) {
            std::printf("Warning: node %s: <instance_material symbol=\"%s\" target=\"%s\"> names "
                        "no material of the document\n",
                        node.label().c_str(), symbol->value.c_str(), target->value.c_str());
            continue;
        }
        node.materials.emplace(symbol->value, static_cast<u32>(material));
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
