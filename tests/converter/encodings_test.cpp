// Text in UTF-32 is refused by its name, as UTF-16 text is: in either byte
// order, with a byte order mark or without, OBJ files and COLLADA documents
// alike, and no output is written.
#include "shipped.h"

#include <gtest/gtest.h>

namespace {

// The ASCII text in UTF-32, little-endian or big-endian.
std::string utf32(const std::string& ascii, bool bigEndian) {
    std::string out;
    for (char c : ascii) {
        std::string unit(4, '\0');
        unit[bigEndian ? 3 : 0] = c;
        out += unit;
    }
    return out;
}

TEST(Encodings, Utf32TextIsRefusedByItsName) {
    const std::string kUtf32 = "The input file is UTF-32 text, which is not read: save it as "
                               "UTF-8 and convert it again\n";
    const std::string kLittleMark("\xFF\xFE\0\0", 4);
    const std::string kBigMark("\0\0\xFE\xFF", 4);
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    const std::string dae = ReadFileText(Fixture("dae_base.dae"));
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"model.obj", kLittleMark + utf32(obj, false)},
        {"model.obj", kBigMark + utf32(obj, true)},
        {"model.obj", utf32(obj, false)},
        {"model.obj", utf32(obj, true)},
        {"model.dae", kLittleMark + utf32(dae, false)},
        {"model.dae", utf32(dae, true)},
    };
    for (const Case& c : cases) {
        MeshwrightRun run = ConvertTextWithShippedRules(c.name, c.text);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.out, kUtf32) << c.name;
        EXPECT_EQ(DirectoryNames(run.dir).count("out.pwn"), 0u) << c.name;
    }
}

} // namespace
