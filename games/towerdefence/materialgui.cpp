#include "games/towerdefence/materialgui.h"

#include "engine/shaderprogram.h"

namespace {

const char* const kVertexFile = "../shaders/MaterialGui.vs";
const char* const kFragmentFile = "../shaders/MaterialGui.fs";
const f32 kDefaultStart = -4.0f;
const f32 kDefaultStop = 7.5f;

} // namespace

MaterialGui::MaterialGui(const char* name, u32 purgeLevel)
    : MaterialDirectional(name, purgeLevel, kVertexFile, kFragmentFile), lightStart(kDefaultStart),
      lightStop(kDefaultStop) {}

void MaterialGui::sendOwnUniforms() {
    program->setUniform("LightStart", &lightStart, 1);
    program->setUniform("LightStop", &lightStop, 1);
}
