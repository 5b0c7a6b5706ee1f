// Differential target for ParseDecimalClamped, ConvertDecimalToBinary and
// WriteBinaryDigits, the digit writer of the batch run, against a naive
// reference.
//
// The input is read as UTF-16 code units (low byte first) rather than one
// character per byte: the convert button passes whatever was pasted into the
// field, so any 16-bit unit can reach the parser, among them units whose low
// byte is an ASCII digit, sign or blank (U+0130, U+FF10, U+3000) that must
// not count as one. A byte-per-character mapping could never produce them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "convert/DecimalToBinary.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool IsAsciiBlank(wchar_t c)
{
    switch (c) {
    case L' ': case L'\t': case L'\n': case L'\v': case L'\f': case L'\r':
        return true;
    default:
        return false;
    }
}

// The header's rule, done the slow way: collect the significant digits as a
// string and clamp by comparing it with the limit as text, so the reference
// shares no arithmetic with the product's saturating loop.
int64_t ReferenceParse(const std::wstring& text)
{
    size_t at = 0;
    while (at < text.size() && IsAsciiBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
        negative = text[at] == L'-';
        ++at;
    }
    std::string digits;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        if (!digits.empty() || text[at] != L'0')
            digits.push_back(static_cast<char>(text[at]));
    }
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
        digits = limit;
    int64_t magnitude = 0;
    for (char digit : digits)
        magnitude = magnitude * 10 + (digit - '0');
    return negative ? -magnitude : magnitude;
}

// Least significant digit first, each prepended, "0" for zero.
std::string ReferenceBits(uint64_t magnitude)
{
    std::string bits;
    do {
        bits.insert(bits.begin(), static_cast<char>('0' + magnitude % 2));
        magnitude /= 2;
    } while (magnitude != 0);
    return bits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = Utf16Units(data, size);
    const std::wstring original = text;

    const int64_t expected = ReferenceParse(text);
    FUZZ_CHECK(ParseDecimalClamped(text) == expected);

    const uint64_t magnitude = static_cast<uint64_t>(expected < 0 ? -expected : expected);
    const std::string bits = ReferenceBits(magnitude);
    const std::wstring converted = ConvertDecimalToBinary(text);
    FUZZ_CHECK(Narrow(converted) == (expected < 0 ? "-" : "") + bits);
    FUZZ_CHECK(text == original);

    // The decimal form of the value reads back as the same value.
    FUZZ_CHECK(ParseDecimalClamped(std::to_wstring(expected)) == expected);

    // The writer of the batch run, which writes in place after what a buffer
    // holds already, over the whole unsigned 32-bit range, beyond what parsing
    // can give.
    uint32_t raw = 0;
    for (size_t i = 0; i < 4 && i < size; ++i)
        raw |= static_cast<uint32_t>(data[i]) << (8 * i);
    for (const uint32_t value : {static_cast<uint32_t>(magnitude), raw}) {
        const std::string expectedBits = ReferenceBits(value);
        FUZZ_CHECK(BinaryDigitCount(value) == expectedBits.size());
        char buffer[40];
        std::memset(buffer, '#', sizeof buffer);
        const char* end = WriteBinaryDigits(buffer + 3, value);
        FUZZ_CHECK(std::string(static_cast<const char*>(buffer + 3), end) == expectedBits);
        FUZZ_CHECK(std::string(buffer, 3) == "###" && *end == '#');  // nothing written outside
    }
    return 0;
}
