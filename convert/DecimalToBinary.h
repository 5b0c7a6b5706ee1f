// Decimal text to binary digits. Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads a decimal number the way the C run-time's _wtoi does: leading ASCII
// white space, one optional sign, then ASCII digits up to the first other
// character; no digits give 0, and values beyond the signed 32-bit range are
// clamped to 2147483647 or -2147483648.
int32_t ParseDecimalClamped(const std::wstring& text);

// The binary digits of the parsed value, most significant first, without
// leading zeros ("0" for zero). A negative value gives a minus sign and the
// digits of its magnitude.
std::wstring ConvertDecimalToBinary(std::wstring text);

// How many binary digits the value has (1 for zero).
size_t BinaryDigitCount(uint32_t value);

// Writes the binary digits of the value at `out`, most significant first,
// without leading zeros ("0" for zero); `out` has room for BinaryDigitCount
// of them. Returns the end of what was written. The one writer of binary
// digits: the convert button and the batch run both use it.
char* WriteBinaryDigits(char* out, uint32_t value);
