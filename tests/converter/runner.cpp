#include "runner.h"

#include "pwnfile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>

namespace {

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

// The scratch directories of this test program, removed when it ends.
class ScratchDirs {
  public:
    ~ScratchDirs() {
        for (const std::string& dir : dirs_) {
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        }
    }
    void add(const std::string& dir) { dirs_.push_back(dir); }

  private:
    std::vector<std::string> dirs_;
};

} // namespace

std::string MeshwrightRun::debugText() const {
    return ReadFileText(path("debug.txt"));
}

std::string MakeScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "meshwright-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    static ScratchDirs made;
    made.add(pattern);
    return pattern;
}

MeshwrightRun RunMeshwright(const std::vector<std::string>& args, std::string dir,
                            const std::vector<std::string>& prefix) {
    MeshwrightRun run;
    run.dir = dir.empty() ? MakeScratchDir() : dir;
    std::string command = "cd " + quote(run.dir) + " &&";
    for (const std::string& word : prefix) {
        command += " " + quote(word);
    }
    command += " " + quote(MESHWRIGHT);
    for (const std::string& a : args) {
        command += " " + quote(a);
    }
    command += " > " + quote(run.dir + "/stdout.txt");
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFileText(run.dir + "/stdout.txt");
    return run;
}

std::string MeshwrightProgram() {
    return MESHWRIGHT;
}

std::string Fixture(const std::string& name) {
    return std::string(CONVERTER_FIXTURES) + "/" + name;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> DirectoryNames(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

mode_t FileMode(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::string FaceRefusal(int corners, int line) {
    return std::string(corners == 4 ? "Quads" : "Polygons") +
           " are not supported\nThe face on line " + std::to_string(line) + " has " +
           (corners == 4 ? "4" : "more than 4") +
           " corners: triangulate the model first (most exporters have an option), or with "
           "assimp: assimp export in.obj out.obj -tri, then Meshwright out.obj out.pwn\n";
}

std::string NamesLeftOut(const std::string& named) {
    return "Warning: " + named +
           " left out: all faces were written as one mesh \"TriMesh\" with the material "
           "\"DefaultMaterial\"\n";
}
