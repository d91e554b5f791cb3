// Feeds arbitrary bytes to the score file: the list reads every line, the
// best one is one of them, and a new score goes on a line of its own after
// everything that was there.
#include "games/mazechase/highscore.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scoreFile() {
    char name[] = "/tmp/mazechase-score-fuzz-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) {
        close(fd);
    }
    return name;
}

std::string contents(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return text;
    }
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scoreFile();
    std::string before(reinterpret_cast<const char*>(data), size);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    High_Score scores(path.c_str());
    // The best line as the menu prints it: up to a zero byte, if any.
    std::string best = scores.getHighScore();
    if (scores.getScores().empty() || best != scores.getScores().front().c_str()) {
        std::abort();
    }
    scores.addScore(42);
    std::string after = contents(path);
    bool joined = !before.empty() && before.back() != '\n';
    if (after != before + (joined ? "\n" : "") + "42\n") {
        std::abort();
    }
    return 0;
}
