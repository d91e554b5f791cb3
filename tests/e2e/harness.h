#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// Drives a game program in a real window: started from bin/ like a user
// would, fed keys and pointer moves with xdotool, captured from the X server.
// Each run has an X server of its own (Xvfb on a free display) and a working
// directory of its own, so tests of the same program can run side by side;
// and, where the machine has enough of them, a processor of its own, which
// the program pins itself to.

struct Pixel {
    int r, g, b;
};

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // rows from the top
    Pixel at(int x, int y) const;
    // True when the pixel is within tolerance of c on every channel.
    bool near(int x, int y, Pixel c, int tolerance = 12) const;
    bool save(const std::string& path) const;
};

class GameRun {
  public:
    // Starts bin/<program> on an X server of its own and waits for its
    // window. It runs in a private mirror of the build tree (a bin/ of its
    // own beside links to the asset folders), which holds its log.txt and
    // mem.txt and is removed with the run.
    explicit GameRun(const std::string& program);
    // The same for a program in another directory dir (a copy of the build
    // tree, for instance): dir is its working directory and holds its log,
    // whose log.txt and mem.txt of earlier runs are removed first.
    GameRun(const std::string& program, const std::string& dir);
    // The same as GameRun(program), started on the given processors (as by
    // taskset) in place of one of its own.
    GameRun(const std::string& program, const std::vector<int>& processors);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    bool hasWindow() const { return !window_.empty(); }
    // Presses a key and holds it until a capture shows what shows() looks for
    // (or the time is up), then releases it: the last capture. A slow frame
    // cannot then see the press and the release in one poll.
    Image holdKeyUntil(const std::string& key, const std::string& name,
                       const std::function<bool(const Image&)>& shows, int timeoutMs = 20000);
    // Presses a key (xdotool name), holds it, releases it.
    void key(const std::string& name, int holdMs = 300);
    void keyDown(const std::string& name);
    void keyUp(const std::string& name);
    // A key pressed and released in one xdotool command, with no hold: both
    // may reach the program in one poll, as a quick tap on a busy machine.
    void tapKey(const std::string& name);
    // Pointer actions at window pixel positions (from the top-left).
    void click(int x, int y, int holdMs = 200);
    // The pointer pressed and released at (x, y) in one xdotool command, as
    // a touchpad's tap-to-click sends them.
    void tap(int x, int y);
    // Presses the pointer at (x, y) and holds it until a capture shows what
    // shows() looks for (or the time is up), then releases it: the last
    // capture. Like holdKeyUntil, for presses that act while held.
    Image holdPointerUntil(int x, int y, const std::string& name,
                           const std::function<bool(const Image&)>& shows, int timeoutMs = 20000);
    // A press that a game acts on only when it comes after a frame that saw
    // the pointer up: holdPointerUntil, tried again after a release held
    // longer each time (a slow frame may poll a release and the next press
    // together and miss both), until shows() holds or the time is up.
    Image pressUntil(int x, int y, const std::string& name,
                     const std::function<bool(const Image&)>& shows, int timeoutMs = 20000);
    // Presses the pointer at (x0, y0), moves it to (x1, y1) in steps and
    // releases it there, holding the press and each step holdMs.
    void drag(int x0, int y0, int x1, int y1, int holdMs = kDragHoldMs, int steps = 10);
    // A drag that a game acts on only when one frame sees the press and a
    // later one the release (a slow frame may poll the press, the moves and
    // the release together and miss the press): drag, then capture until
    // shows() holds, tried again with holds twice as long each time, like
    // pressUntil, until shows() holds or the time is up. The last capture.
    Image dragUntil(int x0, int y0, int x1, int y1, const std::string& name,
                    const std::function<bool(const Image&)>& shows, int timeoutMs = 20000);
    void mouseMove(int x, int y);
    // The window's contents, also saved as <build>/screenshots/<name>.png:
    // tests run side by side, so each names its captures after its game and
    // itself.
    Image capture(const std::string& name);
    // Captures until the picture shows what shows() looks for, or the time is
    // up (a slow machine may take several frames to react); the last capture.
    Image captureWhen(const std::string& name, const std::function<bool(const Image&)>& shows,
                      int timeoutMs = 20000);
    // Waits for the program to end: its exit status, or -1 on timeout (the
    // program is then killed).
    int waitExit(int timeoutMs = 30000);
    // Sends the program a signal.
    void signal(int number);
    // Asks the program to close its window, as a window manager's close
    // button does (WM_DELETE_WINDOW).
    void closeWindow();
    // The processors the program's main thread may run on, from
    // /proc/<pid>/status ("Cpus_allowed_list"; "2" or "0-3,6", say).
    std::string processorsAllowed() const;
    std::string log() const;
    bool memDumpExists() const;
    // The program's working directory.
    const std::string& dir() const { return dir_; }
    // The X display the program shows its window on (":N"), for X clients
    // of a test's own; empty when no server could be started.
    const std::string& display() const { return display_; }

    static void pause(int ms);
    // Whether runs can have X servers: Xvfb and xdotool are installed.
    static bool displayAvailable();
    static std::string binDir();

  private:
    static constexpr int kDragHoldMs = 50;
    void start();
    void claimProcessor();
    bool startServer();
    void startProgram();
    void findWindow();
    std::string xdotool(const std::string& args); // its output
    pid_t server_ = -1;
    std::string display_;
    pid_t pid_ = -1;
    std::string program_;
    std::string dir_;
    std::string mirror_; // the private tree removed with the run
    std::string window_;
    // The processors the program starts on, and the lock file that keeps
    // the one the run claimed its own (-1 when it claimed none).
    std::vector<int> processors_;
    int processorLock_ = -1;
};

// The phone window's side in pixels, and the game screen in it.
constexpr int kWindowSide = 741;
// Rectangles in window pixels from the top-left (x1, y1 excluded).
struct Box {
    int x0, y0, x1, y1;
};
const Box kPortraitScreen = {210, 142, 530, 622};
const Box kLandscapeScreen = {142, 211, 622, 531};

// The phone window upright (the game in portrait) or turned.
bool ShowsPortraitPhone(const Image& shot);
bool ShowsLandscapePhone(const Image& shot);

// The splash: its text over the black window, before any phone is drawn.
bool ShowsSplash(const Image& shot);

// Quits with Escape, held until the program ends so that a slow frame cannot
// miss it, and checks exit status 0 and no mem.txt: the log.
std::string QuitAndLog(GameRun& game);
// QuitAndLog, and no "Warning" or "Error" in the log.
void ExpectCleanExit(GameRun& game);

// A copy of the build's programs and asset folders in a new scratch
// directory (root; empty when it cannot be made), removed with the object:
// remove what a test wants missing, then run from root/bin.
class AssetTreeCopy {
  public:
    AssetTreeCopy();
    ~AssetTreeCopy();
    AssetTreeCopy(const AssetTreeCopy&) = delete;
    AssetTreeCopy& operator=(const AssetTreeCopy&) = delete;

    std::filesystem::path root;
};
