// Modal dialogs with a modal loop of our own, so that PreTranslateMessage sees
// every message before the dialog manager (IsDialogMessage) does.
#pragma once

#include <windows.h>

#include "framework/CmdTarget.h"
#include "framework/Wnd.h"

class CDataExchange {
public:
    explicit CDataExchange(CWnd* dialog) : m_pDlgWnd(dialog) {}

    CWnd* m_pDlgWnd;
};

// Attaches the wrapper to the dialog's control with the given id.
void DDX_Control(CDataExchange* pDX, int controlId, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override = default;

    // Creates the dialog from its template, runs it until EndDialog, destroys
    // it and returns the result; -1 when the dialog cannot be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Ends the modal run; code after the call still runs.
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The dialog object behind a window of ours, or null.
    static CDialog* FromHandle(HWND window);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnPaint();
    virtual HCURSOR OnQueryDragIcon();
    // The window moved to a monitor of another DPI, or its DPI changed. The
    // dialog takes the rectangle Windows suggests (none: it stays) and its
    // links make their fonts again; Windows itself lays out and rescales the
    // template's controls and fonts of a per-monitor dialog.
    virtual void OnDpiChanged(UINT dpi, const RECT* suggested);
    const AFX_MSGMAP* GetMessageMap() const override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL InitDialog();
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop();
    void ExecuteDlgInit();
    HWND GetSafeOwner() const;

    UINT m_templateId;
    CWnd* m_pParentWnd;
    bool m_continueModal = false;
    INT_PTR m_nModalResult = -1;
};

// No additions of its own: the program uses no dialog background images.
class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};
