#pragma once

#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "tests/support/glwindow.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A test of a game over the real scene registry: a GL window when a display
// exists, the registry around each test, and the check that the game gave
// back every byte. Each test runs from bin/, or from the bin/ of a scratch
// asset tree.
class GameTest : public testing::Test {
  protected:
    void SetUp() override {
        drawing = StartGlWindow();
        // The last report line is kept in a block of its own until the log
        // closes; close it so that the two measures compare like with like.
        LogClose();
        allocatedBefore = MemoryGetTotal();
        SceneGraph::init();
    }
    // Call after deleting the game.
    void TearDown() override {
        SceneGraph::shutdown();
        LogClose();
        EXPECT_EQ(MemoryGetTotal(), allocatedBefore) << "the game left memory behind";
        if (!restoreDir.empty()) {
            EXPECT_EQ(chdir(restoreDir.c_str()), 0);
            EXPECT_EQ(std::system(("rm -rf " + scratchDir).c_str()), 0);
        }
    }

    // A scratch asset tree with links to the named asset folders and an
    // empty models folder; its bin/ becomes the working directory until the
    // test ends.
    void enterTreeWithoutModels(std::initializer_list<const char*> linked) {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        char scratch[] = "/tmp/gametestXXXXXX";
        ASSERT_NE(mkdtemp(scratch), nullptr);
        scratchDir = scratch;
        const std::string assets = std::string(here) + "/..";
        for (const char* dir : linked) {
            ASSERT_EQ(symlink((assets + "/" + dir).c_str(), (scratchDir + "/" + dir).c_str()), 0);
        }
        ASSERT_EQ(mkdir((scratchDir + "/models").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((scratchDir + "/bin").c_str(), 0755), 0);
        ASSERT_EQ(chdir((scratchDir + "/bin").c_str()), 0);
        restoreDir = here;
    }

    // What the program logged in the working directory's "log.txt".
    static std::string logText() {
        std::ifstream file("log.txt");
        return std::string((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    }

    bool drawing = false;

  private:
    std::string scratchDir;
    std::string restoreDir;
    u32 allocatedBefore = 0;
};
