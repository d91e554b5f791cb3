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

// The frame of a game's tests over the real scene registry: a GL window when
// a display exists, a registry of its own for each test, and the check that
// the game gives back every allocation once it and the registry are gone.
// A test may run in a scratch asset tree that lacks the models.
class GameTest : public testing::Test {
  protected:
    void SetUp() override {
        StartGlWindow();
        // The last report line is kept in a block of its own until the log
        // closes; close it so that the two measures compare like with like.
        LogClose();
        allocatedBefore = MemoryGetTotal();
        SceneGraph::init();
    }
    void TearDown() override {
        deleteGame();
        SceneGraph::shutdown();
        LogClose();
        EXPECT_EQ(MemoryGetTotal(), allocatedBefore) << "the game left memory behind";
        if (!restoreDir.empty()) {
            EXPECT_EQ(chdir(restoreDir.c_str()), 0);
            EXPECT_EQ(std::system(("rm -rf " + scratchDir).c_str()), 0);
        }
    }
    // Deletes the test's game, if it made one.
    virtual void deleteGame() = 0;

    // Runs from bin/ of a scratch tree whose models/ is empty and whose
    // other asset folders are the named ones of the build; the tree goes
    // when the test ends.
    void enterScratchTree(std::initializer_list<const char*> assetDirs) {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        char scratch[] = "/tmp/gametestXXXXXX";
        ASSERT_NE(mkdtemp(scratch), nullptr);
        scratchDir = scratch;
        const std::string assets = std::string(here) + "/..";
        for (const char* dir : assetDirs) {
            ASSERT_EQ(symlink((assets + "/" + dir).c_str(), (scratchDir + "/" + dir).c_str()), 0);
        }
        ASSERT_EQ(mkdir((scratchDir + "/models").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((scratchDir + "/bin").c_str(), 0755), 0);
        ASSERT_EQ(chdir((scratchDir + "/bin").c_str()), 0);
        restoreDir = here;
    }

    // What the log of the working directory holds.
    static std::string readLog() {
        std::ifstream logFile("log.txt");
        return std::string((std::istreambuf_iterator<char>(logFile)),
                           std::istreambuf_iterator<char>());
    }

  private:
    std::string scratchDir;
    std::string restoreDir;
    u32 allocatedBefore = 0;
};
