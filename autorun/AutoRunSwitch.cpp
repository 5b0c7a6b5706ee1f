// The auto-run check box: checking it creates the AutoFile folder, whose
// existence makes the next start an automatic one, and shows the
// show-messages box; clearing it hides that box and removes nothing.
#include "autorun/AutomaticMessages.h"
#include "framework/WinApp.h"
#include "storage/FileHelpers.h"
#include "storage/StorageState.h"
#include "ui/NumveraDlg.h"

void CNumveraDlg::OnAutoRunClicked()
{
    g_autoDir = JoinPath(g_documentsDir, kAutoSuffix);
    if (m_autoRunCheck.GetCheck() != BST_CHECKED) {
        g_autoRunSwitchedOn = 0;
        m_showMessagesCheck.ShowWindow(SW_HIDE);
        return;
    }
    g_autoRunSwitchedOn = 1;
    // Without a documents folder the path would lie below a drive's root.
    const bool created = !g_documentsDir.empty() && MakeFolderLevel(g_autoDir);
    if (created)
        AfxMessageBox(kAutoFolderCreatedMessage, MB_ICONINFORMATION);
    else if (!g_documentsDir.empty() && IsFolder(g_autoDir))
        AfxMessageBox(kAutoFolderExistsMessage, MB_ICONERROR);
    else
        AfxMessageBox(kAutoFolderNotCreatedMessage, MB_ICONERROR);
    m_showMessagesCheck.ShowWindow(SW_SHOW);
}
