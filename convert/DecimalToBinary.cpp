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

std::wstring ConvertDecimalToBinary(std::wstring text)
{
    const int32_t value = ParseDecimalClamped(text);
    // The magnitude as unsigned, so that -2147483648 needs no special case.
    uint32_t rest = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);

    wchar_t digits[33];
    size_t first = sizeof digits / sizeof digits[0];
    do {
        digits[--first] = static_cast<wchar_t>(L'0' + (rest & 1u));
        rest >>= 1;
    } while (rest != 0);
    if (value < 0)
        digits[--first] = L'-';
    return std::wstring(digits + first, digits + sizeof digits / sizeof digits[0]);
}
