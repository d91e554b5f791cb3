// The fly-through as a viewer meets it: the splash ended by a key, grey lit
// rocks filling the phone's screen and moving from one picture to the next,
// the orientation switch, a clean exit, resident memory that stays flat over
// a minute of flight, and a run whose rock texture is missing.
#include "harness.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

bool isRock(Pixel p) {
    int low = std::min(p.r, std::min(p.g, p.b)), high = std::max(p.r, std::max(p.g, p.b));
    return p.r + p.g + p.b > 60 && high - low < 40;
}

// The share of a box's pixels that show lit grey rock.
double rockShare(const Image& shot, const Box& b) {
    int count = 0;
    for (int y = b.y0; y < b.y1; y++) {
        for (int x = b.x0; x < b.x1; x++) {
            count += isRock(shot.at(x, y)) ? 1 : 0;
        }
    }
    return static_cast<double>(count) / ((b.x1 - b.x0) * (b.y1 - b.y0));
}

// The share of a box's pixels that differ between two pictures.
double changedShare(const Image& a, const Image& b, const Box& box) {
    int count = 0;
    for (int y = box.y0; y < box.y1; y++) {
        for (int x = box.x0; x < box.x1; x++) {
            Pixel p = a.at(x, y), q = b.at(x, y);
            count += std::abs(p.r + p.g + p.b - q.r - q.g - q.b) > 60 ? 1 : 0;
        }
    }
    return static_cast<double>(count) / ((box.x1 - box.x0) * (box.y1 - box.y0));
}

bool showsField(const Image& shot) {
    return ShowsPortraitPhone(shot) && rockShare(shot, kPortraitScreen) > 0.04;
}
bool showsTurnedField(const Image& shot) {
    return ShowsLandscapePhone(shot) && rockShare(shot, kLandscapeScreen) > 0.04;
}

// The resident memory in kB of this test's child process of that name; 0
// when there is none.
long residentKb(const std::string& program) {
    DIR* proc = opendir("/proc");
    long kb = 0;
    for (dirent* entry = proc != nullptr ? readdir(proc) : nullptr; entry != nullptr && kb == 0;
         entry = readdir(proc)) {
        std::ifstream status(std::string("/proc/") + entry->d_name + "/status");
        std::string key, name;
        long parent = 0, rss = 0;
        while (status >> key) {
            if (key == "Name:") {
                status >> name;
            } else if (key == "PPid:") {
                status >> parent;
            } else if (key == "VmRSS:") {
                status >> rss;
            }
        }
        kb = name == program && parent == getpid() ? rss : 0;
    }
    if (proc != nullptr) {
        closedir(proc);
    }
    return kb;
}

class RockfieldE2E : public testing::Test {
  protected:
    void SetUp() override {
        if (!GameRun::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }

    // Starts the flight and ends the splash with a key, as a viewer would.
    static Image startFlying(GameRun& game, const std::string& name) {
        Image shot = game.holdKeyUntil("a", name, showsField, 20000);
        EXPECT_TRUE(showsField(shot)) << "no rocks after the splash";
        return shot;
    }
};

TEST_F(RockfieldE2E, RocksFlyPastTurnWithThePhoneAndExitCleanly) {
    GameRun game("rockfield");
    ASSERT_TRUE(game.hasWindow());
    Image first = startFlying(game, "rockfield-start");
    Image later = game.captureWhen("rockfield-field", [&first](const Image& shot) {
        return showsField(shot) && changedShare(first, shot, kPortraitScreen) > 0.01;
    });
    EXPECT_TRUE(showsField(later));
    EXPECT_GT(changedShare(first, later, kPortraitScreen), 0.01) << "the rocks do not move";

    Image turned = game.holdKeyUntil("Tab", "rockfield-landscape", showsTurnedField);
    EXPECT_TRUE(showsTurnedField(turned)) << "no rocks in landscape";
    EXPECT_TRUE(showsField(game.holdKeyUntil("Tab", "rockfield-portrait", showsField)));
    ExpectCleanExit(game);
}

// Every mesh brings its own arrays and material, and they go with it: the
// process keeps its size as asteroids come and go, however many are in
// flight (the field thins from its pre-fill to the pace of the frames). A
// material left behind would cost about 430 kB a mesh, some twenty meshes a
// second; the allowance leaves room for the driver's caches on a busy
// machine.
TEST_F(RockfieldE2E, ResidentMemoryStaysFlatOverAMinute) {
    GameRun game("rockfield");
    ASSERT_TRUE(game.hasWindow());
    startFlying(game, "rockfield-memory");
    GameRun::pause(10000);
    long early = residentKb("rockfield");
    ASSERT_GT(early, 0);
    GameRun::pause(50000);
    long late = residentKb("rockfield");
    EXPECT_LT(std::labs(late - early), 8 * 1024)
        << early << " kB after 10 s, " << late << " kB after 60 s";
    EXPECT_TRUE(showsField(game.capture("rockfield-minute")));
    ExpectCleanExit(game);
}

TEST_F(RockfieldE2E, MissingRockTextureIsReportedAndTheFlightGoesOn) {
    AssetTreeCopy tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_TRUE(fs::remove(tree.root / "textures" / "craters.png"));
    GameRun game("rockfield", (tree.root / "bin").string());
    ASSERT_TRUE(game.hasWindow());
    // Without their texture the rocks draw dark; the phone turns upright
    // once the flight has begun.
    Image shot = game.holdKeyUntil(
        "a", "rockfield-no-texture", [](const Image& s) { return ShowsPortraitPhone(s); }, 20000);
    EXPECT_TRUE(ShowsPortraitPhone(shot));
    std::string log = QuitAndLog(game);
    EXPECT_NE(log.find("Couldn't open texture file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

} // namespace
