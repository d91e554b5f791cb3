#include "tools/converter/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const char kNoNumber[] = "No number found\n";
const char kBadFraction[] = "Error reading fractional part\n";

// Accumulators stop taking digits here, so they never wrap.
constexpr u64 kAccumulatorLimit = (UINT64_MAX - 9) / 10;
// Exponents beyond any float are held here.
constexpr i64 kExponentLimit = 100000;

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
void takeExponent(FloatDigits& d, const char* digits, i32 at, i32 length) {
    i32 i = at + 1;
    bool negative = i < length && digits[i] == '-';
    if (i < length && (digits[i] == '-' || digits[i] == '+')) {
        ++i;
    }
    if (i >= length || !isDigit(digits[i])) {
        return;
    }
    i64 value = 0;
    for (; i < length && isDigit(digits[i]); ++i) {
        value = std::min(value * 10 + (digits[i] - '0'), kExponentLimit);
    }
    d.exponent = negative ? -value : value;
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
    FloatDigits d;
    for (i32 i = 0; i < length; ++i) {
        char c = digits[i];
        if (isDigit(c)) {
            takeFloatDigit(d, static_cast<u64>(c - '0'));
        } else if (c == '-') {
            d.negative = true;
        } else if (c == '+') {
            continue;
        } else if (c == '.') {
            d.seenPoint = true;
            d.digitSincePoint = false;
            d.fractionDigits = 0;
        } else {
            if ((c == 'e' || c == 'E') && d.anyDigit) {
                takeExponent(d, digits, i, length);
            }
            break;
        }
    }
    if (!d.anyDigit) {
        std::fputs(kNoNumber, stdout);
        return 0.0f;
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
