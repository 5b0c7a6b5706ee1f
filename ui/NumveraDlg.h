// The main dialog: one modal window holding every control of the program.
// Its members are defined by what they do:
//   ui/NumveraDlg.cpp         construction, controls, keys, painting, DPI,
//                             the About box, PumpPendingMessages
//   autorun/InitDialog.cpp    OnInitDialog and the run's first steps: the
//                             settings, the turn, the input's check
//   autorun/BatchRun.cpp      RunBatch, its progress and both ways a run ends
//   autorun/AutoRunSwitch.cpp OnAutoRunClicked
//   convert/ConvertCommand.cpp OnConvert
//   storage/ExitCommand.cpp   OnExit, which saves the settings
//   storage/MessageGate.cpp   IsMessageGateOpen
#pragma once

#include <cstdint>
#include <string>

#include "autorun/AutomaticRun.h"
#include "framework/Dialog.h"
#include "protocol/FileProtocol.h"
#include "res/resource.h"
#include "ui/WindowIcons.h"

class ProgressThrottle;

class CNumveraDlg : public CDialogEx {
public:
    explicit CNumveraDlg(CWnd* parent = nullptr);
    ~CNumveraDlg() override;

    enum { IDD = IDD_MAIN };

    // How the automatic run ended, which is the program's exit status; None
    // for an interactive start, DialogNotCreated when initialisation never ran.
    Refusal AutomaticOutcome() const { return m_automaticOutcome; }

protected:
    const AFX_MSGMAP* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;

    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnDpiChanged(UINT dpi, const RECT* suggested) override;
    void OnAbout();
    void OnConvert();
    void OnExit();
    void OnAutoRunClicked();

    // Whether a message box of automatic mode may be shown now.
    bool IsMessageGateOpen();

    // Dialog initialisation and the automatic run.
    void LoadSettingsIntoCheckBoxes();
    Refusal TakeAutomaticRunLock();
    Refusal CheckInputFile(const std::wstring& inputFilePath);
    Refusal EndRefusedRun(Refusal refusal);
    // Answers the input that m_automaticRun holds and removes it.
    Refusal RunBatch(std::wstring resultFilePath);
    void BeginBatch();
    void PumpPendingMessages();
    void StepProgress(ProgressThrottle& throttle, int64_t position, int64_t maximum, bool phaseEnd);
    void RestoreAfterBatch();
    void FinishBatch();

    HICON m_hIcon;
    WindowIcons m_windowIcons;  // m_hIcon's images at the window's DPI
    CEdit m_decimalEdit;
    CEdit m_binaryEdit;
    CEdit m_progressTextEdit;
    CProgressCtrl m_progressBar;
    CButton m_exitButton;
    CButton m_showMessagesCheck;
    CButton m_autoRunCheck;
    CEdit m_exePathEdit;

    // The turn and the input, held from the check of the input to its
    // removal and let go before any message box.
    AutomaticRun m_automaticRun;
    Refusal m_automaticOutcome = Refusal::DialogNotCreated;
};
