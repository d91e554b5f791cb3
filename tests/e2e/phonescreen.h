#pragma once

#include "harness.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>

// What every game's end-to-end test knows of the phone window: its size, the
// game screen in each orientation, the rim that tells the orientation, a
// clean exit, and a scratch copy of the build's asset tree.

constexpr int kSide = 741;

// Rectangles in window pixels from the top-left (x1, y1 excluded).
struct Box {
    int x0, y0, x1, y1;
};
const Box kPortraitScreen = {210, 142, 530, 622};
const Box kLandscapeScreen = {142, 211, 622, 531};

inline int brightness(Pixel p) {
    return p.r + p.g + p.b;
}

// The phone's grey rim runs along its long sides, a few pixels inside the
// picture: at x = 173 in portrait, at y = 173 once the phone is turned. The
// points probed lie outside both game screens, where the other orientation
// shows the black ground or the blue memory graph.
inline bool isRim(Pixel p) {
    return p.r > 80 && p.g > 80 && p.b > 80;
}
inline bool showsPortraitPhone(const Image& shot) {
    return shot.width == kSide && isRim(shot.at(173, 150)) && isRim(shot.at(173, 590)) &&
           !isRim(shot.at(150, 173)) && !isRim(shot.at(590, 173));
}
inline bool showsLandscapePhone(const Image& shot) {
    return shot.width == kSide && isRim(shot.at(150, 173)) && isRim(shot.at(590, 173)) &&
           !isRim(shot.at(173, 150)) && !isRim(shot.at(173, 590));
}

// Escape ends the program with status 0 and no memory left behind; its log
// holds no error, and no warning but the one expected (none when null).
inline void expectCleanExit(GameRun& game, const char* expectedWarning = nullptr) {
    // Held until the program ends, so a slow frame cannot miss it; a busy
    // machine may take a while to run the frames that end it.
    game.keyDown("Escape");
    EXPECT_EQ(game.waitExit(30000), 0);
    game.keyUp("Escape");
    std::string log = game.log();
    if (expectedWarning == nullptr) {
        EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
    } else {
        EXPECT_NE(log.find(expectedWarning), std::string::npos) << log;
    }
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_FALSE(game.memDumpExists());
}

// The fixture of a game's end-to-end tests: skipped without an X display.
class PhoneE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
};

// A copy of the build's programs and asset tree, for a run with a file
// removed; gone with the object.
class CopiedTree {
  public:
    CopiedTree() {
        char name[] = "/tmp/tessaly-tree-XXXXXX";
        if (mkdtemp(name) == nullptr) {
            return;
        }
        root = name;
        std::filesystem::path build = std::filesystem::path(GameRun::binDir()).parent_path();
        for (const char* dir :
             {"bin", "shaders", "textures", "fonts", "skin", "project", "models"}) {
            std::filesystem::copy(build / dir, root / dir,
                                  std::filesystem::copy_options::recursive);
        }
    }
    ~CopiedTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    CopiedTree(const CopiedTree&) = delete;
    CopiedTree& operator=(const CopiedTree&) = delete;

    std::filesystem::path root;
};
