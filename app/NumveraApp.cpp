#include "app/NumveraApp.h"

#include <commctrl.h>

#include <new>

#include "ui/NumveraDlg.h"

CNumveraApp theApp;

CNumveraApp::CNumveraApp()
{
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

const AFX_MSGMAP* CNumveraApp::GetMessageMap() const
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        {ID_HELP, 0, static_cast<AFX_PMSG>(&CWinApp::OnHelp)},
    };
    static const AFX_MSGMAP map(CWinApp::GetMessageMap(), entries);
    return &map;
}

BOOL CNumveraApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;  // 8 bytes
    // The progress bar is the one common control the dialog uses; the whole
    // Windows 95 set costs no more to register and is what every Windows has.
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    CWinApp::InitInstance();

    // Lives for the dialog's run only; the program has no shell controls.
    CShellManager* shellManager = new (std::nothrow) CShellManager;

    CMFCVisualManager::SetDefaultManager(&CMFCVisualManagerWindows::classCMFCVisualManagerWindows);

    SetRegistryKey(L"アプリケーション ウィザードで生成されたローカル アプリケーション");

    CNumveraDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();  // every way the dialog ends takes the same path
    m_exitStatus = static_cast<int>(dialog.AutomaticOutcome());

    delete shellManager;
    return FALSE;  // no application message loop: the process ends here
}

int CNumveraApp::ExitInstance()
{
    CWinApp::ExitInstance();
    return m_exitStatus;
}
