// The output file as Meshwright leaves it: whatever the way there (a link to
// nothing, a folder that takes no new file, a signal that ends the program),
// a failed conversion leaves the old file as it was and no other file.
#include "shipped.h"

#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

mode_t newFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// What converting the triangle fixture writes.
std::string convertedTriangle() {
    MeshwrightRun run = RunMeshwright({Fixture("triangle.obj"), "out.pwn"});
    EXPECT_EQ(run.status, 0);
    return ReadFileText(run.path("out.pwn"));
}

// Waits, for a minute at most, until condition holds.
template <typename Condition> bool waitFor(Condition condition) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(Output, ALinkToNothingLeadsToAFileOnlyWhenTheConversionSucceeds) {
    std::string dir = MakeScratchDir();
    std::filesystem::create_directory(dir + "/links");
    std::filesystem::create_directory(dir + "/models");
    ASSERT_EQ(symlink("../models/target.pwn", (dir + "/links/link.pwn").c_str()), 0);

    MeshwrightRun failed = RunMeshwright({Fixture("quad.obj"), "links/link.pwn"}, dir);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, FaceRefusal(4, 5));
    EXPECT_EQ(DirectoryNames(dir + "/models"), std::set<std::string>{})
        << "no fragment at the target";
    EXPECT_EQ(DirectoryNames(dir + "/links"), std::set<std::string>{"link.pwn"});

    MeshwrightRun done = RunMeshwright({Fixture("triangle.obj"), "links/link.pwn"}, dir);
    ASSERT_EQ(done.status, 0) << done.out;
    EXPECT_EQ(ReadFileText(dir + "/models/target.pwn"), convertedTriangle());
    EXPECT_EQ(FileMode(dir + "/models/target.pwn"), newFileMode());
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/links/link.pwn"));
    EXPECT_EQ(DirectoryNames(dir + "/models"), std::set<std::string>{"target.pwn"});
}

// A failure leaves the file in full; a conversion writes the model into it
// (the same file, so its mode and its other names stay) and cuts it to the
// model's length.
void expectWrittenInPlace(const std::string& dir, const std::string& name,
                          const std::vector<std::string>& prefix) {
    std::string path = dir + "/" + name;
    std::string old = std::string(5000, 'x') + " an older model, longer than the new one";
    WriteText(path, old);
    ASSERT_EQ(chmod(path.c_str(), 0646), 0);
    // Inputs and trace in a folder that any user may read and write.
    std::string work = MakeScratchDir();
    ASSERT_EQ(chmod(work.c_str(), 0777), 0);
    for (const char* input : {"quad.obj", "triangle.obj"}) {
        WriteText(work + "/" + input, ReadFileText(Fixture(input)));
        ASSERT_EQ(chmod((work + "/" + input).c_str(), 0644), 0);
    }
    std::set<std::string> names = DirectoryNames(dir);

    MeshwrightRun failed = RunMeshwright({"quad.obj", path}, work, prefix);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, FaceRefusal(4, 5));
    EXPECT_EQ(ReadFileText(path), old);

    MeshwrightRun done = RunMeshwright({"triangle.obj", path}, work, prefix);
    ASSERT_EQ(done.status, 0) << done.out;
    EXPECT_EQ(done.out, "Conversion completed!\n");
    EXPECT_EQ(ReadFileText(path), convertedTriangle());
    EXPECT_EQ(FileMode(path), 0646u);
    EXPECT_EQ(DirectoryNames(dir), names) << "no temporary is left";
}

// No temporary fits beside a file whose name is as long as a name can be:
// the folder takes no new file for root too.
TEST(Output, AFileBesideWhichNoTemporaryFitsIsWrittenInPlace) {
    std::string dir = MakeScratchDir();
    std::string name = std::string(NAME_MAX - 4, 'm') + ".pwn";
    expectWrittenInPlace(dir, name, {});
}

// The command words that run Meshwright as a user who may not write in a
// folder of mode 0555: none when the tests do not run as root, else setpriv
// as nobody; nothing when nobody cannot run the program.
std::optional<std::vector<std::string>> unprivileged() {
    if (geteuid() != 0) {
        return std::vector<std::string>{};
    }
    std::vector<std::string> prefix = {"setpriv", "--reuid=65534", "--regid=65534",
                                       "--clear-groups"};
    MeshwrightRun probe = RunMeshwright({}, "", prefix);
    if (probe.status != 1 || probe.out.rfind("Usage: Meshwright", 0) != 0) {
        return std::nullopt;
    }
    return prefix;
}

TEST(Output, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    std::optional<std::vector<std::string>> prefix = unprivileged();
    if (!prefix) {
        GTEST_SKIP() << "running as root, and nobody cannot run Meshwright";
    }
    std::string dir = MakeScratchDir() + "/read-only";
    std::filesystem::create_directories(dir);
    ASSERT_EQ(chmod(std::filesystem::path(dir).parent_path().c_str(), 0755), 0);
    WriteText(dir + "/model.pwn", "");
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    expectWrittenInPlace(dir, "model.pwn", *prefix);
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
}

// Starts Meshwright with args in dir, its standard output into "stdout.txt"
// there, as from a terminal: with the signals that end a program at their
// defaults.
pid_t startMeshwright(const std::vector<std::string>& args, const std::string& dir) {
    std::string program = MeshwrightProgram();
    std::vector<char*> argv = {program.data()};
    std::vector<std::string> copies = args;
    for (std::string& a : copies) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        if (chdir(dir.c_str()) != 0 || !std::freopen("stdout.txt", "w", stdout)) {
            _exit(127);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

// Whether dir holds a temporary beside name.
bool holdsTemporary(const std::string& dir, const std::string& name) {
    for (const std::string& entry : DirectoryNames(dir)) {
        if (entry.rfind(name + ".", 0) == 0) {
            return true;
        }
    }
    return false;
}

// The input is a named pipe that the test holds open: the conversion waits
// for the rest of its input, with its temporary begun, when the signal comes.
TEST(Output, ASignalThatEndsAConversionRemovesItsTemporary) {
    for (int signal : {SIGINT, SIGTERM}) {
        for (bool old : {true, false}) {
            SCOPED_TRACE(std::string(strsignal(signal)) + (old ? ", over an old file" : ""));
            std::string dir = MakeScratchDir();
            std::set<std::string> names = {"in.obj", "debug.txt", "stdout.txt"};
            std::string kept;
            if (old) {
                ASSERT_EQ(RunMeshwright({Fixture("textured.obj"), "keep.pwn"}, dir).status, 0);
                kept = ReadFileText(dir + "/keep.pwn");
                names.insert("keep.pwn");
            }
            ASSERT_EQ(mkfifo((dir + "/in.obj").c_str(), 0600), 0);
            pid_t pid = startMeshwright({"in.obj", "keep.pwn"}, dir);
            ASSERT_GT(pid, 0);
            int pipe = -1;
            ASSERT_TRUE(waitFor([&] {
                pipe = open((dir + "/in.obj").c_str(), O_WRONLY | O_NONBLOCK);
                return pipe >= 0;
            })) << "Meshwright opens its input";
            ASSERT_EQ(write(pipe, "v 0 0 0\n", 8), 8);
            EXPECT_TRUE(waitFor([&] { return holdsTemporary(dir, "keep.pwn"); }));

            ASSERT_EQ(kill(pid, signal), 0);
            int status = 0;
            ASSERT_TRUE(waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }));
            close(pipe);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
                << "it ends as the signal ends a program";
            EXPECT_EQ(DirectoryNames(dir), names);
            if (old) {
                EXPECT_EQ(ReadFileText(dir + "/keep.pwn"), kept);
            }
        }
    }
}

} // namespace
