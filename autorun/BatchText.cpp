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

std::vector<std::wstring> SplitIntoLines(const std::wstring& text)
{
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text) {
        if (c == L'\n')
            lines.emplace_back();
        else if (c != L'\r')
            lines.back().push_back(c);
    }
    return lines;
}

std::vector<std::wstring> DropEmptyLines(std::vector<std::wstring> lines)
{
    std::vector<std::wstring> kept;
    kept.reserve(lines.size());
    for (std::wstring& line : lines) {
        if (!line.empty())
            kept.push_back(std::move(line));
    }
    return kept;
}

namespace {

// A line of digits as a decimal number, saturating like the C library's
// atoll does for values beyond 64 bits.
int64_t ReadSaturating(const std::wstring& line)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (wchar_t c : line) {
        if (c < L'0' || c > L'9')
            break;
        const int digit = c - L'0';
        if (value > (kMax - digit) / 10)
            return kMax;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

int64_t LargestLineValue(const std::vector<std::wstring>& lines)
{
    int64_t largest = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int64_t value = ReadSaturating(lines[i]);
        if (i == 0 || value > largest)
            largest = value;
    }
    return largest;
}

std::string BuildResultBytes(const std::vector<std::wstring>& lines)
{
    std::string bytes;
    bytes.reserve(lines.size() * 33);
    for (const std::wstring& line : lines) {
        // Binary digits are ASCII, one byte each in any ANSI code page.
        const std::wstring digits = ConvertDecimalToBinary(line);
        bytes.append(digits.begin(), digits.end());
        bytes.append("\r\n");
    }
    return bytes;
}

int ProgressPercent(int64_t position, int64_t maximum)
{
    return static_cast<int>(static_cast<double>(position) / static_cast<double>(maximum) * 100.0);
}

std::wstring ProgressLabel(int64_t position, int64_t maximum)
{
    return L"進捗率\x3000" + std::to_wstring(ProgressPercent(position, maximum)) + L" %";
}
