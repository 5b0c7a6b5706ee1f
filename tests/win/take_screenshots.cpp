// Saves pictures of the live dialogs for people to look at: the main dialog
// with a conversion shown, and the About box. Usage: take_screenshots FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "tests/win/NumveraTestEnvironment.h"
#include "tests/win/TestDriver.h"

namespace {

bool Fail(const char* what)
{
    std::fprintf(stderr, "take_screenshots: %s\n", what);
    return false;
}

bool TakeScreenshots(const std::wstring& folder)
{
    const std::wstring documents = testenv::FreshFolder(L"screenshots");
    ::CreateDirectoryW((documents + L"\\Quendral").c_str(), nullptr);
    driver::Program program(testenv::NumveraExe(), documents);
    HWND dialog = program.WaitForWindow(L"Binarok", 20000);
    if (dialog == nullptr)
        return Fail("the main dialog did not appear");
    driver::SetControlText(dialog, IDC_DECIMAL_EDIT, L"255");
    driver::Click(dialog, IDC_CONVERT);
    ::Sleep(500);  // let the display catch up with the new texts
    if (!driver::SaveWindowImage(dialog, folder + L"\\main.bmp"))
        return Fail("could not save the main dialog");

    driver::PostClick(dialog, IDC_ABOUT);
    HWND about = program.WaitForWindow(L"バージョン情報", 20000);
    if (about == nullptr)
        return Fail("the About box did not appear");
    ::Sleep(500);
    if (!driver::SaveWindowImage(about, folder + L"\\about.bmp"))
        return Fail("could not save the About box");
    driver::PostClick(about, IDOK);
    driver::WaitUntil([&] { return !::IsWindow(about); }, 10000);
    driver::PostClick(dialog, IDOK);
    DWORD exitCode = 0;
    return program.WaitForExit(10000, &exitCode) || Fail("the program did not end");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return Fail("usage: take_screenshots FOLDER"), 2;
    ::CreateDirectoryW(argv[1], nullptr);
    return TakeScreenshots(argv[1]) ? 0 : 1;
}
