#include "engine/result.h"

#include "engine/memory.h"
#include "engine/scenegraph.h"
#include "engine/text.h"

#include <GLES2/gl2.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const Result kInvalidArgument = {2, "Invalid argument"};

namespace {

constexpr std::size_t kLineSize = 8192;

FILE* logFile = nullptr;
char* lastMessage = nullptr;
u32 lastMessageFlag = 0;

// Position of the '(' that opens the parameter list, skipping template
// arguments and the name of an operator.
std::size_t parameterListStart(const char* s) {
    int depth = 0;
    for (std::size_t i = 0; s[i] != 0; i++) {
        if (depth == 0 && std::strncmp(s + i, "operator", 8) == 0) {
            const char* open = std::strchr(s + i + 8, '(');
            if (open == nullptr) {
                return std::strlen(s);
            }
            std::size_t at = open - s;
            return std::strncmp(s + at, "()(", 3) == 0 ? at + 2 : at;
        }
        if (s[i] == '<') {
            depth++;
        } else if (s[i] == '>' && depth > 0) {
            depth--;
        } else if (s[i] == '(' && depth == 0) {
            return i;
        }
    }
    return std::strlen(s);
}

// Clang names an anonymous namespace "(anonymous namespace)" where gcc writes
// "{anonymous}"; the names are read in gcc's form.
const char* gccForm(const char* pretty, char* buffer, std::size_t size) {
    static const char kClang[] = "(anonymous namespace)";
    static const char kGcc[] = "{anonymous}";
    if (std::strstr(pretty, kClang) == nullptr) {
        return pretty;
    }
    std::size_t n = 0;
    for (const char* s = pretty; *s != 0 && n + 1 < size;) {
        if (std::strncmp(s, kClang, sizeof kClang - 1) == 0) {
            for (const char* g = kGcc; *g != 0 && n + 1 < size; g++) {
                buffer[n++] = *g;
            }
            s += sizeof kClang - 1;
        } else {
            buffer[n++] = *s++;
        }
    }
    buffer[n] = 0;
    return buffer;
}

} // namespace

const char* ReportFunctionName(const char* signature, char* out, std::size_t size) {
    char buffer[1024];
    const char* pretty = gccForm(signature, buffer, sizeof buffer);
    std::size_t end = parameterListStart(pretty);
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i < end; i++) {
        if (pretty[i] == '<') {
            depth++;
        } else if (pretty[i] == '>' && depth > 0) {
            depth--;
        } else if (pretty[i] == ' ' && depth == 0 && std::strncmp(pretty + i + 1, "operator", 8)) {
            start = i + 1;
        }
    }
    if (std::strncmp(pretty + start, "operator", 8) == 0 && start > 0) {
        // "T Class::operator T2()" conversion operators have a space inside.
        start = 0;
    }
    static const char kAnonymous[] = "{anonymous}::";
    if (std::strncmp(pretty + start, kAnonymous, sizeof kAnonymous - 1) == 0) {
        start += sizeof kAnonymous - 1;
    }
    std::size_t n = end - start < size - 1 ? end - start : size - 1;
    std::memcpy(out, pretty + start, n);
    out[n] = 0;
    return out;
}

void LogOpen() {
    logFile = std::fopen("log.txt", "w");
}

void LogClose() {
    if (lastMessage != nullptr) {
        MemoryFree(lastMessage);
        lastMessage = nullptr;
    }
    if (logFile != nullptr) {
        std::fclose(logFile);
        logFile = nullptr;
    }
}

void Report(Result record, const char* file, const char* function, i32 line) {
    bool error = record.severity == 2;
    char text[kLineSize];
    std::snprintf(text, sizeof text, "%s: %s (%s, %s, %d)\n", error ? "Error" : "Warning",
                  record.text, file, function, line);
    bool repeat = !error && lastMessage != nullptr && std::strcmp(text, lastMessage) == 0;
    if (!repeat) {
        std::printf("%s", text);
        std::fflush(stdout);
        if (logFile != nullptr) {
            std::fprintf(logFile, "%s", text);
            std::fflush(logFile);
        }
    }
    if (error) {
        LogClose();
        std::exit(1);
    }
    if (lastMessage != nullptr) {
        MemoryFree(lastMessage);
    }
    lastMessage = StringDuplicate(text);
    lastMessageFlag = 1;
}

const char* ReportLastMessage() {
    return lastMessageFlag != 0 ? lastMessage : nullptr;
}

void ReportDrawLast(u32 width) {
    if (!SceneGraph::isInitialized() || lastMessageFlag == 0 || lastMessage == nullptr) {
        return;
    }
    // snprintf cuts a line too long for the buffer rather than overrun it.
    char text[kLineSize];
    std::snprintf(text, sizeof text, "~c7009%s", lastMessage);
    SceneGraph::getText()->print(text, -0.95f, 0.8f, width, 50);
}

void glAssert(const char* file, const char* function, i32 line) {
    GLenum code = glGetError();
    if (code == GL_NO_ERROR) {
        return;
    }
    char name[256];
    char text[4096];
    std::snprintf(text, sizeof text, "GL Assertion failed in %s, %s on line %d with error code %x",
                  file, ReportFunctionName(function, name, sizeof name), line, code);
    Report(Result{1, text}, ReportBaseName(__FILE__), "glAssert", __LINE__);
    std::printf("%x\n", code);
}
