#include "tools/converter/trace.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

FILE* traceFile = nullptr;
constexpr std::size_t kTraceBuffer = 1 << 20;
constexpr std::size_t kChunk = 8192;

std::size_t formatUnsigned(u64 value, char* out) {
    char digits[24];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = digits[n - 1 - i];
    }
    return n;
}

std::size_t formatInt(i32 value, char* out) {
    if (value < 0) {
        out[0] = '-';
        return 1 + formatUnsigned(static_cast<u64>(-static_cast<i64>(value)), out + 1);
    }
    return formatUnsigned(static_cast<u64>(value), out);
}

// The float times 1000, rounded to the nearest integer with ties to even,
// as printf rounds the exact binary value. Only for |value| < 2^31.
u64 thousandths(f32 value) {
    u32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    u32 biased = (bits >> 23) & 0xff;
    u64 mantissa = bits & 0x7fffff;
    i32 exponent = -149;
    if (biased != 0) {
        mantissa |= 0x800000;
        exponent = static_cast<i32>(biased) - 150;
    }
    u64 scaled = mantissa * 1000;
    if (exponent >= 0) {
        return scaled << exponent;
    }
    i32 shift = -exponent;
    if (shift >= 64) {
        return 0;
    }
    u64 quotient = scaled >> shift;
    u64 remainder = scaled - (quotient << shift);
    u64 half = u64{1} << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
        ++quotient;
    }
    return quotient;
}

template <typename Format> void traceValues(std::size_t count, Format format) {
    if (traceFile == nullptr) {
        return;
    }
    char chunk[kChunk];
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (used > kChunk - 80) {
            std::fwrite(chunk, 1, used, traceFile);
            used = 0;
        }
        chunk[used++] = '[';
        used += format(i, chunk + used);
        chunk[used++] = ']';
    }
    std::fwrite(chunk, 1, used, traceFile);
}

} // namespace

bool traceOpen(const char* path) {
    traceClose();
    traceFile = std::fopen(path, "w");
    if (traceFile == nullptr) {
        return false;
    }
    std::setvbuf(traceFile, nullptr, _IOFBF, kTraceBuffer);
    return true;
}

void traceClose() {
    if (traceFile != nullptr) {
        std::fclose(traceFile);
        traceFile = nullptr;
    }
}

void traceText(const char* text) {
    if (traceFile != nullptr) {
        std::fputs(text, traceFile);
    }
}

void tracePrint(const char* format, ...) {
    if (traceFile == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vfprintf(traceFile, format, args);
    va_end(args);
}

void traceInts(const u32* values, std::size_t count) {
    traceValues(count, [values](std::size_t i, char* out) {
        return formatInt(static_cast<i32>(values[i]), out);
    });
}

void traceFloats(const f32* values, std::size_t count) {
    traceValues(count, [values](std::size_t i, char* out) { return formatFixed3(values[i], out); });
}

std::size_t formatFixed3(f32 value, char* out) {
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0f) {
        return static_cast<std::size_t>(std::snprintf(out, 64, "%.3f", static_cast<f64>(value)));
    }
    std::size_t n = 0;
    if (std::signbit(value)) {
        out[n++] = '-';
    }
    u64 scaled = thousandths(std::fabs(value));
    n += formatUnsigned(scaled / 1000, out + n);
    u64 decimals = scaled % 1000;
    out[n++] = '.';
    out[n++] = static_cast<char>('0' + decimals / 100);
    out[n++] = static_cast<char>('0' + decimals / 10 % 10);
    out[n++] = static_cast<char>('0' + decimals % 10);
    return n;
}
