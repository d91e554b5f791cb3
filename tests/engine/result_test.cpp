#include "engine/result.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const Result kFirst = {1, "first"};
const Result kSecond = {1, "second"};
const Result kFatal = {2, "fatal"};

// Runs a test body inside its own temporary working directory, with the log
// open there.
class LogDir : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tessaly-log-" + std::to_string(getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        LogOpen();
    }
    void TearDown() override {
        LogClose();
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    std::string log() {
        std::ifstream in(dir_ / "log.txt");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::filesystem::path dir_, old_;
};

struct Probe {
    int line = 0;
    std::string fire() {
        line = __LINE__ + 1;
        REPORT(kFirst);
        return ReportLastMessage();
    }
};

TEST(ReportFunctionName, FromPrettySignatures) {
    struct Case {
        const char* pretty;
        const char* name;
    } cases[] = {
        {"void Node::attachChild(Node*)", "Node::attachChild"},
        {"static void SceneGraph::init()", "SceneGraph::init"},
        {"Node::Node(const char*)", "Node::Node"},
        {"virtual Node::~Node()", "Node::~Node"},
        {"int main()", "main"},
        {"void {anonymous}::initSDL(i32, i32)", "initSDL"},
        {"void (anonymous namespace)::Probe::fire()", "Probe::fire"},
        {"int (anonymous namespace)::Pool<(anonymous namespace)::Key>::take(int)",
         "Pool<{anonymous}::Key>::take"},
        {"vec3 vec3::operator-() const", "vec3::operator-"},
        {"bool Less::operator()(int, int) const", "Less::operator()"},
        {"bool Key::operator<(const Key&) const", "Key::operator<"},
        {"std::vector<int> Pool<T>::take(int) [with T = int]", "Pool<T>::take"},
        {"const char* Text::get(std::map<int, char>&)", "Text::get"},
    };
    for (const Case& c : cases) {
        char out[256];
        EXPECT_STREQ(ReportFunctionName(c.pretty, out, sizeof out), c.name) << c.pretty;
    }
    char tiny[5];
    EXPECT_STREQ(ReportFunctionName("void Node::attachChild(Node*)", tiny, sizeof tiny), "Node");
}

TEST_F(LogDir, ReportLineCarriesFileClassMethodAndLine) {
    Probe probe;
    std::string line = probe.fire();
    EXPECT_EQ(line, "Warning: first (result_test.cpp, Probe::fire, " + std::to_string(probe.line) +
                        ")\n");
}

TEST_F(LogDir, RepeatedWarningsAreDropped) {
    testing::internal::CaptureStdout();
    Report(kFirst, "a.cpp", "A::f", 1);
    Report(kFirst, "a.cpp", "A::f", 1);
    Report(kFirst, "a.cpp", "A::f", 2); // another line: not a repeat
    Report(kSecond, "a.cpp", "A::f", 2);
    Report(kFirst, "a.cpp", "A::f", 2);
    std::string out = testing::internal::GetCapturedStdout();
    std::string expected = "Warning: first (a.cpp, A::f, 1)\n"
                           "Warning: first (a.cpp, A::f, 2)\n"
                           "Warning: second (a.cpp, A::f, 2)\n"
                           "Warning: first (a.cpp, A::f, 2)\n";
    EXPECT_EQ(out, expected);
    EXPECT_EQ(log(), expected);
    EXPECT_STREQ(ReportLastMessage(), "Warning: first (a.cpp, A::f, 2)\n");
}

TEST_F(LogDir, AnySeverityButTwoIsAWarning) {
    testing::internal::CaptureStdout();
    Report(Result{7, "odd"}, "b.cpp", "g", 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: odd (b.cpp, g, 3)\n");
}

TEST_F(LogDir, ErrorIsPrintedEvenAsARepeatAndEndsWithStatusOne) {
    EXPECT_EXIT(
        {
            Report(kFatal, "c.cpp", "C::h", 9);
            Report(kFatal, "c.cpp", "C::h", 9);
        },
        testing::ExitedWithCode(1), "");
    // The child wrote and closed the same log file before it ended.
    EXPECT_EQ(log(), "Error: fatal (c.cpp, C::h, 9)\n");
}

TEST(Report, WithoutAnOpenLogStillPrints) {
    testing::internal::CaptureStdout();
    Report(kSecond, "d.cpp", "D::k", 4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: second (d.cpp, D::k, 4)\n");
}

TEST(Report, BaseNameOfSourcePaths) {
    EXPECT_STREQ(ReportBaseName("/work/engine/node.cpp"), "node.cpp");
    EXPECT_STREQ(ReportBaseName("..\\engine\\text.cpp"), "text.cpp");
    EXPECT_STREQ(ReportBaseName("plain.cpp"), "plain.cpp");
}

} // namespace
