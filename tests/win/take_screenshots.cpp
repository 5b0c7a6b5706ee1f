// Saves pictures of the live dialogs for people to look at: the main dialog
// with a conversion shown, the About box, the dialog with the auto-run box
// checked, the message box of a refused automatic request, and the main
// dialog under a high-contrast set of system colours, at whatever DPI the
// system has. Usage: take_screenshots FOLDER
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

// Windows draws without visual styles under a high-contrast theme; Wine's
// own theme would otherwise draw the buttons and check boxes in its colours.
// Wine's uxtheme reads whether a theme is active when a program starts;
// EnableTheming(TRUE) does not put the value back under Wine, so it is
// written here and restored as it was found.
class ScopedClassicLook {
public:
    ScopedClassicLook()
    {
        DWORD size = sizeof m_before;
        m_had = ::RegGetValueW(HKEY_CURRENT_USER, kThemeKey, L"ThemeActive", RRF_RT_REG_SZ, nullptr, m_before, &size) ==
                ERROR_SUCCESS;
        Write(L"0");
    }
    ~ScopedClassicLook()
    {
        if (m_had)
            Write(m_before);
        else
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kThemeKey, L"ThemeActive");
    }
    ScopedClassicLook(const ScopedClassicLook&) = delete;
    ScopedClassicLook& operator=(const ScopedClassicLook&) = delete;

private:
    static constexpr const wchar_t* kThemeKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

    static void Write(const wchar_t* value)
    {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kThemeKey, L"ThemeActive", REG_SZ, value,
                          static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }

    bool m_had = false;
    wchar_t m_before[16] = {};
};

// Windows' "High Contrast Black": white text on black, yellow links, purple
// and green title bars. Set before the start, since under Wine a running
// program keeps the colours it read when it started; put back afterwards.
bool TakeHighContrast(const std::wstring& folder)
{
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    ScopedClassicLook classic;
    driver::ScopedSystemColours colours({
        {COLOR_BTNFACE, black}, {COLOR_BTNTEXT, white}, {COLOR_WINDOW, black}, {COLOR_WINDOWTEXT, white},
        {COLOR_BTNHIGHLIGHT, white}, {COLOR_BTNSHADOW, white}, {COLOR_3DDKSHADOW, white}, {COLOR_3DLIGHT, black},
        {COLOR_HOTLIGHT, RGB(255, 255, 0)}, {COLOR_GRAYTEXT, RGB(63, 242, 63)}, {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
        {COLOR_HIGHLIGHTTEXT, black}, {COLOR_ACTIVECAPTION, RGB(128, 0, 128)},
        {COLOR_GRADIENTACTIVECAPTION, RGB(128, 0, 128)}, {COLOR_CAPTIONTEXT, white},
        {COLOR_INACTIVECAPTION, RGB(0, 128, 0)}, {COLOR_GRADIENTINACTIVECAPTION, RGB(0, 128, 0)},
        {COLOR_INACTIVECAPTIONTEXT, white}, {COLOR_WINDOWFRAME, white}, {COLOR_ACTIVEBORDER, black},
        {COLOR_INACTIVEBORDER, black},
    });
    const std::wstring documents = testenv::FreshFolder(L"screenshots-high-contrast");
    ::CreateDirectoryW((documents + kMakerSuffix).c_str(), nullptr);
    driver::Program program(testenv::NumveraExe(), documents);
    HWND dialog = program.WaitForWindow(L"Binarok", 20000);
    if (dialog == nullptr)
        return Fail("the main dialog did not appear in high contrast");
    driver::SetControlText(dialog, IDC_DECIMAL_EDIT, L"255");
    driver::Click(dialog, IDC_CONVERT);
    ::Sleep(500);
    if (!driver::SaveWindowImage(dialog, folder + L"\\high-contrast.bmp"))
        return Fail("could not save the dialog in high contrast");
    driver::PostClick(dialog, IDOK);
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
    const bool highContrast = TakeHighContrast(argv[1]);
    return mainAndAbout && autoRun && refused && highContrast ? 0 : 1;
}
