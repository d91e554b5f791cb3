#pragma once

#include "engine/transformable.h"

class Light;

// The base of everything drawn: four light slots that the materials read.
// The geometry does not own its lights.
class Geometry : public Transformable {
  public:
    static constexpr u32 kLightSlots = 4;

    Geometry(const char* name, u32 type);
    ~Geometry() override;

    // Clears every slot that holds the light, then the children's.
    void unlinkLight(Light* light) override;

    // Indices 0 to 3; any other is warned about and ignored (null).
    void setLight(Light* light, u32 index);
    Light* getLight(u32 index) const;
    void clearLight(u32 index);
    // The light of the lowest slot that holds one, or null.
    Light* firstLight() const;
    // Puts this geometry's lights into the same slots of the other one.
    void copyLightsTo(Geometry* other) const;

    // Clears the light from the slots of every geometry that exists.
    static void unlinkLightEverywhere(Light* light);

  private:
    void clearSlotsOf(Light* light);

    Light* lights[kLightSlots];
    // Every live geometry, so that a dying light reaches all its holders.
    Geometry* previousGeometry;
    Geometry* nextGeometry;
};
