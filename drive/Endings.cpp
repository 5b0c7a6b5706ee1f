#include "drive/Endings.h"

#include <windows.h>

#include <atomic>

namespace {

// Windows ends a process 5 s after closing its console or ending the session
// when it has not ended by itself.
constexpr DWORD kGraceMs = 4500;

std::atomic<bool> g_endingAsked{false};
HANDLE g_putBack = nullptr;  // set once everything is put back

void AwaitPutBack()
{
    g_endingAsked = true;
    ::WaitForSingleObject(g_putBack, kGraceMs);
}

BOOL WINAPI OnConsoleEvent(DWORD type)
{
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
        AwaitPutBack();
    return TRUE;
}

LRESULT CALLBACK OnSessionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION)
        return TRUE;
    if (message == WM_ENDSESSION) {
        if (wParam)
            AwaitPutBack();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A console program that uses user32, as this one does, gets no logoff or
// shutdown event from its console: Windows tells its top-level windows
// instead, so it needs one, hidden, with a thread that answers it.
DWORD WINAPI WatchSession(void*)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = OnSessionMessage;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"numvera-drive session";
    ::RegisterClassW(&windowClass);
    if (::CreateWindowW(windowClass.lpszClassName, L"numvera-drive", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                        windowClass.hInstance, nullptr) == nullptr)
        return 1;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return 0;
}

}  // namespace

void HoldEndings()
{
    g_putBack = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Never removed: a handler waiting for the request holds the console's
    // handler list, and the process ends right after the request anyway.
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);

    // Under Wine the first window call may start the desktop process, which
    // keeps the caller's standard error for the rest of the session: make
    // that call with none, before any other thread can make one.
    HANDLE errorOutput = ::GetStdHandle(STD_ERROR_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, nullptr);
    ::GetDesktopWindow();
    ::SetStdHandle(STD_ERROR_HANDLE, errorOutput);

    HANDLE thread = ::CreateThread(nullptr, 0, WatchSession, nullptr, 0, nullptr);
    if (thread != nullptr)
        ::CloseHandle(thread);
}

bool IsEndingAsked() { return g_endingAsked; }

void SignalPutBack()
{
    if (g_putBack != nullptr)
        ::SetEvent(g_putBack);
}
