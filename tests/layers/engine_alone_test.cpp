// A program of the engine alone: it links tessaly_engine without the host and
// stands in for the platform services that engine/platform.h declares. It
// links only while the engine needs nothing of the host beyond them.
#include "engine/path.h"
#include "engine/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> requested;
u8 picture[4] = {1, 2, 3, 4};

} // namespace

void PlatformLoadImage(const char* file, u8** pixels, u32* width, u32* height, u32* bytesPerPixel) {
    requested.push_back(file);
    *pixels = picture;
    *width = 1;
    *height = 1;
    *bytesPerPixel = 4;
}

void PlatformFreeImage(u8*) {}
void PlatformSetViewport(i32, i32, i32, i32) {}
void PlatformGetScreenSize(u32* width, u32* height) {
    *width = 320;
    *height = 480;
}

namespace {

TEST(EngineAlone, PicturesReachThePlatformUnderTheirNormalisedPath) {
    requested.clear();
    u8* pixels = nullptr;
    u32 width = 0, height = 0, bytesPerPixel = 0;
    PathLoadImage("..\\textures\\notex.png", &pixels, &width, &height, &bytesPerPixel);
    ASSERT_EQ(requested.size(), 1u);
    EXPECT_EQ(requested[0], "../textures/notex.png");
    EXPECT_EQ(pixels, picture);
    EXPECT_EQ(width * height * bytesPerPixel, 4u);
}

TEST(EngineAlone, APathTooLongNeverReachesThePlatform) {
    requested.clear();
    std::string longPath(5000, 'a');
    u8* pixels = picture;
    u32 width = 7, height = 7, bytesPerPixel = 7;
    PathLoadImage(longPath.c_str(), &pixels, &width, &height, &bytesPerPixel);
    EXPECT_TRUE(requested.empty());
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(width, 7u);
}

} // namespace
