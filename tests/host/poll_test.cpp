// The host's event poll fed SDL events queued in the phone window: a press
// or a key released before the poll that reads it is still seen, once; a
// termination signal ends the poll as the window's quit event does, and is
// told apart from it. Skipped without a display.
#include "host/ape.h"
#include "tests/support/sdlevents.h"

#include <SDL.h>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class HostPoll : public PollTest {};

TEST_F(HostPoll, TapOnTheScreenShowsAtItsPressThenReleasedWhereItEnded) {
    PushMouse(SDL_MOUSEBUTTONDOWN, screenX(0.75), screenY(0.75));
    PushMouse(SDL_MOUSEMOTION, screenX(0.25), screenY(0.5));
    PushMouse(SDL_MOUSEBUTTONUP, screenX(0.25), screenY(0.5));
    FrameInput input{};
    EXPECT_EQ(pollEvents(&input), 0);
    EXPECT_EQ(input.pointerDown, 1);
    EXPECT_FLOAT_EQ(input.pointerX, 0.5f);
    EXPECT_FLOAT_EQ(input.pointerY, 0.5f);
    EXPECT_EQ(pollEvents(&input), 0);
    EXPECT_EQ(input.pointerDown, 0);
    EXPECT_FLOAT_EQ(input.pointerX, -0.5f);
    EXPECT_FLOAT_EQ(input.pointerY, 0.0f);
}

// A program's own target (the top-left corner of the window here) holds the
// pointer where it was, for a tap as for a press.
bool corner(i32 mx, i32 my) {
    return mx < 40 && my < 40;
}

TEST_F(HostPoll, TapOnAProgramsTargetShowsForOnePoll) {
    FrameInput input{};
    input.pointerX = 0.25f;
    input.pointerY = -0.75f;
    PushMouse(SDL_MOUSEBUTTONDOWN, 20, 20);
    PushMouse(SDL_MOUSEBUTTONUP, 20, 20);
    EXPECT_EQ(pollEventsWith(&input, corner), 0);
    EXPECT_EQ(input.pointerDown, 1);
    EXPECT_FLOAT_EQ(input.pointerX, 0.25f);
    EXPECT_FLOAT_EQ(input.pointerY, -0.75f);
    EXPECT_EQ(pollEventsWith(&input, corner), 0);
    EXPECT_EQ(input.pointerDown, 0);
    EXPECT_FLOAT_EQ(input.pointerX, 0.25f);
    EXPECT_FLOAT_EQ(input.pointerY, -0.75f);
}

TEST_F(HostPoll, KeyTappedWithinOnePollShowsHeldForThatPoll) {
    const u8 orientation = PlatformGetOrientation();
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushKey(SDL_KEYUP, SDLK_a);
    FrameInput input{};
    EXPECT_EQ(pollEvents(&input), 0);
    EXPECT_EQ(PlatformKeyHeld(), 1);
    EXPECT_EQ(pollEvents(&input), 0);
    EXPECT_EQ(PlatformKeyHeld(), 0);
    // A tapped Tab turns the phone once.
    PushKey(SDL_KEYDOWN, SDLK_TAB);
    PushKey(SDL_KEYUP, SDLK_TAB);
    EXPECT_EQ(pollEvents(&input), 0);
    EXPECT_NE(PlatformGetOrientation(), orientation);
    EXPECT_EQ(pollEvents(&input), 0);
    EXPECT_NE(PlatformGetOrientation(), orientation);
}

TEST_F(HostPoll, TheWindowsQuitEventIsNoSignal) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    PushEvent(quit);
    FrameInput input{};
    EXPECT_EQ(pollEvents(&input), 1);
    EXPECT_EQ(PlatformSignalled(), 0);
    EXPECT_EQ(pollEvents(&input), 0);
}

// Each signal in a child of its own, which leaves at once without touching
// the window it shares with this process.
TEST_F(HostPoll, EachTerminationSignalEndsThePoll) {
    for (int s : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                FrameInput input{};
                raise(s);
                _exit(pollEvents(&input) == 1 && PlatformSignalled() == 1 ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << "signal " << s;
    }
}

} // namespace
