// The floor of the batch benchmark: a plain Win32 dialog process that does the
// batch's real work (read the input, convert every line, write the result,
// remove the input) inside WM_INITDIALOG and ends before the dialog is shown.
// Its time is what a dialog process costs under the platform plus the work,
// without the program's 100 ms pause.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "protocol/FileProtocol.h"

namespace {

constexpr uint32_t kLargest = kLargestValue;
constexpr LONGLONG kReadLimit = kInputFileSizeLimit;  // the program refuses files this large

int g_exitCode = 1;

bool ReadBytes(const std::wstring& path, std::string& bytes)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < kReadLimit;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
    }
    ::CloseHandle(file);
    return ok;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

void AppendLine(std::string& out, uint32_t value)
{
    char digits[34];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + (value & 1u));
        value >>= 1;
    } while (value);
    while (count)
        out += digits[--count];
    out += "\r\n";
}

// One pass with the batch's line rules: LF ends a line, CR is dropped, empty
// lines give nothing. False on any other byte or a value above the largest.
bool ConvertLines(const std::string& text, std::string& out)
{
    out.reserve(text.size() * 3 + 64);  // a line's result is at most 3x its bytes plus CR LF
    uint64_t value = 0;
    bool inLine = false;
    bool tooLarge = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (value > kLargest) {
                tooLarge = true;
                value = kLargest;  // saturate: keeps the product in range
            }
            inLine = true;
        } else if (c == '\n') {
            if (inLine)
                AppendLine(out, static_cast<uint32_t>(value));
            value = 0;
            inLine = false;
        } else if (c != '\r') {
            return false;
        }
    }
    if (inLine)
        AppendLine(out, static_cast<uint32_t>(value));
    return !tooLarge;
}

int RunBatch()
{
    wchar_t documents[MAX_PATH];
    if (!::SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE))
        return 2;
    const std::wstring inputPath = documents + std::wstring(kAutoSuffix) + kInputFileSuffix;
    std::string text, result;
    if (!ReadBytes(inputPath, text))
        return 3;
    if (!ConvertLines(text, result))
        return 4;
    if (!WriteBytes(documents + std::wstring(kResultSuffix) + kResultFileSuffix, result))
        return 5;
    if (!::DeleteFileW(inputPath.c_str()))
        return 6;
    return 0;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    g_exitCode = RunBatch();
    ::EndDialog(dialog, -1);  // before the first show: the window never appears
    return TRUE;
}

// A dialog without controls; the words after the header are the empty menu,
// class and title arrays.
struct alignas(4) DialogTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    DialogTemplate dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialog.header.cx = 200;
    dialog.header.cy = 100;
    if (::DialogBoxIndirectParamW(instance, &dialog.header, nullptr, DialogProc, 0) == 0)
        return 7;  // the dialog could not be created
    return g_exitCode;
}
