#include "runner.h"

#include "pwnfile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

MeshwrightRun RunMeshwright(const std::vector<std::string>& args, std::string dir) {
    MeshwrightRun run;
    run.dir = dir.empty() ? MakeScratchDir() : dir;
    std::string command = "cd " + quote(run.dir) + " && " + quote(MESHWRIGHT);
    for (const std::string& a : args) {
        command += " " + quote(a);
    }
    command += " > " + quote(run.dir + "/stdout.txt");
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFileText(run.dir + "/stdout.txt");
    return run;
}

std::string Fixture(const std::string& name) {
    return std::string(CONVERTER_FIXTURES) + "/" + name;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}
