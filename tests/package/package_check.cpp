// The Windows side of check-packages' checks of the release packages, run
// in a throwaway Wine prefix on the programs unpacked from the zip or
// installed from the MSI. It works the dialog and reports what Windows
// knows; check-packages compares.
//
//   package_check dialog NUMVERA.EXE PICTURE.BMP [--auto-run]
//     Starts Numvera.exe the way a user does, waits for its dialog and saves
//     a picture of it; with --auto-run checks "自動実行する" and answers the
//     message box; then closes it with its exit button.
//   package_check folders
//     The documents, local application data and Start-menu programs folders.
//   package_check products UPGRADE-CODE
//     Each installed product of that upgrade code, as Apps and features
//     shows it: product code, name, publisher, version, language, scope, icon.
//   package_check shortcut LINK.lnk
//     The target, working folder and icon of a shortcut, or "missing".
//   package_check hold-answered-input MS LET-GO-FILE
//     As a program that reads a fresh input, sharing its removal: takes
//     Numvera.exe's turn (temp\BivoA.lock) and says "holding the turn", opens
//     the next input file as soon as it appears and lets the turn go, and
//     keeps the input open until MS milliseconds after the result is
//     written, or until LET-GO-FILE exists.
#include <windows.h>
#include <msi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "protocol/FileProtocol.h"
#include "res/resource.h"
#include "tests/win/NumveraTestEnvironment.h"
#include "tests/win/TestDriver.h"

namespace {

void PrintLine(const std::string& key, const std::wstring& value)
{
    std::printf("%s %s\n", key.c_str(), testenv::Utf8(value).c_str());
}

int CheckDialog(const std::wstring& exe, const std::wstring& picture, bool autoRun)
{
    driver::Program program(exe, L"");
    if (!program.Started()) {
        std::fprintf(stderr, "package_check: the program did not start\n");
        return 1;
    }
    // A fresh prefix may first set itself up; give the dialog time.
    HWND dialog = program.WaitForWindow(L"Binarok", 120000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "package_check: the dialog did not appear\n");
        return 1;
    }
    ::Sleep(1000);  // let it finish drawing
    const bool saved = driver::SaveWindowImage(dialog, picture);
    if (autoRun) {
        driver::PostClick(dialog, IDC_AUTO_RUN);
        driver::MessageBoxInfo box{};
        if (!program.AnswerMessageBox(20000, &box)) {
            std::fprintf(stderr, "package_check: the auto-run box showed no message\n");
            return 1;
        }
        std::printf("package_check: the auto-run box said: %s\n", testenv::Utf8(box.text).c_str());
    }
    driver::PostClick(dialog, IDOK);
    DWORD exitCode = 0;
    if (!program.WaitForExit(20000, &exitCode)) {
        std::fprintf(stderr, "package_check: the exit button did not end the program\n");
        return 1;
    }
    std::printf("package_check: the dialog appeared and closed with its exit button\n");
    return saved ? 0 : 1;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    ::CoTaskMemFree(path);
    return result;
}

int PrintFolders()
{
    PrintLine("documents", KnownFolder(FOLDERID_Documents));
    PrintLine("local-app-data", KnownFolder(FOLDERID_LocalAppData));
    PrintLine("start-menu-programs", KnownFolder(FOLDERID_Programs));
    return 0;
}

std::wstring ProductInfo(const wchar_t* product, const wchar_t* property)
{
    wchar_t value[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (::MsiGetProductInfoW(product, property, value, &size) != ERROR_SUCCESS)
        return L"(none)";
    return value;
}

int PrintProducts(const std::wstring& upgradeCode)
{
    wchar_t product[39];
    for (DWORD index = 0; ::MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, index, product) == ERROR_SUCCESS;
         ++index) {
        PrintLine("product", product);
        PrintLine("  name", ProductInfo(product, INSTALLPROPERTY_INSTALLEDPRODUCTNAME));
        PrintLine("  publisher", ProductInfo(product, INSTALLPROPERTY_PUBLISHER));
        PrintLine("  version", ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING));
        PrintLine("  language", ProductInfo(product, INSTALLPROPERTY_LANGUAGE));
        // AssignmentType 0: installed for the current user only.
        PrintLine("  per-user", ProductInfo(product, INSTALLPROPERTY_ASSIGNMENTTYPE) == L"0" ? L"yes" : L"no");
        PrintLine("  icon", ProductInfo(product, INSTALLPROPERTY_PRODUCTICON));
    }
    return 0;
}

int PrintShortcut(const std::wstring& link)
{
    if (::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("missing\n");
        return 0;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    int status = 1;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ))) {
        wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"", icon[MAX_PATH] = L"";
        int iconIndex = 0;
        shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        shellLink->GetWorkingDirectory(folder, MAX_PATH);
        shellLink->GetIconLocation(icon, MAX_PATH, &iconIndex);
        PrintLine("target", target);
        PrintLine("working-folder", folder);
        PrintLine("icon", icon);
        status = 0;
    } else {
        std::fprintf(stderr, "package_check: cannot read the shortcut\n");
    }
    if (file != nullptr)
        file->Release();
    if (shellLink != nullptr)
        shellLink->Release();
    ::CoUninitialize();
    return status;
}

FILETIME LastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;  // zero when it is missing
}

int HoldAnsweredInput(DWORD ms, const std::wstring& letGoFile)
{
    constexpr DWORD kAppearsWithinMs = 60000;
    const std::wstring documents = KnownFolder(FOLDERID_Documents);
    const std::wstring input = documents + kAutoSuffix + kInputFileSuffix;
    const std::wstring result = documents + kResultSuffix + kResultFileSuffix;
    HANDLE turn = ::CreateFileW((documents + kTempSuffix + kRunLockFileSuffix).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (turn == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "package_check: cannot take Numvera.exe's turn (error %lu)\n", ::GetLastError());
        return 1;
    }
    const FILETIME before = LastWriteTime(result);
    std::printf("holding the turn\n");
    std::fflush(stdout);
    HANDLE held = INVALID_HANDLE_VALUE;
    driver::WaitUntil(
        [&] {
            held = ::CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            return held != INVALID_HANDLE_VALUE;
        },
        kAppearsWithinMs);
    ::CloseHandle(turn);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "package_check: no input file appeared\n");
        return 1;
    }
    const bool answered = driver::WaitUntil(
        [&] {
            const FILETIME now = LastWriteTime(result);
            return ::CompareFileTime(&before, &now) != 0;
        },
        kAppearsWithinMs);
    driver::WaitUntil([&] { return ::GetFileAttributesW(letGoFile.c_str()) != INVALID_FILE_ATTRIBUTES; }, ms);
    ::CloseHandle(held);
    if (!answered) {
        std::fprintf(stderr, "package_check: Numvera.exe wrote no result\n");
        return 1;
    }
    std::printf("let go of the input\n");
    return 0;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: package_check dialog NUMVERA.EXE PICTURE.BMP [--auto-run]\n"
                 "       package_check folders\n"
                 "       package_check products UPGRADE-CODE\n"
                 "       package_check shortcut LINK.lnk\n"
                 "       package_check hold-answered-input MS LET-GO-FILE\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"dialog" && (argc == 4 || (argc == 5 && std::wstring(argv[4]) == L"--auto-run")))
        return CheckDialog(argv[2], argv[3], argc == 5);
    if (command == L"folders" && argc == 2)
        return PrintFolders();
    if (command == L"products" && argc == 3)
        return PrintProducts(argv[2]);
    if (command == L"shortcut" && argc == 3)
        return PrintShortcut(argv[2]);
    if (command == L"hold-answered-input" && argc == 4)
        return HoldAnsweredInput(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)), argv[3]);
    return Usage();
}
