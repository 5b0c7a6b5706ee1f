#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/SettingsText.h"
#include "storage/StorageState.h"

namespace {

// The parser fills process-wide state; every case starts from a clean table.
class SettingsText : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override { ResetSettings(); }

    static void ResetSettings()
    {
        for (std::wstring& line : g_settingLines)
            line.clear();
        g_settingLineCount = 0;
    }

    static std::vector<std::wstring> StoredLines()
    {
        return std::vector<std::wstring>(g_settingLines, g_settingLines + g_settingLineCount);
    }
};

struct SplitCase {
    const char* what;
    std::wstring text;
    std::vector<std::wstring> lines;
};

std::wstring Latin1Upper()
{
    std::wstring text;
    for (wchar_t c = 0x80; c <= 0xFF; ++c)
        text.push_back(c);
    return text;
}

}  // namespace

TEST_F(SettingsText, SplitsLinesDroppingCarriageReturnsAndHighCharacters)
{
    const SplitCase cases[] = {
        {"CR LF between two ones", L"1\r\n1", {L"1", L"1"}},
        {"CR LF between two zeros", L"0\r\n0", {L"0", L"0"}},
        {"LF alone separates too", L"1\n0", {L"1", L"0"}},
        {"a lone CR separates nothing", L"1\r0", {L"10"}},
        {"a final CR LF opens no line", L"1\r\n0\r\n", {L"1", L"0"}},
        {"two final LFs open one empty line", L"1\n0\n\n", {L"1", L"0", L""}},
        {"empty text is one empty line", L"", {L""}},
        {"a lone LF is one empty line", L"\n", {L""}},
        {"two LFs are two empty lines", L"\n\n", {L"", L""}},
        {"leading LF gives an empty line 0", L"\n1", {L"", L"1"}},
        {"characters 0x80..0xFF are dropped", Latin1Upper() + L"1\n" + Latin1Upper() + L"0", {L"1", L"0"}},
        {"a double-byte character is dropped whole", L"1\u65E5\n\u672C0", {L"1", L"0"}},
        {"spaces and other digits stay", L" 0\n00\n7", {L" 0", L"00", L"7"}},
        {"a NUL ends the text", std::wstring(L"1\n0\0" L"\n5", 6), {L"1", L"0"}},
    };
    for (const SplitCase& c : cases) {
        ResetSettings();
        ParseSettingsText(c.text);
        EXPECT_EQ(StoredLines(), c.lines) << c.what;
        EXPECT_EQ(g_settingLineCount, static_cast<int32_t>(c.lines.size())) << c.what;
        EXPECT_TRUE(g_settingLines[c.lines.size()].empty()) << c.what << ": nothing beyond the count";
    }
}

TEST_F(SettingsText, TextOfNineThousandNineHundredNinetyNineCharactersIsSplit)
{
    const std::wstring text = L"0\n" + std::wstring(9997, L'x');
    ASSERT_EQ(text.size(), 9999u);
    ParseSettingsText(text);
    EXPECT_EQ(StoredLines(), (std::vector<std::wstring>{L"0", std::wstring(9997, L'x')}));
}

TEST_F(SettingsText, NineThousandNineHundredNinetyNineLineBreaksFillTheTable)
{
    // The most lines an accepted text can hold: the last index used is 9,998.
    ParseSettingsText(std::wstring(9998, L'\n') + L"1");
    EXPECT_EQ(g_settingLineCount, 9999);
    EXPECT_EQ(g_settingLines[9998], L"1");
    EXPECT_TRUE(g_settingLines[9997].empty());
}

TEST_F(SettingsText, TextOfTenThousandCharactersOrMoreChangesNothing)
{
    for (size_t length : {size_t{10000}, size_t{10001}, size_t{20000}}) {
        ResetSettings();
        g_settingLines[0] = L"kept";
        ParseSettingsText(L"0\n0" + std::wstring(length - 3, L'\n'));
        EXPECT_EQ(g_settingLineCount, 0) << length;
        EXPECT_EQ(g_settingLines[0], L"kept") << length;
        EXPECT_TRUE(g_settingLines[1].empty()) << length;
    }
}

TEST_F(SettingsText, SplittingStartsAtTheCurrentCount)
{
    g_settingLines[0] = L"earlier";
    g_settingLineCount = 1;
    ParseSettingsText(L"a\r\nb");
    EXPECT_EQ(StoredLines(), (std::vector<std::wstring>{L"earlier", L"a", L"b"}));
}

TEST_F(SettingsText, ACallOnAFullTableChangesNothing)
{
    g_settingLineCount = kSettingLineCapacity - 1;
    ParseSettingsText(L"last");
    ASSERT_EQ(g_settingLineCount, kSettingLineCapacity);
    ParseSettingsText(L"1\n0");  // would write past the table's end
    EXPECT_EQ(g_settingLineCount, kSettingLineCapacity);
    EXPECT_EQ(g_settingLines[kSettingLineCapacity - 1], L"last");
}

TEST(SettingValue, OnlyExactlyZeroMeansOff)
{
    struct Case {
        std::wstring line;
        bool on;
    };
    const Case cases[] = {
        {L"0", false}, {L"1", true},  {L"00", true}, {L" 0", true},
        {L"0 ", true}, {L"", true},   {L"2", true},  {L"\u00D8", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSettingOn(c.line), c.on) << "line \"" << std::string(c.line.begin(), c.line.end()) << "\"";
}

TEST(MessageGate, NeedsTheCheckBoxAndAShowMessagesLineThatIsNotZero)
{
    struct Case {
        const char* what;
        int checkState;
        std::wstring line;
        bool shown;
    };
    const Case cases[] = {
        {"checked, line 1 on", 1, L"1", true},
        {"checked, line 1 off", 1, L"0", false},
        {"unchecked, line 1 on", 0, L"1", false},
        {"checked, no settings file read", 1, L"", true},
        {"unchecked, no settings file read", 0, L"", false},
        {"indeterminate counts as checked", 2, L"1", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsGatedMessageAllowed(c.checkState, c.line), c.shown) << c.what;
}
