#pragma once

// Runs the Meshwright program built with the tests, each run in a fresh
// working directory of its own.
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

struct MeshwrightRun {
    int status = -1;
    std::string out; // standard output
    std::string dir; // the working directory, holding "debug.txt"

    std::string path(const std::string& name) const { return dir + "/" + name; }
    std::string debugText() const;
};

// A new empty directory under the system's temporary directory, removed with
// everything in it when the test program ends.
std::string MakeScratchDir();

// Runs Meshwright with args in dir (a new scratch directory when empty),
// through the command words of prefix when there are any (setpriv ...).
MeshwrightRun RunMeshwright(const std::vector<std::string>& args, std::string dir = "",
                            const std::vector<std::string>& prefix = {});

// The path of the Meshwright program built with the tests.
std::string MeshwrightProgram();

std::string Fixture(const std::string& name);
// The names in dir.
std::set<std::string> DirectoryNames(const std::string& dir);
// What a face of more than three corners on line stops the conversion with:
// "Quads are not supported" for 4 corners, "Polygons are not supported" for
// more, then a line that says where the face is and how to go on.
std::string FaceRefusal(int corners, int line);
// The warning of an OBJ file's materials, objects or groups, which the one
// mesh keeps none of: named counts them, as in "2 materials (usemtl) that
// the file names were".
std::string NamesLeftOut(const std::string& named);
// The permission bits of the file path leads to (0 when there is none).
mode_t FileMode(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
