#include "host/ape.h"
#include "host/host.h"

// The fly-through starts in landscape state (it flies in portrait after the
// start-up switch) with gameMode 0.
const HostSettings kHostSettings = {0, 0, HostSplash, pollEvents, GameInit};
