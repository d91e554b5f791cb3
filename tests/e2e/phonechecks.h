#pragma once

#include "harness.h"

#include <filesystem>
#include <string>

// What every game's end-to-end test checks the same way: which way the phone
// stands, a clean exit, and a run from a copy of the asset tree.

// The side of the square window: the phone picture's height.
constexpr int kWindowSide = 741;

// The phone's grey rim runs along its long sides, a few pixels inside the
// picture: at x = 173 in portrait, at y = 173 once the phone is turned. The
// points probed lie outside both game screens, where the other orientation
// shows the black ground or the blue memory graph.
bool ShowsPortraitPhone(const Image& shot);
bool ShowsLandscapePhone(const Image& shot);

// Escape held until the program ends (a slow frame cannot miss it): exit
// status 0, no "Error" in log.txt, no mem.txt. Returns the log.
std::string ExpectExitWithoutErrors(GameRun& game);
// The same, with no "Warning" in log.txt either.
void ExpectCleanExit(GameRun& game);

// A copy of the build's asset tree (bin/ and every asset folder that
// exists) in a fresh folder under /tmp, removed again with the object; root
// stays empty when the folder cannot be made.
class CopiedTree {
  public:
    CopiedTree();
    ~CopiedTree();
    CopiedTree(const CopiedTree&) = delete;
    CopiedTree& operator=(const CopiedTree&) = delete;

    std::filesystem::path root;
};
