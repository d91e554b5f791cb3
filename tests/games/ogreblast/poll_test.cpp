// The ogre shooter's event poll: the host's poll with the game's key hook,
// fed SDL events queued in the phone window. Skipped without a display.
#include "games/ogreblast/rules.h"
#include "host/ape.h"
#include "tests/support/glwindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void pushKey(Uint8 type, SDLKey key) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    push(event);
}

// A mouse event at window pixels (x, y) from the top-left.
void pushMouse(Uint8 type, i32 x, i32 y) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
    }
    push(event);
}

class OgrePoll : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        // A game screen to press on, as after the start-up switch.
        if (PlatformLayout().game.w == 0) {
            toggleOrientation();
        }
        // No key or pointer held, and the window's own events gone.
        pushKey(SDL_KEYUP, SDLK_SPACE);
        pushMouse(SDL_MOUSEBUTTONUP, 0, 0);
        ASSERT_EQ(poll(), 0);
        input = FrameInput{};
    }

    // One frame's poll, as the ogre shooter's program makes it.
    i32 poll() { return pollEventsWithKeys(&input, OgreLatchKey); }

    bool latched(i32 a, i32 space, i32 enter) const {
        return input.keyA == a && input.keySpace == space && input.keyReturn == enter;
    }

    FrameInput input{};
};

TEST_F(OgrePoll, SpaceHeldThenAKeepsSpaceOnly) {
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    pushKey(SDL_KEYDOWN, SDLK_a);
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 1, 0)) << "a pressed while Space is down is ignored";
}

// Each game key latched alone, then cleared by the release of another.
TEST_F(OgrePoll, ReleaseOfAnyOfTheThreeClearsThemAll) {
    const SDLKey keys[3] = {SDLK_a, SDLK_SPACE, SDLK_RETURN};
    for (u32 i = 0; i < 3; i++) {
        pushKey(SDL_KEYDOWN, keys[i]);
        EXPECT_EQ(poll(), 0);
        EXPECT_TRUE(latched(i == 0, i == 1, i == 2)) << keys[i];
        pushKey(SDL_KEYUP, keys[(i + 1) % 3]);
        EXPECT_EQ(poll(), 0);
        EXPECT_TRUE(latched(0, 0, 0)) << "released " << keys[(i + 1) % 3];
    }
}

TEST_F(OgrePoll, AnotherHeldKeyBlocksThemAll) {
    const u8 orientation = PlatformGetOrientation();
    pushKey(SDL_KEYDOWN, SDLK_LSHIFT);
    for (SDLKey key : {SDLK_SPACE, SDLK_RETURN, SDLK_a, SDLK_TAB, SDLK_ESCAPE}) {
        pushKey(SDL_KEYDOWN, key);
    }
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 0, 0));
    EXPECT_EQ(PlatformGetOrientation(), orientation) << "Tab is blocked too";
    EXPECT_EQ(PlatformQuitRequested(), 0) << "and Escape";
    pushKey(SDL_KEYUP, SDLK_LSHIFT);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 0, 1)) << "once released, the keys act again";
}

// The events before a quit are read, the ones after it wait for the next
// poll.
TEST_F(OgrePoll, QuitReturnsAtOnceLeavingTheLaterEventsQueued) {
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
    pushKey(SDL_KEYUP, SDLK_SPACE);
    EXPECT_EQ(poll(), 1);
    EXPECT_TRUE(latched(0, 1, 0));
    SDL_Event waiting;
    EXPECT_EQ(SDL_PeepEvents(&waiting, 1, SDL_PEEKEVENT, SDL_KEYUPMASK), 1);
    EXPECT_EQ(poll(), 0);
    EXPECT_TRUE(latched(0, 0, 0));
}

TEST_F(OgrePoll, DragOutOfTheScreenKeepsTheLastInsidePosition) {
    const Rect game = PlatformLayout().game;
    const i32 side = PlatformWindowSide();
    pushMouse(SDL_MOUSEBUTTONDOWN, game.x + game.w / 2, side - game.y - game.h / 2);
    // The top-right corner, edges included, then beyond it.
    pushMouse(SDL_MOUSEMOTION, game.x + game.w, side - game.y - game.h);
    pushMouse(SDL_MOUSEMOTION, game.x + game.w + 40, side - game.y - game.h - 40);
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(input.pointerDown, 1);
    EXPECT_FLOAT_EQ(input.pointerX, 1.0f);
    EXPECT_FLOAT_EQ(input.pointerY, 1.0f);
    pushMouse(SDL_MOUSEBUTTONUP, game.x + game.w + 40, side - game.y - game.h - 40);
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(input.pointerDown, 0);
    pushMouse(SDL_MOUSEBUTTONDOWN, game.x + game.w + 40, side - game.y - game.h - 40);
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(input.pointerDown, 0) << "a press outside the screen holds nothing";
}

} // namespace
