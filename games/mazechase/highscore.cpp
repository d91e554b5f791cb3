#include "games/mazechase/highscore.h"

#include "engine/result.h"

#include <algorithm>
#include <cerrno>
#include <climits>

namespace {

const char* const kScoreFile = "../Nibblor/high_score.txt";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// True when the open file is not empty and its last byte is no line end.
bool lacksFinalLineEnd(std::FILE* file) {
    if (std::fseek(file, -1, SEEK_END) != 0) {
        return false;
    }
    return std::fgetc(file) != '\n';
}

// Warns of a score file that is there but cannot be read, or that a score
// cannot be written to, naming it.
void warnAbout(const char* format, const std::string& file) {
    char text[256];
    std::snprintf(text, sizeof text, format, file.c_str());
    REPORT((Result{1, text}));
}

} // namespace

i32 ScoreValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        i++;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        i++;
    }
    i64 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++) {
        value = std::min<i64>(value * 10 + (text[i] - '0'), static_cast<i64>(INT_MAX) + 1);
    }
    value = negative ? -value : std::min<i64>(value, INT_MAX);
    return static_cast<i32>(std::max<i64>(value, INT_MIN));
}

bool compareScores(const std::string& a, const std::string& b) {
    return ScoreValue(a) > ScoreValue(b);
}

High_Score::High_Score() : High_Score(kScoreFile) {}

High_Score::High_Score(const char* file) : fileName(file) {
    load();
}

High_Score::~High_Score() = default;

void High_Score::load() {
    std::FILE* file = std::fopen(fileName.c_str(), "r");
    if (file == nullptr) {
        if (errno != ENOENT) {
            warnAbout("Couldn't read the high score file %s", fileName);
        }
        return;
    }
    read(file);
    if (std::ferror(file) != 0) {
        scores.clear();
        warnAbout("Couldn't read the high score file %s", fileName);
    }
    std::fclose(file);
    sort();
}

void High_Score::read(std::FILE* file) {
    std::string line;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n') {
            addLine(line);
            line.clear();
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    addLine(line);
}

void High_Score::addLine(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    scores.push_back(line);
}

void High_Score::addScore(i32 score) {
    std::string text = std::to_string(score);
    scores.push_back(text);
    std::FILE* file = std::fopen(fileName.c_str(), "a+");
    if (file == nullptr || !append(file, text)) {
        warnAbout("Couldn't save the score to the high score file %s", fileName);
    }
}

bool High_Score::append(std::FILE* file, const std::string& text) {
    bool joinsLastLine = lacksFinalLineEnd(file);
    // A write after a read needs a positioning call between them.
    std::fseek(file, 0, SEEK_END);
    if (joinsLastLine) {
        std::fputc('\n', file);
    }
    std::fprintf(file, "%s\n", text.c_str());
    bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

const char* High_Score::getHighScore() {
    if (scores.empty()) {
        return "0";
    }
    sort();
    return scores.front().c_str();
}

void High_Score::sort() {
    std::stable_sort(scores.begin(), scores.end(), compareScores);
}
