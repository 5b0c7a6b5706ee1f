// The exit button: saves the two check boxes to the settings file, then
// closes the dialog the standard way.
#include "storage/AnsiText.h"
#include "storage/FileHelpers.h"
#include "storage/StorageState.h"
#include "ui/NumveraDlg.h"

namespace {

// Whether the temp folder is there, making it when only it is missing. Only
// one level is made: a missing maker or product folder means no saving.
bool EnsureTempFolder()
{
    if (IsFolder(g_tempDir))
        return true;
    return MakeFolderLevel(g_tempDir);
}

}  // namespace

void CNumveraDlg::OnExit()
{
    QueryDocumentsDir();
    // Without a documents folder every working path would lie below the root
    // of the current drive; nothing is saved then.
    if (!g_documentsDir.empty()) {
        g_tempDir = JoinPath(g_documentsDir, kTempSuffix);
        if (EnsureTempFolder()) {
            const std::wstring autoRunLine = m_autoRunCheck.GetCheck() == BST_CHECKED ? L"1\r\n" : L"0\r\n";
            // A hidden box saves "0" whatever its check; it is shown either way.
            const bool wasVisible = m_showMessagesCheck.ShowWindow(SW_SHOW) != FALSE;
            const std::wstring showMessagesLine =
                wasVisible && m_showMessagesCheck.GetCheck() == BST_CHECKED ? L"1" : L"0";
            WriteWholeFile(JoinPath(g_tempDir, kSettingsFileSuffix), NarrowToAnsi(autoRunLine + showMessagesLine));
        }
    }
    CDialogEx::OnOK();
}
