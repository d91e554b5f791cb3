#pragma once

#include "engine/types.h"

#include <cstddef>

// A report record: severity 1 is a warning, 2 an error (which ends the
// program with status 1).
struct Result {
    u32 severity;
    const char* text;
};

// The error of a call given an empty name or another argument it cannot
// take.
extern const Result kInvalidArgument;

void LogOpen();
void LogClose();
void Report(Result record, const char* file, const char* function, i32 line);
// function: the reporting function's name, or the compiler's pretty
// signature of it (reduced to "Class::method").
void glAssert(const char* file, const char* function, i32 line);

// The last report line, or null before the first report.
const char* ReportLastMessage();
// Queues the last report line in red on the registry's text printer, at
// the top left of the screen, wrapped at width pixels; nothing before the
// registry is initialised or before the first report.
void ReportDrawLast(u32 width);

// "Class::method" (or the plain function name) from a compiler's pretty
// function signature, written into out.
const char* ReportFunctionName(const char* signature, char* out, std::size_t size);

constexpr const char* ReportBaseName(const char* path) {
    const char* base = path;
    for (const char* p = path; *p != 0; p++) {
        if (*p == '/' || *p == '\\') {
            base = p + 1;
        }
    }
    return base;
}

// Reports a Result with the file, function and line of the place that names it.
#define REPORT(record)                                                                             \
    do {                                                                                           \
        char reportFunction_[256];                                                                 \
        Report(record, ReportBaseName(__FILE__),                                                   \
               ReportFunctionName(__PRETTY_FUNCTION__, reportFunction_, sizeof reportFunction_),   \
               __LINE__);                                                                          \
    } while (0)

// Checks the GPU error state after a group of GL calls. It runs after every
// group of calls, so the function's name is only worked out from the pretty
// signature when there is an error to report.
#define GL_ASSERT()                                                                                \
    do {                                                                                           \
        static constexpr const char* reportFile_ = ReportBaseName(__FILE__);                       \
        glAssert(reportFile_, __PRETTY_FUNCTION__, __LINE__);                                      \
    } while (0)
