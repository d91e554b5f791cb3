#include "tools/converter/trace.h"

#include "pwnfile.h"
#include "runner.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

std::string viaPrintf(float f) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", double(f));
    return buffer;
}

std::string viaTrace(float f) {
    char buffer[64];
    return std::string(buffer, formatFixed3(f, buffer));
}

TEST(FormatFixed3, MatchesPrintfOnEdgeValues) {
    const float cases[] = {0.0f,        -0.0f,     0.0625f,   0.1875f,       -0.0625f,      0.0005f,
                           0.0015f,     1.0005f,   2.5e-4f,   -2.5e-4f,      1e-45f,        -1e-45f,
                           0.9995f,     999.9995f, 1.5f,      2147483520.0f, 2147483648.0f, -3e9f,
                           1e30f,       INFINITY,  -INFINITY, NAN,           0.1f,          0.7f,
                           16777216.0f, 8388608.5f};
    for (float f : cases) {
        EXPECT_EQ(viaTrace(f), viaPrintf(f)) << "bits of " << f;
    }
}

TEST(FormatFixed3, MatchesPrintfOnRandomBitPatterns) {
    std::mt19937 random(7);
    for (int i = 0; i < 200000; ++i) {
        uint32_t b = random();
        if (i % 2 == 0) {
            b = (b & 0x807fffff) | ((100 + b % 60) << 23); // mostly |f| in 2^-27..2^32
        }
        float f;
        std::memcpy(&f, &b, 4);
        ASSERT_EQ(viaTrace(f), viaPrintf(f)) << "bits " << std::hex << b;
    }
}

TEST(Trace, WritesValuesInTheirFormats) {
    std::string path = MakeScratchDir() + "/debug.txt";
    ASSERT_TRUE(traceOpen(path.c_str()));
    const u32 ints[] = {0, 7, 4294967295u};
    const f32 floats[] = {1.0f, -0.5f, 3.14159f};
    traceText("Writing int array\n");
    traceInts(ints, 3);
    traceText("\n");
    traceFloats(floats, 3);
    tracePrint("\n%s %d\n", "name", 12);
    traceClose();
    traceText("after closing nothing is written");
    EXPECT_EQ(ReadFileText(path),
              "Writing int array\n[0][7][-1]\n[1.000][-0.500][3.142]\nname 12\n");
}

} // namespace
