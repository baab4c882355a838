#include "framework/CmdTarget.h"

static const AFX_MSGMAP_ENTRY s_noEntries[] = { { 0, 0, 0, nullptr, nullptr } };
const AFX_MSGMAP CCmdTarget::messageMap = { nullptr, s_noEntries };

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return &CCmdTarget::messageMap;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pBaseMap) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->pEntries; pEntry->nMessage; ++pEntry) {
            if (pEntry->nMessage != nMessage)
                continue;
            if (nMessage == WM_COMMAND && (pEntry->nCode != nCode || pEntry->nID != nID))
                continue;
            return pEntry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (!pEntry)
        return FALSE;
    (this->*pEntry->pfn)();
    return TRUE;
}
