// The ogre shooter's event poll: the host's poll with the game's key hook,
// fed SDL events queued in the phone window. Skipped without a display.
#include "games/ogreblast/rules.h"
#include "host/ape.h"
#include "tests/support/sdlevents.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

class OgrePoll : public PollTest {
  protected:
    // One frame's poll, as the ogre shooter's program makes it.
    i32 poll() { return pollEventsWithKeys(&input, OgreLatchKey); }

    bool latched(i32 a, i32 space, i32 enter) const {
        return input.keyA == a && input.keySpace == space && input.keyReturn == enter;
    }

    FrameInput input{};
};

TEST_F(OgrePoll, SpaceHeldThenAKeepsSpaceOnly) {
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    PushKey(SDL_KEYDOWN, SDLK_a);
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 1, 0)) << "a pressed while Space is down is ignored";
}

// Each game key latched alone, then cleared by the release of another.
TEST_F(OgrePoll, ReleaseOfAnyOfTheThreeClearsThemAll) {
    const SDLKey keys[3] = {SDLK_a, SDLK_SPACE, SDLK_RETURN};
    for (u32 i = 0; i < 3; i++) {
        PushKey(SDL_KEYDOWN, keys[i]);
        EXPECT_EQ(poll(), 0);
        EXPECT_TRUE(latched(i == 0, i == 1, i == 2)) << keys[i];
        PushKey(SDL_KEYUP, keys[(i + 1) % 3]);
        EXPECT_EQ(poll(), 0);
        EXPECT_TRUE(latched(0, 0, 0)) << "released " << keys[(i + 1) % 3];
    }
}

TEST_F(OgrePoll, AnotherHeldKeyBlocksThemAll) {
    const u8 orientation = PlatformGetOrientation();
    PushKey(SDL_KEYDOWN, SDLK_LSHIFT);
    for (SDLKey key : {SDLK_SPACE, SDLK_RETURN, SDLK_a, SDLK_TAB, SDLK_ESCAPE}) {
        PushKey(SDL_KEYDOWN, key);
    }
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 0, 0));
    EXPECT_EQ(PlatformGetOrientation(), orientation) << "Tab is blocked too";
    EXPECT_EQ(PlatformQuitRequested(), 0) << "and Escape";
    PushKey(SDL_KEYUP, SDLK_LSHIFT);
    PushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 0, 1)) << "once released, the keys act again";
}

// The events before a quit are read, the ones after it wait for the next
// poll.
TEST_F(OgrePoll, QuitReturnsAtOnceLeavingTheLaterEventsQueued) {
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    PushEvent(quit);
    PushKey(SDL_KEYUP, SDLK_SPACE);
    EXPECT_EQ(poll(), 1);
    EXPECT_TRUE(latched(0, 1, 0));
    SDL_Event waiting;
    EXPECT_EQ(SDL_PeepEvents(&waiting, 1, SDL_PEEKEVENT, SDL_KEYUPMASK), 1);
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 0, 0));
}

// A key pressed and released between two frames: the game sees it latched
// for one frame, cleared at the next.
TEST_F(OgrePoll, KeyTappedWithinOnePollShowsForThatFrame) {
    const SDLKey keys[3] = {SDLK_a, SDLK_SPACE, SDLK_RETURN};
    for (u32 i = 0; i < 3; i++) {
        PushKey(SDL_KEYDOWN, keys[i]);
        PushKey(SDL_KEYUP, keys[i]);
        EXPECT_EQ(poll(), 0);
        EXPECT_TRUE(latched(i == 0, i == 1, i == 2)) << keys[i];
        EXPECT_EQ(PlatformKeyHeld(), 1) << keys[i];
        EXPECT_EQ(poll(), 0);
        EXPECT_TRUE(latched(0, 0, 0)) << keys[i];
        EXPECT_EQ(PlatformKeyHeld(), 0) << keys[i];
    }
}

TEST_F(OgrePoll, DragOutOfTheScreenKeepsTheLastInsidePosition) {
    const Rect game = PlatformLayout().game;
    const i32 side = PlatformWindowSide();
    PushMouse(SDL_MOUSEBUTTONDOWN, game.x + game.w / 2, side - game.y - game.h / 2);
    // The top-right corner, edges included, then beyond it.
    PushMouse(SDL_MOUSEMOTION, game.x + game.w, side - game.y - game.h);
    PushMouse(SDL_MOUSEMOTION, game.x + game.w + 40, side - game.y - game.h - 40);
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(input.pointerDown, 1);
    EXPECT_FLOAT_EQ(input.pointerX, 1.0f);
    EXPECT_FLOAT_EQ(input.pointerY, 1.0f);
    PushMouse(SDL_MOUSEBUTTONUP, game.x + game.w + 40, side - game.y - game.h - 40);
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(input.pointerDown, 0);
    PushMouse(SDL_MOUSEBUTTONDOWN, game.x + game.w + 40, side - game.y - game.h - 40);
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(input.pointerDown, 0) << "a press outside the screen holds nothing";
}

} // namespace
