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

    // Fetches, filters and dispatches one message; false when it fetched WM_QUIT.
    BOOL PumpMessage();
    virtual BOOL PreTranslateMessage(MSG* msg);

    void DoWaitCursor(int change);
    int WaitCursorCount() const { return m_nWaitCursorCount; }

    // Names the profile location only; nothing of this program is stored there.
    void SetRegistryKey(const wchar_t* companyName) { m_registryKey = companyName; }

    void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_pszAppName;
    DWORD m_dwRestartManagerSupportFlags = 0;

private:
    std::wstring m_registryKey;
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

struct CRuntimeClass {
    const char* m_lpszClassName;
};

class CMFCVisualManager {
public:
    static void SetDefaultManager(const CRuntimeClass* managerClass) { s_defaultManager = managerClass; }

private:
    static inline const CRuntimeClass* s_defaultManager = nullptr;
};

class CMFCVisualManagerWindows : public CMFCVisualManager {
public:
    static inline const CRuntimeClass classCMFCVisualManagerWindows{"CMFCVisualManagerWindows"};
};
