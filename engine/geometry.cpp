#include "engine/geometry.h"

#include "engine/result.h"

namespace {

const Result kBadLightSlot = {1, "Light slot index out of range"};

Geometry* allGeometry = nullptr;

} // namespace

Geometry::Geometry(const char* name, u32 type)
    : Transformable(name, type), lights{}, previousGeometry(nullptr), nextGeometry(allGeometry) {
    if (allGeometry != nullptr) {
        allGeometry->previousGeometry = this;
    }
    allGeometry = this;
}

Geometry::~Geometry() {
    if (previousGeometry != nullptr) {
        previousGeometry->nextGeometry = nextGeometry;
    } else {
        allGeometry = nextGeometry;
    }
    if (nextGeometry != nullptr) {
        nextGeometry->previousGeometry = previousGeometry;
    }
}

void Geometry::clearSlotsOf(Light* light) {
    for (Light*& slot : lights) {
        if (slot == light) {
            slot = nullptr;
        }
    }
}

void Geometry::unlinkLight(Light* light) {
    clearSlotsOf(light);
    Node::unlinkLight(light);
}

void Geometry::setLight(Light* light, u32 index) {
    if (index >= kLightSlots) {
        REPORT(kBadLightSlot);
        return;
    }
    lights[index] = light;
}

Light* Geometry::getLight(u32 index) const {
    if (index >= kLightSlots) {
        REPORT(kBadLightSlot);
        return nullptr;
    }
    return lights[index];
}

void Geometry::clearLight(u32 index) {
    setLight(nullptr, index);
}

Light* Geometry::firstLight() const {
    for (Light* light : lights) {
        if (light != nullptr) {
            return light;
        }
    }
    return nullptr;
}

void Geometry::copyLightsTo(Geometry* other) const {
    for (u32 i = 0; i < kLightSlots; i++) {
        if (lights[i] != nullptr) {
            other->setLight(lights[i], i);
        }
    }
}

void Geometry::unlinkLightEverywhere(Light* light) {
    for (Geometry* g = allGeometry; g != nullptr; g = g->nextGeometry) {
        g->clearSlotsOf(light);
    }
}
