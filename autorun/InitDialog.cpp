// Dialog initialisation: the window's icons and path, the working folders,
// the saved settings, and the choice between interactive and automatic mode.
#include "autorun/AutomaticMessages.h"
#include "autorun/BatchText.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "storage/FileHelpers.h"
#include "storage/SettingsText.h"
#include "storage/StorageState.h"
#include "ui/FieldLabels.h"
#include "ui/NumveraDlg.h"

namespace {

// How often a start that waits for its turn looks again.
constexpr DWORD kRunLockPollMs = 50;

}  // namespace

BOOL CNumveraDlg::OnInitDialog()
{
    m_automaticOutcome = Refusal::None;  // the dialog exists: no longer DialogNotCreated
    CDialogEx::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    // The same icon's images at the sizes of the window's DPI, where they load.
    SetWindowIconsForDpi(m_hWnd, WindowDpi(m_hWnd), m_windowIcons);
    NameFieldsByTheirLabels(m_hWnd);

    wchar_t exePath[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, exePath, MAX_PATH) != 0)
        m_exePathEdit.SetWindowText(exePath);

    // Without a documents folder every working path would lie below the root
    // of the current drive: then nothing is created or read, and the start
    // is interactive.
    QueryDocumentsDir();
    const bool haveDocuments = !g_documentsDir.empty();
    if (haveDocuments) {
        g_productDir = JoinPath(g_documentsDir, kProductSuffix);
        if (!IsFolder(g_productDir))
            MakeFolderLevel(g_productDir);
        g_resultDir = JoinPath(g_documentsDir, kResultSuffix);
        MakeFolderLevel(g_resultDir);  // fails harmlessly when it exists
        g_tempDir = JoinPath(g_documentsDir, kTempSuffix);
        if (!IsFolder(g_tempDir))
            MakeFolderLevel(g_tempDir);
        LoadSettingsIntoCheckBoxes();
        g_autoDir = JoinPath(g_documentsDir, kAutoSuffix);
    }

    if (!haveDocuments || !IsFolder(g_autoDir)) {
        m_progressTextEdit.ShowWindow(SW_HIDE);
        m_progressBar.ShowWindow(SW_HIDE);
        if (m_autoRunCheck.GetCheck() == BST_CHECKED)
            m_autoRunCheck.SetCheck(BST_UNCHECKED);
        m_showMessagesCheck.ShowWindow(SW_HIDE);
        return TRUE;
    }

    // Another start may be answering a request this moment: the input is
    // looked at only once that run has ended, so it is the one there now.
    m_automaticOutcome = TakeAutomaticRunLock();
    if (m_automaticOutcome == Refusal::None)
        m_automaticOutcome = CheckInputFile(JoinPath(g_autoDir, kInputFileSuffix));
    if (m_automaticOutcome == Refusal::None)
        m_automaticOutcome = RunBatch(JoinPath(g_resultDir, kResultFileSuffix));
    else
        EndRefusedRun(m_automaticOutcome);
    return TRUE;
}

void CNumveraDlg::LoadSettingsIntoCheckBoxes()
{
    const std::wstring settingsFile = JoinPath(g_tempDir, kSettingsFileSuffix);
    if (!IsPlainFile(settingsFile))
        return;
    ParseSettingsText(ReadWholeFile(settingsFile));
    if (IsSettingOn(g_settingLines[kAutoRunSettingLine])) {
        m_autoRunCheck.SetCheck(BST_CHECKED);
        m_showMessagesCheck.ShowWindow(SW_SHOW);
        m_showMessagesCheck.SetCheck(IsSettingOn(g_settingLines[kShowMessagesSettingLine]) ? BST_CHECKED : BST_UNCHECKED);
    } else {
        m_autoRunCheck.SetCheck(BST_UNCHECKED);
        m_showMessagesCheck.ShowWindow(SW_HIDE);
    }
}

// Waits while another start holds the lock of this product folder, at most
// kRunLockWaitMs, answering the window's messages meanwhile: InUse when it is
// still held then, NoTurn when it cannot be opened at all (temp a plain file,
// no access), None once it is held here.
Refusal CNumveraDlg::TakeAutomaticRunLock()
{
    const std::wstring lockFile = JoinPath(g_tempDir, kRunLockFileSuffix);
    const ULONGLONG deadline = ::GetTickCount64() + kRunLockWaitMs;
    for (;;) {
        const LockAttempt attempt = m_automaticRun.TryTakeTurn(lockFile);
        if (attempt == LockAttempt::Taken)
            return Refusal::None;
        if (attempt == LockAttempt::Failed)
            return Refusal::NoTurn;
        if (::GetTickCount64() >= deadline)
            return Refusal::InUse;
        ::Sleep(kRunLockPollMs);
        PumpPendingMessages();
    }
}

// Reads the input file into g_inputText and keeps it open in m_automaticRun;
// what refuses the request, or None when the batch run may start.
// Its size and bytes are those that the held open reads, so a writer that
// closes the file a moment after the start is waited for, not taken for empty.
Refusal CNumveraDlg::CheckInputFile(const std::wstring& inputFilePath)
{
    if (!IsPlainFile(inputFilePath))
        return Refusal::InputMissing;
    switch (m_automaticRun.ReadAndHoldInput(inputFilePath, g_inputText)) {
    case ReadOutcome::Read:
        break;
    case ReadOutcome::StoppedAtNul:  // a NUL is a character like any other that is not allowed
        return Refusal::InputNotNumbers;
    case ReadOutcome::TooLarge:
        return Refusal::InputTooLarge;
    case ReadOutcome::NotOpened:  // gone meanwhile, or still held by another program
        return IsPlainFile(inputFilePath) ? Refusal::InputUnreadable : Refusal::InputMissing;
    default:
        return Refusal::InputUnreadable;
    }
    if (g_inputText.empty())
        return Refusal::InputEmpty;
    if (!IsDigitsAndLineBreaksOnly(g_inputText))
        return Refusal::InputNotNumbers;
    return Refusal::None;
}
