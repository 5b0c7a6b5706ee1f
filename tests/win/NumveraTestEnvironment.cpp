#include "tests/win/NumveraTestEnvironment.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>

namespace testenv {

namespace {

std::wstring Variable(const wchar_t* name)
{
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2)
        throw std::runtime_error("a test environment variable is missing");
    return buffer;
}

void RemoveTree(const std::wstring& folder)
{
    std::wstring from = folder;
    from.push_back(L'\0');  // SHFileOperation takes a double-NUL list
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationW(&operation);
}

}  // namespace

std::wstring NumveraExe() { return Variable(L"NUMVERA_EXE"); }

std::wstring BesideTestProgram(const std::wstring& name)
{
    wchar_t self[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    std::wstring folder(self, length);
    const size_t slash = folder.find_last_of(L'\\');
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return folder + name;
}

int WineLine()
{
    wchar_t line[8] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"NUMVERA_WINE_LINE", line, 8);
    return length > 0 && length < 8 ? _wtoi(line) : 0;
}

std::wstring FreshFolder(const std::wstring& name)
{
    const std::wstring root = Variable(L"NUMVERA_TEST_ROOT");
    ::SHCreateDirectoryExW(nullptr, root.c_str(), nullptr);  // the root may lie below a missing folder
    const std::wstring folder = root + L"\\" + name;
    RemoveTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                      written == bytes.size());
    ::CloseHandle(file);
    return ok;
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool PathExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {

bool IsReparsePoint(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

using UnixName = char*(CDECL*)(const wchar_t*);
using UnixSpawn = LONG(WINAPI*)(char* const argv[], int wait);

UnixName WineUnixName()
{
    return reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

UnixSpawn WineUnixSpawn()
{
    return reinterpret_cast<UnixSpawn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
}

// The Unix path of a Windows path under Wine; empty elsewhere. The last
// component is appended as it stands, so that a link is named, not followed.
std::string UnixPath(const std::wstring& path)
{
    UnixName unixName = WineUnixName();
    const size_t slash = path.find_last_of(L'\\');
    if (unixName == nullptr || slash == std::wstring::npos)
        return std::string();
    char* folder = unixName(path.substr(0, slash).c_str());
    if (folder == nullptr)
        return std::string();
    const std::wstring leaf = path.substr(slash + 1);
    std::string result = std::string(folder) + "/" + std::string(leaf.begin(), leaf.end());  // ASCII names only
    ::HeapFree(::GetProcessHeap(), 0, folder);
    return result;
}


bool MakeUnixSymbolicLink(const std::wstring& linkPath, const std::wstring& target)
{
    const std::string unixLink = UnixPath(linkPath);
    const std::string unixTarget = UnixPath(target);
    return !unixLink.empty() && !unixTarget.empty() && RunUnixCommand({"ln", "-s", unixTarget, unixLink});
}

}  // namespace

bool MakeFolderLink(const std::wstring& linkPath, const std::wstring& target)
{
    ::CreateSymbolicLinkW(linkPath.c_str(), target.c_str(),
                          SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    if (IsReparsePoint(linkPath))
        return true;
    return MakeUnixSymbolicLink(linkPath, target) && IsReparsePoint(linkPath);
}

namespace {

std::string DosDevicesEntry(const std::wstring& drive)
{
    char prefix[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (length == 0 || length >= sizeof prefix || drive.size() != 2)
        return std::string();
    return std::string(prefix) + "/dosdevices/" + static_cast<char>(::towlower(drive[0])) + ":";
}

}  // namespace

std::wstring MapSpareDrive(const std::wstring& folder)
{
    const std::string unixFolder = UnixPath(folder);
    if (unixFolder.empty())
        return std::wstring();
    const DWORD used = ::GetLogicalDrives();
    for (wchar_t letter = L'T'; letter <= L'Y'; ++letter) {
        if ((used & (1u << (letter - L'A'))) != 0)
            continue;
        const std::wstring drive{letter, L':'};
        const std::string entry = DosDevicesEntry(drive);
        if (!entry.empty() && RunUnixCommand({"ln", "-s", unixFolder, entry}))
            return drive;
    }
    return std::wstring();
}

void UnmapDrive(const std::wstring& drive)
{
    const std::string entry = DosDevicesEntry(drive);
    if (!entry.empty())
        RunUnixCommand({"rm", "-f", entry});
}

void RemoveFolderLink(const std::wstring& linkPath)
{
    // Wine's RemoveDirectoryW on a Unix link works on its target instead.
    const std::string unixLink = UnixPath(linkPath);
    if (!unixLink.empty())
        RunUnixCommand({"rm", "-f", unixLink});
    else
        ::RemoveDirectoryW(linkPath.c_str());
}

bool RunUnixCommand(std::vector<std::string> arguments)
{
    UnixSpawn spawn = WineUnixSpawn();
    if (spawn == nullptr)
        return false;
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    return spawn(argv.data(), TRUE) == 0;
}

std::vector<wchar_t> EnvironmentWithDocuments(const std::wstring& documentsDir)
{
    std::vector<wchar_t> block;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, L"NUMVERA_TEST_DOCS=", 18) != 0)
            block.insert(block.end(), entry, entry + wcslen(entry) + 1);
    }
    ::FreeEnvironmentStringsW(strings);
    if (!documentsDir.empty()) {
        const std::wstring entry = L"NUMVERA_TEST_DOCS=" + documentsDir;
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    }
    block.push_back(L'\0');
    return block;
}

// Backslashes double only before a quote, as CommandLineToArgvW reads them.
std::wstring QuotedArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string BinaryDigits(uint32_t value)
{
    std::string bits;
    for (int bit = 31; bit >= 0; --bit) {
        if (value >> bit & 1u)
            bits += '1';
        else if (!bits.empty())
            bits += '0';
    }
    return bits.empty() ? "0" : bits;
}

std::string Utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

std::string UnixPathOf(const std::wstring& path) { return UnixPath(path); }

}  // namespace testenv
