#include "tools/converter/numbers.h"

#include "shipped.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

// Decimals in every form strtof reads: parseFloat gives strtof's bits and
// prints nothing. The same goes for a decimal followed by a character that
// ends it the same way for both ("7x9", an "e" without digits after it).
const char* const kDecimals[] = {
    "0",
    "1",
    "-0",
    "-0.0",
    "0.1",
    "3.14159",
    "-2.5",
    "14.000000",
    "00012.5000",
    // A point without digits on one side, and signs in front.
    "2.",
    "-2.",
    "+2.",
    ".5",
    "-.5",
    "+.5",
    "+1",
    "+0.25",
    // Exponents, also right after the point.
    "1.e5",
    "2.e1",
    "2.e-1",
    "-2.e+1",
    "1.E5",
    "2.5E-3",
    "-1e-006",
    "1.5E+05",
    "2.5e3",
    "1e10",
    "3.1e2",
    "6.02e23",
    "0.1e1",
    "1e0",
    // Where forming the value in double precision and rounding it again is one
    // unit off in the last place.
    "67.4e8",
    "4.8573e8",
    "0.281e10",
    "3.0350773e7",
    // Halfway between two floats, and just beside that.
    "16777217",
    "16777219",
    "16777217.000000001",
    "0.1000000014901161193847656250",
    "0.10000000149011611938476562501",
    // The largest and smallest floats and what lies beyond them.
    "3.4028235e38",
    "3.40282356e38",
    "3.4028236e38",
    "3.5e38",
    "1e39",
    "-1e39",
    "1.17549435e-38",
    "1e-45",
    "1.4e-45",
    "7.1e-46",
    "7e-46",
    "1e-50",
    "-1e-50",
    "1e99999999999",
    "-1e-99999999999",
    "0e999999999999",
    // Many digits, and digits that the exponent moves back into range.
    "12345678901",
    "12345678901234567890123",
    "0.12345678901234567890123",
    "9999999999.5",
    "123456789.123456789",
    "0.0000000000000000000000000000000000000001",
    "0.00000000000000000000000000000000000000000000000000001e50",
    "100000000000000000000000000000000000000000000000000000000000e-40",
    "100000000000000000000000000000000000000000000000000000000000e-22",
    "0.000000000000000000000000000000000000000000000000000000000001e90",
    // Ended the same way for parseFloat and strtof.
    "7x9",
    "2e",
    "2e-x",
    "2.e",
    "-.5e+",
    "1e5e3",
    "3.25\r",
};

TEST(ParseFloat, ReadsDecimalsAsStrtofDoes) {
    for (const char* text : kDecimals) {
        testing::internal::CaptureStdout();
        float value = parseFloat(text, int(std::strlen(text)));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << '"' << text << '"';
        float expected = std::strtof(text, nullptr);
        EXPECT_EQ(bits(value), bits(expected))
            << '"' << text << "\" gave " << value << ", strtof " << expected;
    }
}

// A random decimal: an optional sign, digits with an optional point (at least
// one digit), an optional exponent of up to three digits.
std::string randomDecimal(std::mt19937& random) {
    auto below = [&](unsigned n) { return random() % n; };
    auto digits = [&](std::string& text, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            text += char('0' + below(10));
        }
    };
    static const char* const kSigns[] = {"", "", "-", "+"};
    std::string text = kSigns[below(4)];
    unsigned whole = below(12), fraction = below(12);
    if (whole + fraction == 0) {
        whole = 1;
    }
    digits(text, whole);
    if (fraction > 0 || below(4) == 0) {
        text += '.';
    }
    digits(text, fraction);
    if (below(2) == 0) {
        text += below(2) ? 'e' : 'E';
        text += kSigns[below(4)];
        digits(text, 1 + below(below(4) == 0 ? 3 : 2));
    }
    return text;
}

TEST(ParseFloat, ReadsRandomDecimalsAsStrtofDoes) {
    std::mt19937 random(20240527);
    int differ = 0;
    for (int i = 0; i < 400000; ++i) {
        std::string text = randomDecimal(random);
        float value = parseFloat(text.data(), int(text.size()));
        float expected = std::strtof(text.c_str(), nullptr);
        if (bits(value) != bits(expected) && ++differ <= 10) {
            ADD_FAILURE() << '"' << text << "\" gave " << value << ", strtof " << expected;
        }
    }
    EXPECT_EQ(differ, 0);
}

struct FloatCase {
    const char* text;
    float expected;
    const char* message; // printed on standard output
};

// Texts that are no decimal as strtof reads one: stray signs and second
// points are read digit by digit, in double precision, then rounded.
const FloatCase kStrayCases[] = {
    // Any '-' before an exponent makes the number negative.
    {"1-3", -13.0f, ""},
    {"--1", -1.0f, ""},
    {"5-", -5.0f, ""},
    {"+-2.5", -2.5f, ""},
    {"5+", 5.0f, ""},
    {"3.1-2", float(-(12 / 100.0 + 3)), ""},
    // A second '.' restarts the count of fraction digits; the digits stay.
    {"1.2.3", float(23 / 10.0 + 1), ""},
    {"1-2e3", -12000.0f, ""},
    {"e5", 0.0f, "No number found\n"},
    {"", 0.0f, "No number found\n"},
    {"-", 0.0f, "No number found\n"},
    {".", 0.0f, "No number found\n"},
    {"+.e5", 0.0f, "No number found\n"},
    {"\t1.5", 0.0f, "No number found\n"},
    // A point without a digit after the last of two or more points.
    {"1.5.", 0.0f, "Error reading fractional part\n"},
    {"1..", 0.0f, "Error reading fractional part\n"},
    {"-1.2.e5", 0.0f, "Error reading fractional part\n"},
    {"2.-", 0.0f, "Error reading fractional part\n"},
};

TEST(ParseFloat, ReadsStrayCharactersDigitByDigit) {
    for (const FloatCase& c : kStrayCases) {
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
    EXPECT_EQ(parseFloat("1e57", 3), 100000.0f);
    EXPECT_EQ(parseFloat("-2.5e", 4), -2.5f);
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

// Both readers take these forms as strtof does: the OBJ reader's position
// lines and a COLLADA float array.
TEST(DecimalForms, ReadAsStrtofInObjAndCollada) {
    const std::vector<std::vector<std::string>> groups = {
        {"2.", ".5", "-.5", "1.e5", "2.e1", "2.e-1", "+1", "2.5E-3", "-2.e+1"},
        {"67.4e8", "1.E5", "+.5", "-7.", "0.281e10", "+2.e1", "1e-45", "3.5e38", "-0."},
    };
    std::string document = ReadFileText(Fixture("dae_base.dae"));
    std::size_t array = document.find("0 0 0 1 0 0 0 1 0");
    for (const std::vector<std::string>& texts : groups) {
        std::string obj, dae;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            obj += (i % 3 == 0 ? "v " : " ") + texts[i] + (i % 3 == 2 ? "\n" : "");
            dae += (i ? " " : "") + texts[i];
        }
        obj += "f 1 2 3\n";
        std::string collada = document;
        collada.replace(array, 17, dae);
        for (const auto& [name, text] : {std::pair{"forms.obj", obj}, {"forms.dae", collada}}) {
            MeshwrightRun run = ConvertTextWithShippedRules(name, text);
            ASSERT_EQ(run.status, 0) << name << ": " << run.out;
            EXPECT_EQ(run.out.find("Error"), std::string::npos) << name << ": " << run.out;
            PwnFile file = ReadOutput(run);
            // dae_base.dae places its mesh twice: the second is a copy.
            ASSERT_FALSE(file.meshes.empty()) << name;
            ASSERT_EQ(file.meshes[0].vertexCount, 3u) << name;
            for (std::size_t i = 0; i < texts.size(); ++i) {
                float value = file.meshes[0].vertex(uint32_t(i / 3))[i % 3];
                EXPECT_EQ(bits(value), bits(std::strtof(texts[i].c_str(), nullptr)))
                    << name << ": " << texts[i] << " gave " << value;
            }
        }
    }
}

// assimp's own test of number forms, when Debian's assimp-testmodels is there.
TEST(DecimalForms, AssimpNumberFormatsModel) {
    const std::string model = "/usr/share/assimp/models/OBJ/number_formats.obj";
    if (!std::ifstream(model)) {
        GTEST_SKIP() << "needs assimp-testmodels";
    }
    MeshwrightRun run = ConvertWithShippedRules(model);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "Conversion completed!\n");
    PwnFile file = ReadOutput(run);
    ASSERT_EQ(file.meshes.size(), 1u);
    const PwnMesh& mesh = file.meshes[0];
    ASSERT_EQ(mesh.indices.size(), 3u);
    std::vector<float> corners;
    for (uint32_t index : mesh.indices) {
        corners.insert(corners.end(), mesh.vertex(index), mesh.vertex(index) + 3);
    }
    EXPECT_EQ(corners, (std::vector<float>{0, 0, 0, 1, 2, 3, -1, -2, -3}));
}

} // namespace
