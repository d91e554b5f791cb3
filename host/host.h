#pragma once

#include "engine/frameinput.h"

// The three entry points every game defines; only the host calls them.
void GameInit();
i32 GameUpdate(FrameInput* input);
void GameDestroy();

// What differs between programs, defined once by each program in its own
// small config file and chosen at link time.
struct HostSettings {
    u8 startPortrait;                       // orientation state at start: 1 portrait
    i32 startGameMode;                      // gameMode after the record is zeroed
    bool (*startScreen)(FrameInput* input); // the splash, or a start menu: false to end
    i32 (*pollEvents)(FrameInput* input);   // the event poll of every frame
    void (*gameInit)();                     // calls the program's GameInit
};

extern const HostSettings kHostSettings;

// The standard start screen: the splash text for up to 7 seconds or until a
// key is held. A window's quit event is consumed; a termination signal ends
// it, and false then ends the program before GameInit.
bool HostSplash(FrameInput* input);

// Runs the whole program: start-up, splash, frame loop and shutdown.
int HostRun();
