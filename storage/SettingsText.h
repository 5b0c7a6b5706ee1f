// The settings text: its splitting into lines and the meaning of a line.
// Portable: no Windows header.
#pragma once

#include <string>

// What each line of the settings file holds; further lines are kept unused.
constexpr int kAutoRunSettingLine = 0;       // whether the auto-run box starts checked
constexpr int kShowMessagesSettingLine = 1;  // whether automatic runs show their messages

// Splits the text into g_settingLines from index g_settingLineCount on, and
// leaves g_settingLineCount at the number of lines stored. Lines end at LF; a
// final LF opens no new line. CR and every character above 0x7F are dropped,
// a NUL ends the text. A text of 10,000 characters or more, or any text once
// the table is full, changes nothing.
void ParseSettingsText(std::wstring text);

// A settings line means off only when it is exactly "0".
bool IsSettingOn(const std::wstring& line);

// Whether a gated message may be shown, given the check state of the
// show-messages box and the show-messages line of the settings.
bool IsGatedMessageAllowed(int showMessagesCheckState, const std::wstring& showMessagesLine);
