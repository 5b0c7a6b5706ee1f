// Output of the console client: raw bytes to standard output, and messages
// to standard error as UTF-16 on a console or UTF-8 through a pipe or file.
#pragma once

#include <string>

namespace console {

// Writes the bytes as they are; false when they could not all be written.
bool WriteOut(const std::string& bytes);

// "numvera-drive: " and the text, and a line break, to standard error.
void Say(const std::wstring& text);

// Whether the user reads Japanese: the console's code page is 932.
bool SpeaksJapanese();

// Says the text in the user's language.
void SayInTheUsersLanguage(const std::wstring& english, const std::wstring& japanese);

// The text of a Windows error code, for messages: "(error 5: Access denied.)".
std::wstring ErrorText(unsigned long code);

}  // namespace console
