#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "convert/DecimalToBinary.h"

namespace {

// An independent reference: the bits of the value, most significant first.
std::wstring ReferenceBinary(int64_t value)
{
    std::wstring sign = value < 0 ? L"-" : L"";
    uint64_t magnitude = static_cast<uint64_t>(value < 0 ? -value : value);
    std::wstring bits;
    for (int bit = 63; bit >= 0; --bit) {
        if ((magnitude >> bit) & 1u)
            bits += L'1';
        else if (!bits.empty())
            bits += L'0';
    }
    return sign + (bits.empty() ? L"0" : bits);
}

struct Example {
    const wchar_t* input;
    const wchar_t* expected;
};

const std::wstring kThirtyOneOnes(31, L'1');
const std::wstring kMinimum = L"-1" + std::wstring(31, L'0');

}  // namespace

TEST(ConvertDecimalToBinary, WorkedExamples)
{
    const Example examples[] = {
        {L"10", L"1010"},      {L"0", L"0"},
        {L"", L"0"},           {L"abc", L"0"},
        {L"1", L"1"},          {L"2", L"10"},
        {L"5", L"101"},        {L"255", L"11111111"},
        {L"1024", L"10000000000"}, {L"007", L"111"},
        {L"  12", L"1100"},    {L"+5", L"101"},
        {L"12abc", L"1100"},   {L"3.9", L"11"},
    };
    for (const Example& example : examples)
        EXPECT_EQ(ConvertDecimalToBinary(example.input), example.expected) << "input: \"" << example.input << "\"";
}

TEST(ConvertDecimalToBinary, ClampsAtBothEndsOfTheSigned32BitRange)
{
    const Example examples[] = {
        {L"2147483647", kThirtyOneOnes.c_str()},
        {L"2147483648", kThirtyOneOnes.c_str()},
        {L"99999999999", kThirtyOneOnes.c_str()},
        {L"9999999999999999999999999999999999", kThirtyOneOnes.c_str()},
        {L"00000000000000000000002147483647", kThirtyOneOnes.c_str()},
        {L"-2147483648", kMinimum.c_str()},
        {L"-2147483649", kMinimum.c_str()},
        {L"-99999999999999999999999", kMinimum.c_str()},
    };
    for (const Example& example : examples)
        EXPECT_EQ(ConvertDecimalToBinary(example.input), example.expected) << "input: \"" << example.input << "\"";
}

TEST(ConvertDecimalToBinary, WhiteSpaceSignsAndTrailingText)
{
    const Example examples[] = {
        {L"\t\n\v\f\r 9", L"1001"},   // every ASCII white-space character
        {L"12\r\n34", L"1100"},       // a pasted second line is ignored
        {L"  +0", L"0"},
        {L"-0", L"0"},
        {L"+-5", L"0"},               // only one sign is taken
        {L"--5", L"0"},
        {L"- 5", L"0"},               // no blank between sign and digits
        {L"+", L"0"},
        {L"-", L"0"},
        {L"5 6", L"101"},
        {L"\x3000" L"5", L"0"},       // only ASCII white space is skipped
        {L"\xFF15", L"0"},            // a full-width digit is not a digit
        {L"1\xFF10", L"1"},
        {L"7\0" L"8", L"111"},        // the field's text ends at the first NUL
    };
    for (const Example& example : examples)
        EXPECT_EQ(ConvertDecimalToBinary(example.input), example.expected) << "input: \"" << example.input << "\"";
}

TEST(ConvertDecimalToBinary, NegativeValuesGiveASignAndTheMagnitude)
{
    const Example examples[] = {
        {L"-1", L"-1"}, {L"-2", L"-10"}, {L"-5", L"-101"}, {L"  -255xyz", L"-11111111"},
        {L"-2147483647", L"-1111111111111111111111111111111"},
    };
    for (const Example& example : examples)
        EXPECT_EQ(ConvertDecimalToBinary(example.input), example.expected) << "input: \"" << example.input << "\"";
}

TEST(ConvertDecimalToBinary, EveryValueUpToTwoToTheTwentieth)
{
    for (int64_t value = 0; value <= (int64_t{1} << 20); ++value) {
        const std::wstring result = ConvertDecimalToBinary(std::to_wstring(value));
        ASSERT_EQ(result, ReferenceBinary(value)) << "value " << value;
        if (value >= 1)
            ASSERT_EQ(result.front(), L'1') << "value " << value;
    }
}

TEST(ConvertDecimalToBinary, Random31BitValuesBothSigns)
{
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int64_t> values(-(int64_t{1} << 31), (int64_t{1} << 31) - 1);
    for (int i = 0; i < 200000; ++i) {
        const int64_t value = values(random);
        const std::wstring result = ConvertDecimalToBinary(std::to_wstring(value));
        ASSERT_EQ(result, ReferenceBinary(value)) << "value " << value;
        ASSERT_LE(result.size(), value < 0 ? 33u : 31u);
    }
}

TEST(ConvertDecimalToBinary, LeavesTheCallersTextAlone)
{
    const std::wstring text = L"  0042\r\nrest";
    const std::wstring copy = text;
    EXPECT_EQ(ConvertDecimalToBinary(text), L"101010");
    EXPECT_EQ(text, copy);
}

TEST(ParseDecimalClamped, MatchesTheRunTimeRules)
{
    const struct {
        const wchar_t* input;
        int32_t expected;
    } cases[] = {
        {L"", 0},           {L"x1", 0},          {L" \t42", 42},
        {L"-42", -42},      {L"2147483646", 2147483646},
        {L"2147483647", 2147483647},            {L"2147483648", 2147483647},
        {L"-2147483647", -2147483647},          {L"-2147483648", INT32_MIN},
        {L"-2147483649", INT32_MIN},            {L"000000000000000000000000001", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimalClamped(c.input), c.expected) << "input: \"" << c.input << "\"";
}
