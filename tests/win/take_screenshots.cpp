// Saves pictures of the live dialogs for people to look at: the main dialog
// with a conversion shown, the About box, the dialog with the auto-run box
// checked, and the message box of a refused automatic request, at whatever
// DPI the system has. Usage: take_screenshots FOLDER
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "protocol/FileProtocol.h"
#include "res/resource.h"
#include "tests/win/NumveraTestEnvironment.h"
#include "tests/win/TestDriver.h"

namespace {

bool Fail(const char* what)
{
    std::fprintf(stderr, "take_screenshots: %s\n", what);
    return false;
}

bool TakeMainAndAbout(const std::wstring& folder)
{
    const std::wstring documents = testenv::FreshFolder(L"screenshots");
    ::CreateDirectoryW((documents + kMakerSuffix).c_str(), nullptr);
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

// Checked through the dialog like a user does: the box's own message comes
// first and is answered, then the show-messages box appears.
bool TakeAutoRunChecked(const std::wstring& folder)
{
    const std::wstring documents = testenv::FreshFolder(L"screenshots-autorun");
    ::CreateDirectoryW((documents + kMakerSuffix).c_str(), nullptr);
    driver::Program program(testenv::NumveraExe(), documents);
    HWND dialog = program.WaitForWindow(L"Binarok", 20000);
    if (dialog == nullptr)
        return Fail("the main dialog did not appear");
    driver::PostClick(dialog, IDC_AUTO_RUN);
    if (!program.AnswerMessageBox(20000, nullptr))
        return Fail("the auto-run box showed no message");
    if (!driver::WaitUntil([&] { return driver::IsControlVisible(dialog, IDC_SHOW_MESSAGES); }, 10000))
        return Fail("the show-messages box did not appear");
    ::Sleep(500);
    if (!driver::SaveWindowImage(dialog, folder + L"\\autorun.bmp"))
        return Fail("could not save the dialog with the auto-run box checked");
    driver::PostClick(dialog, IDOK);
    DWORD exitCode = 0;
    return program.WaitForExit(10000, &exitCode) || Fail("the program did not end");
}

// An automatic start with messages on and an input of "-5", which is refused.
bool TakeRefusedRequest(const std::wstring& folder)
{
    const std::wstring documents = testenv::FreshFolder(L"screenshots-refused");
    for (const wchar_t* made : {kMakerSuffix, kProductSuffix, kTempSuffix, kAutoSuffix})
        ::CreateDirectoryW((documents + made).c_str(), nullptr);
    if (!testenv::WriteFileBytes(documents + kTempSuffix + kSettingsFileSuffix, "1\r\n1") ||
        !testenv::WriteFileBytes(documents + kAutoSuffix + kInputFileSuffix, "-5"))
        return Fail("could not prepare the refused request");
    driver::Program program(testenv::NumveraExe(), documents);
    std::vector<driver::MessageBoxInfo> boxes;
    if (!driver::WaitUntil([&] { return !(boxes = program.MessageBoxes()).empty(); }, 20000))
        return Fail("the refusal showed no message box");
    ::Sleep(500);
    if (!driver::SaveWindowImage(boxes.front().window, folder + L"\\refused.bmp"))
        return Fail("could not save the message box");
    driver::PressOk(boxes.front().window);
    DWORD exitCode = 0;
    return program.WaitForExit(10000, &exitCode) || Fail("the program did not end");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Window rectangles in the screen's own pixels, also at 150 %, where
    // Windows would otherwise scale them for a program that is not aware.
    ::SetProcessDPIAware();
    if (argc != 2)
        return Fail("usage: take_screenshots FOLDER"), 2;
    ::CreateDirectoryW(argv[1], nullptr);
    const bool mainAndAbout = TakeMainAndAbout(argv[1]);
    const bool autoRun = TakeAutoRunChecked(argv[1]);
    const bool refused = TakeRefusedRequest(argv[1]);
    return mainAndAbout && autoRun && refused ? 0 : 1;
}
