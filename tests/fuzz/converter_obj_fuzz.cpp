// Drives Meshwright's OBJ reader and .pwn writer with arbitrary text. Every
// input must end in a finished file or a failure message, never a crash.
#include "tools/converter/objreader.h"
#include "tools/converter/pwnwriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reader's messages go to standard output; keep them out of the log.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ObjReader reader;
    if (!readObj(reader, reinterpret_cast<const char*>(data), size)) {
        if (reader.error.empty() || reader.error.back() != '\n') {
            std::abort(); // a refused input always names its failure, in whole lines
        }
        return 0;
    }
    for (u32 index : reader.indices) {
        if (index >= reader.vertexCount) {
            std::abort();
        }
    }
    PwnWriter writer;
    if (!beginOutput(writer, "/dev/null")) {
        std::abort();
    }
    NodeRecord root;
    writeObjModel(reader, writer, root);
    finishOutput(writer, root);
    return 0;
}
