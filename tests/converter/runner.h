#pragma once

// Runs the Meshwright program built with the tests, each run in a fresh
// working directory of its own.
#include <string>
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

// Runs Meshwright with args in dir (a new scratch directory when empty).
MeshwrightRun RunMeshwright(const std::vector<std::string>& args, std::string dir = "");

std::string Fixture(const std::string& name);
void WriteText(const std::string& path, const std::string& text);
