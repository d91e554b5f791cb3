// The score file: its lines, their order, a final line end that may be
// missing, "\r\n" line ends, numbers too long for an int, and a file that
// cannot be read or written.
#include "games/mazechase/highscore.h"

#include "engine/result.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A score file of its own in /tmp for each test.
class ScoreFile : public testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/mazechase-scores-XXXXXX";
        int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        close(fd);
        path = name;
    }
    void TearDown() override { std::remove(path.c_str()); }

    void write(const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string contents() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string path;
};

// The last report line without its line end.
std::string lastReport() {
    std::string last = ReportLastMessage() != nullptr ? ReportLastMessage() : "";
    return last.substr(0, last.find('\n'));
}

std::string readWarning(const std::string& file) {
    return "Warning: Couldn't read the high score file " + file + " (";
}

std::string saveWarning(const std::string& file) {
    return "Warning: Couldn't save the score to the high score file " + file + " (";
}

// Plays the score file's part as a player who may not write it (or not read
// it either, by its mode): root turns into nobody, in a child process, which
// tells on standard error the best score shown and the last report after
// loading, then the same after a game that scored 4.
void playAsAnotherUser(const std::string& file) {
    const gid_t nobody = 65534;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, nobody) != 0 ||
                           setresuid(nobody, nobody, nobody) != 0)) {
        std::exit(2);
    }
    Report({1, "marker"}, "highscore_test", "marker", 0);
    High_Score scores(file.c_str());
    std::string loaded = std::string(scores.getHighScore()) + "] [" + lastReport();
    scores.addScore(4);
    std::fprintf(stderr, "[%s] [%s] [%s]\n", loaded.c_str(), scores.getHighScore(),
                 lastReport().c_str());
    std::exit(0);
}

// The start of a report line, as a pattern.
std::string pattern(const std::string& line) {
    std::string out;
    for (char c : line) {
        out += std::string(std::strchr("[]().", c) != nullptr ? "\\" : "") + c;
    }
    return out;
}

const std::string kMarker = "Warning: marker (highscore_test, marker, 0)";

TEST(ScoreValue, ReadsLikeAtoiWithoutOverflow) {
    struct Case {
        const char* text;
        i32 value;
    };
    const Case cases[] = {
        {"12", 12},
        {"  7x", 7},
        {"-3", -3},
        {"+4", 4},
        {"abc", 0},
        {"", 0},
        {"\t\n 9", 9},
        {"2147483647", 2147483647},
        {"99999999999999999999999", 2147483647},
        {"-99999999999999999999999", -2147483647 - 1},
        {"- 5", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScoreValue(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST_F(ScoreFile, LinesAreSortedBestFirstWithTheEmptyRemainder) {
    write("5\n12\n7\n");
    High_Score scores(path.c_str());
    EXPECT_EQ(scores.getScores(), (Lines{"12", "7", "5", ""}));
    EXPECT_STREQ(scores.getHighScore(), "12");
}

TEST_F(ScoreFile, FileCasesAndTheBestLine) {
    struct Case {
        const char* text;
        const char* best;
        size_t count;
    };
    const Case cases[] = {
        {"", "", 1},              // one empty line
        {"7", "7", 1},            // no final line end
        {"5\r\n12\r\n", "12", 3}, // "\r" is not part of the line
        {"abc\n-4\n", "abc", 3},  // letters count as 0, before negatives
        {"99999999999999999999\n3\n", "99999999999999999999", 3},
        {"3\n1200\n-2\n", "1200", 4},
    };
    for (const Case& c : cases) {
        write(c.text);
        High_Score scores(path.c_str());
        EXPECT_STREQ(scores.getHighScore(), c.best) << '"' << c.text << '"';
        EXPECT_EQ(scores.getScores().size(), c.count) << '"' << c.text << '"';
    }
}

TEST_F(ScoreFile, MissingFileShowsZeroSilentlyAndTheFirstScoreCreatesIt) {
    std::remove(path.c_str());
    Report({1, "marker"}, "highscore_test", "marker", 0);
    High_Score scores(path.c_str());
    EXPECT_TRUE(scores.getScores().empty());
    EXPECT_STREQ(scores.getHighScore(), "0");
    scores.addScore(30);
    EXPECT_EQ(contents(), "30\n");
    EXPECT_STREQ(scores.getHighScore(), "30");
    EXPECT_EQ(lastReport(), kMarker) << "nothing to warn of";
}

TEST_F(ScoreFile, AddedScoreGoesOnALineOfItsOwn) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"5\n12\n7\n", "5\n12\n7\n30\n"},
        {"5\n12\n7", "5\n12\n7\n30\n"}, // not "730"
        {"", "30\n"},
        {"7\r\n", "7\r\n30\n"},
    };
    for (const Case& c : cases) {
        write(c.before);
        High_Score scores(path.c_str());
        scores.addScore(30);
        EXPECT_EQ(contents(), c.after) << '"' << c.before << '"';
        EXPECT_STREQ(scores.getHighScore(), "30") << '"' << c.before << '"';
    }
}

// A file that cannot be written keeps the score in the list, and says so
// naming the file: a read-only file for a player who may not write it, a
// directory in its place (also unreadable: "0" and a warning before the
// game), a device that takes no data, a folder that does not exist.
TEST_F(ScoreFile, UnwritableFileKeepsTheScoreInTheListAndWarns) {
    write("12\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EXIT(playAsAnotherUser(path), testing::ExitedWithCode(0),
                pattern("[12] [" + kMarker + "] [12] [" + saveWarning(path)));
    EXPECT_EQ(contents(), "12\n");

    std::remove(path.c_str());
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    {
        High_Score scores(path.c_str());
        EXPECT_STREQ(scores.getHighScore(), "0");
        EXPECT_EQ(lastReport().rfind(readWarning(path), 0), 0u) << lastReport();
        scores.addScore(4);
        EXPECT_EQ(scores.getScores(), (Lines{"4"}));
        EXPECT_STREQ(scores.getHighScore(), "4");
        EXPECT_EQ(lastReport().rfind(saveWarning(path), 0), 0u) << lastReport();
    }
    rmdir(path.c_str());

    const char* inNoFolder = "/nonexistent-dir/high_score.txt";
    Report({1, "marker"}, "highscore_test", "marker", 0);
    High_Score scores(inNoFolder);
    EXPECT_STREQ(scores.getHighScore(), "0");
    EXPECT_EQ(lastReport(), kMarker) << "a missing file is no news";
    scores.addScore(4);
    EXPECT_EQ(scores.getScores(), (Lines{"4"}));
    EXPECT_STREQ(scores.getHighScore(), "4");
    EXPECT_EQ(lastReport().rfind(saveWarning(inNoFolder), 0), 0u) << lastReport();
}

// A file that is there but that the player may not read shows "0", never
// an empty best, and is warned of; nor may the player write it.
TEST_F(ScoreFile, UnreadableFileShowsZeroAndWarns) {
    write("12\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EXIT(playAsAnotherUser(path), testing::ExitedWithCode(0),
                pattern("[0] [" + readWarning(path)) + ".*" +
                    pattern("] [4] [" + saveWarning(path)));
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(contents(), "12\n");
}

} // namespace
