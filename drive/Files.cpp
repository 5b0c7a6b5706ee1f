#include "drive/Files.h"

#include "drive/Console.h"

using console::ErrorText;
using console::Say;

namespace {

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
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    const std::string bytes = ReadToEnd(file, ok);
    ::CloseHandle(file);
    return bytes;
}

bool IsBeingRemoved(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_DELETE_PENDING;
}

// The bytes are compared and the file removed through one handle that lets
// nobody write meanwhile.
std::wstring TryRemovingOwnInput(const std::wstring& path, const std::string& bytes, bool* final)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::wstring();
        return L"it could not be removed " + ErrorText(error);
    }
    bool read = false;
    const std::string held = ReadToEnd(file, &read);
    std::wstring why;
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (read && held != bytes) {
        *final = true;
        why = L"it no longer holds what this request wrote";
    } else if (!read || !::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)) {
        why = L"it could not be removed " + ErrorText(::GetLastError());
    }
    ::CloseHandle(file);
    return why;
}

std::wstring FirstEntryOf(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring name;
    do {
        name = entry.cFileName;
    } while ((name == L"." || name == L"..") && ::FindNextFileW(search, &entry));
    ::FindClose(search);
    return name == L"." || name == L".." ? std::wstring() : name;
}

DWORD WriteNewFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    DWORD error = 0;
    for (size_t done = 0; done < bytes.size() && error == 0;) {
        DWORD written = 0;
        if (::WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            done += written;
        else
            error = ::GetLastError();
    }
    ::CloseHandle(file);
    if (error != 0)
        ::DeleteFileW(path.c_str());
    return error;
}
