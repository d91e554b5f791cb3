// Meshwright <input> <output>: converts a Wavefront .obj model, or a COLLADA
// .dae model walked by the rule program "rules.txt", into the engine's .pwn
// format, tracing every step into "debug.txt".
#include "tools/converter/interrupts.h"
#include "tools/converter/objreader.h"
#include "tools/converter/pwnwriter.h"
#include "tools/converter/records.h"
#include "tools/converter/ruleengine.h"
#include "tools/converter/trace.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace {

const char kUsage[] = "Usage: Meshwright <input> <output>\n";
const char kFormats[] = "Supporter formats:\n  .obj\n  .dae\n]\n";
const char kNoInput[] = "Unable to open input file\n";
const char kUnreadableInput[] = "Unable to read input file\n";
const char kSameFile[] = "The output file is the input file\n";
const char kNoOutput[] = "Unable to open output file\n";
const char kWriteFailed[] = "Unable to write output file\n";
const char kTooLarge[] = "The input file is too large\n";
const char kUtf16[] =
    "The input file is UTF-16 text, which is not read: save it as UTF-8 and convert it again\n";
const char kUtf32[] =
    "The input file is UTF-32 text, which is not read: save it as UTF-8 and convert it again\n";
const char kCompleted[] = "Conversion completed!\n";

enum class InputFormat { Obj, Dae, Unknown };

int stop(const char* message) {
    std::fputs(message, stdout);
    traceClose();
    return 1;
}

int usage() {
    std::fputs(kUsage, stdout);
    return stop(kFormats);
}

InputFormat formatOf(const char* path) {
    const char* dot = std::strrchr(path, '.');
    if (dot != nullptr && strcasecmp(dot, ".obj") == 0) {
        return InputFormat::Obj;
    }
    if (dot != nullptr && strcasecmp(dot, ".dae") == 0) {
        return InputFormat::Dae;
    }
    return InputFormat::Unknown;
}

bool isDirectory(FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

bool sameFile(FILE* input, const char* outputPath) {
    struct stat in, out;
    return fstat(fileno(input), &in) == 0 && stat(outputPath, &out) == 0 &&
           in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

// The whole input, with one zero byte after it.
bool readAll(FILE* input, std::vector<char>& text) {
    constexpr std::size_t kBlock = 1 << 20;
    std::size_t size = 0;
    for (;;) {
        text.resize(size + kBlock + 1);
        std::size_t got = std::fread(text.data() + size, 1, kBlock, input);
        size += got;
        if (got < kBlock) {
            break;
        }
    }
    text.resize(size + 1);
    text[size] = 0;
    bool ok = std::ferror(input) == 0;
    std::fclose(input);
    return ok;
}

// Whether text is in a code of units of width bytes (2: UTF-16, 4: UTF-32):
// it starts with that code's byte order mark, or its first characters are
// ASCII ones whose other bytes are zero, in either byte order.
bool isUnicodeOfWidth(const std::vector<char>& text, std::size_t width) {
    std::size_t size = text.size() - 1;
    if (size < width) {
        return false;
    }
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    auto zeros = [&](std::size_t from, std::size_t to) {
        return std::all_of(text.begin() + static_cast<long>(from),
                           text.begin() + static_cast<long>(to), [](char c) { return c == 0; });
    };
    std::size_t last = width - 1;
    bool littleMark = byte(0) == 0xFF && byte(1) == 0xFE && zeros(2, width);
    bool bigMark = zeros(0, width - 2) && byte(last - 1) == 0xFE && byte(last) == 0xFF;
    if (littleMark || bigMark) {
        return true;
    }
    std::size_t units = std::min<std::size_t>(size / width, 16);
    bool little = true;
    bool big = true;
    for (std::size_t u = 0; u < units; ++u) {
        std::size_t at = u * width;
        little = little && byte(at) != 0 && zeros(at + 1, at + width);
        big = big && zeros(at, at + last) && byte(at + last) != 0;
    }
    return little || big;
}

// Where the text starts: after a UTF-8 byte order mark, when there is one.
std::size_t textStart(const std::vector<char>& text) {
    return text.size() > 3 && std::memcmp(text.data(), "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

int convertObj(const std::vector<char>& text, PwnWriter& writer, NodeRecord& root) {
    ObjReader reader;
    std::size_t start = textStart(text);
    if (!readObj(reader, text.data() + start, text.size() - 1 - start)) {
        abandonOutput(writer);
        return stop(reader.error.c_str());
    }
    writeObjModel(reader, writer, root);
    return 0;
}

int convertDae(const std::vector<char>& text, PwnWriter& writer, NodeRecord& root) {
    if (text.size() - 1 > static_cast<std::size_t>(INT32_MAX)) {
        abandonOutput(writer);
        return stop(kTooLarge);
    }
    RuleEngine engine;
    i32 length = static_cast<i32>(text.size() - 1);
    if (!readRules(engine) || !readDocument(engine, text.data(), length) ||
        !runRules(engine, text.data(), length, writer, root)) {
        abandonOutput(writer);
        return stop(engine.error.c_str());
    }
    return 0;
}

// Reads the input, converts it into the begun output and finishes that.
int convert(FILE* input, const char* inputPath, PwnWriter& writer) {
    std::vector<char> text;
    if (!readAll(input, text)) {
        abandonOutput(writer);
        return stop(kUnreadableInput);
    }
    // UTF-32 first: its byte order mark begins with UTF-16's.
    for (auto [width, message] : {std::pair{4, kUtf32}, std::pair{2, kUtf16}}) {
        if (isUnicodeOfWidth(text, static_cast<std::size_t>(width))) {
            abandonOutput(writer);
            return stop(message);
        }
    }
    NodeRecord root;
    int status = 1;
    switch (formatOf(inputPath)) {
    case InputFormat::Obj:
        status = convertObj(text, writer, root);
        break;
    case InputFormat::Dae:
        status = convertDae(text, writer, root);
        break;
    case InputFormat::Unknown:
        abandonOutput(writer);
        return usage();
    }
    if (status != 0) {
        return status;
    }
    text = std::vector<char>();
    if (!finishOutput(writer, root)) {
        return stop(writer.refusal.empty() ? kWriteFailed : writer.refusal.c_str());
    }
    traceClose();
    std::fputs(kCompleted, stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    catchInterrupts();
    traceOpen("debug.txt");
    if (argc != 3) {
        return usage();
    }
    FILE* input = std::fopen(argv[1], "rb");
    if (input == nullptr || isDirectory(input)) {
        if (input != nullptr) {
            std::fclose(input);
        }
        std::fputs(kNoInput, stdout);
        return usage();
    }
    if (sameFile(input, argv[2])) {
        std::fclose(input);
        return stop(kSameFile);
    }
    PwnWriter writer;
    if (!beginOutput(writer, argv[2])) {
        std::fclose(input);
        return stop(kNoOutput);
    }
    try {
        return convert(input, argv[1], writer);
    } catch (...) {
        // Out of memory, for one: the program still ends as it would, but
        // leaves no temporary output behind.
        abandonOutput(writer);
        throw;
    }
}
