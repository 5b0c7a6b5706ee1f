// The text work of a batch run: the input check, trimming, splitting into
// lines, the largest value, the result bytes and the progress arithmetic.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every character is a decimal digit, CR or LF (an empty text passes).
bool IsDigitsAndLineBreaksOnly(const std::wstring& text);

// Removes every CR and LF from the end of the text.
void TrimTrailingLineBreaks(std::wstring& text);

// The lines of a trimmed text: LF ends a line, CR is dropped wherever it
// stands. The number of lines is the number of LFs plus one.
std::vector<std::wstring> SplitIntoLines(const std::wstring& text);

// The non-empty lines, in their order.
std::vector<std::wstring> DropEmptyLines(std::vector<std::wstring> lines);

// The largest value of the lines read as decimal numbers, saturating at the
// largest signed 64-bit value; 0 without lines.
int64_t LargestLineValue(const std::vector<std::wstring>& lines);

// The largest value the conversion takes.
constexpr int64_t kLargestConvertibleValue = 2147483647;

// The result file's bytes: each line's binary digits followed by CR LF.
std::string BuildResultBytes(const std::vector<std::wstring>& lines);

// Position over maximum in double precision, times 100, truncated.
int ProgressPercent(int64_t position, int64_t maximum);

// "進捗率　" (ending in an ideographic space), the percent, " %".
std::wstring ProgressLabel(int64_t position, int64_t maximum);
