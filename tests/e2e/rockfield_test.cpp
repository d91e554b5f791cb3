// The fly-through as a viewer meets it: the splash ended by a key, grey lit
// rocks filling the phone's screen and moving from one picture to the next,
// the orientation switch, a clean exit, resident memory that settles and
// stays flat as the asteroids come and go, and a run whose rock texture is
// missing.
#include "harness.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

// What /proc tells of this test's child process of that name: its id, its
// resident memory in kB and the processor time it has used, in clock ticks;
// all 0 when there is none.
struct ChildStatus {
    long pid = 0, residentKb = 0, ticks = 0;
};

ChildStatus childStatus(const std::string& program) {
    DIR* proc = opendir("/proc");
    ChildStatus found;
    for (dirent* entry = proc != nullptr ? readdir(proc) : nullptr;
         entry != nullptr && found.pid == 0; entry = readdir(proc)) {
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
        if (name == program && parent == getpid()) {
            found.pid = std::atol(entry->d_name);
            found.residentKb = rss;
        }
    }
    if (proc != nullptr) {
        closedir(proc);
    }
    // utime and stime, the 14th and 15th fields, after the name in brackets.
    std::ifstream stat("/proc/" + std::to_string(found.pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(std::min(line.size(), line.rfind(')') + 1)));
    std::string field;
    long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; i++) {
        user = i == 14 ? std::atol(field.c_str()) : user;
        system = i == 15 ? std::atol(field.c_str()) : system;
    }
    found.ticks = found.pid != 0 ? user + system : 0;
    return found;
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

// Waits until the program has used another `work` ticks of processor time
// since `since`, or the limit has passed: its status then. The fly-through
// draws flat out, so the processor time it gets counts its frames however
// busy the machine is, where the clock would not.
ChildStatus afterWork(const std::string& program, const ChildStatus& since, long work) {
    const int kLimitMs = 120000, kPollMs = 100;
    ChildStatus now = childStatus(program);
    for (int waited = 0; now.pid != 0 && now.ticks < since.ticks + work && waited < kLimitMs;
         waited += kPollMs) {
        GameRun::pause(kPollMs);
        now = childStatus(program);
    }
    return now;
}

// Every mesh brings its own arrays and material, and they go with it: once
// the pre-filled field has thinned to the pace of the frames, the process
// keeps its size as asteroids come and go. The size is sampled after each
// second of the program's own work until kSteadySamples samples in a row lie
// within the allowance, which leaves room for the driver's caches. A
// material left behind with a program of its own costs some 8 MB a second of
// work: the size never settles, and the run ends once it has grown by
// kRunawayKb.
TEST_F(RockfieldE2E, ResidentMemorySettlesAndStaysFlat) {
    const size_t kSteadySamples = 20, kMaxSamples = 120;
    const long kAllowanceKb = 4 * 1024, kRunawayKb = 64 * 1024;
    const long kTicksPerSecond = sysconf(_SC_CLK_TCK);
    GameRun game("rockfield");
    ASSERT_TRUE(game.hasWindow());
    startFlying(game, "rockfield-memory");
    ChildStatus status = childStatus("rockfield");
    ASSERT_GT(status.residentKb, 0);
    std::vector<long> sizes;
    bool steady = false;
    while (!steady && sizes.size() < kMaxSamples &&
           (sizes.empty() || sizes.back() - sizes.front() < kRunawayKb)) {
        ChildStatus next = afterWork("rockfield", status, kTicksPerSecond);
        ASSERT_GE(next.ticks, status.ticks + kTicksPerSecond) << "the flight does not go on";
        status = next;
        sizes.push_back(status.residentKb);
        if (sizes.size() >= kSteadySamples) {
            auto window = std::minmax_element(sizes.end() - kSteadySamples, sizes.end());
            steady = *window.second - *window.first < kAllowanceKb;
        }
    }
    std::ostringstream seen;
    for (long kb : sizes) {
        seen << kb << " ";
    }
    RecordProperty("residentKb", seen.str());
    EXPECT_TRUE(steady) << "resident kB after each second of work: " << seen.str();
    EXPECT_TRUE(showsField(game.capture("rockfield-settled")));
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
