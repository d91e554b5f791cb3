#include "host/ape.h"
#include "host/host.h"

// The golf program starts in landscape state (play begins in portrait after
// the start-up switch) with gameMode 1.
const HostSettings kHostSettings = {0, 1, HostSplash, pollEvents, GameInit};
