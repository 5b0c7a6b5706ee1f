#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "autorun/BatchText.h"
#include "convert/DecimalToBinary.h"

namespace {

using Values = std::vector<int64_t>;

// The whole text pipeline of a batch run, from the admitted input text to
// the result bytes.
std::string ResultOf(std::wstring text)
{
    TrimTrailingLineBreaks(text);
    return BuildResultBytes(ReadInputLines(text).values);
}

}  // namespace

TEST(BatchText, ResultBytesOfTheTypicalInputs)
{
    const struct {
        std::wstring input;
        std::string result;
    } cases[] = {
        {L"12\r\n34\r\n", "1100\r\n100010\r\n"},
        {L"12\n34", "1100\r\n100010\r\n"},
        {L"5\n\n\n7\n\n", "101\r\n111\r\n"},
        {L"1\r0\n", "1010\r\n"},  // a CR inside a line is dropped, the digits join
        {L"007", "111\r\n"},
        {std::wstring(24, L'0') + L"7", "111\r\n"},
        {L"0", "0\r\n"},
        {L"\r\n\r\n", ""},
        {L"", ""},
        {L"\n\r\n\r9", "1001\r\n"},  // leading blank lines
        {L"2147483647", std::string(31, '1') + "\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResultOf(c.input), c.result) << "input of " << c.input.size() << " characters";
}

TEST(BatchText, TrimmingRemovesOnlyTrailingLineBreaks)
{
    const struct {
        std::wstring input, trimmed;
    } cases[] = {
        {L"12\r\n34\r\n", L"12\r\n34"}, {L"\r\n\n\r", L""}, {L"", L""}, {L"\r\n5", L"\r\n5"}, {L"5\r\r\r", L"5"},
    };
    for (auto c : cases) {
        TrimTrailingLineBreaks(c.input);
        EXPECT_EQ(c.input, c.trimmed);
    }
}

TEST(BatchText, LinesAreCountedAsLineFeedsPlusOneAndEmptyOnesDropped)
{
    const struct {
        std::wstring text;
        int64_t lineCount;
        Values values;
    } cases[] = {
        {L"", 1, {}},
        {L"12\r\n34", 2, {12, 34}},
        {L"5\n\n\n7", 4, {5, 7}},
        {L"\r", 1, {}},
        {L"\n5\n\r\n7\r", 4, {5, 7}},
        {L"1\r0", 1, {10}},
        {L"0\n00\n", 3, {0, 0}},
    };
    for (const auto& c : cases) {
        const InputLines lines = ReadInputLines(c.text);
        EXPECT_EQ(lines.lineCount, c.lineCount) << "text of " << c.text.size() << " characters";
        EXPECT_EQ(lines.values, c.values) << "text of " << c.text.size() << " characters";
    }
}

TEST(BatchText, LargestValueSaturatesAt64Bits)
{
    const struct {
        std::wstring text;
        int64_t largest;
    } cases[] = {
        {L"", 0},
        {L"12\n34", 34},
        {L"34\n12", 34},
        {L"0", 0},
        {L"2147483647", 2147483647},
        {L"1\n2147483648\n3", 2147483648},
        {std::wstring(25, L'9'), INT64_MAX},
        {L"9223372036854775807", INT64_MAX},
        {L"9223372036854775808", INT64_MAX},
        {L"0000000000000000000000000000009", 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadInputLines(c.text).largest, c.largest) << "text of " << c.text.size() << " characters";
    EXPECT_GT(ReadInputLines(std::wstring(25, L'9')).largest, kLargestValue);
}

// The batch formats values itself; it must agree with the convert button's
// routine for every line it accepts.
TEST(BatchText, ResultLinesAgreeWithTheConversionRoutine)
{
    std::mt19937_64 random(99);
    std::uniform_int_distribution<int64_t> values(0, kLargestValue);
    for (int i = 0; i < 100000; ++i) {
        const int64_t value = i < 64 ? i : (i < 96 ? kLargestValue - (i - 64) : values(random));
        const std::wstring line = std::wstring(random() % 3, L'0') + std::to_wstring(value);
        const std::wstring converted = ConvertDecimalToBinary(line);
        ASSERT_EQ(BuildResultBytes({value}), std::string(converted.begin(), converted.end()) + "\r\n") << value;
    }
}

TEST(BatchText, CharacterCheckAdmitsDigitsAndLineBreaksOnly)
{
    const struct {
        std::wstring text;
        bool admitted;
    } cases[] = {
        {L"12\r\n34\r\n", true}, {L"", true},       {L"\r\n\r\n", true},   {L"0123456789", true},
        {L"12 ", false},         {L"-5", false},    {L"+1", false},        {L"1.5", false},
        {L"1,5", false},         {L"1\t2", false},  {L"\xFF11", false},    {L"\xFEFF" L"12", false},
        {std::wstring(L"1\0" L"2", 3), false},      {L"12\x3000", false},  {L"a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDigitsAndLineBreaksOnly(c.text), c.admitted) << "text of " << c.text.size() << " characters";
}

TEST(BatchText, RandomInputsMatchAReferenceConversion)
{
    std::mt19937_64 random(4242);
    std::uniform_int_distribution<int64_t> values(0, kLargestValue);
    const wchar_t* breaks[] = {L"\r\n", L"\n", L"\n\n", L"\r\n\r\n"};
    for (int round = 0; round < 200; ++round) {
        std::wstring text;
        std::string expected;
        const int lines = static_cast<int>(random() % 50);
        for (int i = 0; i < lines; ++i) {
            const int64_t value = values(random);
            std::wstring digits = std::wstring(random() % 3, L'0') + std::to_wstring(value);
            if (random() % 4 == 0 && digits.size() > 1)
                digits.insert(digits.size() / 2, L"\r");  // a CR inside a line is dropped
            text += digits + breaks[random() % 4];
            std::string bits;
            for (int64_t rest = value; rest > 0; rest /= 2)
                bits.insert(bits.begin(), static_cast<char>('0' + rest % 2));
            expected += (bits.empty() ? "0" : bits) + "\r\n";
        }
        EXPECT_EQ(ResultOf(text), expected) << "round " << round;
    }
}
