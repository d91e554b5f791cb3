#include "assets.h"

// The phone picture: a black handset on an opaque black ground with a 320 x 480
// screen hole at (41, 119) from the bottom-left. 741 pixels high so that the
// landscape game screen lands at x = 142, 402 wide to keep it symmetric.
Canvas DrawPhone() {
    const int W = kPhoneWidth, H = kPhoneHeight;
    const int screenX = 41, screenW = 320, screenH = 480;
    const int screenTop = H - 119 - screenH;
    const Color ground = {0, 0, 0, 1};
    Canvas c(W, H, ground);
    c.fillRoundedRectGradient(3, 3, W - 3, H - 3, 58, {0.62f, 0.64f, 0.68f, 1},
                              {0.38f, 0.40f, 0.44f, 1});
    c.fillRoundedRectGradient(8, 8, W - 8, H - 8, 53, {0.10f, 0.10f, 0.12f, 1},
                              {0.03f, 0.03f, 0.04f, 1});
    c.fillRoundedRect(screenX - 6, screenTop - 6, screenX + screenW + 6, screenTop + screenH + 6, 4,
                      {0.0f, 0.0f, 0.0f, 1});
    // Speaker slot and camera above the screen.
    c.fillRoundedRect(W / 2 - 32, screenTop - 62, W / 2 + 32, screenTop - 54, 4,
                      {0.22f, 0.23f, 0.26f, 1});
    c.fillCircle(W / 2, screenTop - 88, 6, {0.18f, 0.20f, 0.28f, 1});
    // Home button below the screen.
    const float homeY = screenTop + screenH + 60;
    c.fillCircle(W / 2, homeY, 30, {0.06f, 0.06f, 0.07f, 1});
    c.strokeCircle(W / 2, homeY, 29, 2.5f, {0.35f, 0.36f, 0.40f, 1});
    c.fillRoundedRect(W / 2 - 10, homeY - 10, W / 2 + 10, homeY + 10, 3, {0.35f, 0.36f, 0.40f, 1});
    c.fillRoundedRect(W / 2 - 8, homeY - 8, W / 2 + 8, homeY + 8, 2, {0.06f, 0.06f, 0.07f, 1});
    c.clearRect(screenX, screenTop, screenX + screenW, screenTop + screenH, {0, 0, 0, 0});
    return c;
}
