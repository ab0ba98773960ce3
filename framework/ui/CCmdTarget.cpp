#include "framework/ui/CCmdTarget.h"

#include "framework/ui/CCmdUI.h"
#include "framework/ui/CWaitCursor.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

// Routes may nest (a frame asks its view, which asks its document); a route that leads
// back to itself must end rather than recurse without bound.
constexpr int kMaxRouteDepth = 32;
thread_local int t_routeDepth = 0;

struct RouteDepthGuard {
    RouteDepthGuard() { ++t_routeDepth; }
    ~RouteDepthGuard() { --t_routeDepth; }
    RouteDepthGuard(const RouteDepthGuard&) = delete;
    RouteDepthGuard& operator=(const RouteDepthGuard&) = delete;
};

bool EntryMatches(const AFX_MSGMAP_ENTRY& entry, UINT nMessage, UINT nCode, UINT nID)
{
    if (entry.nMessage != nMessage)
        return false;
    if (entry.nSig == AfxSig::Message)
        return true;
    return entry.nCode == nCode && nID >= entry.nID && nID <= entry.nLastID;
}

} // namespace

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig::End, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig::End; ++entry) {
            if (EntryMatches(*entry, nMessage, nCode, nID))
                return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchOwnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMessage = 0;
    UINT code = UINT(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        nMessage = HIWORD(DWORD(nCode));
        code = LOWORD(DWORD(nCode));
    }
    if (nMessage == 0)
        nMessage = WM_COMMAND;

    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(nMessage, code, nID);
    if (entry == nullptr || entry->nSig == AfxSig::Message)
        return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = entry;
        return TRUE;
    }

    AfxMsgCall call;
    call.nID = nID;
    switch (entry->nSig) {
    case AfxSig::UpdateUi:
    case AfxSig::UpdateUiRange: {
        auto* cmdUi = static_cast<CCmdUI*>(pExtra);
        if (cmdUi == nullptr)
            return FALSE;
        cmdUi->m_bContinueRouting = FALSE;
        call.pExtra = cmdUi;
        entry->pfn(this, call);
        return !cmdUi->m_bContinueRouting;
    }
    case AfxSig::Notify:
    case AfxSig::NotifyEx:
    case AfxSig::ReflectNotify: {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (notify == nullptr)
            return FALSE;
        call.pExtra = notify->pNMHDR;
        call.pResult = notify->pResult;
        const LRESULT handled = entry->pfn(this, call);
        return entry->nSig == AfxSig::NotifyEx ? BOOL(handled != 0) : TRUE;
    }
    case AfxSig::CommandEx:
    case AfxSig::ReflectCommandEx:
        return entry->pfn(this, call) != 0;
    default:
        entry->pfn(this, call);
        return TRUE;
    }
}

void CCmdTarget::GetCommandRoute(std::vector<CCmdTarget*>& route)
{
    route.push_back(this);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    std::vector<CCmdTarget*> route;
    GetCommandRoute(route);
    return AfxRouteCmdMsg(route, this, nID, nCode, pExtra, pHandlerInfo);
}

BOOL AfxRouteCmdMsg(const std::vector<CCmdTarget*>& route, CCmdTarget* self, UINT nID, int nCode,
                    void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (t_routeDepth >= kMaxRouteDepth)
        return FALSE;
    RouteDepthGuard guard;
    for (CCmdTarget* target : route) {
        if (target == nullptr)
            continue;
        const BOOL handled = target == self ? target->DispatchOwnCmdMsg(nID, nCode, pExtra, pHandlerInfo)
                                            : target->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        if (handled)
            return TRUE;
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    AfxDoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    AfxDoWaitCursor(0);
}
