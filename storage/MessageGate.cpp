// The message gate of automatic mode: read afresh before every gated message.
#include "storage/SettingsText.h"
#include "storage/StorageState.h"
#include "ui/NumveraDlg.h"

bool CNumveraDlg::IsMessageGateOpen()
{
    return IsGatedMessageAllowed(m_showMessagesCheck.GetCheck(), g_settingLines[kShowMessagesSettingLine]);
}
