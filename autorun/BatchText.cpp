#include "autorun/BatchText.h"

#include <limits>

#include "convert/DecimalToBinary.h"

bool IsDigitsAndLineBreaksOnly(const std::wstring& text)
{
    for (wchar_t c : text) {
        if (!(c >= L'0' && c <= L'9') && c != L'\r' && c != L'\n')
            return false;
    }
    return true;
}

void TrimTrailingLineBreaks(std::wstring& text)
{
    const size_t keep = text.find_last_not_of(L"\r\n");
    text.erase(keep == std::wstring::npos ? 0 : keep + 1);
}

InputLines ReadInputLines(const std::wstring& text)
{
    constexpr int64_t kSaturated = std::numeric_limits<int64_t>::max();
    InputLines lines;
    lines.lineCount = 1;
    lines.values.reserve(text.size() / 2 + 1);  // no more lines than that can hold a digit
    int64_t value = 0;
    bool hasDigits = false;
    // A line ends at each LF and at the end of the text.
    for (size_t i = 0; i <= text.size(); ++i) {
        const wchar_t c = i < text.size() ? text[i] : L'\n';
        if (c == L'\n') {
            if (hasDigits) {
                if (lines.values.empty() || value > lines.largest)
                    lines.largest = value;
                lines.values.push_back(value);
            }
            if (i < text.size())
                ++lines.lineCount;
            value = 0;
            hasDigits = false;
        } else if (c >= L'0' && c <= L'9') {
            const int digit = c - L'0';
            value = value > (kSaturated - digit) / 10 ? kSaturated : value * 10 + digit;
            hasDigits = true;
        }
        // CR, the only other character an admitted text holds, is dropped.
    }
    return lines;
}

std::string BuildResultBytes(const std::vector<int64_t>& values)
{
    // The exact size first, so that the bytes are written in place once.
    size_t size = 0;
    for (int64_t value : values)
        size += BinaryDigitCount(static_cast<uint32_t>(value)) + 2;
    std::string bytes(size, '\0');
    char* at = &bytes[0];
    for (int64_t value : values) {
        at = WriteBinaryDigits(at, static_cast<uint32_t>(value));
        *at++ = '\r';
        *at++ = '\n';
    }
    return bytes;
}
