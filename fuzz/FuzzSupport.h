// Helpers shared by the fuzz targets: turning fuzz bytes into wide text and
// reporting a disagreement so that libFuzzer saves the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Each pair of bytes, low byte first, is one UTF-16 code unit: the wide text
// the program handles on Windows. An odd last byte is ignored.
inline std::wstring Utf16Units(const uint8_t* data, size_t size)
{
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

// Each byte is one character of the same value, as a single-byte code page
// gives for ASCII.
inline std::wstring ByteChars(const uint8_t* data, size_t size)
{
    return std::wstring(data, data + size);
}

// A narrow copy for comparing with ASCII; anything else becomes a byte no
// expected text holds, so that truncation can never make a match.
inline std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text)
        narrow.push_back(static_cast<uint32_t>(c) < 0x80 ? static_cast<char>(c) : '\xFF');
    return narrow;
}

// Aborts, so that libFuzzer reports the input as a finding and saves it.
#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                            \
        }                                                                            \
    } while (0)
