// Conversions at the edges where the program meets narrow text in the ANSI
// code page: file contents, narrow folder paths, the documents lookup.
#pragma once

#include <cstddef>
#include <string>

std::wstring WidenAnsi(const char* bytes, size_t length);
std::string NarrowToAnsi(const std::wstring& text);
