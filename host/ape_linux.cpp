// The platform layer on Linux: SDL 1.2 opens the window, EGL draws into its
// X11 window, the monotonic clock is the performance counter.
#include "host/ape.h"

#include "engine/memory.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/texture.h"

#include <EGL/egl.h>
#include <GLES2/gl2.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_syswm.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <errno.h>
#include <initializer_list>
#include <sched.h>
#include <time.h>

namespace {

const Result kNoPicture = {2, "Couldn't load the phone picture ../skin/iphone.png"};
const Result kPictureFormat = {2, "The phone picture must have 4 bytes per pixel"};
const Result kSdlInit = {2, "SDL_Init failed"};
const Result kVideoMode = {2, "SDL_SetVideoMode failed"};
const Result kWmInfo = {2, "SDL_GetWMInfo gave no X11 window"};
const Result kEglInitialize = {2, "eglInitialize failed"};
const Result kEglConfig = {2, "eglChooseConfig found no config"};
const Result kEglSurface = {2, "eglCreateWindowSurface failed"};
const Result kEglContext = {2, "eglCreateContext failed"};
const Result kEglMakeCurrent = {2, "eglMakeCurrent failed"};

// The counter starts this many seconds in, so time never starts at 0 yet keeps
// f32 precision for a long run.
constexpr f64 kTimeOffset = 100.0;
constexpr f64 kCounterFrequency = 1e9;

const f32 kFullQuad[8] = {1, -1, 1, 1, -1, -1, -1, 1};
const f32 kPortraitTex[8] = {1, 1, 1, 0, 0, 1, 0, 0};
const f32 kLandscapeTex[8] = {0, 1, 1, 1, 0, 0, 1, 0};

const char* const kPhoneVs = "attribute vec2 pos;\n"
                             "attribute vec2 tex;\n"
                             "varying vec2 v_tex;\n"
                             "void main() {\n"
                             "    gl_Position = vec4(pos, 1.0, 1.0);\n"
                             "    v_tex = tex;\n"
                             "}\n";
const char* const kPhoneFs = "precision mediump float;\n"
                             "uniform sampler2D smp2d;\n"
                             "varying vec2 v_tex;\n"
                             "void main() { gl_FragColor = texture2D(smp2d, v_tex); }\n";
const char* const kGraphVs = "attribute vec2 pos;\n"
                             "uniform int is_portrait;\n"
                             "varying vec2 p;\n"
                             "void main() {\n"
                             "    vec2 q = is_portrait != 0 ? vec2(pos.y, -pos.x) : pos;\n"
                             "    gl_Position = vec4(q, 1.0, 1.0);\n"
                             "    p = (pos + 1.0) * 0.5;\n"
                             "}\n";
const char* const kGraphFs =
    "precision mediump float;\n"
    "varying vec2 p;\n"
    "void main() { gl_FragColor = vec4(0.0, 0.0, 1.0 - 0.7 * p.x, 1.0); }\n";
const char* const kMarginVs = "attribute vec2 pos;\n"
                              "void main() { gl_Position = vec4(pos, 1.0, 1.0); }\n";
const char* const kMarginFs = "precision mediump float;\n"
                              "void main() { gl_FragColor = vec4(0.0, 0.0, 0.0, 1.0); }\n";

struct Platform {
    SDL_Surface* picture;
    i32 pictureW, pictureH;
    u8 portrait;
    u8 orientation;
    PhoneLayout layout;
    const f32* skinTex;
    EGLDisplay display;
    EGLConfig config;
    EGLSurface surface;
    EGLContext context;
    GLuint pictureTexture;
    GLuint phoneProgram, graphProgram, marginProgram;
    KeyLatch keys;
    PointerLatch pointer;
    i32 quit;
    MemoryGraph graph;
};

Platform platform;

// Set by the handler of the termination signals, read by every poll.
volatile std::sig_atomic_t signalled = 0;

void noteSignal(int) {
    signalled = 1;
}

// SIGTERM, SIGINT and SIGHUP end the program through its polls, wherever it
// stands, with its shutdown steps; one that the program was started with
// ignored (nohup) stays ignored. Installed before SDL_Init, which then
// leaves them in place of its own.
void catchTerminationSignals() {
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before = {};
        if (sigaction(s, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
            sigaction(s, &action, nullptr);
        }
    }
}

// Nanoseconds since the first reading, plus the offset.
u64 readCounter() {
    static const timespec start = [] {
        timespec t;
        clock_gettime(CLOCK_MONOTONIC, &t);
        return t;
    }();
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    i64 ns =
        (static_cast<i64>(now.tv_sec) - start.tv_sec) * 1000000000 + (now.tv_nsec - start.tv_nsec);
    return static_cast<u64>(ns) + static_cast<u64>(kTimeOffset * kCounterFrequency);
}

// Copies a surface's pixels row by row (the surface's pitch may pad rows)
// into a tightly packed block from the tracking allocator.
u8* copyPixels(const SDL_Surface* s) {
    u32 bpp = s->format->BytesPerPixel;
    u32 row = static_cast<u32>(s->w) * bpp;
    u8* pixels = static_cast<u8*>(MemoryAllocateZeroed(row, static_cast<u32>(s->h)));
    for (i32 y = 0; y < s->h; y++) {
        std::memcpy(pixels + y * row, static_cast<const u8*>(s->pixels) + y * s->pitch, row);
    }
    return pixels;
}

void loadPhonePicture() {
    platform.picture = IMG_Load("../skin/iphone.png");
    if (platform.picture == nullptr) {
        REPORT(kNoPicture);
    }
    if (platform.picture->format->BytesPerPixel != 4) {
        REPORT(kPictureFormat);
    }
    platform.pictureW = platform.picture->w;
    platform.pictureH = platform.picture->h;
}

void initSDL(i32 width, i32 height) {
    (void)width;
    std::atexit(SDL_Quit);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0) {
        REPORT(kSdlInit);
    }
    if (SDL_SetVideoMode(height, height, 24, SDL_HWSURFACE | SDL_DOUBLEBUF) == nullptr) {
        REPORT(kVideoMode);
    }
    SDL_WM_SetCaption(program_invocation_short_name, program_invocation_short_name);
}

void initEGL() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11 ||
        info.info.x11.display == nullptr) {
        REPORT(kWmInfo);
    }
    Platform& p = platform;
    p.display = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(info.info.x11.display));
    if (p.display == EGL_NO_DISPLAY) {
        p.display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    }
    EGLint major, minor;
    if (eglInitialize(p.display, &major, &minor) != EGL_TRUE) {
        REPORT(kEglInitialize);
    }
    const EGLint attributes[] = {EGL_LEVEL,
                                 0,
                                 EGL_SURFACE_TYPE,
                                 EGL_WINDOW_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_ES2_BIT,
                                 EGL_DEPTH_SIZE,
                                 16,
                                 EGL_STENCIL_SIZE,
                                 8,
                                 EGL_NONE};
    EGLint count = 0;
    if (eglChooseConfig(p.display, attributes, &p.config, 1, &count) != EGL_TRUE || count != 1) {
        REPORT(kEglConfig);
    }
    EGLNativeWindowType window = static_cast<EGLNativeWindowType>(info.info.x11.window);
    p.surface = eglCreateWindowSurface(p.display, p.config, window, nullptr);
    if (p.surface == EGL_NO_SURFACE) {
        eglGetError();
        p.surface = eglCreateWindowSurface(p.display, p.config, 0, nullptr);
    }
    if (p.surface == EGL_NO_SURFACE) {
        REPORT(kEglSurface);
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    p.context = eglCreateContext(p.display, p.config, EGL_NO_CONTEXT, contextAttributes);
    if (p.context == EGL_NO_CONTEXT) {
        REPORT(kEglContext);
    }
    if (eglMakeCurrent(p.display, p.surface, p.surface, p.context) != EGL_TRUE) {
        REPORT(kEglMakeCurrent);
    }
    eglSwapInterval(p.display, 0);
}

GLuint compile(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    GL_ASSERT();
    glShaderSource(shader, 1, &source, nullptr);
    GL_ASSERT();
    glCompileShader(shader);
    GL_ASSERT();
    return shader;
}

GLuint buildProgram(const char* vs, const char* fs) {
    GLuint program = glCreateProgram();
    GL_ASSERT();
    glAttachShader(program, compile(GL_VERTEX_SHADER, vs));
    GL_ASSERT();
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, fs));
    GL_ASSERT();
    glLinkProgram(program);
    GL_ASSERT();
    return program;
}

void uploadPictureTexture() {
    u8* pixels = copyPixels(platform.picture);
    // Linear filter, clamped to the edge.
    platform.pictureTexture = Texture::upload(pixels, GL_RGBA, static_cast<u32>(platform.pictureW),
                                              static_cast<u32>(platform.pictureH), false, 1, 0);
    MemoryFree(pixels);
}

void setViewport(const Rect& r) {
    glViewport(r.x, r.y, r.w, r.h);
}

// Draws a strip of vertices from client memory with "pos" (and "tex" when
// given) of the program in use.
void drawStrip(GLuint program, const f32* pos, const f32* tex, GLsizei count) {
    GLint posSlot = glGetAttribLocation(program, "pos");
    glEnableVertexAttribArray(posSlot);
    glVertexAttribPointer(posSlot, 2, GL_FLOAT, GL_FALSE, 0, pos);
    GLint texSlot = tex != nullptr ? glGetAttribLocation(program, "tex") : -1;
    if (texSlot >= 0) {
        glEnableVertexAttribArray(texSlot);
        glVertexAttribPointer(texSlot, 2, GL_FLOAT, GL_FALSE, 0, tex);
    }
    glDrawArrays(GL_TRIANGLE_STRIP, 0, count);
    glDisableVertexAttribArray(posSlot);
    if (texSlot >= 0) {
        glDisableVertexAttribArray(texSlot);
    }
    GL_ASSERT();
}

} // namespace

void pinToFirstProcessor() {
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) {
        return;
    }
    for (int cpu = 0; cpu < CPU_SETSIZE; cpu++) {
        if (CPU_ISSET(cpu, &allowed)) {
            cpu_set_t first;
            CPU_ZERO(&first);
            CPU_SET(cpu, &first);
            sched_setaffinity(0, sizeof first, &first);
            return;
        }
    }
}

void initPlatform(u8 startPortrait) {
    catchTerminationSignals();
    pinToFirstProcessor();
    readCounter();
    platform.portrait = startPortrait;
    platform.orientation = startPortrait ? 0 : 1;
    platform.layout = PhoneLayout{};
    platform.skinTex = startPortrait ? kPortraitTex : kLandscapeTex;
    platform.display = EGL_NO_DISPLAY;
    platform.surface = EGL_NO_SURFACE;
    platform.context = EGL_NO_CONTEXT;
    MemoryGraphInit(&platform.graph);
    loadPhonePicture();
    initSDL(platform.pictureW, platform.pictureH);
    initEGL();
    glViewport(0, 0, platform.pictureW, platform.pictureH);
}

void initHostDrawing() {
    platform.phoneProgram = buildProgram(kPhoneVs, kPhoneFs);
    platform.graphProgram = buildProgram(kGraphVs, kGraphFs);
    platform.marginProgram = buildProgram(kMarginVs, kMarginFs);
    glDisable(GL_DEPTH_TEST);
    GL_ASSERT();
    uploadPictureTexture();
}

void toggleOrientation() {
    Platform& p = platform;
    p.portrait = p.portrait ? 0 : 1;
    p.layout = PhoneLayoutFor(p.portrait != 0, p.pictureW, p.pictureH);
    p.skinTex = p.portrait ? kPortraitTex : kLandscapeTex;
    p.orientation = p.orientation == 1 ? 0 : 1;
    SceneGraph::setScreenSize(p.layout.game.w, p.layout.game.h);
}

u8 PlatformGetOrientation() {
    return platform.orientation;
}

void updateTimer(FrameInput* input) {
    f32 t = CounterSeconds(readCounter(), kCounterFrequency);
    input->deltaTime = t - input->time;
    input->time = t;
}

namespace {

// A press, or a move while the pointer is held, at window pixels (mx, my):
// the program's targets (which may be null) take it first and hold the
// pointer where it was; else the game screen takes it when it lies inside.
void pointerAt(FrameInput* input, PointerTargets targets, i32 mx, i32 my, bool press) {
    PointerLatch* pointer = &platform.pointer;
    if (targets != nullptr && targets(mx, my)) {
        if (press) {
            PointerLatchPress(pointer, input, input->pointerX, input->pointerY);
        }
        return;
    }
    f32 x = 0, y = 0;
    if (!PhoneMapPointer(platform.layout.game, platform.pictureH, mx, my, &x, &y)) {
        return;
    }
    if (press) {
        PointerLatchPress(pointer, input, x, y);
    } else {
        PointerLatchMove(pointer, input, x, y);
    }
}

void keyDown(FrameInput* input, KeyHook hook, SDLKey key) {
    if (!KeyLatchPress(&platform.keys, input, hook)) {
        return;
    }
    if (key == SDLK_TAB) {
        toggleOrientation();
    } else if (key == SDLK_ESCAPE) {
        platform.quit = 1;
    }
    if (hook != nullptr) {
        hook(input, key, true);
    }
}

// The one event poll: the program's pointer targets and key hook (either may
// be null) around the host's own rules.
i32 pollHooked(FrameInput* input, PointerTargets targets, KeyHook hook) {
    Platform& p = platform;
    KeyLatchNewPoll(&p.keys, input, hook);
    PointerLatchNewPoll(&p.pointer, input);
    if (signalled != 0) {
        return 1;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            return 1;
        case SDL_KEYDOWN:
            keyDown(input, hook, e.key.keysym.sym);
            break;
        case SDL_KEYUP:
            KeyLatchRelease(&p.keys, input, hook, e.key.keysym.sym);
            break;
        case SDL_MOUSEBUTTONDOWN:
            pointerAt(input, targets, e.button.x, e.button.y, true);
            break;
        case SDL_MOUSEMOTION:
            if (p.pointer.press.held != 0) {
                pointerAt(input, targets, e.motion.x, e.motion.y, false);
            }
            break;
        case SDL_MOUSEBUTTONUP:
            PointerLatchRelease(&p.pointer, input);
            break;
        default:
            break;
        }
    }
    PointerLatchEndPoll(p.pointer, input);
    return 0;
}

} // namespace

i32 pollEvents(FrameInput* input) {
    return pollHooked(input, nullptr, nullptr);
}

i32 pollEventsWith(FrameInput* input, PointerTargets targets) {
    return pollHooked(input, targets, nullptr);
}

i32 pollEventsWithKeys(FrameInput* input, KeyHook hook) {
    return pollHooked(input, nullptr, hook);
}

i32 PlatformKeyHeld() {
    return PressLatchShown(platform.keys.press);
}
i32 PlatformQuitRequested() {
    return platform.quit;
}
i32 PlatformSignalled() {
    return signalled;
}

void PlatformLoadImage(const char* file, u8** pixels, u32* width, u32* height, u32* bytesPerPixel) {
    SDL_Surface* s = IMG_Load(file);
    if (s == nullptr) {
        *pixels = nullptr;
        return;
    }
    *width = static_cast<u32>(s->w);
    *height = static_cast<u32>(s->h);
    *bytesPerPixel = s->format->BytesPerPixel;
    *pixels = copyPixels(s);
    SDL_FreeSurface(s);
}

void PlatformFreeImage(u8* pixels) {
    MemoryFree(pixels);
}

void PlatformSetViewport(i32 x, i32 y, i32 w, i32 h) {
    glViewport(platform.layout.game.x + x, platform.layout.game.y + y, w, h);
}

void PlatformGetScreenSize(u32* width, u32* height) {
    *width = static_cast<u32>(platform.layout.game.w);
    *height = static_cast<u32>(platform.layout.game.h);
}

i32 PlatformWindowSide() {
    return platform.pictureH;
}
const PhoneLayout& PlatformLayout() {
    return platform.layout;
}

void updateMemoryGraph() {
    MemoryGraphUpdate(&platform.graph, MemoryGetFramePeak());
}

void PlatformDrawPhone() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE0);
    setViewport(platform.layout.picture);
    glUseProgram(platform.phoneProgram);
    glBindTexture(GL_TEXTURE_2D, platform.pictureTexture);
    glUniform1i(glGetUniformLocation(platform.phoneProgram, "smp2d"), 0);
    drawStrip(platform.phoneProgram, kFullQuad, platform.skinTex, 4);
}

void PlatformDrawMargins() {
    glUseProgram(platform.marginProgram);
    setViewport(platform.layout.marginA);
    drawStrip(platform.marginProgram, kFullQuad, nullptr, 4);
    setViewport(platform.layout.marginB);
    drawStrip(platform.marginProgram, kFullQuad, nullptr, 4);
    glUseProgram(platform.graphProgram);
    glUniform1i(glGetUniformLocation(platform.graphProgram, "is_portrait"),
                platform.portrait ? 0 : 1);
    drawStrip(platform.graphProgram, &platform.graph.vertices[0].x, nullptr, kGraphSamples * 2);
}

void PlatformSwapBuffers() {
    eglSwapBuffers(platform.display, platform.surface);
    GL_ASSERT();
}
