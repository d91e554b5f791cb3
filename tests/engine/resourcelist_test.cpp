#include "engine/memory.h"
#include "engine/resource.h"
#include "engine/resourcelist.h"
#include "engine/result.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A resource that notes its own destruction.
class Probe : public Resource {
  public:
    Probe(const char* name, u32 purgeLevel, u32 bytes, std::vector<std::string>* deaths = nullptr)
        : Resource(name, purgeLevel, kResourceVertexArray), deaths(deaths) {
        setSize(bytes);
    }
    ~Probe() override {
        if (deaths != nullptr) {
            deaths->push_back(nameText());
        }
    }
    void print(FILE* file) const override { std::fprintf(file, "    [ PROBE    ][ 1 ]\n"); }

  private:
    std::vector<std::string>* deaths;
};

TEST(Resource, NameHashAndCounts) {
    Probe probe("name", 3, 10);
    EXPECT_EQ(probe.getType(), static_cast<u32>(kResourceVertexArray));
    EXPECT_EQ(probe.getReferenceCount(), 0u);
    EXPECT_EQ(probe.reference(), &probe);
    EXPECT_EQ(probe.getReferenceCount(), 1u);
    char* copy = probe.getName();
    EXPECT_STREQ(copy, "name");
    EXPECT_NE(copy, probe.nameText());
    MemoryFree(copy);
    probe.raisePurgeLevel(2);
    EXPECT_EQ(probe.getPurgeLevel(), 3u);
    probe.raisePurgeLevel(7);
    EXPECT_EQ(probe.getPurgeLevel(), 7u);
    Probe same("name", 0, 0);
    Probe other("other", 3, 10);
    EXPECT_TRUE(probe.equals(&same));
    EXPECT_FALSE(probe.equals(&other));
    EXPECT_EQ(probe.clone("x", 0), nullptr);
}

TEST(ResourceList, AddFindAndContains) {
    ResourceList list;
    EXPECT_EQ(list.getBucketCount(), 97u);
    Probe* a = new Probe("a", 0, 10);
    Probe* b = new Probe("b", 0, 5);
    list.add(a);
    list.add(b);
    EXPECT_EQ(a->getReferenceCount(), 1u);
    EXPECT_EQ(list.getEntryCount(), 2u);
    EXPECT_EQ(list.getTotalSize(), 15u);
    EXPECT_EQ(list.find("a"), a);
    EXPECT_EQ(a->getReferenceCount(), 2u);
    EXPECT_TRUE(list.contains("b"));
    EXPECT_EQ(b->getReferenceCount(), 1u);
    EXPECT_EQ(list.find("c"), nullptr);
    EXPECT_FALSE(list.contains("A"));
}

TEST(ResourceList, OneBucketChainsNewestFirst) {
    std::vector<std::string> deaths;
    ResourceList list(0);
    EXPECT_EQ(list.getBucketCount(), 1u);
    for (const char* name : {"x", "y", "z"}) {
        list.add(new Probe(name, 0, 1, &deaths));
    }
    EXPECT_STREQ(list.find("x")->nameText(), "x");
    list.clear();
    EXPECT_EQ(deaths, (std::vector<std::string>{"z", "y", "x"}));
    EXPECT_EQ(list.getEntryCount(), 0u);
    EXPECT_EQ(list.getTotalSize(), 0u);
    EXPECT_EQ(list.find("x"), nullptr);
}

TEST(ResourceList, RemoveDeletesAtTheLastReference) {
    std::vector<std::string> deaths;
    ResourceList list;
    Probe* p = new Probe("p", 0, 8, &deaths);
    list.add(p);
    list.find("p");
    list.find("p");
    EXPECT_FALSE(list.remove(p));
    EXPECT_FALSE(list.remove(p));
    EXPECT_TRUE(deaths.empty());
    EXPECT_TRUE(list.remove(p));
    EXPECT_EQ(deaths, (std::vector<std::string>{"p"}));
    EXPECT_EQ(list.getEntryCount(), 0u);
    EXPECT_EQ(list.getTotalSize(), 0u);
}

// An unregistered copy may bear the name of a registered object: removing it
// must never unlink or delete the registered one.
TEST(ResourceList, RemoveGoesByIdentityNotByName) {
    std::vector<std::string> deaths;
    ResourceList list;
    Probe* original = new Probe("same", 0, 4, &deaths);
    list.add(original);
    Probe copy("same", 0, 4);
    copy.reference();
    EXPECT_FALSE(list.remove(&copy));
    EXPECT_EQ(copy.getReferenceCount(), 0u);
    EXPECT_FALSE(list.remove(&copy));
    EXPECT_EQ(copy.getReferenceCount(), 0u);
    EXPECT_TRUE(deaths.empty());
    EXPECT_EQ(list.find("same"), original);
    EXPECT_EQ(list.getEntryCount(), 1u);
}

TEST(ResourceList, PurgeLevels) {
    struct Case {
        const char* name;
        u32 purgeLevel;
        u32 extraReferences;
        u32 purge;
        bool deleted;
    };
    const Case cases[] = {
        {"level2-at-1", 2, 0, 1, false},
        {"level2-at-2", 2, 0, 2, true},
        {"level2-held", 2, 2, 5, true},
        {"level0", 0, 0, 0xFFFFFFFFu, false},
        {"level1-at-0", 1, 0, 0, false},
        {"top-at-top", 0xFFFFFFFFu, 0, 0xFFFFFFFFu, true},
        {"top-at-big", 0xFFFFFFFFu, 0, 0xFFFFFFFEu, false},
    };
    for (const Case& k : cases) {
        std::vector<std::string> deaths;
        ResourceList list;
        Probe* p = new Probe(k.name, k.purgeLevel, 6, &deaths);
        list.add(p);
        list.add(new Probe("bystander", 0, 1, &deaths));
        for (u32 i = 0; i < k.extraReferences; i++) {
            list.find(k.name);
        }
        list.purge(k.purge);
        EXPECT_EQ(!deaths.empty(), k.deleted) << k.name;
        EXPECT_EQ(list.contains(k.name), !k.deleted) << k.name;
        EXPECT_EQ(list.getTotalSize(), k.deleted ? 1u : 7u) << k.name;
        EXPECT_TRUE(list.contains("bystander"));
    }
}

// A pin given back more often than taken leaves the object unpinned, with a
// warning, and a purge of its level deletes it.
TEST(ResourceList, AnUnpinBeyondThePinsIsRefused) {
    std::vector<std::string> deaths;
    ResourceList list;
    Probe* p = new Probe("p", 1, 0, &deaths);
    list.add(p);
    p->pin();
    p->unpin();
    EXPECT_FALSE(p->isPinned());
    Report({1, "marker"}, "resourcelist_test", "unpin", 0);
    p->unpin();
    EXPECT_NE(std::string(ReportLastMessage()).find("unpinned"), std::string::npos)
        << ReportLastMessage();
    EXPECT_FALSE(p->isPinned());
    list.purge(1);
    EXPECT_EQ(deaths, std::vector<std::string>{"p"});
}

TEST(ResourceList, DeletingAListGivesBackEveryByte) {
    u32 bytes = MemoryGetTotal();
    u32 blocks = MemoryGetBlockCount();
    ResourceList* list = new ResourceList();
    for (const char* name : {"one", "two", "three"}) {
        list->add(new Probe(name, 0, 1));
    }
    delete list;
    EXPECT_EQ(MemoryGetTotal(), bytes);
    EXPECT_EQ(MemoryGetBlockCount(), blocks);
}

// Runs each dump test in a scratch directory.
struct Dump : ::testing::Test {
    char scratch[64] = "/tmp/resourcelist_testXXXXXX";
    std::string home;
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        home = cwd;
        ASSERT_NE(mkdtemp(scratch), nullptr);
        ASSERT_EQ(chdir(scratch), 0);
    }
    void TearDown() override {
        std::remove("reslist.txt");
        ASSERT_EQ(chdir(home.c_str()), 0);
        rmdir(scratch);
    }
    static std::string read() {
        std::ifstream in("reslist.txt");
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
};

TEST_F(Dump, AnEmptyListWritesItsHeaderOnly) {
    ResourceList list;
    list.dump("Texture");
    EXPECT_EQ(read(), "\n\n\n\n - - = = Texture list contents = = - - \n"
                      "  [ N ENTRIES    ][ 0 ]\n"
                      "  [ HASH SIZE    ][ 97 ]\n"
                      "  [ TOTAL MEM    ][ 0 ]\n");
}

TEST_F(Dump, EntriesFollowBucketOrderAndAppend) {
    ResourceList list(1);
    list.add(new Probe("ab", 4, 12));
    list.add(new Probe("c", 0, 3));
    list.find("ab");
    list.dump("VertexArray");
    list.dump("Again");
    const std::string expected = "\n\n\n\n - - = = VertexArray list contents = = - - \n"
                                 "  [ N ENTRIES    ][ 2 ]\n"
                                 "  [ HASH SIZE    ][ 1 ]\n"
                                 "  [ TOTAL MEM    ][ 15 ]\n"
                                 "  -- c --\n"
                                 "    [ N REFS   ][ 1 ]\n"
                                 "    [ PURGE    ][ 0 ]\n"
                                 "    [ SIZE     ][ 3 ]\n"
                                 "    [ HASH     ][ 63 ]\n"
                                 "    [ PROBE    ][ 1 ]\n"
                                 "\n"
                                 "  -- ab --\n"
                                 "    [ N REFS   ][ 2 ]\n"
                                 "    [ PURGE    ][ 4 ]\n"
                                 "    [ SIZE     ][ 12 ]\n"
                                 "    [ HASH     ][ ce3 ]\n"
                                 "    [ PROBE    ][ 1 ]\n"
                                 "\n";
    std::string all = read();
    EXPECT_EQ(all.substr(0, expected.size()), expected);
    EXPECT_NE(all.find("Again list contents", expected.size()), std::string::npos);
}

TEST(ResourceListDump, AnUnwritableFileIsSkipped) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    char scratch[] = "/tmp/resourcelist_roXXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    ASSERT_EQ(chdir(scratch), 0);
    ASSERT_EQ(mkdir("reslist.txt", 0700), 0); // a directory cannot be opened for appending
    ResourceList list;
    list.dump("Shader");
    rmdir("reslist.txt");
    ASSERT_EQ(chdir(cwd), 0);
    rmdir(scratch);
}

} // namespace
