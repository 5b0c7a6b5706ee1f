// Differential target for the batch run's text pipeline: the character
// check, trimming, reading the lines and the result bytes, against a simple
// implementation that splits the text into strings.
//
// Input: a control byte, then the text. Control bit 0 clear: one character
// per byte, as the input file's ASCII arrives from a single-byte code page,
// so most inputs are admitted and reach the later stages; set: UTF-16 code
// units, so the check also meets full-width digits, a byte-order mark and
// units whose low byte is a digit or a line break.
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "autorun/BatchText.h"
#include "convert/DecimalToBinary.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

bool ReferenceAdmitted(const std::wstring& text)
{
    return text.find_first_not_of(L"0123456789\r\n") == std::wstring::npos;
}

std::wstring ReferenceTrim(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        text.pop_back();
    return text;
}

// Every line between LFs, CR removed, empty ones included.
std::vector<std::string> ReferenceSplit(const std::wstring& text)
{
    std::vector<std::string> lines(1);
    for (wchar_t c : text) {
        if (c == L'\n')
            lines.emplace_back();
        else if (c != L'\r')
            lines.back().push_back(static_cast<char>(c));
    }
    return lines;
}

// A digit string's value, saturating at the largest signed 64-bit value:
// decided by length and a text comparison before any arithmetic.
int64_t ReferenceValue(const std::string& digits)
{
    const size_t first = digits.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "" : digits.substr(first);
    const std::string limit = "9223372036854775807";
    if (significant.size() > limit.size() || (significant.size() == limit.size() && significant > limit))
        return kInt64Max;
    uint64_t value = 0;
    for (char digit : significant)
        value = value * 10 + static_cast<uint64_t>(digit - '0');
    return static_cast<int64_t>(value);
}

// Binary digits without leading zeros, "0" for zero.
std::string ReferenceBinary(int64_t value)
{
    const std::string bits = std::bitset<31>(static_cast<unsigned long long>(value)).to_string();
    const size_t first = bits.find('1');
    return first == std::string::npos ? "0" : bits.substr(first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::wstring text = (data[0] & 1) ? Utf16Units(data + 1, size - 1) : ByteChars(data + 1, size - 1);

    const bool admitted = ReferenceAdmitted(text);
    FUZZ_CHECK(IsDigitsAndLineBreaksOnly(text) == admitted);
    if (!admitted)
        return 0;  // the batch run never sees a refused text

    std::wstring trimmed = text;
    TrimTrailingLineBreaks(trimmed);
    FUZZ_CHECK(trimmed == ReferenceTrim(text));

    const std::vector<std::string> lines = ReferenceSplit(trimmed);
    std::vector<std::string> nonEmpty;
    std::vector<int64_t> values;
    int64_t largest = 0;
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        nonEmpty.push_back(line);
        values.push_back(ReferenceValue(line));
        if (values.size() == 1 || values.back() > largest)
            largest = values.back();
    }

    const InputLines read = ReadInputLines(trimmed);
    FUZZ_CHECK(read.lineCount == static_cast<int64_t>(lines.size()));
    FUZZ_CHECK(read.values == values);
    FUZZ_CHECK(read.largest == largest);

    // The batch run stops here when any value is too large to convert.
    if (largest > kLargestValue)
        return 0;

    std::string expected;
    std::string converted;
    for (size_t k = 0; k < values.size(); ++k) {
        expected += ReferenceBinary(values[k]) + "\r\n";
        // Each result line is what the convert button gives for that line.
        converted += Narrow(ConvertDecimalToBinary(std::wstring(nonEmpty[k].begin(), nonEmpty[k].end()))) + "\r\n";
    }
    const std::string bytes = BuildResultBytes(read.values);
    FUZZ_CHECK(bytes == expected);
    FUZZ_CHECK(bytes == converted);
    return 0;
}
