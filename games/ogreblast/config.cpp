#include "games/ogreblast/rules.h"
#include "host/ape.h"
#include "host/host.h"

namespace {

// The standard poll, which also latches Return, Space and a into the record.
i32 pollOgreKeys(FrameInput* input) {
    return pollEventsWithKeys(input, OgreLatchKey);
}

} // namespace

// The ogre shooter starts in landscape state (play begins in portrait after
// the start-up switch) with gameMode 0, and polls its three keys.
const HostSettings kHostSettings = {0, 0, HostSplash, pollOgreKeys, GameInit};
