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

}  // namespace testenv
