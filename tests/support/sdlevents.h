#pragma once

#include "engine/types.h"
#include "host/ape.h"
#include "tests/support/glwindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

// Events queued in the phone window for the host's event poll, as a user's
// keys and mouse would queue them.

inline void PushEvent(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

inline void PushKey(Uint8 type, SDLKey key) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    PushEvent(event);
}

// A mouse event at window pixels (x, y) from the top-left.
inline void PushMouse(Uint8 type, i32 x, i32 y) {
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
    PushEvent(event);
}

// A test of the event poll in the phone window, with the game screen of the
// start-up switch to press on and nothing held; skipped without a display.
class PollTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!StartGlWindow()) {
            GTEST_SKIP() << "no X display";
        }
        if (PlatformLayout().game.w == 0) {
            toggleOrientation();
        }
        // No key or pointer held, and the window's own events gone.
        PushKey(SDL_KEYUP, SDLK_SPACE);
        PushMouse(SDL_MOUSEBUTTONUP, 0, 0);
        FrameInput scratch{};
        ASSERT_EQ(pollEvents(&scratch), 0);
    }

    // Window pixels from the top-left of a point of the game screen, at
    // (fx, fy) of its width and height from its bottom-left corner.
    static i32 screenX(f64 fx) {
        const Rect game = PlatformLayout().game;
        return game.x + static_cast<i32>(fx * game.w);
    }
    static i32 screenY(f64 fy) {
        const Rect game = PlatformLayout().game;
        return PlatformWindowSide() - game.y - static_cast<i32>(fy * game.h);
    }
};
