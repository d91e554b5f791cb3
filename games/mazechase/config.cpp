// The maze-chase program's host settings: it starts in portrait state, so
// its game plays in landscape after the start-up switch; its start menu with
// the best score and the two level lines stands in place of the splash; its
// event poll also takes presses on those lines; GameInit gets the program's
// high scores and the chosen level.
#include "engine/scenegraph.h"
#include "engine/text.h"
#include "games/mazechase/game.h"
#include "games/mazechase/highscore.h"
#include "games/mazechase/menu.h"
#include "host/ape.h"
#include "host/host.h"

#include <GLES2/gl2.h>
#include <chrono>
#include <thread>

namespace {

i32 chosenLevel = 1;
High_Score* highScores = nullptr;

bool levelBoxes(i32 mx, i32 my) {
    i32 level = MenuLevelAt(mx, my);
    if (level != 0) {
        chosenLevel = level;
    }
    return level != 0;
}

i32 pollMazeEvents(FrameInput* input) {
    return pollEventsWith(input, levelBoxes);
}

// The menu waits, without a time limit, for a key or a press on a level
// line. The window's quit event or a termination signal ends the program
// there: false, with the high scores given back, as no game will take them.
bool showMenu(FrameInput* input) {
    highScores = new High_Score();
    chosenLevel = 1;
    char text[kMenuTextLength + 1];
    MenuText(text, sizeof text, highScores->getHighScore());
    updateTimer(input);
    input->deltaTime = 0;
    i32 side = PlatformWindowSide();
    glViewport(0, 0, side, side);
    SceneGraph::setScreenSize(side, side);
    for (;;) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SceneGraph::getText()->print(text, -0.8f, 0.8f, 450, 20);
        SceneGraph::getText()->printAll();
        PlatformSwapBuffers();
        if (input->pointerDown != 0 || PlatformKeyHeld() != 0) {
            return true;
        }
        // The menu shows a still picture: no need to draw it flat out.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (pollMazeEvents(input) != 0) {
            delete highScores;
            highScores = nullptr;
            return false;
        }
        updateTimer(input);
    }
}

void startGame() {
    GameInit(highScores, chosenLevel);
}

} // namespace

const HostSettings kHostSettings = {1, 0, showMenu, pollMazeEvents, startGame};
