// mesher <dir>: times MeshVoxelBlock on four volumes and writes each volume
// to <dir>/<name>.raw (n^3 bytes, x fastest) for the side-by-side run of
// scikit-image's marching_cubes in mesher_bench.sh. One line a volume: name,
// side, best seconds of several runs, million cells a second, vertices and
// triangles.
#include "games/rockfield/density.h"
#include "games/rockfield/voxelblock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Volume {
    const char* name;
    i32 n;
    f32 noiseStep; // noise units a voxel
};

// The noise ball filled as an asteroid is filled (4 noise units across), and
// a rougher one sampled as often a voxel as the 16-voxel asteroid.
const Volume kVolumes[] = {
    {"ball64", 64, 4.0f / 64},
    {"rough64", 64, 4.0f / 16},
    {"ball128", 128, 4.0f / 128},
    {"rough128", 128, 4.0f / 16},
};

double bestSeconds(const std::vector<u8>& block, i32 n, size_t* vertexCount, size_t* triangles) {
    std::vector<f32> vertices;
    std::vector<u32> indices;
    double best = 1e9;
    for (i32 run = 0; run < 15; run++) {
        auto start = std::chrono::steady_clock::now();
        MeshVoxelBlock(block.data(), n, &vertices, &indices);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    *vertexCount = vertices.size() / 6;
    *triangles = indices.size() / 3;
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mesher <dir>\n");
        return 2;
    }
    for (const Volume& v : kVolumes) {
        std::vector<u8> block(static_cast<size_t>(v.n) * v.n * v.n);
        FillNoiseBall(block.data(), v.n, v.noiseStep, vec3(17.25f, 3.5f, 100.75f));
        std::string path = std::string(argv[1]) + "/" + v.name + ".raw";
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(block.data(), 1, block.size(), file) != block.size()) {
            std::fprintf(stderr, "mesher: cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(file);
        size_t vertices = 0, triangles = 0;
        double seconds = bestSeconds(block, v.n, &vertices, &triangles);
        double cells = static_cast<double>(v.n - 1) * (v.n - 1) * (v.n - 1);
        std::printf("%s %d %.6f %.1f %zu %zu\n", v.name, v.n, seconds, cells / seconds / 1e6,
                    vertices, triangles);
    }
    return 0;
}
