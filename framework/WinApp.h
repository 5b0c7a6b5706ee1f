// The application object, the entry that finds it, and the few application
// services the program calls: message boxes, the wait cursor, message pumping.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CmdTarget.h"
#include "framework/Wnd.h"

constexpr UINT ID_HELP = 0xE146;  // 57670

// Restart-manager support flags (the word CWinApp keeps for them).
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;

class CWinApp : public CCmdTarget {
public:
    // appName null: the name is the executable's file name without extension.
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Fetches, filters and dispatches one message. False when it fetched
    // WM_QUIT: every loop that pumps here runs inside another (a modal loop,
    // a drain of pending messages), so the message is posted again for the
    // loop outside, and its code kept for ExitInstance.
    BOOL PumpMessage();
    virtual BOOL PreTranslateMessage(MSG* msg);

    void DoWaitCursor(int change);
    int WaitCursorCount() const { return m_nWaitCursorCount; }

    // Would name the profile location; nothing of this program is stored there.
    void SetRegistryKey(const wchar_t* /*companyName*/) {}

    void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_pszAppName;
    DWORD m_dwRestartManagerSupportFlags = 0;

private:
    int m_nWaitCursorCount = 0;
    int m_quitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type);
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

// Stand-ins for services the start-up sets up but this program never uses: it
// has no shell tree or list controls, and its styled controls always draw in
// the native Windows look.
class CShellManager {};

struct CRuntimeClass {};

class CMFCVisualManager {
public:
    static void SetDefaultManager(const CRuntimeClass* /*managerClass*/) {}
};

class CMFCVisualManagerWindows : public CMFCVisualManager {
public:
    static inline const CRuntimeClass classCMFCVisualManagerWindows{};
};
