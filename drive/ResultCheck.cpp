#include "drive/ResultCheck.h"

namespace {

// The binary digits of a value, without leading zeros ("0" for 0).
std::string BinaryDigitsOf(uint32_t value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + (value & 1)));
        value >>= 1;
    } while (value != 0);
    return digits;
}

}  // namespace

std::wstring WhyResultDoesNotAnswer(const std::string& result, const std::vector<uint32_t>& values)
{
    size_t at = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string digits = BinaryDigitsOf(values[i]);
        const std::string line = digits + "\r\n";
        if (result.compare(at, line.size(), line) == 0) {
            at += line.size();
            continue;
        }
        if (at == result.size())
            return L"it ends after " + std::to_wstring(i) + L" of " + std::to_wstring(values.size()) + L" lines";
        return L"line " + std::to_wstring(i + 1) + L" is not " + std::wstring(digits.begin(), digits.end()) +
               L", the binary digits of " + std::to_wstring(values[i]);
    }
    if (at != result.size())
        return L"it goes on after the " + std::to_wstring(values.size()) + L" lines of the request";
    return std::wstring();
}
