// Whether a result file answers the request the client made: the client
// knows its numbers, so it accepts nothing but their binary digits, one line
// each, in order. Portable: no Windows header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Why the result does not answer the numbers, for a message; empty when
// every line is exactly the binary digits of its number, ended by CR LF, and
// nothing follows the last.
std::wstring WhyResultDoesNotAnswer(const std::string& result, const std::vector<uint32_t>& values);
