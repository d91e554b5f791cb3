#pragma once

#include "engine/types.h"

#include <cstdio>
#include <string>
#include <vector>

// The numeric value of a score line as the C library's atoi reads it
// (leading blanks, an optional sign, the digits up to the first other
// character; no digits give 0), held at the i32 limits instead of
// overflowing.
i32 ScoreValue(const std::string& text);
// a sorts before b: its value is greater.
bool compareScores(const std::string& a, const std::string& b);

// Every finished game's score, kept one per line in a text file that only
// ever grows at its end, and the best of them.
class High_Score {
  public:
    // The program's file, "../Nibblor/high_score.txt", loaded.
    High_Score();
    // Another file, loaded (the tests use their own).
    explicit High_Score(const char* file);
    virtual ~High_Score();

    // The file's lines, each without its line end (and without a "\r"
    // before it), sorted best first. A file that ends with a line end also
    // gives one empty line; a missing file gives none. A file that is there
    // but cannot be read gives none either, with a warning naming it.
    void load();
    // Reads the lines of an open file into the list, unsorted.
    void read(std::FILE* file);
    // Appends the score to the list and as a line to the file, after a line
    // end of its own when the file's last line has none. A file that cannot
    // be written keeps the score in the list only, with a warning naming it.
    void addScore(i32 score);
    // "0" for an empty list, else the best line exactly as stored; valid
    // until the list changes.
    const char* getHighScore();
    std::vector<std::string> getScores() const { return scores; }

  private:
    void addLine(std::string line);
    // Writes the score's line to the file, which it closes; false when any
    // of it could not be written.
    static bool append(std::FILE* file, const std::string& text);
    void sort();

    std::vector<std::string> scores;
    std::string fileName;
};
