#include "drive/Console.h"

#include <windows.h>

namespace console {

namespace {

bool WriteAll(HANDLE handle, const char* data, size_t size)
{
    while (size > 0) {
        DWORD written = 0;
        const DWORD piece = size > 65536 ? 65536 : static_cast<DWORD>(size);
        if (!::WriteFile(handle, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

}  // namespace

bool WriteOut(const std::string& bytes)
{
    return WriteAll(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), bytes.size());
}

void Say(const std::wstring& text)
{
    const std::wstring line = L"numvera-drive: " + text + L"\r\n";
    HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    // A console shows UTF-16 whatever its code page; anything else gets UTF-8,
    // which keeps Japanese messages of Numvera.exe and paths intact.
    if (::GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        ::WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Utf8(line);
    WriteAll(handle, bytes.data(), bytes.size());
}

bool SpeaksJapanese()
{
    // Without a console of its own, the one it would get.
    const UINT codePage = ::GetConsoleOutputCP();
    return (codePage != 0 ? codePage : ::GetOEMCP()) == 932;
}

void SayInTheUsersLanguage(const std::wstring& english, const std::wstring& japanese)
{
    Say(SpeaksJapanese() ? japanese : english);
}

std::wstring ErrorText(unsigned long code)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                          nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description = length > 0 && text != nullptr ? std::wstring(text, length) : std::wstring();
    if (text != nullptr)
        ::LocalFree(text);
    while (!description.empty() && (description.back() == L' ' || description.back() == L'\r' || description.back() == L'\n'))
        description.pop_back();
    std::wstring result = L"(error " + std::to_wstring(code);
    if (!description.empty())
        result += L": " + description;
    return result + L")";
}

}  // namespace console
