#include "engine/light.h"

#include "engine/geometry.h"
#include "engine/scenegraph.h"

Light::Light(const char* name) : Light(name, vec3(1, 1, 1), 1.0f) {}

Light::Light(const char* name, vec3 color_, f32 intensity_)
    : Transformable(name, kNodeLight), color(color_), intensity(intensity_), falloff(0.0f) {}

// The root of the light's tree unlinks it from its subtree; geometry
// elsewhere that still holds it is cleared as well.
Light::~Light() {
    if (getParent() != nullptr) {
        Node* root = getParent();
        while (root->getParent() != nullptr) {
            root = root->getParent();
        }
        root->unlinkLight(this);
    }
    Geometry::unlinkLightEverywhere(this);
}

Node* Light::clone() const {
    return SceneGraph::createLight(getName(), color, intensity);
}
