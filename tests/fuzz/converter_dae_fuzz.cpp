// Drives Meshwright's COLLADA rule engine. The first byte picks the mode:
// even reads the rest as a .dae document, as the program does, and runs the
// shipped "rules.txt" over it when its markup closes in order; odd splits the
// rest at its first zero byte into a rule program and a text that the
// program runs over whatever its markup. Every input must end in a finished
// run or a named failure, never a crash or a hang.
// The shipped rules are read from "../bin/rules.txt" (the fuzz programs run
// in <build>/fuzz).
#include "tools/converter/pwnwriter.h"
#include "tools/converter/ruleengine.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string shippedRules;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::abort();
    }
    FILE* file = std::fopen("../bin/rules.txt", "rb");
    if (file == nullptr) {
        std::abort();
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        shippedRules.append(buffer, got);
    }
    std::fclose(file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* rest = reinterpret_cast<const char*>(data + 1);
    std::size_t restSize = size - 1;
    std::string rules = shippedRules;
    std::string text(rest, restSize);
    bool shipped = (data[0] & 1) == 0;
    if (!shipped) {
        const char* zero = static_cast<const char*>(std::memchr(rest, 0, restSize));
        std::size_t split = zero != nullptr ? static_cast<std::size_t>(zero - rest) : restSize;
        rules.assign(rest, split);
        text.assign(zero != nullptr ? zero + 1 : rest + restSize, rest + restSize);
    }
    RuleEngine engine;
    if (!parseRules(engine, rules.data(), rules.size())) {
        if (engine.error.empty()) {
            std::abort();
        }
        return 0;
    }
    if (shipped && !readDocument(engine, text.c_str(), static_cast<i32>(text.size()))) {
        if (engine.error.empty()) {
            std::abort();
        }
        return 0;
    }
    PwnWriter writer;
    if (!beginOutput(writer, "/dev/null")) {
        std::abort();
    }
    NodeRecord root;
    if (!runRules(engine, text.c_str(), static_cast<i32>(text.size()), writer, root)) {
        if (engine.error.empty()) {
            std::abort();
        }
        abandonOutput(writer);
        return 0;
    }
    finishOutput(writer, root);
    return 0;
}
