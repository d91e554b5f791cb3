#pragma once

#include "engine/resource.h"

// One shader object compiled from a header text and a source file. Its name
// is the registry key: the header text followed by the file path.
class Shader : public Resource {
  public:
    static constexpr u32 kVertex = 0;
    static constexpr u32 kFragment = 1;

    Shader(const char* key, const char* header, const char* file, u32 kind, u32 purgeLevel);

    u32 getId() const { return id; }

  private:
    u32 id;
};
