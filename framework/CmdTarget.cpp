#include "framework/CmdTarget.h"

#include "framework/WinApp.h"

bool CCmdTarget::OnCmdMsg(UINT id, UINT code)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr; map = map->baseMap) {
        for (size_t i = 0; i < map->count; ++i) {
            const AFX_MSGMAP_ENTRY& entry = map->entries[i];
            if (entry.id == id && entry.code == code) {
                (this->*entry.handler)();
                return true;
            }
        }
    }
    return false;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    static const AFX_MSGMAP map(nullptr);
    return &map;
}

void CCmdTarget::BeginWaitCursor() { AfxGetApp()->DoWaitCursor(1); }

void CCmdTarget::EndWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
