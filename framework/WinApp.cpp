#include "framework/WinApp.h"

#include <objbase.h>

#include "framework/Dialog.h"
#include "framework/StyledControls.h"

namespace {

CWinApp* g_theApp = nullptr;

std::wstring ExecutableBaseName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

}  // namespace

CWinApp::CWinApp(const wchar_t* appName)
{
    if (appName != nullptr)
        m_pszAppName = appName;
    g_theApp = this;
}

CWinApp::~CWinApp()
{
    if (g_theApp == this)
        g_theApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART)
        ::RegisterApplicationRestart(L"", 0);
    return TRUE;
}

int CWinApp::ExitInstance() { return m_quitCode; }

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
        m_quitCode = static_cast<int>(msg.wParam);
        ::PostQuitMessage(m_quitCode);
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    // The dialog that holds the target window filters the message first.
    if (msg->hwnd == nullptr)
        return FALSE;
    CDialog* dialog = CDialog::FromHandle(::GetAncestor(msg->hwnd, GA_ROOT));
    return dialog != nullptr && dialog->PreTranslateMessage(msg);
}

void CWinApp::DoWaitCursor(int change)
{
    m_nWaitCursorCount += change;
    if (m_nWaitCursorCount > 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
}

// The program ships no help content, so the help command has nothing to open.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return g_theApp; }

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleW(nullptr); }

// All resources live in the executable itself.
HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type)
{
    HINSTANCE module = AfxGetResourceHandle();
    return ::FindResourceW(module, name, type) != nullptr ? module : nullptr;
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT /*helpId*/)
{
    CWinApp* app = AfxGetApp();
    HWND owner = app->m_pMainWnd != nullptr ? app->m_pMainWnd->m_hWnd : nullptr;
    // Owned by a window that is not shown, a box would have no taskbar button
    // and could open behind other programs' windows, where nobody finds it:
    // it stands alone then and comes to the front.
    if (owner != nullptr && !::IsWindowVisible(owner)) {
        owner = nullptr;
        type |= MB_SETFOREGROUND;
    }
    return ::MessageBoxW(owner, text, app->m_pszAppName.c_str(), type);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR /*commandLine*/, int /*showCommand*/)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->m_hInstance = instance;
    if (app->m_pszAppName.empty())
        app->m_pszAppName = ExecutableBaseName();
    RegisterStyledControlClasses(instance);
    // An apartment for the user-interface thread: screen readers in other
    // processes reach the controls' accessible objects through it, and the
    // shell opens the links' addresses in it.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    // A dialog-based program: InitInstance runs the dialog and returns FALSE,
    // and no application message loop follows.
    app->InitInstance();
    const int status = app->ExitInstance();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return status;
}

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
