#include "engine/memory.h"
#include "engine/result.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

struct Counters {
    u32 total = MemoryGetTotal();
    u32 blocks = MemoryGetBlockCount();
};

TEST(Memory, CountersFollowAllocations) {
    Counters before;
    MemoryGetFramePeak();
    void* a = MemoryAllocate(10);
    void* b = MemoryAllocate(20);
    MemoryFree(a);
    EXPECT_EQ(MemoryGetTotal() - before.total, 20u);
    EXPECT_EQ(MemoryGetBlockCount() - before.blocks, 1u);
    EXPECT_GE(MemoryGetPeak(), before.total + 30);
    EXPECT_EQ(MemoryGetFramePeak(), before.total + 30);
    EXPECT_EQ(MemoryGetFramePeak(), before.total + 20);
    MemoryFree(b);
    EXPECT_EQ(MemoryGetTotal(), before.total);
    EXPECT_EQ(MemoryGetBlockCount(), before.blocks);
}

TEST(Memory, ReallocateKeepsDataAndCounts) {
    Counters before;
    char* p = static_cast<char*>(MemoryAllocate(10));
    std::memcpy(p, "0123456789", 10);
    p = static_cast<char*>(MemoryReallocate(p, 40));
    EXPECT_EQ(MemoryGetTotal() - before.total, 40u);
    EXPECT_EQ(MemoryGetBlockCount() - before.blocks, 1u);
    EXPECT_EQ(std::memcmp(p, "0123456789", 10), 0);
    p = static_cast<char*>(MemoryReallocate(p, 4));
    EXPECT_EQ(std::memcmp(p, "0123", 4), 0);
    EXPECT_EQ(MemoryGetTotal() - before.total, 4u);
    MemoryFree(p);
    EXPECT_EQ(MemoryGetTotal(), before.total);
}

TEST(Memory, BlocksKeepTheStrictestAlignment) {
    for (u32 size : {1u, 3u, 4u, 7u, 16u, 33u}) {
        void* p = MemoryAllocate(size);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u) << size;
        MemoryFree(p);
    }
}

TEST(Memory, ZeroedBlocksAreZero) {
    u8* p = static_cast<u8*>(MemoryAllocateZeroed(7, 9));
    for (int i = 0; i < 63; i++) {
        EXPECT_EQ(p[i], 0);
    }
    MemoryFree(p);
}

TEST(Memory, FreeingNullWarnsAndChangesNothing) {
    MemoryFree(nullptr); // the first report allocates the kept last message
    Counters before;
    MemoryFree(nullptr);
    ASSERT_NE(ReportLastMessage(), nullptr);
    EXPECT_NE(std::strstr(ReportLastMessage(), "Warning: Cannot free null pointer (not null)"),
              nullptr);
    EXPECT_EQ(MemoryGetTotal(), before.total);
    EXPECT_EQ(MemoryGetBlockCount(), before.blocks);
}

TEST(MemoryDeathTest, OversizedRequestsAreOutOfMemory) {
    EXPECT_EXIT(MemoryAllocate(0xFFFFFFFFu), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(MemoryAllocateZeroed(0x10000, 0x10001), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(MemoryAllocateBytes(std::size_t(1) << 40), testing::ExitedWithCode(1), "");
    void* p = MemoryAllocate(8);
    EXPECT_EXIT(MemoryReallocate(p, 0xFFFFFFF8u), testing::ExitedWithCode(1), "");
    MemoryFree(p);
}

TEST(Memory, StringHash) {
    struct Case {
        const char* text;
        u32 hash;
    } cases[] = {
        {"", 0},
        {"a", 97},
        {"ab", 97 * 33 + 98},
        {"\xC8", static_cast<u32>(-56)},
        {"a\xC8", 97u * 33u - 56u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StringHash(c.text), c.hash) << c.text;
    }
    // Long names wrap at 32 bits.
    u32 h = 0;
    for (int i = 0; i < 40; i++) {
        h = h * 33 + 'z';
    }
    EXPECT_EQ(StringHash(std::string(40, 'z').c_str()), h);
}

TEST(Memory, StringDuplicateIsACountedCopy) {
    Counters before;
    char* copy = StringDuplicate("mesh");
    EXPECT_STREQ(copy, "mesh");
    EXPECT_EQ(MemoryGetTotal() - before.total, 5u);
    MemoryFree(copy);
}

#ifdef TESSALY_ALLOC_OPERATORS
// Called as functions: an optimiser may leave out a new/delete pair of
// expressions.
TEST(Memory, AllocationOperatorsAreCounted) {
    Counters before;
    void* one = ::operator new(sizeof(int));
    void* many = ::operator new[](sizeof(int) * 10);
    u32 blocks = MemoryGetBlockCount() - before.blocks;
    u32 total = MemoryGetTotal() - before.total;
    ::operator delete(one);
    ::operator delete[](many);
    EXPECT_EQ(blocks, 2u);
    EXPECT_EQ(total, sizeof(int) * 11);
    EXPECT_EQ(MemoryGetTotal(), before.total);
    EXPECT_EQ(MemoryGetBlockCount(), before.blocks);
}

TEST(Memory, DeletingNullThroughTheOperatorsIsQuiet) {
    MemoryFree(nullptr);
    Report(Result{1, "marker"}, "memory_test.cpp", "test", 1);
    ::operator delete(nullptr);
    ::operator delete[](nullptr);
    EXPECT_STREQ(ReportLastMessage(), "Warning: marker (memory_test.cpp, test, 1)\n");
}
#endif

TEST(Memory, DumpWritesTheThreeFigures) {
    auto dir =
        std::filesystem::temp_directory_path() / ("tessaly-dump-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    MemoryDump();
    u32 total = MemoryGetTotal(), peak = MemoryGetPeak(), blocks = MemoryGetBlockCount();
    std::filesystem::current_path(old);
    std::ifstream in(dir / "mem.txt");
    std::stringstream text;
    text << in.rdbuf();
    std::ostringstream expected;
    expected << " - - = = Allocated memory pointers = = - - \n"
             << "  [ TOTAL MEM    ][" << total << "]\n"
             << "  [ PEAK MEM     ][" << peak << "]\n"
             << "  [ TOTAL BLOCKS ][" << blocks << "]\n\n\n";
    EXPECT_EQ(text.str(), expected.str());
    std::filesystem::remove_all(dir);
}

} // namespace
