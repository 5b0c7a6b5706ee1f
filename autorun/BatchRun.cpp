// The batch run: converts every line of the admitted input text, writes the
// result file, removes the input file and ends the dialog, showing progress
// on the way. It runs inside dialog initialisation, before the dialog shows.
#include <chrono>
#include <utility>

#include "autorun/AutomaticMessages.h"
#include "autorun/BatchText.h"
#include "framework/WinApp.h"
#include "storage/FileHelpers.h"
#include "storage/StorageState.h"
#include "ui/NumveraDlg.h"
#include "ui/ProgressThrottle.h"

namespace {

int64_t MonotonicMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int ClientWidth(const CWnd& window)
{
    RECT client{};
    window.GetClientRect(&client);
    return client.right - client.left;
}

}  // namespace

// One progress step: drain the queue, move the bar, show the label; each only
// when the throttle says it would change something.
void CNumveraDlg::StepProgress(ProgressThrottle& throttle, int64_t position, int64_t maximum, bool phaseEnd)
{
    const ProgressActions actions = throttle.Step(position, maximum, phaseEnd);
    if (actions.drain)
        PumpPendingMessages();
    if (actions.setPosition)
        m_progressBar.SetPos(static_cast<int>(position));
    if (actions.setLabel)
        m_progressTextEdit.SetWindowText(ProgressLabel(position, maximum).c_str());
}

Refusal CNumveraDlg::RunBatch(std::wstring resultFilePath)
{
    BeginBatch();
    const int64_t length = static_cast<int64_t>(g_inputText.size());
    // Three times the text, so that the first phase fills at most a third of
    // the bar and its label never passes 33 %.
    const int64_t splitMaximum = 3 * (length + 1);
    ProgressThrottle throttle(ClientWidth(m_progressBar), MonotonicMilliseconds);
    m_progressBar.SetRange32(0, static_cast<int>(splitMaximum));
    TrimTrailingLineBreaks(g_inputText);
    const int64_t trimmed = static_cast<int64_t>(g_inputText.size());

    // The lines are read in one pass, as values rather than strings of their
    // own; the first phase then shows one step per character of the trimmed
    // text, as a split character by character would.
    const InputLines lines = ReadInputLines(g_inputText);
    for (int64_t i = 0; i < trimmed; ++i)
        StepProgress(throttle, i, splitMaximum, i == trimmed - 1);

    // The lines to convert: empty ones are not counted.
    g_inputLineCount = static_cast<int32_t>(lines.values.size());
    g_maxValue = lines.largest;
    if (g_maxValue > kLargestValue)
        return EndRefusedRun(Refusal::ValueTooLarge);

    // Convert: one progress step per line, on a bar that starts again from 0.
    // Its positions go on from the text's length, one per line, then the
    // write, the removal and the end: count + length + 4 is the last.
    const int64_t count = g_inputLineCount;
    const int64_t convertMaximum = count + length + 4;
    m_progressBar.SetPos(0);
    m_progressBar.SetRange32(0, static_cast<int>(convertMaximum));
    throttle.BarResetToZero();
    std::string resultBytes = BuildResultBytes(lines.values);
    for (int64_t k = 0; k < count; ++k)
        StepProgress(throttle, length + 1 + k, convertMaximum, k == count - 1);

    // Write, then remove the input: a request is answered completely or not at all.
    StepProgress(throttle, count + length + 2, convertMaximum, true);
    if (!WriteWholeFile(resultFilePath, std::move(resultBytes)))
        return EndRefusedRun(Refusal::ResultNotWritten);
    if (!m_automaticRun.RemoveInput())
        return EndRefusedRun(Refusal::InputNotRemoved);
    m_automaticRun.LetGo();
    StepProgress(throttle, count + length + 3, convertMaximum, true);
    // The nearly full bar stays in view a moment, so that even a short run
    // shows its end before the dialog goes.
    ::Sleep(100);

    if (g_autoRunSwitchedOn == 0)
        m_autoRunCheck.SetCheck(BST_UNCHECKED);
    StepProgress(throttle, count + length + 4, convertMaximum, true);
    FinishBatch();
    return Refusal::None;
}

// The start of a run: the box checked, the exit button disabled, the progress shown.
void CNumveraDlg::BeginBatch()
{
    g_inputLineCount = 0;
    if (m_autoRunCheck.GetCheck() != BST_CHECKED)
        m_autoRunCheck.SetCheck(BST_CHECKED);  // no click: the switch's handler does not run
    m_exitButton.EnableWindow(FALSE);
    m_progressTextEdit.ShowWindow(SW_SHOW);
    m_progressBar.ShowWindow(SW_SHOW);
    BeginWaitCursor();
}

void CNumveraDlg::RestoreAfterBatch()
{
    m_exitButton.EnableWindow(TRUE);
    m_progressTextEdit.SetWindowText(L"");
    m_progressTextEdit.ShowWindow(SW_HIDE);
    m_progressBar.SetPos(0);
    m_progressBar.ShowWindow(SW_HIDE);
}

// The end of an answered request: the restore, then the beep and the message.
void CNumveraDlg::FinishBatch()
{
    RestoreAfterBatch();
    ::MessageBeep(MB_ICONINFORMATION);
    if (IsMessageGateOpen())
        AfxMessageBox(kCompletedMessage, MB_ICONINFORMATION);
    EndWaitCursor();
    EndDialog(-1);
}

// The one way out of a refused automatic run, before or during the batch:
// the lock and the input let go, so that another start or the driving
// program can act while the message is up, then the message, the dialog
// restored, no beep.
Refusal CNumveraDlg::EndRefusedRun(Refusal refusal)
{
    m_automaticRun.LetGo();
    if (IsMessageGateOpen())
        AfxMessageBox(RefusalMessage(refusal), MB_ICONERROR);
    RestoreAfterBatch();
    EndWaitCursor();  // also when none was begun: it restores the normal cursor
    EndDialog(-1);
    return refusal;
}
