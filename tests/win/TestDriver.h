// Drives Numvera.exe from another process, the way a user or a driving
// program does: launch it with its own documents folder, find its windows,
// read and set control texts, click, press OK on message boxes, wait for exit.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace driver {

enum class MessageIcon { None, Error, Information, Other };

struct MessageBoxInfo {
    HWND window;
    std::wstring caption;
    std::wstring text;
    MessageIcon icon;
    HWND owner;       // null: it stands alone, with a taskbar button
    bool foreground;  // the foreground window when it was looked at
};

// Starts a process with NUMVERA_TEST_DOCS set to documentsDir (empty: the
// variable is removed). Under load Wine 8 has been seen to fail a start now
// and then; it is tried three times. 0, or why the last try failed.
DWORD StartProcess(const std::wstring& exePath, std::wstring commandLine, const std::wstring& documentsDir,
                   STARTUPINFOW& startup, bool inheritHandles, PROCESS_INFORMATION* process);

class Program {
public:
    // Starts the executable with StartProcess, arguments appended to its
    // command line.
    Program(const std::wstring& exePath, const std::wstring& documentsDir, const std::wstring& arguments = L"");
    ~Program();  // ends the process if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    // Why the last try to start failed; 0 when it started.
    DWORD StartError() const { return m_startError; }
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // A visible top-level window of the process with this caption, or null.
    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const;
    // Whether the process ended within the time; its exit code in exitCode.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const;
    std::vector<MessageBoxInfo> MessageBoxes() const;
    // Waits for a message box of the process, notes it, presses its OK and
    // waits until it has closed; false when none came in time.
    bool AnswerMessageBox(DWORD timeoutMs, MessageBoxInfo* seen) const;

private:
    PROCESS_INFORMATION m_process{};
    DWORD m_startError = 0;
};

std::vector<HWND> VisibleTopLevelWindows(DWORD processId);
// Hidden ones too.
std::vector<HWND> AllTopLevelWindows(DWORD processId);
std::vector<MessageBoxInfo> ProcessMessageBoxes(DWORD processId);
std::wstring WindowCaption(HWND window);
std::wstring ClassNameOf(HWND window);

std::wstring ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::wstring& text);
// Clicks and waits until the handler has returned.
void Click(HWND dialog, int id);
// Clicks without waiting, for handlers that open modal windows.
void PostClick(HWND dialog, int id);
int CheckState(HWND dialog, int id);
bool IsControlVisible(HWND dialog, int id);
bool IsControlEnabled(HWND dialog, int id);
// Moves the keyboard focus inside the dialog, from the dialog's own thread.
void FocusControl(HWND dialog, int id);
int FocusedControlId(HWND dialog);

// The children of a window in Z order, which for a dialog is template order.
std::vector<HWND> ChildWindows(HWND parent);

// Waits until the condition holds or the time is up; returns the last answer.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(20);
    }
}

// Which standard icon a message box shows; compares pixels, so needs a display.
MessageIcon ClassifyMessageIcon(HWND messageBox);
void PressOk(HWND messageBox);

// Real key presses through the X server (xdotool), into the X window behind
// the given top-level window, which receives the X input focus first. Wine
// only: the tool is started with Wine's Unix spawn. Keys are xdotool names
// ("Tab", "Return", "space", "7"). False when the keys could not be sent.
bool PressKeysThroughX(HWND topLevel, const std::vector<std::string>& keys);

// A real left click through the X server in the middle of the control.
bool ClickThroughX(HWND control);

// The sizes of the icons that the X window behind a top-level window offers
// the window manager and the taskbar, which Wine makes from the window's big
// and small icon (tests/wine/window-icon-sizes reads them). Wine only; empty
// when they could not be read.
std::vector<SIZE> IconSizesOnX(HWND topLevel);

// Sends WM_DPICHANGED as Windows does when a window comes to a monitor of
// that DPI, with the suggested rectangle (none: a null pointer) written into
// the program's own memory, where the message's pointer points. Nothing
// else of a real move happens: Windows' own rescaling of a dialog's
// template does not. False when it could not be sent.
bool SendDpiChanged(HWND window, UINT dpi, const RECT* suggested);

// What a screen reader in another process learns of a control: its accessible
// object (Active Accessibility) through AccessibleObjectFromWindow.
struct AccessibleView {
    HRESULT found;  // AccessibleObjectFromWindow's answer; the rest is empty unless it succeeded
    std::wstring name;
    long role;
    std::wstring value;
    std::wstring defaultAction;
};
AccessibleView ReadAccessibleObject(HWND control);
// The same of the standard accessible object made in this process, which
// nothing the program does can change.
AccessibleView ReadStandardAccessibleObject(HWND control);
// Carries out the control's default action, as a screen reader does.
HRESULT DoAccessibleDefaultAction(HWND control);

// Sets system colours for every program of the session from now on, and
// puts back the ones it found when it goes. Under Wine a program that runs
// already keeps the colours it read when it started.
class ScopedSystemColours {
public:
    explicit ScopedSystemColours(const std::vector<std::pair<int, COLORREF>>& colours);
    ~ScopedSystemColours();
    ScopedSystemColours(const ScopedSystemColours&) = delete;
    ScopedSystemColours& operator=(const ScopedSystemColours&) = delete;

private:
    std::vector<int> m_indexes;
    std::vector<COLORREF> m_before;
};

// What the screen shows of a window, row by row from the top.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};
WindowPixels CaptureWindow(HWND window);

// The columns in which a colour shows, or -1 and -1 when it shows nowhere.
struct ColumnSpan {
    int first;
    int last;
};
ColumnSpan ColumnsShowing(const WindowPixels& image, COLORREF colour);
size_t CountPixels(const WindowPixels& image, COLORREF colour);

// Saves what the screen shows of the window as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::wstring& bmpPath);

}  // namespace driver
