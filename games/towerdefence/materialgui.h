#pragma once

#include "engine/materialphong.h"

// The tower-defence program's directional material: a Phong material with
// its own shaders that mark a band of the menu bar, the GUI-world x
// coordinates from lightStart to lightStop, as the highlighted button. It
// takes the directional kind's place and type code in this program.
class MaterialGui : public MaterialDirectional {
  public:
    MaterialGui(const char* name, u32 purgeLevel);

    // The band; (0, 0) shows none. A clone starts with the default band.
    f32 lightStart;
    f32 lightStop;

  protected:
    void sendOwnUniforms() override;
};
