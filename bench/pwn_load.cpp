// Loading time of a 60,000-vertex ".pwn" model through the scene registry,
// against reading the same bytes into memory with a plain fread (the limit).
//
// How to run (from bin/, so that "../shaders/" resolves for the material):
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_BENCH=ON
//   cmake --build build-bench --target pwn_load assets
//   cd build-bench/bin && xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" ../bench/pwn_load
// or `cmake --build build-bench --target pwn_load_bench`. Without an X display
// it runs without a GL context (the material then has no GL program, which
// the timing does not touch). An optional argument sets the number of loads
// of each kind (default 51); medians are reported, once with every large
// block freshly mapped from the system (as for a program's first load) and
// once with freed memory kept by the allocator (the reader's own work).
//
// The model is written by the benchmark: one material, one mesh of 300 x 200
// vertices (position, texture coordinates and normal, 32 bytes a vertex) in
// a grid of 357,006 16-bit indices, and one node record placing it. The
// material stays registered between loads, as a game's materials do, so a
// load does not build its shader program again; every other resource is
// created by each load and freed with its group afterwards.
#include "bench/benchwindow.h"
#include "engine/group.h"
#include "engine/material.h"
#include "engine/pwnparser.h"
#include "engine/scenegraph.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "host/ape.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr u32 kColumns = 300;
constexpr u32 kRows = 200;
const char* const kFile = "pwn_load_model.pwn";

// Little-endian writing of the file's values.
class Writer {
  public:
    void tag(const char* t) { bytes.append(t, 4); }
    void u32v(u32 v) {
        for (u32 i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    }
    void u16v(u16 v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        bytes.push_back(static_cast<char>(v >> 8));
    }
    void f32v(f32 v) {
        u32 bits;
        std::memcpy(&bits, &v, 4);
        u32v(bits);
    }
    void text(const char* s) {
        u32v(static_cast<u32>(std::strlen(s)));
        bytes.append(s);
    }
    void vec(f32 a, f32 b, f32 c) {
        f32v(a);
        f32v(b);
        f32v(c);
    }

    std::string bytes;
};

void writeMaterial(Writer& w) {
    w.tag("matl");
    w.tag("idnt");
    w.text("BenchMaterial");
    w.tag("ambi");
    w.vec(0, 0.1f, 0.2f);
    w.tag("diff");
    w.vec(0.5f, 0.7f, 0.9f);
    w.tag("spec");
    w.vec(1, 1, 1);
    w.tag("shin");
    w.f32v(8);
}

void writeAttributes(Writer& w) {
    const char* names[3] = {"Vertex", "TexCoord", "Normal"};
    const u32 offsets[3] = {0, 3, 5};
    const u32 components[3] = {3, 2, 3};
    w.tag("attr");
    w.u32v(3);
    for (u32 i = 0; i < 3; ++i) {
        w.text(names[i]);
        w.u32v(offsets[i]);
        w.u32v(components[i]);
    }
}

// A gently waved sheet of kColumns x kRows vertices.
void writeMesh(Writer& w) {
    w.tag("mesh");
    w.tag("idnt");
    w.text("Sheet");
    w.tag("mmat");
    w.u32v(0);
    writeAttributes(w);
    w.tag("vtxa");
    w.u32v(kColumns * kRows);
    w.u32v(8);
    for (u32 r = 0; r < kRows; ++r) {
        for (u32 c = 0; c < kColumns; ++c) {
            const f32 u = static_cast<f32>(c) / (kColumns - 1);
            const f32 v = static_cast<f32>(r) / (kRows - 1);
            w.vec(u * 30, v * 20, 0.3f * static_cast<f32>((c * 7 + r * 3) % 11) / 11);
            w.f32v(u);
            w.f32v(v);
            w.vec(0, 0, 1);
        }
    }
    w.tag("idxa");
    w.u32v((kColumns - 1) * (kRows - 1) * 6);
    w.u32v(2);
    for (u32 r = 0; r + 1 < kRows; ++r) {
        for (u32 c = 0; c + 1 < kColumns; ++c) {
            const u16 a = static_cast<u16>(r * kColumns + c);
            const u16 b = static_cast<u16>(a + kColumns);
            const u16 corners[6] = {
                a, static_cast<u16>(a + 1), b, static_cast<u16>(a + 1), static_cast<u16>(b + 1), b};
            for (u16 i : corners) {
                w.u16v(i);
            }
        }
    }
}

std::string buildModel() {
    Writer w;
    w.tag("pwnd");
    w.u32v(1);
    w.u32v(1);
    w.u32v(1);
    writeMaterial(w);
    writeMesh(w);
    w.tag("node");
    w.tag("nmsh");
    w.u32v(0);
    w.u32v(0);
    w.tag("xxxx");
    return w.bytes;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The limit: the whole file into memory.
double timeFread() {
    const Clock::time_point start = Clock::now();
    FILE* f = std::fopen(kFile, "rb");
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::rewind(f);
    u8* data = static_cast<u8*>(std::malloc(static_cast<std::size_t>(size)));
    const std::size_t got = std::fread(data, 1, static_cast<std::size_t>(size), f);
    std::fclose(f);
    const double seconds = secondsSince(start);
    if (got != static_cast<std::size_t>(size)) {
        std::fprintf(stderr, "short read\n");
        std::exit(1);
    }
    std::free(data);
    return seconds;
}

// A group from the file through the registry, deleted untimed.
double timeLoad() {
    const Clock::time_point start = Clock::now();
    Group* group = SceneGraph::createGroup("model", kFile, false, 0);
    const double seconds = secondsSince(start);
    if (group->getChildCount() != 1) {
        std::fprintf(stderr, "the model did not load\n");
        std::exit(1);
    }
    SceneGraph::deleteNode(group);
    return seconds;
}

// The reader alone, over the bytes already in memory.
double timeParseBytes(const std::string& bytes) {
    Group* group = SceneGraph::createGroup("model");
    const Clock::time_point start = Clock::now();
    PwnParseBytes(group, reinterpret_cast<const u8*>(bytes.data()), bytes.size(), false, false, 0);
    const double seconds = secondsSince(start);
    SceneGraph::deleteNode(group);
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of the given number of timed runs, after one untimed run.
template <typename Run> double medianOf(u32 runs, Run run) {
    std::vector<double> times;
    run();
    for (u32 i = 0; i < runs; ++i) {
        times.push_back(run());
    }
    return median(times);
}

// Each kind in a run of its own, so the allocator serves each in its own
// steady state.
void measure(const char* memory, u32 loads, const std::string& bytes) {
    const double read = medianOf(loads, timeFread);
    const double load = medianOf(loads, timeLoad);
    const double parse = medianOf(loads, [&] { return timeParseBytes(bytes); });
    std::printf("%s\n", memory);
    std::printf("  fread into memory        %9.3f ms\n", read * 1e3);
    std::printf("  createGroup from file    %9.3f ms   %6.2fx fread\n", load * 1e3, load / read);
    std::printf("  reader over memory bytes %9.3f ms   %6.2fx fread\n", parse * 1e3, parse / read);
}

} // namespace

int main(int argc, char** argv) {
    const u32 loads = argc > 1 ? static_cast<u32>(std::atoi(argv[1])) : 51;
    const bool gl = std::getenv("DISPLAY") != nullptr;
    if (gl) {
        OpenBenchWindow();
    }
    SceneGraph::init();
    const std::string bytes = buildModel();
    FILE* f = std::fopen(kFile, "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", kFile);
        return 1;
    }
    std::fclose(f);
    // Kept registered across the loads: each load finds it by name.
    Material* material = SceneGraph::createMaterial(kMaterialPoint, "BenchMaterial", 0);

    std::printf("model: %u vertices, %u indices, %zu bytes; %s; median of %u loads\n",
                kColumns * kRows, (kColumns - 1) * (kRows - 1) * 6, bytes.size(),
                gl ? "GL context" : "no GL context", loads);
    // Fresh memory: every large block is mapped from the system and given
    // back when freed, so each load pays the page faults of a program's
    // first load. Reused memory: freed blocks stay with the allocator, which
    // leaves the reader's own work.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    measure("fresh memory (each large block mapped anew)", loads, bytes);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    measure("reused memory (freed blocks kept by the allocator)", loads, bytes);

    SceneGraph::dereferenceResource(material);
    SceneGraph::shutdown();
    std::remove(kFile);
    return 0;
}
