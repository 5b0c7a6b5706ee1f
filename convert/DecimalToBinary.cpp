#include "convert/DecimalToBinary.h"

namespace {

bool IsAsciiSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

int32_t ParseDecimalClamped(const std::wstring& text)
{
    size_t at = 0;
    while (at < text.size() && IsAsciiSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
        negative = text[at] == L'-';
        ++at;
    }
    // The magnitude saturates just past the 32-bit range, so any number of
    // digits is read without overflow.
    constexpr int64_t kSaturated = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (; at < text.size() && IsAsciiDigit(text[at]); ++at) {
        magnitude = magnitude * 10 + (text[at] - L'0');
        if (magnitude > kSaturated)
            magnitude = kSaturated;
    }
    if (negative)
        return static_cast<int32_t>(-magnitude);  // -2^31 at most
    return static_cast<int32_t>(magnitude < kSaturated ? magnitude : kSaturated - 1);
}

size_t BinaryDigitCount(uint32_t value)
{
    size_t count = 1;
    while (value >>= 1)
        ++count;
    return count;
}

char* WriteBinaryDigits(char* out, uint32_t value)
{
    const size_t count = BinaryDigitCount(value);
    for (size_t i = count; i-- > 0; value >>= 1)
        out[i] = static_cast<char>('0' + (value & 1u));
    return out + count;
}

std::wstring ConvertDecimalToBinary(std::wstring text)
{
    const int32_t value = ParseDecimalClamped(text);
    // The magnitude as unsigned, so that -2147483648 needs no special case.
    const uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char digits[32];
    const char* const end = WriteBinaryDigits(digits, magnitude);
    std::wstring result = value < 0 ? L"-" : L"";
    result.append(static_cast<const char*>(digits), end);
    return result;
}
