#include "drive/NumberList.h"

#include <cstdio>

namespace {

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Digits for a message, shortened when very long.
std::wstring Shown(const std::string& digits)
{
    return digits.size() <= 40 ? Widen(digits) : Widen(digits.substr(0, 40)) + L"...";
}

// The value of decimal digits, leading zeros ignored; above kLargestValue
// (not exactly) when they have more than ten significant digits.
uint64_t ValueOf(const std::string& digits)
{
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    if (digits.size() - first > 10)
        return static_cast<uint64_t>(kLargestValue) + 1;
    uint64_t value = 0;
    for (size_t i = first; i < digits.size(); ++i)
        value = value * 10 + static_cast<uint64_t>(digits[i] - '0');
    return value;
}

}  // namespace

bool NumberList::Fail(const std::wstring& problem)
{
    if (m_problem.empty())
        m_problem = problem;
    return false;
}

bool NumberList::FailTooLarge(size_t digits)
{
    return Fail(L"the input file would be " + std::to_wstring(m_bytes.size() + digits + 2) +
                L" bytes or more; Numvera.exe takes less than " + std::to_wstring(kInputFileSizeLimit) +
                L" bytes, so split the numbers into several requests");
}

bool NumberList::AddDigits(const std::string& digits, const std::wstring& where)
{
    const uint64_t value = ValueOf(digits);
    if (value > static_cast<uint64_t>(kLargestValue))
        return Fail(where + L": " + Shown(digits) + L" is above " + std::to_wstring(kLargestValue) +
                    L", the largest value Numvera.exe converts");
    if (WouldReachLimit(digits.size()))
        return FailTooLarge(digits.size());
    m_bytes += digits;
    m_bytes += "\r\n";
    m_values.push_back(static_cast<uint32_t>(value));
    return true;
}

bool NumberList::AddArgument(const std::wstring& text, int position)
{
    if (!m_problem.empty())
        return false;
    const std::wstring where = L"argument " + std::to_wstring(position);
    if (text.empty())
        return Fail(where + L" is empty");
    std::string digits;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return Fail(where + L": \"" + text + L"\" is not a decimal number (ASCII digits 0-9 only)");
        digits += static_cast<char>(c);
    }
    return AddDigits(digits, where);
}

bool NumberList::EndStreamLine()
{
    const std::wstring where = L"line " + std::to_wstring(m_lineNumber);
    ++m_lineNumber;
    if (m_line.empty())
        return true;
    const bool added = AddDigits(m_line, where);
    m_line.clear();
    return added;
}

bool NumberList::AddStreamBytes(const char* data, size_t size)
{
    for (size_t i = 0; i < size && m_problem.empty(); ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (m_pendingCr && c != '\n')
            return Fail(L"line " + std::to_wstring(m_lineNumber) + L": a carriage return that does not end the line");
        m_pendingCr = false;
        if (c >= '0' && c <= '9') {
            m_line += static_cast<char>(c);
            // A line of leading zeros can be long enough alone; stop reading early.
            if (WouldReachLimit(m_line.size()))
                return FailTooLarge(m_line.size());
        } else if (c == '\n') {
            EndStreamLine();
        } else if (c == '\r') {
            m_pendingCr = true;
        } else {
            wchar_t shown[32];
            if (c == ' ')
                std::swprintf(shown, 32, L"a space (0x20)");
            else if (c == '\t')
                std::swprintf(shown, 32, L"a tab (0x09)");
            else if (c >= 0x21 && c <= 0x7E)
                std::swprintf(shown, 32, L"'%lc' (0x%02X)", static_cast<wint_t>(c), c);
            else
                std::swprintf(shown, 32, L"byte 0x%02X", c);
            return Fail(L"line " + std::to_wstring(m_lineNumber) + L", column " + std::to_wstring(m_line.size() + 1) +
                        L": " + shown + L" is not a digit 0-9; Numvera.exe takes decimal digits only, one number a line");
        }
    }
    return m_problem.empty();
}

bool NumberList::FinishStream()
{
    if (!m_problem.empty())
        return false;
    if (m_pendingCr)
        return Fail(L"line " + std::to_wstring(m_lineNumber) + L": a carriage return that does not end the line");
    return EndStreamLine();
}
