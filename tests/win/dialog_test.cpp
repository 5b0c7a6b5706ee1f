// The live main dialog and About box of Numvera.exe, driven from outside.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/NumveraFixture.h"

namespace {

constexpr int kStatic = -1;  // what GetDlgCtrlID reports for the id 0xFFFF

// One control of the main dialog as its template lays it out, in template
// (and tab) order. A null caption means the text is the maker's own wording,
// checked for being present only.
struct ExpectedControl {
    int id;
    const wchar_t* windowClass;
    DWORD style;
    int x, y, width, height;
    const wchar_t* caption;
};

const ExpectedControl kMainControls[] = {
    {IDOK, L"Button", 0x50010001, 407, 198, 50, 14, L"終了"},
    {IDC_ABOUT, L"MfcButton", 0x50010000, 407, 7, 50, 14, L"バージョン情報"},
    {kStatic, L"Static", 0x50020000, 7, 19, 127, 8, L"10進数の正数を入力して下さい。"},
    {IDC_CONVERT, L"MfcButton", 0x50010000, 101, 27, 50, 14, L"２進数に変換"},
    {IDC_DECIMAL_EDIT, L"Edit", 0x50813084, 7, 27, 92, 14, L""},
    {IDC_BINARY_EDIT, L"Edit", 0x50811884, 153, 27, 304, 14, L""},
    {kStatic, L"Static", 0x50020000, 153, 19, 45, 8, L"２進数"},
    {IDC_AUTO_RUN, L"Button", 0x50010003, 7, 48, 68, 10, L"自動実行する"},
    {IDC_PROGRESS, L"msctls_progress32", 0x50800000, 7, 77, 450, 6, L""},
    {IDC_SHOP_LINK, L"MfcLink", 0x50010000, 7, 193, 288, 14, nullptr},
    {IDC_SITE_LINK, L"MfcLink", 0x50010000, 7, 175, 207, 14, nullptr},
    {kStatic, L"Static", 0x50020000, 7, 115, 197, 8, nullptr},
    {kStatic, L"Static", 0x50020000, 7, 139, 236, 8, nullptr},
    {kStatic, L"Static", 0x50020000, 7, 127, 214, 8, nullptr},
    {kStatic, L"Static", 0x50020000, 7, 151, 280, 8, nullptr},
    {kStatic, L"Static", 0x50020000, 7, 163, 273, 8, nullptr},
    {IDC_PROGRESS_TEXT, L"Edit", 0x50012880, 7, 63, 93, 12, L""},
    {IDC_SHOW_MESSAGES, L"Button", 0x50010003, 102, 48, 96, 10, L"メッセージを表示する"},
    {IDC_EXE_PATH, L"Edit", 0x50811884, 7, 95, 450, 14, nullptr},
    {kStatic, L"Static", 0x50020000, 7, 85, 313, 8, L"本ソフトウェアのフルパスです。プロセス起動する時にお使い下さい。"},
};

// Dialog base units of a template font, computed the way the dialog manager
// does: the average width of the Latin letters and the font's height.
SIZE DialogBaseUnits(const wchar_t* face, int points, BYTE charset)
{
    HDC screen = ::GetDC(nullptr);
    LOGFONTW logFont{};
    logFont.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    logFont.lfCharSet = charset;
    wcscpy_s(logFont.lfFaceName, face);
    HFONT font = ::CreateFontIndirectW(&logFont);
    HGDIOBJ old = ::SelectObject(screen, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen, &metrics);
    SIZE letters{};
    ::GetTextExtentPoint32W(screen, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT MapDialogUnits(SIZE base, int x, int y, int width, int height)
{
    return RECT{::MulDiv(x, base.cx, 4), ::MulDiv(y, base.cy, 8), ::MulDiv(x + width, base.cx, 4),
                ::MulDiv(y + height, base.cy, 8)};
}

RECT RectInClient(HWND dialog, HWND control)
{
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRectNear(const RECT& actual, const RECT& expected, const std::string& what)
{
    // One pixel of rounding between per-edge and per-size mapping.
    EXPECT_NEAR(actual.left, expected.left, 1) << what;
    EXPECT_NEAR(actual.top, expected.top, 1) << what;
    EXPECT_NEAR(actual.right, expected.right, 1) << what;
    EXPECT_NEAR(actual.bottom, expected.bottom, 1) << what;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// Centred within a pixel (halving may round either way), and inside the
// work area.
void ExpectCentredOver(const RECT& window, const RECT& around, const RECT& area, const std::string& what)
{
    EXPECT_NEAR(window.left + window.right, around.left + around.right, 1) << what;
    EXPECT_NEAR(window.top + window.bottom, around.top + around.bottom, 1) << what;
    EXPECT_GE(window.left, area.left) << what;
    EXPECT_GE(window.top, area.top) << what;
    EXPECT_LE(window.right, area.right) << what;
    EXPECT_LE(window.bottom, area.bottom) << what;
}

// The test's own folder is the documents folder, with the maker folder only.
class MainDialog : public NumveraFixture {
protected:
    void SetUp() override
    {
        NumveraFixture::SetUp();
        m_documents = m_root;
        CreateFolders(m_documents, {kMakerSuffix});
        StartDialog(m_documents);
    }

    bool Running() const
    {
        DWORD exitCode = 0;
        return !m_program->WaitForExit(0, &exitCode);
    }

    std::wstring Convert(const std::wstring& decimal)
    {
        driver::SetControlText(m_dialog, IDC_DECIMAL_EDIT, decimal);
        driver::Click(m_dialog, IDC_CONVERT);
        return driver::ControlText(m_dialog, IDC_BINARY_EDIT);
    }
};

TEST_F(MainDialog, WindowHasCaptionStylesAndNoSystemMenu)
{
    EXPECT_EQ(driver::WindowCaption(m_dialog), L"Binarok");
    EXPECT_EQ(driver::ClassNameOf(m_dialog), L"#32770");
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(m_dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(m_dialog, GWL_EXSTYLE));
    EXPECT_EQ(style & 0x90C000C0u, 0x90C000C0u) << std::hex << style;
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << std::hex << style;
    EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0u) << std::hex << exStyle;

    const SIZE base = DialogBaseUnits(L"MS UI Gothic", 9, SHIFTJIS_CHARSET);
    RECT client;
    ::GetClientRect(m_dialog, &client);
    ExpectRectNear(client, MapDialogUnits(base, 0, 0, 464, 219), "client area");
}

// The template puts the dialog at (0, 0), a corner of the screen. Only a
// work area smaller than its monitor (the test display leaves a taskbar's
// room) tells the work area's centre from the monitor's.
TEST_F(MainDialog, ComesUpCentredOnTheWorkAreaOfItsMonitor)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(m_dialog, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT area = WorkAreaOf(m_dialog);
    ASSERT_FALSE(::EqualRect(&area, &monitor.rcMonitor))
        << "the work area is the whole monitor: the display has no _NET_WORKAREA (start_virtual_display sets it)";
    ExpectCentredOver(WindowRect(m_dialog), area, area, "the main dialog");
}

TEST_F(MainDialog, ControlsFollowTheTemplateInOrderClassStyleTextAndPlace)
{
    const SIZE base = DialogBaseUnits(L"MS UI Gothic", 9, SHIFTJIS_CHARSET);
    const std::vector<HWND> children = driver::ChildWindows(m_dialog);
    ASSERT_EQ(children.size(), std::size(kMainControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& expected = kMainControls[i];
        HWND control = children[i];
        const std::string what = "control #" + std::to_string(i + 1);
        EXPECT_EQ(::GetDlgCtrlID(control), expected.id) << what;
        EXPECT_EQ(driver::ClassNameOf(control), expected.windowClass) << what;
        // Edit fields may trade their border for a client edge, and the
        // progress bar draws its own frame in place of the border. An
        // interactive start hides the progress display and the show-messages box.
        const bool hidden = expected.id == IDC_PROGRESS || expected.id == IDC_PROGRESS_TEXT ||
                            expected.id == IDC_SHOW_MESSAGES;
        EXPECT_EQ(::IsWindowVisible(control) != FALSE, !hidden) << what;
        DWORD style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE)) | WS_VISIBLE;
        const bool edge = (::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
        if ((expected.style & WS_BORDER) && (edge || expected.id == IDC_PROGRESS))
            style |= WS_BORDER;
        EXPECT_EQ(style, expected.style) << what << std::hex << " style " << style;
        const std::wstring text = driver::WindowCaption(control);
        if (expected.id == IDC_EXE_PATH)
            EXPECT_EQ(_wcsicmp(driver::ControlText(m_dialog, IDC_EXE_PATH).c_str(), testenv::NumveraExe().c_str()), 0)
                << what << ": the program's full path, " << testenv::Utf8(driver::ControlText(m_dialog, IDC_EXE_PATH));
        else if (expected.caption != nullptr)
            EXPECT_EQ(text, expected.caption) << what;
        else
            EXPECT_FALSE(text.empty()) << what;
        ExpectRectNear(RectInClient(m_dialog, control),
                       MapDialogUnits(base, expected.x, expected.y, expected.width, expected.height), what);
    }
    for (int link : {IDC_SHOP_LINK, IDC_SITE_LINK}) {
        const std::wstring address = driver::ControlText(m_dialog, link);
        EXPECT_EQ(address.rfind(L"https://", 0), 0u) << testenv::Utf8(address);
        EXPECT_NE(address.find(L"example.com/"), std::wstring::npos) << testenv::Utf8(address);
    }
}

TEST_F(MainDialog, ConvertShowsTheBinaryDigitsOfTheDecimalField)
{
    const struct {
        const wchar_t* decimal;
        std::wstring binary;
    } cases[] = {
        {L"255", L"11111111"},
        {L"10", L"1010"},
        {L"", L"0"},
        {L"007", L"111"},
        {L"2147483647", std::wstring(31, L'1')},
        {L"99999999999", std::wstring(31, L'1')},
        {L"-5", L"-101"},
        {L"12\r\n34", L"1100"},  // pasted lines: only the first number counts
        {L"3.9", L"11"},
        {L"abc", L"0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Convert(c.decimal), c.binary) << testenv::Utf8(c.decimal);
        EXPECT_EQ(driver::ControlText(m_dialog, IDC_DECIMAL_EDIT), c.decimal) << "the input field is left as it was";
        driver::Click(m_dialog, IDC_CONVERT);
        EXPECT_EQ(driver::ControlText(m_dialog, IDC_BINARY_EDIT), c.binary) << "a second click shows the same";
    }
    EXPECT_EQ(driver::CheckState(m_dialog, IDC_AUTO_RUN), BST_UNCHECKED);
    EXPECT_EQ(driver::CheckState(m_dialog, IDC_SHOW_MESSAGES), BST_UNCHECKED);
}

TEST_F(MainDialog, AboutBoxIsModalAndLeavesTheDialogUnchanged)
{
    EXPECT_EQ(Convert(L"42"), L"101010");
    driver::PostClick(m_dialog, IDC_ABOUT);
    HWND about = m_program->WaitForWindow(L"バージョン情報", kStartTimeoutMs);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(m_dialog)) << "the main dialog waits while the About box is open";
    EXPECT_EQ(::GetWindow(about, GW_OWNER), m_dialog);
    ExpectCentredOver(WindowRect(about), WindowRect(m_dialog), WorkAreaOf(m_dialog), "the About box");

    const DWORD style = static_cast<DWORD>(::GetWindowLongW(about, GWL_STYLE));
    EXPECT_EQ(style & 0x80C800C8u, 0x80C800C8u) << std::hex << style;
    const std::vector<HWND> children = driver::ChildWindows(about);
    ASSERT_EQ(children.size(), 8u);
    EXPECT_EQ(::GetDlgCtrlID(children[0]), IDOK);
    EXPECT_EQ(driver::WindowCaption(children[0]), L"OK");
    EXPECT_EQ(driver::WindowCaption(children[1]), L"Binarok\x3000Ver1.2.12");
    const SIZE base = DialogBaseUnits(L"MS Shell Dlg", 8, DEFAULT_CHARSET);
    RECT client;
    ::GetClientRect(about, &client);
    ExpectRectNear(client, MapDialogUnits(base, 0, 0, 257, 117), "About client area");
    ExpectRectNear(RectInClient(about, children[0]), MapDialogUnits(base, 200, 96, 50, 14), "About OK button");
    for (size_t i = 1; i < children.size(); ++i)
        EXPECT_FALSE(driver::WindowCaption(children[i]).empty()) << "About line " << i;

    driver::PostClick(about, IDOK);
    EXPECT_TRUE(driver::WaitUntil([&] { return !::IsWindow(about); }, kExitTimeoutMs));
    EXPECT_TRUE(driver::WaitUntil([&] { return ::IsWindowEnabled(m_dialog) != FALSE; }, kExitTimeoutMs));
    EXPECT_TRUE(Running());
    EXPECT_EQ(driver::ControlText(m_dialog, IDC_DECIMAL_EDIT), L"42");
    EXPECT_EQ(driver::ControlText(m_dialog, IDC_BINARY_EDIT), L"101010");
}

TEST_F(MainDialog, AboutBoxOverADialogAtTheEdgeStaysInsideTheWorkArea)
{
    const RECT area = WorkAreaOf(m_dialog);
    const RECT main = WindowRect(m_dialog);
    // Most of the main dialog beyond the bottom-right corner of the work area.
    ::SetWindowPos(m_dialog, nullptr, area.right - (main.right - main.left) / 4, area.bottom - (main.bottom - main.top) / 4,
                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    driver::PostClick(m_dialog, IDC_ABOUT);
    HWND about = m_program->WaitForWindow(L"バージョン情報", kStartTimeoutMs);
    ASSERT_NE(about, nullptr);
    const RECT placed = WindowRect(about);
    EXPECT_EQ(placed.right, area.right);
    EXPECT_EQ(placed.bottom, area.bottom);
    driver::PostClick(about, IDOK);
    EXPECT_TRUE(driver::WaitUntil([&] { return !::IsWindow(about); }, kExitTimeoutMs));
}

TEST_F(MainDialog, ExitButtonEndsTheProcess)
{
    driver::PostClick(m_dialog, IDOK);
    DWORD exitCode = 1;
    ASSERT_TRUE(m_program->WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(m_program->MessageBoxes().empty());
}

// A quit message that reaches the program while the About box runs its own
// loop is passed on to the main dialog's loop, and the program ends.
TEST_F(MainDialog, AQuitMessageWhileTheAboutBoxIsOpenEndsTheProcess)
{
    driver::PostClick(m_dialog, IDC_ABOUT);
    ASSERT_NE(m_program->WaitForWindow(L"バージョン情報", kStartTimeoutMs), nullptr);
    ASSERT_TRUE(::PostThreadMessageW(::GetWindowThreadProcessId(m_dialog, nullptr), WM_QUIT, 0, 0));
    DWORD exitCode = 1;
    EXPECT_TRUE(m_program->WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(MainDialog, CommandLineArgumentsChangeNothing)
{
    driver::Program second(testenv::NumveraExe(), m_documents, L"/auto 12 --help");
    ASSERT_TRUE(second.Started());
    HWND dialog = second.WaitForWindow(L"Binarok", kStartTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "two starts give two independent dialogs";
    EXPECT_NE(dialog, m_dialog);
    driver::SetControlText(dialog, IDC_DECIMAL_EDIT, L"6");
    driver::Click(dialog, IDC_CONVERT);
    EXPECT_EQ(driver::ControlText(dialog, IDC_BINARY_EDIT), L"110");
    EXPECT_EQ(driver::ControlText(m_dialog, IDC_BINARY_EDIT), L"");
    driver::PostClick(dialog, IDOK);
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_TRUE(Running());
}

// The test prefix hands web addresses to tests/wine/record-link, which notes
// them in C:\opened-links.txt instead of browsing.
const wchar_t kOpenedLinks[] = L"C:\\opened-links.txt";

TEST_F(MainDialog, LinksOpenTheAddressTheyShow)
{
    ::DeleteFileW(kOpenedLinks);
    const std::wstring site = driver::ControlText(m_dialog, IDC_SITE_LINK);
    const std::wstring shop = driver::ControlText(m_dialog, IDC_SHOP_LINK);
    ASSERT_TRUE(driver::ClickThroughX(::GetDlgItem(m_dialog, IDC_SITE_LINK)));
    EXPECT_TRUE(driver::WaitUntil([&] { return testenv::ReadFileBytes(kOpenedLinks) == testenv::Utf8(site) + "\n"; }, 10000))
        << testenv::ReadFileBytes(kOpenedLinks);
    driver::PostClick(m_dialog, IDC_SHOP_LINK);
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return testenv::ReadFileBytes(kOpenedLinks) == testenv::Utf8(site + L"\n" + shop) + "\n"; }, 10000))
        << testenv::ReadFileBytes(kOpenedLinks);
    EXPECT_TRUE(Running());
    EXPECT_EQ(driver::ControlText(m_dialog, IDC_SITE_LINK), site);
}

// What a screen reader in another process says of the controls whose names
// the template order gets wrong, and of the links. The label of the binary
// and of the path field comes after the field in the template, where
// Windows looks for it.
enum class NameFrom { Text, Standard, Address };

struct ExpectedAccessible {
    int id;
    NameFrom from;
    const wchar_t* name;  // for NameFrom::Text
    long role;            // 0: the standard object's
};

const ExpectedAccessible kAccessibleControls[] = {
    {IDC_DECIMAL_EDIT, NameFrom::Text, L"10進数の正数を入力して下さい。", ROLE_SYSTEM_TEXT},
    {IDC_BINARY_EDIT, NameFrom::Text, L"２進数", ROLE_SYSTEM_TEXT},
    {IDC_EXE_PATH, NameFrom::Text, L"本ソフトウェアのフルパスです。プロセス起動する時にお使い下さい。", ROLE_SYSTEM_TEXT},
    // Shown only during an automatic run, whose dialog never appears.
    {IDC_PROGRESS_TEXT, NameFrom::Standard, nullptr, 0},
    {IDC_PROGRESS, NameFrom::Standard, nullptr, 0},
    {IDC_SHOP_LINK, NameFrom::Address, nullptr, ROLE_SYSTEM_LINK},
    {IDC_SITE_LINK, NameFrom::Address, nullptr, ROLE_SYSTEM_LINK},
};

TEST_F(MainDialog, AScreenReaderNamesEachFieldByItsLabelAndFollowsTheLinks)
{
    ::DeleteFileW(kOpenedLinks);
    std::wstring opened;
    for (const ExpectedAccessible& expected : kAccessibleControls) {
        SCOPED_TRACE("control " + std::to_string(expected.id));
        HWND control = ::GetDlgItem(m_dialog, expected.id);
        const driver::AccessibleView view = driver::ReadAccessibleObject(control);
        const driver::AccessibleView standard = driver::ReadStandardAccessibleObject(control);
        ASSERT_EQ(view.found, S_OK);
        const std::wstring address = driver::ControlText(m_dialog, expected.id);
        switch (expected.from) {
        case NameFrom::Text:
            EXPECT_EQ(view.name, expected.name) << testenv::Utf8(view.name);
            break;
        case NameFrom::Standard:
            EXPECT_EQ(view.name, standard.name) << testenv::Utf8(view.name);
            break;
        case NameFrom::Address:
            EXPECT_EQ(view.name, address) << testenv::Utf8(view.name);
            break;
        }
        EXPECT_EQ(view.role, expected.role != 0 ? expected.role : standard.role);
        if (expected.role != ROLE_SYSTEM_LINK)
            continue;
        EXPECT_EQ(view.value, address) << testenv::Utf8(view.value);
        EXPECT_EQ(view.defaultAction, L"open") << testenv::Utf8(view.defaultAction);
        // The default action opens the address as a click does.
        EXPECT_EQ(driver::DoAccessibleDefaultAction(control), S_OK);
        opened += address + L"\n";
        EXPECT_TRUE(driver::WaitUntil([&] { return testenv::ReadFileBytes(kOpenedLinks) == testenv::Utf8(opened); }, 10000))
            << testenv::ReadFileBytes(kOpenedLinks);
    }
    EXPECT_TRUE(Running());
}

TEST_F(MainDialog, ShowMessagesBoxOnlyTogglesItsCheckMark)
{
    EXPECT_EQ(Convert(L"9"), L"1001");
    driver::PostClick(m_dialog, IDC_AUTO_RUN);  // shows the box, after a message
    ASSERT_TRUE(m_program->AnswerMessageBox(kStartTimeoutMs, nullptr));
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::IsControlVisible(m_dialog, IDC_SHOW_MESSAGES); }, kExitTimeoutMs));
    for (int expected : {BST_CHECKED, BST_UNCHECKED}) {
        driver::Click(m_dialog, IDC_SHOW_MESSAGES);
        EXPECT_EQ(driver::CheckState(m_dialog, IDC_SHOW_MESSAGES), expected);
        EXPECT_EQ(driver::CheckState(m_dialog, IDC_AUTO_RUN), BST_CHECKED);
        EXPECT_TRUE(driver::IsControlVisible(m_dialog, IDC_SHOW_MESSAGES));
        EXPECT_EQ(driver::ControlText(m_dialog, IDC_BINARY_EDIT), L"1001");
        EXPECT_TRUE(m_program->MessageBoxes().empty());
    }
}

// The links draw in the system's hyperlink colour, whatever it is. Windows
// repaints a running program when the colours change; under Wine a running
// program keeps the colours it read when it started, so these tests set the
// colours before the start.
class MainDialogInColours : public MainDialog {
protected:
    void SetUp() override
    {
        m_colours.emplace(std::vector<std::pair<int, COLORREF>>{{COLOR_HOTLIGHT, kUnusualHotLight}});
        MainDialog::SetUp();
    }
    void TearDown() override
    {
        MainDialog::TearDown();
        m_colours.reset();
    }

    static constexpr COLORREF kUnusualHotLight = RGB(201, 17, 93);
    std::optional<driver::ScopedSystemColours> m_colours;
};

TEST_F(MainDialogInColours, LinksDrawInTheSystemHyperlinkColour)
{
    for (int link : {IDC_SHOP_LINK, IDC_SITE_LINK}) {
        SCOPED_TRACE("link " + std::to_string(link));
        // At least the underline, which runs under the whole address.
        const size_t underline = driver::ControlText(m_dialog, link).size() * 3;
        EXPECT_TRUE(driver::WaitUntil(
            [&] { return driver::CountPixels(driver::CaptureWindow(::GetDlgItem(m_dialog, link)), kUnusualHotLight) >= underline; },
            5000))
            << driver::CountPixels(driver::CaptureWindow(::GetDlgItem(m_dialog, link)), kUnusualHotLight) << " pixels";
    }
}

// The manifest asks for per-monitor v2. Neither Wine line tells v2 from v1
// through a window (Wine 8 knows no v2; Wine 10 gives a v2 program's windows
// the v1 context), so under Wine the awareness is what is seen; and Wine 8
// shows the windows of a system-aware program as per-monitor too, so only
// Wine 10 (and Windows) tells the two apart.
TEST_F(MainDialog, FollowsTheDpiOfItsMonitor)
{
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto windowContext = reinterpret_cast<DPI_AWARENESS_CONTEXT(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT)>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    const auto sameContexts = reinterpret_cast<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT)>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
    if (windowContext == nullptr || awarenessOf == nullptr || sameContexts == nullptr)
        GTEST_SKIP() << "this system knows no DPI awareness contexts";
    const DPI_AWARENESS_CONTEXT context = windowContext(m_dialog);
    EXPECT_EQ(awarenessOf(context), DPI_AWARENESS_PER_MONITOR_AWARE);
    if (testenv::WineLine() == 0)
        EXPECT_TRUE(sameContexts(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2));
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// How wide the address is in the template's font, underlined, at a DPI.
int AddressWidth(const std::wstring& address, int dpi)
{
    LOGFONTW logFont{};
    logFont.lfHeight = -::MulDiv(9, dpi, 72);
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    logFont.lfUnderline = TRUE;
    wcscpy_s(logFont.lfFaceName, L"MS UI Gothic");
    HDC screen = ::GetDC(nullptr);
    HFONT font = ::CreateFontIndirectW(&logFont);
    HGDIOBJ old = ::SelectObject(screen, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(screen, address.c_str(), static_cast<int>(address.size()), &extent);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return extent.cx;
}

// The underline runs under the whole address, in the hyperlink colour.
int ShownAddressWidth(HWND link)
{
    const driver::ColumnSpan span = driver::ColumnsShowing(driver::CaptureWindow(link), ::GetSysColor(COLOR_HOTLIGHT));
    return span.first < 0 ? 0 : span.last - span.first + 1;
}

std::vector<RECT> ChildRects(HWND dialog)
{
    std::vector<RECT> rects;
    for (HWND child : driver::ChildWindows(dialog))
        rects.push_back(RectInClient(dialog, child));
    return rects;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// One move to a monitor of another scale, as far as the message stands in
// for it, in turn on the same dialog. What the program draws and sizes
// itself follows the new DPI; the template's controls and fonts are
// Windows' to rescale on a real move, so the program moves none of them.
struct DpiChange {
    int dpi;              // 0: the message says nothing
    bool withRectangle;   // Windows' suggestion: 1.5 times the size, near the corner
    const char* what;
};

const DpiChange kDpiChanges[] = {
    {0, true, "a DPI of 0 changes nothing"},
    {144, true, "150 %: the suggested rectangle"},
    {96, false, "back to 100 %, without a rectangle: the window stays"},
};

TEST_F(MainDialog, MakesItsLinkFontAndIconsAgainAtANewDpi)
{
    const int screenDpi = ScreenDpi();
    int dpi = screenDpi;
    for (const DpiChange& change : kDpiChanges) {
        SCOPED_TRACE(change.what);
        const RECT before = WindowRect(m_dialog);
        const std::vector<RECT> controls = ChildRects(m_dialog);
        const RECT suggested{10, 10, 10 + (before.right - before.left) * 3 / 2, 10 + (before.bottom - before.top) * 3 / 2};
        const RECT expected = change.withRectangle && change.dpi != 0 ? suggested : before;
        if (change.dpi != 0)
            dpi = change.dpi;
        ASSERT_TRUE(driver::SendDpiChanged(m_dialog, static_cast<UINT>(change.dpi), change.withRectangle ? &suggested : nullptr));

        EXPECT_TRUE(SameRect(WindowRect(m_dialog), expected)) << "the window at " << WindowRect(m_dialog).left << ", "
                                                              << WindowRect(m_dialog).top;
        const std::vector<RECT> after = ChildRects(m_dialog);
        ASSERT_EQ(after.size(), controls.size());
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_TRUE(SameRect(after[i], controls[i])) << "control #" << i + 1 << " was moved or sized";
        for (int link : {IDC_SHOP_LINK, IDC_SITE_LINK}) {
            const int width = AddressWidth(driver::ControlText(m_dialog, link), dpi);
            int shown = 0;
            EXPECT_TRUE(driver::WaitUntil(
                [&] { return std::abs((shown = ShownAddressWidth(::GetDlgItem(m_dialog, link))) - width) <= 3; }, 5000))
                << "link " << link << ": " << shown << " pixels wide, " << width << " expected at " << dpi << " DPI";
        }
        if (testenv::WineLine() != 0) {
            const int bigIcon = ::MulDiv(::GetSystemMetrics(SM_CXICON), dpi, screenDpi);
            const int smallIcon = ::MulDiv(::GetSystemMetrics(SM_CXSMICON), dpi, screenDpi);
            std::vector<SIZE> icons;
            EXPECT_TRUE(driver::WaitUntil(
                [&] {
                    icons = driver::IconSizesOnX(m_dialog);
                    return icons.size() == 2 && icons[0].cx == bigIcon && icons[0].cy == bigIcon &&
                           icons[1].cx == smallIcon && icons[1].cy == smallIcon;
                },
                5000))
                << icons.size() << " icons, the first " << (icons.empty() ? 0 : icons[0].cx) << " pixels; " << bigIcon
                << " and " << smallIcon << " expected";
        }
    }
    EXPECT_TRUE(Running());
}

// The driver's view of message boxes, on boxes this test process shows.
TEST(TestDriverMessageBoxes, ListsTextAndIconAndPressesOk)
{
    const struct {
        UINT type;
        driver::MessageIcon icon;
    } cases[] = {{MB_ICONERROR, driver::MessageIcon::Error}, {MB_ICONINFORMATION, driver::MessageIcon::Information}};
    for (const auto& c : cases) {
        int answer = 0;
        std::thread box([&] { answer = ::MessageBoxW(nullptr, L"一行目\r\n二行目", L"Numvera", c.type | MB_OK); });
        std::vector<driver::MessageBoxInfo> boxes;
        EXPECT_TRUE(driver::WaitUntil(
            [&] {
                boxes = driver::ProcessMessageBoxes(::GetCurrentProcessId());
                return boxes.size() == 1;
            },
            10000));
        if (boxes.size() == 1) {
            EXPECT_EQ(boxes[0].caption, L"Numvera");
            EXPECT_EQ(boxes[0].text, L"一行目\r\n二行目");
            ::Sleep(300);  // the icon is compared with what the screen shows
            EXPECT_EQ(driver::ClassifyMessageIcon(boxes[0].window), c.icon);
            driver::PressOk(boxes[0].window);
        }
        box.join();
        EXPECT_EQ(answer, IDOK);
    }
}

// Key presses come through the X server, so they travel the real input path:
// the modal loop, PreTranslateMessage, then the focused control.
class MainDialogKeyboard : public MainDialog {
protected:
    void Press(const std::vector<std::string>& keys)
    {
        ASSERT_TRUE(driver::PressKeysThroughX(m_dialog, keys)) << "xdotool could not be run";
    }
};

TEST_F(MainDialogKeyboard, TabEnterEscOnACheckBoxNeitherMoveTheFocusNorClose)
{
    driver::FocusControl(m_dialog, IDC_AUTO_RUN);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusedControlId(m_dialog) == IDC_AUTO_RUN; }, 5000));
    // Space checks the box, whose handler answers with a message: seeing it
    // means the keys before it are done.
    Press({"Tab", "Return", "Escape", "shift+Tab", "Down", "space"});
    driver::MessageBoxInfo box{};
    EXPECT_TRUE(m_program->AnswerMessageBox(10000, &box));
    EXPECT_EQ(box.icon, driver::MessageIcon::Information);
    EXPECT_TRUE(Running()) << "Enter or Esc closed the dialog";
    EXPECT_EQ(driver::CheckState(m_dialog, IDC_AUTO_RUN), BST_CHECKED);
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::FocusedControlId(m_dialog) == IDC_AUTO_RUN; }, 5000));
}

TEST_F(MainDialogKeyboard, SpaceOnTheFocusedConvertButtonClicksIt)
{
    driver::SetControlText(m_dialog, IDC_DECIMAL_EDIT, L"255");
    driver::FocusControl(m_dialog, IDC_CONVERT);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusedControlId(m_dialog) == IDC_CONVERT; }, 5000));
    Press({"Tab", "Escape", "space"});
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ControlText(m_dialog, IDC_BINARY_EDIT) == L"11111111"; }, 5000));
    EXPECT_TRUE(Running());
    EXPECT_EQ(driver::FocusedControlId(m_dialog), IDC_CONVERT);
}

TEST_F(MainDialogKeyboard, EnterInTheDecimalFieldDoesNotConvert)
{
    driver::FocusControl(m_dialog, IDC_DECIMAL_EDIT);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusedControlId(m_dialog) == IDC_DECIMAL_EDIT; }, 5000));
    Press({"7", "Return", "8"});
    // Whether the field takes the line break is its own business; the 8
    // arriving after it shows that Enter has been handled.
    EXPECT_TRUE(driver::WaitUntil(
        [&] {
            const std::wstring text = driver::ControlText(m_dialog, IDC_DECIMAL_EDIT);
            return !text.empty() && text.back() == L'8';
        },
        5000));
    const std::wstring typed = driver::ControlText(m_dialog, IDC_DECIMAL_EDIT);
    EXPECT_TRUE(typed == L"78" || typed == L"7\r\n8") << testenv::Utf8(typed);
    EXPECT_EQ(driver::ControlText(m_dialog, IDC_BINARY_EDIT), L"");
    EXPECT_TRUE(Running());
}

// The one surprise: a multi-line edit field handles Esc itself once it knows
// it is in a dialog (under Wine, from the first character typed into it) and
// closes the dialog the way a cancel does, so nothing is saved.
TEST_F(MainDialogKeyboard, EscAfterADigitInTheDecimalFieldEndsWithoutSaving)
{
    // Settings unlike the clear boxes on screen: the exit button would
    // overwrite them with 0 and 0.
    const std::wstring settings = Settings();
    OpenGate();
    driver::FocusControl(m_dialog, IDC_DECIMAL_EDIT);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusedControlId(m_dialog) == IDC_DECIMAL_EDIT; }, 5000));
    Press({"7", "Escape"});
    DWORD exitCode = 1;
    EXPECT_TRUE(m_program->WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u) << "an interactive start ends with 0, however it is closed";
    EXPECT_EQ(testenv::ReadFileBytes(settings), "1\r\n1");
}

TEST_F(MainDialogKeyboard, EnterAndEscOnTheExitButtonDoNotClose)
{
    driver::FocusControl(m_dialog, IDOK);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusedControlId(m_dialog) == IDOK; }, 5000));
    Press({"Return", "Escape", "Tab"});
    ::Sleep(1000);  // nothing observable can mark the end of keys that do nothing
    EXPECT_TRUE(Running());
    EXPECT_EQ(driver::FocusedControlId(m_dialog), IDOK);
    Press({"space"});
    DWORD exitCode = 1;
    EXPECT_TRUE(m_program->WaitForExit(kExitTimeoutMs, &exitCode)) << "Space on the exit button ends the program";
}

}  // namespace
