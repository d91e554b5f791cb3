// A stand-in game: it creates nothing and clears its screen every frame.
#include "host/host.h"

#include <GLES2/gl2.h>

void GameInit() {}

i32 GameUpdate(FrameInput* input) {
    (void)input;
    glClearColor(0.1f, 0.2f, 0.35f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return 0;
}

void GameDestroy() {}
