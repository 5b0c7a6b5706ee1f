#include <gtest/gtest.h>

#include <string>

#include "drive/NumberList.h"
#include "drive/ResultCheck.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

// Only the exact lines of the numbers answer; an earlier result of the same
// shape, a missing or extra line, or another line end does not. The numbers
// are read as the client reads them, leading zeros and blank lines as
// Numvera.exe reads them.
TEST(ResultCheck, OnlyTheExactLinesOfTheNumbersAnswer)
{
    const struct {
        const char* what;
        std::string numbers;  // as given on standard input or in a file
        std::string result;
        std::string why;  // empty: it answers
    } cases[] = {
        {"two lines", "12\r\n34\r\n", "1100\r\n100010\r\n", ""},
        {"zero and the largest", "0\n2147483647", "0\r\n" + std::string(31, '1') + "\r\n", ""},
        {"a number asked twice", "5\n5\n", "101\r\n101\r\n", ""},
        {"leading zeros and blank lines", "\n\n007\r\n\r\n00\n" + std::string(30, '0') + "65536",
         "111\r\n0\r\n10000000000000000\r\n", ""},
        {"an earlier result of as many lines", "12\n34", "1\r\n10\r\n", "line 1 is not 1100, the binary digits of 12"},
        {"one wrong digit in line 2", "12\n34", "1100\r\n100011\r\n", "line 2 is not 100010, the binary digits of 34"},
        {"the lines swapped", "12\n34", "100010\r\n1100\r\n", "line 1 is not 1100"},
        {"a leading zero", "12", "01100\r\n", "line 1 is not 1100"},
        {"LF alone", "12", "1100\n", "line 1 is not 1100"},
        {"the last line without its CR LF", "12\n34", "1100\r\n100010", "line 2 is not 100010"},
        {"empty", "12\n34", "", "it ends after 0 of 2 lines"},
        {"a line missing", "12\n34", "1100\r\n", "it ends after 1 of 2 lines"},
        {"a line more", "12\n34", "1100\r\n100010\r\n1\r\n", "it goes on after the 2 lines of the request"},
        {"a blank line more", "12", "1100\r\n\r\n", "it goes on after the 1 lines"},
    };
    for (const auto& c : cases) {
        NumberList numbers;
        ASSERT_TRUE(numbers.AddStreamBytes(c.numbers.data(), c.numbers.size())) << c.what;
        ASSERT_TRUE(numbers.FinishStream()) << c.what;
        const std::string why = Narrow(WhyResultDoesNotAnswer(c.result, numbers.Values()));
        if (c.why.empty())
            EXPECT_EQ(why, "") << c.what;
        else
            EXPECT_EQ(why.find(c.why), 0u) << c.what << ": " << why;
    }
}
