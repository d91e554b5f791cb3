#include "tools/converter/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

const char kNoNumber[] = "No number found\n";
const char kBadFraction[] = "Error reading fractional part\n";

// Accumulators stop taking digits here, so they never wrap.
constexpr u64 kAccumulatorLimit = (UINT64_MAX - 9) / 10;
// Exponents beyond any float and any text length are held here.
constexpr i64 kExponentLimit = 1000000000000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// 10^exponent for exponent >= 0.
f64 powerOfTen(i64 exponent) {
    static const f64 kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exponent < 23) {
        return kExact[exponent];
    }
    return std::pow(10.0, static_cast<f64>(exponent));
}

struct FloatDigits {
    i32 end = 0;   // the characters taken, with the exponent
    i32 signs = 0; // '-' and '+' before the exponent
    bool signFirst = false;
    i32 points = 0;
    bool negative = false;
    bool anyDigit = false;
    bool seenPoint = false;
    bool digitSincePoint = false;
    u64 whole = 0;
    i64 wholeDroppedDigits = 0;
    u64 fraction = 0;
    i64 fractionDigits = 0;
    i64 exponent = 0;
};

void takeFloatDigit(FloatDigits& d, u64 digit) {
    d.anyDigit = true;
    if (!d.seenPoint) {
        if (d.whole > kAccumulatorLimit) {
            ++d.wholeDroppedDigits;
        } else {
            d.whole = d.whole * 10 + digit;
        }
        return;
    }
    d.digitSincePoint = true;
    if (d.fraction <= kAccumulatorLimit) {
        d.fraction = d.fraction * 10 + digit;
        ++d.fractionDigits;
    }
}

// Reads the exponent whose 'e' stands at digits[at]: an optional sign, then
// digits. Without a digit the 'e' is no exponent and nothing is read.
// Gives the position after the exponent.
i32 takeExponent(FloatDigits& d, const char* digits, i32 at, i32 length) {
    i32 i = at + 1;
    bool negative = i < length && digits[i] == '-';
    if (i < length && (digits[i] == '-' || digits[i] == '+')) {
        ++i;
    }
    if (i >= length || !isDigit(digits[i])) {
        return at;
    }
    i64 value = 0;
    for (; i < length && isDigit(digits[i]); ++i) {
        value = std::min(value * 10 + (digits[i] - '0'), kExponentLimit);
    }
    d.exponent = negative ? -value : value;
    return i;
}

void takeSign(FloatDigits& d, char c, i32 at) {
    d.negative = d.negative || c == '-';
    d.signFirst = d.signFirst || at == 0;
    ++d.signs;
}

// Takes the characters of a number from the front of digits: digits, signs
// and points, then an exponent after a digit.
FloatDigits scanFloat(const char* digits, i32 length) {
    FloatDigits d;
    for (d.end = 0; d.end < length; ++d.end) {
        char c = digits[d.end];
        if (isDigit(c)) {
            takeFloatDigit(d, static_cast<u64>(c - '0'));
        } else if (c == '-' || c == '+') {
            takeSign(d, c, d.end);
        } else if (c == '.') {
            ++d.points;
            d.seenPoint = true;
            d.digitSincePoint = false;
            d.fractionDigits = 0;
        } else {
            if ((c == 'e' || c == 'E') && d.anyDigit) {
                d.end = takeExponent(d, digits, d.end, length);
            }
            break;
        }
    }
    return d;
}

// Whether the characters taken are a decimal as strtof reads one: a sign
// only in front, at most one point, an optional exponent.
bool isDecimal(const FloatDigits& d) {
    return d.anyDigit && d.points <= 1 && (d.signs == 0 || (d.signs == 1 && d.signFirst));
}

// The power of ten of the first significant digit of a decimal's digits,
// before its exponent (0 for a number without one).
i64 leadingPlace(const char* text, i32 end) {
    i64 wholeDigits = 0;
    i64 place = 0;
    bool point = false;
    for (i32 i = 0; i < end && text[i] != 'e' && text[i] != 'E'; ++i) {
        char c = text[i];
        if (c == '.') {
            point = true;
        } else if (isDigit(c) && !point) {
            wholeDigits += (wholeDigits > 0 || c != '0') ? 1 : 0;
        } else if (isDigit(c) && wholeDigits == 0) {
            --place;
            if (c != '0') {
                return place;
            }
        }
    }
    return wholeDigits > 0 ? wholeDigits - 1 : 0;
}

// A decimal's value as strtof gives it: rounded to the nearest float, and
// beyond the range of floats infinite or zero.
f32 readDecimal(const FloatDigits& d, const char* text) {
    const char* first = text[0] == '+' ? text + 1 : text;
    f32 value = 0.0f;
    std::from_chars_result read = std::from_chars(first, text + d.end, value);
    if (read.ec == std::errc::result_out_of_range) {
        bool tooLarge = leadingPlace(text, d.end) + d.exponent > 0;
        value = tooLarge ? std::numeric_limits<f32>::infinity() : 0.0f;
        return d.negative ? -value : value;
    }
    return value;
}

f64 scaleByExponent(f64 value, i64 exponent) {
    if (exponent >= 0) {
        return value * powerOfTen(exponent);
    }
    // Dividing by an exact power of ten keeps 1e-3 as close as 0.001.
    return exponent >= -308 ? value / powerOfTen(-exponent) : value * std::pow(10.0, exponent);
}

} // namespace

f32 parseFloat(const char* digits, i32 length) {
    FloatDigits d = scanFloat(digits, length);
    if (!d.anyDigit) {
        std::fputs(kNoNumber, stdout);
        return 0.0f;
    }
    if (isDecimal(d)) {
        return readDecimal(d, digits);
    }
    f64 sign = d.negative ? -1.0 : 1.0;
    f64 whole = static_cast<f64>(d.whole);
    if (d.wholeDroppedDigits > 0) {
        whole *= powerOfTen(d.wholeDroppedDigits);
    }
    if (!d.seenPoint) {
        return static_cast<f32>(scaleByExponent(sign * whole, d.exponent));
    }
    if (!d.digitSincePoint) {
        std::fputs(kBadFraction, stdout);
        return 0.0f;
    }
    f64 fraction = static_cast<f64>(d.fraction) / powerOfTen(d.fractionDigits);
    return static_cast<f32>(scaleByExponent((fraction + whole) * sign, d.exponent));
}

i32 parseInt(const char* digits, i32 length) {
    bool negative = false;
    bool anyDigit = false;
    i64 value = 0;
    for (i32 i = 0; i < length; ++i) {
        char c = digits[i];
        if (isDigit(c)) {
            anyDigit = true;
            value = value * 10 + (c - '0');
            if (value > INT32_MAX) {
                value = INT32_MAX;
            }
        } else if (c == '-') {
            negative = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        std::fputs(kNoNumber, stdout);
        return 0;
    }
    return static_cast<i32>(negative ? -value : value);
}
