// Feeds arbitrary bytes to the .pwn reader: it must warn and stop, never
// crash, hang or touch memory outside its buffers.
#include "engine/group.h"
#include "engine/pwnparser.h"
#include "engine/scenegraph.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool initialized = false;
    if (!initialized) {
        SceneGraph::init();
        initialized = true;
    }
    Group* group = SceneGraph::createGroup("fuzz");
    PwnParseBytes(group, data, size, false, false, 0);
    SceneGraph::deleteNode(group);
    Group* first = SceneGraph::createGroup("fuzz_first");
    PwnParseBytes(first, data, size, true, true, 0);
    SceneGraph::deleteNode(first);
    SceneGraph::purge(0xffffffffu);
    return 0;
}
