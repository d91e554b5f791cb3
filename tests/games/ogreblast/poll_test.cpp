// The ogre shooter's event poll without a window: the host's key and pointer
// rules with the game's latch hook, fed the events of the four cases a player
// meets (Space then a; Return, release, Space; another key held; a drag out of
// the screen).
#include "games/ogreblast/rules.h"
#include "host/phone.h"

#include <gtest/gtest.h>

namespace {

constexpr i32 kTab = '\t';
constexpr i32 kEscape = 27;
constexpr i32 kShift = 304;
constexpr i32 kSide = 741;
const Rect kGame = {210, 119, 320, 480};

// The poll's state across frames, each event handled as the host's poll
// handles it, with OgreLatchKey as its key hook.
struct Poll {
    FrameInput input{};
    i32 keyHeld = 0;
    i32 pointerHeld = 0;
    i32 toggles = 0;
    i32 quit = 0;

    void keyDown(i32 key) {
        if (!PhoneAcceptKeyPress(&keyHeld)) {
            return;
        }
        toggles += key == kTab ? 1 : 0;
        quit |= key == kEscape ? 1 : 0;
        OgreLatchKey(&input, key, true);
    }
    void keyUp(i32 key) {
        keyHeld = 0;
        OgreLatchKey(&input, key, false);
    }
    void pointer(i32 x, i32 y, bool press) {
        if ((press || pointerHeld) &&
            PhoneMapPointer(kGame, kSide, x, y, &input.pointerX, &input.pointerY)) {
            pointerHeld = 1;
        }
    }
    void release() { pointerHeld = 0; }
    // The end of the queue.
    void end() { input.pointerDown = pointerHeld; }

    bool latched(i32 a, i32 space, i32 enter) const {
        return input.keyA == a && input.keySpace == space && input.keyReturn == enter;
    }
};

TEST(OgrePoll, SpaceHeldThenA) {
    Poll poll;
    poll.keyDown(kOgreKeySpace);
    EXPECT_TRUE(poll.latched(0, 1, 0));
    poll.keyDown(kOgreKeyA);
    EXPECT_TRUE(poll.latched(0, 1, 0)) << "a pressed while Space is down is ignored";
    poll.keyUp(kOgreKeyA);
    EXPECT_TRUE(poll.latched(0, 0, 0)) << "any release clears every key";
    poll.keyDown(kOgreKeyA);
    EXPECT_TRUE(poll.latched(1, 0, 0));
    poll.keyUp(kOgreKeySpace);
    EXPECT_TRUE(poll.latched(0, 0, 0));
}

TEST(OgrePoll, ReturnReleasedThenSpace) {
    Poll poll;
    poll.keyDown(kOgreKeyReturn);
    EXPECT_TRUE(poll.latched(0, 0, 1));
    poll.keyUp(kOgreKeyReturn);
    EXPECT_TRUE(poll.latched(0, 0, 0));
    poll.keyDown(kOgreKeySpace);
    EXPECT_TRUE(poll.latched(0, 1, 0));
}

TEST(OgrePoll, AnotherKeyHeldBlocksEveryKey) {
    Poll poll;
    poll.keyDown(kShift);
    EXPECT_TRUE(poll.latched(0, 0, 0));
    for (i32 key : {kOgreKeySpace, kOgreKeyReturn, kOgreKeyA, kTab, kEscape}) {
        poll.keyDown(key);
    }
    EXPECT_TRUE(poll.latched(0, 0, 0));
    EXPECT_EQ(poll.toggles, 0);
    EXPECT_EQ(poll.quit, 0);
    poll.keyUp(kShift);
    poll.keyDown(kTab);
    EXPECT_EQ(poll.toggles, 1) << "once released, Tab acts again";
}

TEST(OgrePoll, DragOutOfTheScreenKeepsTheLastInsidePosition) {
    Poll poll;
    poll.pointer(370, 382, true);
    poll.end();
    EXPECT_EQ(poll.input.pointerDown, 1);
    poll.pointer(530, 142, false); // the top-right corner, edges included
    poll.end();
    EXPECT_FLOAT_EQ(poll.input.pointerX, 1.0f);
    EXPECT_FLOAT_EQ(poll.input.pointerY, 1.0f);
    poll.pointer(700, 40, false);
    poll.end();
    EXPECT_FLOAT_EQ(poll.input.pointerX, 1.0f);
    EXPECT_FLOAT_EQ(poll.input.pointerY, 1.0f);
    EXPECT_EQ(poll.input.pointerDown, 1);
    poll.release();
    poll.end();
    EXPECT_EQ(poll.input.pointerDown, 0);
    // A press outside the screen holds nothing.
    poll.pointer(20, 20, true);
    poll.end();
    EXPECT_EQ(poll.input.pointerDown, 0);
}

} // namespace
