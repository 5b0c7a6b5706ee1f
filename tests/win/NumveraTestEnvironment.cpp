#include "tests/win/NumveraTestEnvironment.h"

#include <windows.h>
#include <shellapi.h>

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

std::wstring FreshFolder(const std::wstring& name)
{
    const std::wstring root = Variable(L"NUMVERA_TEST_ROOT");
    ::CreateDirectoryW(root.c_str(), nullptr);
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

}  // namespace testenv
