// The numbers of one request, checked the way Numvera.exe checks its input
// file, and the bytes of that file: one number a line, each ended by CR LF.
// Everything is checked here, before any file is touched, so that a request
// Numvera.exe would refuse is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/FileProtocol.h"

class NumberList {
public:
    // One command-line argument: ASCII digits only.
    bool AddArgument(const std::wstring& text, int position);

    // A stream of lines (a file or standard input), fed in pieces. A line
    // ends in LF or CR LF and holds ASCII digits only; blank lines are
    // skipped, as Numvera.exe skips them.
    bool AddStreamBytes(const char* data, size_t size);
    // After the last piece: the last line needs no line break.
    bool FinishStream();

    size_t Count() const { return m_values.size(); }
    // The numbers in order, which the result is checked against.
    const std::vector<uint32_t>& Values() const { return m_values; }
    const std::string& FileBytes() const { return m_bytes; }
    // Why the numbers were refused; empty while they are fine.
    const std::wstring& Problem() const { return m_problem; }

private:
    bool AddDigits(const std::string& digits, const std::wstring& where);
    bool EndStreamLine();
    bool Fail(const std::wstring& problem);
    bool WouldReachLimit(size_t digits) const { return m_bytes.size() + digits + 2 >= kInputFileSizeLimit; }
    bool FailTooLarge(size_t digits);

    std::string m_bytes;
    std::vector<uint32_t> m_values;
    std::wstring m_problem;
    std::string m_line;  // digits of the stream line being read
    size_t m_lineNumber = 1;
    bool m_pendingCr = false;
};
