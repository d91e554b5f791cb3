#include "tools/converter/vertextable.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

uint32_t hashOf(std::vector<float> key) {
    return hashVertex(reinterpret_cast<const u8*>(key.data()), int(key.size() * sizeof(float)));
}

TEST(HashVertex, KeepsTheBucketsOfTheSignedByteHash) {
    // h = h * 33 + signed byte over the little-endian bytes, modulo 337.
    EXPECT_EQ(hashOf({0.0f, 0.0f, 0.0f}), 0u);
    EXPECT_EQ(hashOf({1.0f}), 246u);
    EXPECT_EQ(hashOf({-0.0f, 0.0f, 0.0f}), 248u);
    EXPECT_EQ(hashOf({1.0f, 2.0f, 3.0f}), 83u);
    EXPECT_EQ(hashOf({0.5f, -0.25f, 14.0f, 0, 1, 0, 0, 0, 1}), 304u);
}

TEST(VertexTable, MergesByteEqualVerticesOnly) {
    VertexTable table;
    const float a[3] = {1, 2, 3};
    const float b[3] = {0.0f, 0, 0};
    const float c[3] = {-0.0f, 0, 0};
    EXPECT_EQ(vertexTableFind(table, a, 3), -1);
    EXPECT_EQ(vertexTableAdd(table, a, 3), 0u);
    EXPECT_EQ(vertexTableAdd(table, b, 3), 1u);
    EXPECT_EQ(vertexTableAdd(table, c, 3), 2u) << "0.0 and -0.0 are different vertices";
    EXPECT_EQ(vertexTableAdd(table, a, 3), 0u);
    EXPECT_EQ(vertexTableFind(table, c, 3), 2);
    EXPECT_EQ(vertexTableCount(table), 3u);
    EXPECT_EQ(table.data.size(), 9u);
    EXPECT_EQ(vertexTableInsert(table, b, 3), 0) << "present keys are not inserted";
    EXPECT_EQ(vertexTableInsert(table, a, 2), int(hashOf({1, 2})));
    EXPECT_EQ(vertexTableCount(table), 4u);
}

TEST(VertexTable, KeysOfDifferentLengthsDiffer) {
    VertexTable table;
    const float key[6] = {1, 2, 3, 0, 0, 0};
    EXPECT_EQ(vertexTableAdd(table, key, 3), 0u);
    EXPECT_EQ(vertexTableAdd(table, key, 6), 1u);
    EXPECT_EQ(vertexTableFind(table, key, 3), 0);
}

TEST(VertexTable, ClearEmptiesTheTable) {
    VertexTable table;
    const float key[3] = {1, 2, 3};
    vertexTableAdd(table, key, 3);
    vertexTableClear(table);
    EXPECT_EQ(vertexTableFind(table, key, 3), -1);
    EXPECT_EQ(vertexTableCount(table), 0u);
    EXPECT_TRUE(table.data.empty());
    EXPECT_EQ(vertexTableAdd(table, key, 3), 0u);
}

TEST(VertexTable, KeepsFirstAppearanceOrderAcrossGrowth) {
    VertexTable table;
    std::map<std::vector<float>, uint32_t> expected;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 300000; ++i) {
            float key[9] = {float(i % 613), float(i / 613), 0.5f, 0, 0, 1, float(i % 7), 0, 0};
            uint32_t index = vertexTableAdd(table, key, 9);
            std::vector<float> k(key, key + 9);
            auto found = expected.emplace(k, uint32_t(expected.size()));
            ASSERT_EQ(index, found.first->second) << "vertex " << i;
        }
    }
    EXPECT_EQ(vertexTableCount(table), expected.size());
    for (const auto& [key, index] : expected) {
        ASSERT_EQ(
            std::vector<float>(table.data.begin() + index * 9, table.data.begin() + index * 9 + 9),
            key);
    }
}

// Three floats whose bytes are t, -33t + u, -33u and 0x3f each (t, u from
// -3 to 3, six digits of n in base 7): every such key has the bucket hash of
// n = 0 before the modulo, as t * 33^(k+2) + (-33t + u) * 33^(k+1) - 33u * 33^k
// is 0.
std::vector<float> collidingKey(int n) {
    std::vector<float> key(3);
    for (int f = 0; f < 3; ++f, n /= 49) {
        int t = n % 7 - 3, u = n / 7 % 7 - 3;
        const uint8_t bytes[4] = {uint8_t(t), uint8_t(-33 * t + u), uint8_t(-33 * u), 0x3f};
        std::memcpy(&key[f], bytes, 4);
    }
    return key;
}

TEST(VertexTable, KeysThatShareTheBucketHashStayApartInOrder) {
    const int count = 7 * 7 * 7 * 7 * 7 * 7;
    VertexTable table;
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < count; ++n) {
            std::vector<float> key = collidingKey(n);
            ASSERT_EQ(hashOf(key), hashOf(collidingKey(0))) << n;
            ASSERT_EQ(vertexTableAdd(table, key.data(), 3), uint32_t(n)) << n;
        }
    }
    EXPECT_EQ(vertexTableCount(table), uint32_t(count));
    EXPECT_EQ(vertexTableFind(table, collidingKey(count - 1).data(), 3), count - 1);
}

} // namespace
