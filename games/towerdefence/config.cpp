#include "host/ape.h"
#include "host/host.h"

// The tower-defence program starts in landscape state (play begins in
// portrait after the start-up switch) with gameMode 0.
const HostSettings kHostSettings = {0, 0, HostSplash, pollEvents, GameInit};
