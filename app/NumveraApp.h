// The application object: prepares the user-interface services and runs the
// main dialog once.
#pragma once

#include "framework/WinApp.h"

class CNumveraApp : public CWinApp {
public:
    CNumveraApp();
    ~CNumveraApp() override = default;

    BOOL InitInstance() override;
    // The exit status: how the automatic run ended, 0 for an interactive start.
    int ExitInstance() override;

protected:
    const AFX_MSGMAP* GetMessageMap() const override;

private:
    int m_exitStatus = 0;
};
