#include "harness.h"

#include "tests/support/processors.h"

// Before the X11 headers, whose None macro it would trip on.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <png.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sstream>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

std::string run(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) {
        return out;
    }
    std::array<char, 256> buf;
    while (fgets(buf.data(), buf.size(), p) != nullptr) {
        out += buf.data();
    }
    pclose(p);
    return out;
}

std::string firstLine(const std::string& s) {
    std::istringstream in(s);
    std::string line;
    std::getline(in, line);
    return line;
}

namespace fs = std::filesystem;

// Generous limits for a machine kept busy by other tests.
constexpr int kServerStartMs = 60000;
constexpr int kWindowWaitMs = 60000;

bool onPath(const char* name) {
    return run(std::string("command -v ") + name + " 2>/dev/null").size() > 1;
}

// Stops a child process and collects it.
void stop(pid_t& pid, int signal) {
    if (pid > 0) {
        kill(pid, signal);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}

// A new directory holding a bin/ of links to the build's bin/ entries and
// links to every other entry of the build tree (the asset folders): the
// programs find their assets through "../" as in the build tree, while
// what they write into their working directory stays in the mirror.
std::string makeMirror(const fs::path& bin) {
    std::string root = (fs::temp_directory_path() / "tessaly-e2e-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) {
        return "";
    }
    std::error_code error;
    fs::create_directory(fs::path(root) / "bin", error);
    for (const fs::directory_entry& e : fs::directory_iterator(bin, error)) {
        const fs::path name = e.path().filename();
        if (name != "log.txt" && name != "mem.txt") {
            fs::create_symlink(e.path(), fs::path(root) / "bin" / name, error);
        }
    }
    for (const fs::directory_entry& e : fs::directory_iterator(bin.parent_path(), error)) {
        if (e.path().filename() != "bin") {
            fs::create_symlink(e.path(), fs::path(root) / e.path().filename(), error);
        }
    }
    return root;
}

} // namespace

Pixel Image::at(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool Image::near(int x, int y, Pixel c, int tolerance) const {
    Pixel p = at(x, y);
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
}

bool Image::save(const std::string& path) const {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; y++) {
        png_write_row(png, &rgb[static_cast<size_t>(y) * width * 3]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}

std::string GameRun::binDir() {
    return TESSALY_BIN_DIR;
}

bool GameRun::displayAvailable() {
    return onPath("Xvfb") && onPath("xdotool");
}

void GameRun::pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

GameRun::GameRun(const std::string& program) : program_(program) {
    mirror_ = makeMirror(binDir());
    dir_ = mirror_ + "/bin";
    if (!mirror_.empty()) {
        claimProcessor();
        start();
    }
}

GameRun::GameRun(const std::string& program, const std::string& dir)
    : program_(program), dir_(dir) {
    unlink((dir_ + "/log.txt").c_str());
    unlink((dir_ + "/mem.txt").c_str());
    claimProcessor();
    start();
}

GameRun::GameRun(const std::string& program, const std::vector<int>& processors)
    : program_(program), processors_(processors) {
    mirror_ = makeMirror(binDir());
    dir_ = mirror_ + "/bin";
    if (!mirror_.empty()) {
        start();
    }
}

void GameRun::start() {
    if (startServer()) {
        startProgram();
        findWindow();
    }
}

// The last of the test's processors that no other run holds, through a lock
// file for each processor shared by every test program on the machine and
// kept until the run ends: a program started without processors of its own
// pins itself to the first, so the runs take that one last. When every one
// is taken the runs share them, spread by process id.
void GameRun::claimProcessor() {
    std::vector<int> cpus = AllowedProcessors();
    if (cpus.empty()) {
        return;
    }
    std::reverse(cpus.begin(), cpus.end());
    for (int cpu : cpus) {
        std::string path =
            (fs::temp_directory_path() / ("tessaly-e2e-cpu" + std::to_string(cpu) + ".lock"))
                .string();
        int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            processorLock_ = fd;
            processors_ = {cpu};
            return;
        }
        if (fd >= 0) {
            close(fd);
        }
    }
    processors_ = {cpus[static_cast<size_t>(getpid()) % cpus.size()]};
}

GameRun::~GameRun() {
    stop(pid_, SIGKILL);
    stop(server_, SIGTERM);
    if (processorLock_ >= 0) {
        close(processorLock_);
    }
    if (!mirror_.empty()) {
        // Removes the links, never what they point to.
        std::error_code ignored;
        fs::remove_all(mirror_, ignored);
    }
}

// Xvfb picks a free display itself and writes its number to a pipe once it
// accepts clients. Both children die with the test program, however it ends.
bool GameRun::startServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    server_ = fork();
    if (server_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        fcntl(fds[1], F_SETFD, 0);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x1024x24", "-noreset",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p = {fds[0], POLLIN, 0};
    char c = 0;
    while (server_ > 0 && poll(&p, 1, kServerStartMs) == 1 && read(fds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    close(fds[0]);
    if (c != '\n' || number.empty()) {
        stop(server_, SIGKILL);
        return false;
    }
    display_ = ":" + number;
    return true;
}

void GameRun::startProgram() {
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(dir_.c_str()) != 0) {
            _exit(127);
        }
        if (!processors_.empty()) {
            cpu_set_t set;
            CPU_ZERO(&set);
            for (int cpu : processors_) {
                CPU_SET(cpu, &set);
            }
            sched_setaffinity(0, sizeof set, &set);
        }
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string path = "./" + program_;
        execl(path.c_str(), program_.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

// The program's own window: its title and its process, on its own server.
void GameRun::findWindow() {
    const std::string search =
        "search --all --onlyvisible --pid " + std::to_string(pid_) + " --name '^" + program_ + "$'";
    for (int waited = 0; waited < kWindowWaitMs && window_.empty(); waited += 100) {
        pause(100);
        window_ = firstLine(xdotool(search));
    }
    if (!window_.empty()) {
        // Keyboard focus follows the pointer on a bare X server.
        mouseMove(5, 5);
    }
}

std::string GameRun::xdotool(const std::string& args) {
    return run("DISPLAY=" + display_ + " xdotool " + args + " 2>/dev/null");
}

void GameRun::keyDown(const std::string& name) {
    xdotool("keydown " + name);
}
void GameRun::keyUp(const std::string& name) {
    xdotool("keyup " + name);
}

void GameRun::key(const std::string& name, int holdMs) {
    keyDown(name);
    pause(holdMs);
    keyUp(name);
}

void GameRun::tapKey(const std::string& name) {
    xdotool("keydown --delay 0 " + name + " keyup --delay 0 " + name);
}

void GameRun::mouseMove(int x, int y) {
    xdotool("mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y));
}

void GameRun::click(int x, int y, int holdMs) {
    mouseMove(x, y);
    pause(50);
    xdotool("mousedown 1");
    pause(holdMs);
    xdotool("mouseup 1");
}

void GameRun::tap(int x, int y) {
    mouseMove(x, y);
    pause(50);
    xdotool("mousedown 1 mouseup 1");
}

Image GameRun::holdPointerUntil(int x, int y, const std::string& name,
                                const std::function<bool(const Image&)>& shows, int timeoutMs) {
    mouseMove(x, y);
    pause(50);
    xdotool("mousedown 1");
    Image shot = captureWhen(name, shows, timeoutMs);
    xdotool("mouseup 1");
    return shot;
}

namespace {

// How long one try of a press or a drag waits for what it should show.
constexpr int kTryMs = 3000;

// Tries until shows() holds on the capture a try returns or the time is up:
// each try is given a hold twice as long as the one before, from firstMs,
// and a failed try is followed by a release held as long. A failed try
// counts as kTryMs and its hold. The last capture.
Image retryUntil(const std::function<Image(int holdMs)>& attempt,
                 const std::function<bool(const Image&)>& shows, int firstMs, int timeoutMs) {
    Image shot;
    for (int waited = 0, holdMs = firstMs; waited < timeoutMs; holdMs *= 2) {
        shot = attempt(holdMs);
        if (shows(shot)) {
            break;
        }
        GameRun::pause(holdMs);
        waited += kTryMs + holdMs;
    }
    return shot;
}

} // namespace

Image GameRun::pressUntil(int x, int y, const std::string& name,
                          const std::function<bool(const Image&)>& shows, int timeoutMs) {
    return retryUntil([&](int) { return holdPointerUntil(x, y, name, shows, kTryMs); }, shows, 300,
                      timeoutMs);
}

void GameRun::drag(int x0, int y0, int x1, int y1, int holdMs, int steps) {
    mouseMove(x0, y0);
    pause(50);
    xdotool("mousedown 1");
    for (int i = 1; i <= steps; i++) {
        pause(holdMs);
        mouseMove(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    }
    pause(holdMs);
    xdotool("mouseup 1");
}

Image GameRun::dragUntil(int x0, int y0, int x1, int y1, const std::string& name,
                         const std::function<bool(const Image&)>& shows, int timeoutMs) {
    return retryUntil(
        [&](int holdMs) {
            drag(x0, y0, x1, y1, holdMs);
            return captureWhen(name, shows, kTryMs);
        },
        shows, kDragHoldMs, timeoutMs);
}

Image GameRun::capture(const std::string& name) {
    Image image;
    if (window_.empty()) {
        return image;
    }
    Display* d = XOpenDisplay(display_.c_str());
    if (d == nullptr) {
        return image;
    }
    // A window that went away (the program ended) is an empty capture, not
    // the end of the test program.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    Window w = std::stoul(window_);
    XWindowAttributes a;
    XImage* x = nullptr;
    if (XGetWindowAttributes(d, w, &a) != 0) {
        x = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    }
    if (x != nullptr) {
        image.width = a.width;
        image.height = a.height;
        image.rgb.resize(static_cast<size_t>(a.width) * a.height * 3);
        for (int y = 0; y < a.height; y++) {
            for (int i = 0; i < a.width; i++) {
                unsigned long p = XGetPixel(x, i, y);
                uint8_t* out = &image.rgb[(static_cast<size_t>(y) * a.width + i) * 3];
                out[0] = (p >> 16) & 0xFF;
                out[1] = (p >> 8) & 0xFF;
                out[2] = p & 0xFF;
            }
        }
        XDestroyImage(x);
    }
    XCloseDisplay(d);
    mkdir(TESSALY_SHOT_DIR, 0755);
    image.save(std::string(TESSALY_SHOT_DIR) + "/" + name + ".png");
    return image;
}

Image GameRun::captureWhen(const std::string& name, const std::function<bool(const Image&)>& shows,
                           int timeoutMs) {
    Image shot = capture(name);
    for (int waited = 0; waited < timeoutMs && !shows(shot); waited += 100) {
        pause(100);
        shot = capture(name);
    }
    return shot;
}

Image GameRun::holdKeyUntil(const std::string& key, const std::string& name,
                            const std::function<bool(const Image&)>& shows, int timeoutMs) {
    keyDown(key);
    Image shot = captureWhen(name, shows, timeoutMs);
    keyUp(key);
    return shot;
}

int GameRun::waitExit(int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        pause(50);
    }
    return -1;
}

void GameRun::signal(int number) {
    if (pid_ > 0) {
        kill(pid_, number);
    }
}

void GameRun::closeWindow() {
    Display* d = window_.empty() ? nullptr : XOpenDisplay(display_.c_str());
    if (d == nullptr) {
        return;
    }
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::stoul(window_);
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(d);
}

std::string GameRun::processorsAllowed() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
    const std::string field = "Cpus_allowed_list:";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(field, 0) == 0) {
            return line.substr(line.find_first_not_of(" \t", field.size()));
        }
    }
    return "";
}

std::string GameRun::log() const {
    std::ifstream in(dir_ + "/log.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool GameRun::memDumpExists() const {
    struct stat st;
    return stat((dir_ + "/mem.txt").c_str(), &st) == 0;
}

namespace {

// The phone's grey rim runs along its long sides, a few pixels inside the
// picture: at x = 173 in portrait, at y = 173 once the phone is turned. The
// points probed lie outside both game screens, where the other orientation
// shows the black ground or the blue memory graph.
bool isRim(Pixel p) {
    return p.r > 80 && p.g > 80 && p.b > 80;
}

bool rimAlong(const Image& shot, bool upright) {
    return upright ? isRim(shot.at(173, 150)) && isRim(shot.at(173, 590))
                   : isRim(shot.at(150, 173)) && isRim(shot.at(590, 173));
}

} // namespace

bool ShowsPortraitPhone(const Image& shot) {
    return shot.width == kWindowSide && rimAlong(shot, true) && !rimAlong(shot, false);
}

bool ShowsLandscapePhone(const Image& shot) {
    return shot.width == kWindowSide && rimAlong(shot, false) && !rimAlong(shot, true);
}

bool ShowsSplash(const Image& shot) {
    if (shot.width != kWindowSide || ShowsPortraitPhone(shot) || ShowsLandscapePhone(shot)) {
        return false;
    }
    int ink = 0;
    for (int y = 50; y < 480; y++) {
        for (int x = 70; x < 530; x++) {
            Pixel p = shot.at(x, y);
            ink += p.r > 150 && p.g > 150 && p.b > 150 ? 1 : 0;
        }
    }
    return ink > 200;
}

std::string QuitAndLog(GameRun& game) {
    game.keyDown("Escape");
    EXPECT_EQ(game.waitExit(), 0);
    game.keyUp("Escape");
    EXPECT_FALSE(game.memDumpExists());
    return game.log();
}

void ExpectCleanExit(GameRun& game) {
    std::string log = QuitAndLog(game);
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

AssetTreeCopy::AssetTreeCopy() {
    namespace fs = std::filesystem;
    char name[] = "/tmp/tessaly-tree-XXXXXX";
    if (mkdtemp(name) == nullptr) {
        return;
    }
    root = name;
    fs::path build = fs::path(GameRun::binDir()).parent_path();
    for (const char* dir :
         {"bin", "shaders", "textures", "fonts", "skin", "project", "models", "Nibblor"}) {
        if (fs::exists(build / dir)) {
            fs::copy(build / dir, root / dir, fs::copy_options::recursive);
        }
    }
}

AssetTreeCopy::~AssetTreeCopy() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}
