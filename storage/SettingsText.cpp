#include "storage/SettingsText.h"

#include "storage/StorageState.h"

void ParseSettingsText(std::wstring text)
{
    const size_t length = text.size();
    // A table filled by an earlier call has no line left to fill.
    if (length + 1 > static_cast<size_t>(kSettingLineCapacity) || g_settingLineCount >= kSettingLineCapacity)
        return;
    // The walk goes over wide characters, so a character that takes two bytes
    // in the ANSI code page can never shift it; for single-byte text dropping
    // everything above 0x7F is the same as dropping the bytes 0x80..0xFF.
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        if (c == L'\0')
            break;
        if (c == L'\n') {
            if (i + 1 == length)
                continue;  // a final LF opens no new line
            if (g_settingLineCount + 1 >= kSettingLineCapacity)
                break;  // only reachable when called again on a filled table
            ++g_settingLineCount;
            continue;
        }
        if (c == L'\r' || c > 0x7F)
            continue;
        g_settingLines[g_settingLineCount].push_back(c);
    }
    ++g_settingLineCount;
}

bool IsSettingOn(const std::wstring& line) { return line != L"0"; }

bool IsGatedMessageAllowed(int showMessagesCheckState, const std::wstring& showMessagesLine)
{
    return showMessagesCheckState != 0 && IsSettingOn(showMessagesLine);
}
