#include "drive/Files.h"

#include <cstddef>
#include <cstring>

#include "drive/Console.h"

using console::ErrorText;
using console::Say;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string ReadToEnd(HANDLE file, bool* ok)
{
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    BOOL read = FALSE;
    while ((read = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
        bytes.append(buffer, got);
    *ok = read != FALSE;
    return bytes;
}

DWORD WriteAll(HANDLE file, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return ::GetLastError();
        done += written;
    }
    return 0;
}

DWORD RenameThrough(HANDLE file, const std::wstring& path)
{
    const size_t nameBytes = (path.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, path.c_str(), nameBytes);
    return ::SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))
               ? 0
               : ::GetLastError();
}

// The same file, not just the same bytes: a file that another program
// writes anew after the first was removed is another file. Both are open,
// so neither's number can have gone to a new file meanwhile.
bool IsSameFile(HANDLE one, HANDLE other)
{
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return ::GetFileInformationByHandle(one, &a) && ::GetFileInformationByHandle(other, &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// A removal that waits for the last handle: Windows then lets nobody open
// the file by its name, which stays listed meanwhile.
bool IsBeingRemoved(HANDLE file)
{
    FILE_STANDARD_INFO standard{};
    return ::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) && standard.DeletePending;
}

}  // namespace

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolder(const std::wstring& path)
{
    if (IsFolder(path) || ::CreateDirectoryW(path.c_str(), nullptr))
        return true;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS && IsFolder(path))
        return true;  // made meanwhile by another start
    Say(L"could not make the folder " + path + L" " + ErrorText(error));
    return false;
}

std::string ReadBytes(const std::wstring& path, bool* ok)
{
    *ok = false;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    const std::string bytes = ReadToEnd(file, ok);
    ::CloseHandle(file);
    return bytes;
}

DWORD CheckNameIsFree(const std::wstring& path)
{
    // Backup semantics: a folder opens too, and is told from a file.
    HANDLE entry = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool folder = ::GetFileInformationByHandle(entry, &information) &&
                        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    ::CloseHandle(entry);
    return folder ? ERROR_DIRECTORY : ERROR_ALREADY_EXISTS;
}

DWORD WriteInputFile(const std::wstring& staging, const std::wstring& path, const std::string& bytes, HANDLE* own)
{
    *own = INVALID_HANDLE_VALUE;
    HANDLE file = ::CreateFileW(staging.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    DWORD error = WriteAll(file, bytes);
    if (error == 0)
        error = RenameThrough(file, path);
    if (error == 0) {
        // Reading nothing, it takes no part in sharing: Numvera.exe takes the
        // input as if this handle were not there.
        *own = ::ReOpenFile(file, FILE_READ_ATTRIBUTES, kShareAll, 0);
        if (*own == INVALID_HANDLE_VALUE)
            error = ::GetLastError();
    }
    if (error != 0) {
        FILE_DISPOSITION_INFO disposition{TRUE};  // wherever it is by now
        ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
    ::CloseHandle(file);
    return error;
}

HANDLE OpenOwnInput(const std::wstring& path, HANDLE own, DWORD* error)
{
    *error = 0;
    // Then its name cannot be opened, and goes once the last holder lets go.
    if (IsBeingRemoved(own))
        return INVALID_HANDLE_VALUE;
    HANDLE file = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD openError = ::GetLastError();
        if (openError != ERROR_FILE_NOT_FOUND && openError != ERROR_PATH_NOT_FOUND)
            *error = openError;
        return INVALID_HANDLE_VALUE;
    }
    if (!IsSameFile(file, own)) {
        ::CloseHandle(file);
        *error = ERROR_FILE_EXISTS;
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

DWORD RemoveThrough(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition{TRUE};
    const DWORD error =
        ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) ? 0 : ::GetLastError();
    ::CloseHandle(file);
    return error;
}

std::vector<std::wstring> EntriesOf(const std::wstring& folder)
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
    return names;
}
