// Conversions at the edges where the program meets narrow text in the ANSI
// code page: the contents of its files and the documents folder's ANSI name.
#pragma once

#include <cstddef>
#include <string>

std::wstring WidenAnsi(const char* bytes, size_t length);
std::string NarrowToAnsi(const std::wstring& text);
