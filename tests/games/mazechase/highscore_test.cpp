// The score file: its lines, their order, a final line end that may be
// missing, "\r\n" line ends and numbers too long for an int.
#include "games/mazechase/highscore.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
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

TEST_F(ScoreFile, MissingFileShowsZeroAndTheFirstScoreCreatesIt) {
    std::remove(path.c_str());
    High_Score scores(path.c_str());
    EXPECT_TRUE(scores.getScores().empty());
    EXPECT_STREQ(scores.getHighScore(), "0");
    scores.addScore(30);
    EXPECT_EQ(contents(), "30\n");
    EXPECT_STREQ(scores.getHighScore(), "30");
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

TEST_F(ScoreFile, UnwritableFileKeepsTheScoreInTheList) {
    High_Score scores("/nonexistent-dir/high_score.txt");
    scores.addScore(4);
    EXPECT_EQ(scores.getScores(), (Lines{"4"}));
    EXPECT_STREQ(scores.getHighScore(), "4");
}

} // namespace
