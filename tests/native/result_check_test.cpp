#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "drive/NumberList.h"
#include "drive/ResultCheck.h"

namespace {

using Values = std::vector<uint32_t>;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(ResultCheck, BinaryDigitsHaveNoLeadingZeros)
{
    const struct {
        uint32_t value;
        std::string digits;
    } cases[] = {
        {0, "0"}, {1, "1"}, {2, "10"}, {12, "1100"}, {34, "100010"}, {65536, "10000000000000000"},
        {2147483647, std::string(31, '1')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BinaryDigitsOf(c.value), c.digits) << c.value;
}

// Only the exact lines of the numbers answer; an earlier result of the same
// shape, a missing or extra line, or another line end does not.
TEST(ResultCheck, OnlyTheExactLinesOfTheNumbersAnswer)
{
    const struct {
        const char* what;
        std::string result;
        Values values;
        std::string why;  // empty: it answers
    } cases[] = {
        {"two lines", "1100\r\n100010\r\n", {12, 34}, ""},
        {"zero and the largest", "0\r\n" + std::string(31, '1') + "\r\n", {0, 2147483647}, ""},
        {"a number asked twice", "101\r\n101\r\n", {5, 5}, ""},
        {"an earlier result of as many lines", "1\r\n10\r\n", {12, 34}, "line 1 is not 1100, the binary digits of 12"},
        {"one wrong digit in line 2", "1100\r\n100011\r\n", {12, 34}, "line 2 is not 100010, the binary digits of 34"},
        {"the lines swapped", "100010\r\n1100\r\n", {12, 34}, "line 1 is not 1100"},
        {"a leading zero", "01100\r\n", {12}, "line 1 is not 1100"},
        {"LF alone", "1100\n", {12}, "line 1 is not 1100"},
        {"the last line without its CR LF", "1100\r\n100010", {12, 34}, "line 2 is not 100010"},
        {"empty", "", {12, 34}, "it ends after 0 of 2 lines"},
        {"a line missing", "1100\r\n", {12, 34}, "it ends after 1 of 2 lines"},
        {"a line more", "1100\r\n100010\r\n1\r\n", {12, 34}, "it goes on after the 2 lines of the request"},
        {"a blank line more", "1100\r\n\r\n", {12}, "it goes on after the 1 lines"},
    };
    for (const auto& c : cases) {
        const std::string why = Narrow(WhyResultDoesNotAnswer(c.result, c.values));
        if (c.why.empty())
            EXPECT_EQ(why, "") << c.what;
        else
            EXPECT_EQ(why.find(c.why), 0u) << c.what << ": " << why;
    }
}

// The values the result is checked against are those the input file holds,
// leading zeros and blank lines as Numvera.exe reads them.
TEST(ResultCheck, TheNumbersKeepTheirValues)
{
    const struct {
        std::string stream;
        Values values;
    } cases[] = {
        {"12\r\n34\r\n", {12, 34}},
        {"007\n00\n", {7, 0}},
        {"\n\n5\r\n\r\n7", {5, 7}},
        {std::string(30, '0') + "2147483647\n", {2147483647}},
    };
    for (const auto& c : cases) {
        NumberList numbers;
        ASSERT_TRUE(numbers.AddStreamBytes(c.stream.data(), c.stream.size()));
        ASSERT_TRUE(numbers.FinishStream());
        EXPECT_EQ(numbers.Values(), c.values) << c.stream;
        EXPECT_EQ(numbers.Count(), c.values.size());
    }
    NumberList arguments;
    ASSERT_TRUE(arguments.AddArgument(L"0000000000000000000002147483647", 1));
    ASSERT_TRUE(arguments.AddArgument(L"9", 2));
    EXPECT_EQ(arguments.Values(), (Values{2147483647, 9}));
}
