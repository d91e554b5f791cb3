#pragma once

#include "harness.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// What the games' end-to-end tests share beside the GameRun driver: the
// pictures of the build tree, the check of a clean exit, and a scratch copy
// of the asset tree to take a file out of.

// The phone window's side, and the game screens in it.
constexpr int kWindowSide = 741;
// Rectangles in window pixels from the top-left (x1, y1 excluded).
struct Box {
    int x0, y0, x1, y1;
};
const Box kPortraitScreen = {210, 142, 530, 622};
const Box kLandscapeScreen = {142, 211, 622, 531};

// A picture file as red, green, blue and alpha bytes; empty (width 0) when it
// cannot be read.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    Pixel at(int x, int y) const;
    int alpha(int x, int y) const;
};

Picture LoadPicture(const std::string& path);

// Escape, held until the program ends, quits it with status 0, leaving no
// "Warning" or "Error" in log.txt and no mem.txt.
void ExpectCleanExit(GameRun& game);
// The same for a run without a model: its log tells of the missing .pwn
// file, and of no error.
void ExpectExitWithoutModel(GameRun& game);

// A copy of the build's asset tree (bin/ and the asset folders named) in a
// fresh directory under /tmp, removed with the object; root is empty when it
// could not be made.
class AssetTreeCopy {
  public:
    explicit AssetTreeCopy(const std::vector<std::string>& folders);
    ~AssetTreeCopy();
    AssetTreeCopy(const AssetTreeCopy&) = delete;
    AssetTreeCopy& operator=(const AssetTreeCopy&) = delete;

    std::filesystem::path root;
};
