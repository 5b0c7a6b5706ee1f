#include "storage/AnsiText.h"

#include <windows.h>

#include <climits>

std::wstring WidenAnsi(const char* bytes, size_t length)
{
    if (length == 0 || length > INT_MAX)
        return std::wstring();
    const int size = static_cast<int>(length);
    const int wide = ::MultiByteToWideChar(CP_ACP, 0, bytes, size, nullptr, 0);
    if (wide <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes, size, &text[0], wide);
    return text;
}

std::string NarrowToAnsi(const std::wstring& text)
{
    if (text.empty() || text.size() > INT_MAX)
        return std::string();
    const int size = static_cast<int>(text.size());
    const int narrow = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), size, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), size, &bytes[0], narrow, nullptr, nullptr);
    return bytes;
}
