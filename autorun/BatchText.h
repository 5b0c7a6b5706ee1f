// The text work of a batch run: the input check, trimming, reading the lines,
// the largest value and the result bytes. Portable: no Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/FileProtocol.h"

// Every character is a decimal digit, CR or LF (an empty text passes).
bool IsDigitsAndLineBreaksOnly(const std::wstring& text);

// Removes every CR and LF from the end of the text.
void TrimTrailingLineBreaks(std::wstring& text);

// The lines of an admitted, trimmed text, read in one pass. LF ends a line
// and CR is dropped wherever it stands, so a line is the digits between two
// LFs. Each non-empty line is kept as its value, saturating at the largest
// signed 64-bit value, instead of as a string of its own.
struct InputLines {
    int64_t lineCount = 0;        // every line, empty ones included: LFs + 1
    std::vector<int64_t> values;  // the non-empty lines, in order
    int64_t largest = 0;          // the largest value; 0 without lines
};
InputLines ReadInputLines(const std::wstring& text);

// The result file's bytes: the binary digits of each value (none above
// kLargestValue) followed by CR LF.
std::string BuildResultBytes(const std::vector<int64_t>& values);
