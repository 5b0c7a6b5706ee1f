// The main dialog: one modal window holding every control of the program.
#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

class CNumveraDlg : public CDialogEx {
public:
    explicit CNumveraDlg(CWnd* parent = nullptr);
    ~CNumveraDlg() override = default;

    enum { IDD = IDD_MAIN };

protected:
    const AFX_MSGMAP* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnAbout();
    void OnConvert();
    void OnExit();

    // Whether a message box of automatic mode may be shown now.
    bool IsMessageGateOpen();

    HICON m_hIcon;
    CEdit m_decimalEdit;
    CEdit m_binaryEdit;
    CEdit m_progressTextEdit;
    CProgressCtrl m_progressBar;
    CButton m_exitButton;
    CButton m_showMessagesCheck;
    CButton m_autoRunCheck;
    CEdit m_exePathEdit;
};
