#pragma once

#include "engine/resource.h"

// One shader object compiled from a header text and a source file. Its name
// is the registry key: the header text followed by the file path. The source
// files carry no #version line; the header comes first.
class Shader : public Resource {
  public:
    static constexpr u32 kVertex = 0;
    static constexpr u32 kFragment = 1;
    // The work buffer of makeDefineHeader, terminating zero included.
    static constexpr u32 kDefineHeaderSize = 4096;

    // A source that cannot be read leaves the shader without a GL object
    // (id 0); a failed compile is reported with its log.
    Shader(const char* key, const char* header, const char* file, u32 kind, u32 purgeLevel);
    ~Shader() override;

    Resource* clone(const char* newName, u32 purgeLevel) override;
    void print(FILE* file) const override;

    u32 getId() const { return id; }

    // One "#define NAME\n" line per name, in order, as a new text that the
    // caller frees; null (with a warning) when it would not fit in
    // kDefineHeaderSize bytes.
    static char* makeDefineHeader(const char* const* names, u32 count);

  private:
    void compile(const char* header, const char* source, u32 kind);

    u32 id;
};
