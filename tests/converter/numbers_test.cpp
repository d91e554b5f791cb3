#include "tools/converter/numbers.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

struct FloatCase {
    const char* text;
    float expected;
    const char* message; // printed on standard output
};

// Expected values are what the specified arithmetic gives: the fraction over
// its power of ten plus the whole part, in double precision, then rounded.
const FloatCase kFloatCases[] = {
    {"0", 0.0f, ""},
    {"1", 1.0f, ""},
    {"-0.0", -0.0f, ""},
    {"-0", -0.0f, ""},
    {"0.1", float(1 / 10.0), ""},
    {"3.14159", float(14159 / 100000.0 + 3), ""},
    {"-2.5", -2.5f, ""},
    {"14.000000", 14.0f, ""},
    {"123456789.123456789", float(123456789 / 1e9 + 123456789), ""},
    {"0.000001", float(1 / 1e6), ""},
    // Any '-' before an exponent makes the number negative.
    {"1-3", -13.0f, ""},
    {"--1", -1.0f, ""},
    {"5-", -5.0f, ""},
    // A second '.' restarts the count of fraction digits; the digits stay.
    {"1.2.3", float(23 / 10.0 + 1), ""},
    // Parsing stops at the first other character.
    {"7x9", 7.0f, ""},
    // Exponents, as exporters write them.
    {"2.5e3", 2500.0f, ""},
    {"-1e-006", -1e-6f, ""},
    {"1.5E+05", 150000.0f, ""},
    {"+0.25", 0.25f, ""},
    {"6.02e23", 6.02e23f, ""},
    {"3.4028235e38", 3.4028235e38f, ""},
    {"1e-45", 1e-45f, ""},
    {"-7.105427357601002e-15", -7.105427357601002e-15f, ""},
    {"1e99999999999", INFINITY, ""},
    {"1e-99999999999", 0.0f, ""},
    // An 'e' without digits after it ends the number.
    {"2e", 2.0f, ""},
    {"2e-x", 2.0f, ""},
    {"e5", 0.0f, "No number found\n"},
    // More than nine digits do not wrap around.
    {"12345678901", 12345678901.0f, ""},
    {"12345678901234567890123", 12345678901234567890123.0f, ""},
    {"0.12345678901234567890123", 0.12345678901234567890123f, ""},
    {"9999999999.5", 9999999999.5f, ""},
    {"0.0000000000000000000000000000000000000001", 1e-40f, ""},
    {"", 0.0f, "No number found\n"},
    {"-", 0.0f, "No number found\n"},
    {".", 0.0f, "No number found\n"},
    {"1.", 0.0f, "Error reading fractional part\n"},
    {"1.5.", 0.0f, "Error reading fractional part\n"},
};

TEST(ParseFloat, GivesTheSpecifiedBitsAndMessages) {
    for (const FloatCase& c : kFloatCases) {
        testing::internal::CaptureStdout();
        float value = parseFloat(c.text, int(std::strlen(c.text)));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(bits(value), bits(c.expected)) << '"' << c.text << "\" gave " << value;
        EXPECT_EQ(out, c.message) << '"' << c.text << '"';
    }
}

TEST(ParseFloat, ReadsNoMoreThanTheLength) {
    EXPECT_EQ(parseFloat("12345", 2), 12.0f);
    EXPECT_EQ(parseFloat("1.75", 3), 1.7f);
}

TEST(ParseInt, ReadsDigitsAndSignWithoutWrapping) {
    struct Case {
        const char* text;
        int expected;
        const char* message;
    } cases[] = {
        {"42", 42, ""},
        {"-7", -7, ""},
        {"7-", -7, ""},
        {"12.5", 12, ""},
        {"999999999", 999999999, ""},
        {"99999999999", INT32_MAX, ""},
        {"4294967297", INT32_MAX, ""},
        {"-99999999999", -INT32_MAX, ""},
        {"", 0, "No number found\n"},
        {"x1", 0, "No number found\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        int value = parseInt(c.text, int(std::strlen(c.text)));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
    }
}

} // namespace
