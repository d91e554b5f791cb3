// The platform layer with a real window and GL context; skipped without a
// display. Run from bin/, so the phone picture is found as the program finds it.
#include "engine/result.h"
#include "host/ape.h"
#include "tests/support/glwindow.h"
#include "tests/support/processors.h"

#include <GLES2/gl2.h>
#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sched.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class Platform : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
    }
};

void expectViewport(i32 x, i32 y, i32 w, i32 h) {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    EXPECT_EQ(v[0], x);
    EXPECT_EQ(v[1], y);
    EXPECT_EQ(v[2], w);
    EXPECT_EQ(v[3], h);
}

TEST_F(Platform, OrientationScreenSizeAndViewport) {
    EXPECT_EQ(PlatformWindowSide(), 741);
    EXPECT_EQ(PlatformGetOrientation(), 1); // landscape state before the first switch
    u32 w = 1, h = 1;
    PlatformGetScreenSize(&w, &h);
    EXPECT_EQ(w * h, 0u); // no game screen yet

    toggleOrientation();
    EXPECT_EQ(PlatformGetOrientation(), 0);
    PlatformGetScreenSize(&w, &h);
    EXPECT_EQ(w, 320u);
    EXPECT_EQ(h, 480u);

    toggleOrientation();
    EXPECT_EQ(PlatformGetOrientation(), 1);
    PlatformGetScreenSize(&w, &h);
    EXPECT_EQ(w, 480u);
    EXPECT_EQ(h, 320u);
    PlatformSetViewport(0, 0, 480, 320);
    expectViewport(142, 210, 480, 320);
    PlatformSetViewport(10, 20, 30, 40);
    expectViewport(152, 230, 30, 40);
}

TEST_F(Platform, LoadImageCopiesRowsByPitch) {
    // 3 x 2 grey pixels of 3 bytes (so the channel order does not matter): each
    // row is 9 bytes, padded to 12 in the surface.
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    ASSERT_NE(s, nullptr);
    ASSERT_GT(s->pitch, 9);
    for (int y = 0; y < 2; y++) {
        for (int i = 0; i < 9; i++) {
            static_cast<u8*>(s->pixels)[y * s->pitch + i] = static_cast<u8>(y * 3 + i / 3 + 1);
        }
    }
    std::string path = "platform_test_" + std::to_string(getpid()) + ".bmp";
    ASSERT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
    SDL_FreeSurface(s);

    u8* pixels = nullptr;
    u32 w = 0, h = 0, bpp = 0;
    PlatformLoadImage(path.c_str(), &pixels, &w, &h, &bpp);
    unlink(path.c_str());
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(w, 3u);
    EXPECT_EQ(h, 2u);
    ASSERT_EQ(bpp, 3u);
    for (int i = 0; i < 18; i++) {
        EXPECT_EQ(pixels[i], i / 3 + 1) << i;
    }
    PlatformFreeImage(pixels);
}

TEST_F(Platform, LoadImageOfAMissingFileGivesNoPixels) {
    u8* pixels = reinterpret_cast<u8*>(&pixels);
    u32 w = 7, h = 8, bpp = 9;
    PlatformLoadImage("../textures/no-such-picture.png", &pixels, &w, &h, &bpp);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(w, 7u);
    EXPECT_EQ(h, 8u);
    EXPECT_EQ(bpp, 9u);
}

TEST_F(Platform, GlAssertReportsPendingErrors) {
    const char* before = ReportLastMessage();
    std::string kept = before != nullptr ? before : "";
    GL_ASSERT();
    EXPECT_EQ(kept, ReportLastMessage() != nullptr ? ReportLastMessage() : "");

    glEnable(0x7FFF);
    testing::internal::CaptureStdout();
    int line = __LINE__ + 1;
    GL_ASSERT();
    std::string out = testing::internal::GetCapturedStdout();
    std::string expected = "GL Assertion failed in platform_test.cpp, "
                           "Platform_GlAssertReportsPendingErrors_Test::TestBody on line " +
                           std::to_string(line) + " with error code 500";
    EXPECT_EQ(out.rfind("Warning: " + expected + " (result.cpp, glAssert, ", 0), 0u) << out;
    EXPECT_NE(out.find(")\n500\n"), std::string::npos) << out;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Given every processor but the first, a child pins itself to the second
// and says which one it runs on by its exit status.
TEST(PlatformPin, PinsToTheFirstOfTheProcessorsItMayRunOn) {
    const std::vector<int> allowed = AllowedProcessors();
    if (allowed.size() < 2) {
        GTEST_SKIP() << "the test may run on one processor only";
    }
    EXPECT_EXIT(
        {
            cpu_set_t given;
            CPU_ZERO(&given);
            for (size_t i = 1; i < allowed.size(); i++) {
                CPU_SET(allowed[i], &given);
            }
            sched_setaffinity(0, sizeof given, &given);
            pinToFirstProcessor();
            const std::vector<int> pinned = AllowedProcessors();
            _exit(pinned.size() == 1 ? pinned[0] : 255);
        },
        testing::ExitedWithCode(allowed[1]), "");
}

// A start-up whose phone picture is missing or has the wrong pixel size ends
// with an error report that names the step, in a scratch asset tree.
class PlatformStart : public testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("tessaly-start-" + std::to_string(getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root_ / "bin");
        std::filesystem::create_directories(root_ / "skin");
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(root_ / "bin");
        LogOpen();
    }
    void TearDown() override {
        LogClose();
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(root_);
    }
    std::string log() {
        std::ifstream in(root_ / "bin" / "log.txt");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::filesystem::path root_, old_;
};

TEST_F(PlatformStart, MissingPhonePictureIsAnError) {
    EXPECT_EXIT(initPlatform(0), testing::ExitedWithCode(1), "");
    EXPECT_EQ(log().rfind("Error: Couldn't load the phone picture ../skin/iphone.png", 0), 0u)
        << log();
}

TEST_F(PlatformStart, PhonePictureWithoutAlphaIsAnError) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    ASSERT_EQ(SDL_SaveBMP(s, "../skin/iphone.png"), 0); // pictures are told by content
    SDL_FreeSurface(s);
    EXPECT_EXIT(initPlatform(0), testing::ExitedWithCode(1), "");
    EXPECT_EQ(log().rfind("Error: The phone picture must have 4 bytes per pixel", 0), 0u) << log();
}

} // namespace
