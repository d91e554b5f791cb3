// The .obj sources of the programs' models. Meshwright turns each into a
// .pwn file at build time. Numbers are plain decimals (Meshwright reads no
// exponents), and every corner has a texture coordinate and a normal.
#include "models.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Six decimals, never "-0.000000" (which would make a second vertex).
void putNumber(FILE* f, double value) {
    if (std::fabs(value) < 0.0000005) {
        value = 0.0;
    }
    std::fprintf(f, " %.6f", value);
}

void putLine(FILE* f, const char* tag, double a, double b, double c) {
    std::fputs(tag, f);
    putNumber(f, a);
    putNumber(f, b);
    putNumber(f, c);
    std::fputc('\n', f);
}

void putCorner(FILE* f, int index) {
    std::fprintf(f, " %d/%d/%d", index, index, index);
}

// The golf ball: a sphere of the given radius around the origin, in rings of
// latitude from the north pole, with a seam column for the texture.
bool writeSphere(const std::string& path, double radius, int slices, int stacks) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (f == nullptr) {
        return false;
    }
    std::fprintf(f, "# golf ball, radius %.1f\n", radius);
    for (int i = 0; i <= stacks; ++i) {
        double theta = kPi * i / stacks;
        for (int j = 0; j <= slices; ++j) {
            double phi = 2.0 * kPi * j / slices;
            double x = std::sin(theta) * std::cos(phi);
            double y = std::cos(theta);
            double z = -std::sin(theta) * std::sin(phi);
            putLine(f, "v", radius * x, radius * y, radius * z);
            putLine(f, "vt", static_cast<double>(j) / slices, 1.0 - static_cast<double>(i) / stacks,
                    0.0);
            putLine(f, "vn", x, y, z);
        }
    }
    int row = slices + 1;
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            int a = i * row + j + 1;
            int b = a + row;
            if (i != 0) {
                std::fputc('f', f);
                putCorner(f, a);
                putCorner(f, b);
                putCorner(f, a + 1);
                std::fputc('\n', f);
            }
            if (i != stacks - 1) {
                std::fputc('f', f);
                putCorner(f, a + 1);
                putCorner(f, b);
                putCorner(f, b + 1);
                std::fputc('\n', f);
            }
        }
    }
    bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

} // namespace

bool WriteModels(const std::string& dir) {
    return writeSphere(dir + "/sphere.obj", 14.0, 32, 16);
}
