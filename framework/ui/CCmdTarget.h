#pragma once
// Objects that receive commands, and the message maps that bind message and command
// ids to their member functions.
//
// A message map is a static table per class, chained to its base class's table.
// Each entry binds a message (or a command id range with a notification code) to a
// small thunk that calls the member function with the signature the macro promises.
// Window messages with a fixed meaning (WM_SIZE, WM_PAINT, ...) go to virtual
// handlers of CWnd instead; their ON_WM_ macros are kept so that maps read as usual,
// and expand to nothing.
#include "framework/core/CObject.h"
#include "framework/ui/UiDefs.h"

#include <vector>

class CCmdTarget;
class CCmdUI;

// Notification codes of OnCmdMsg besides the control notifications.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
// Messages reflected back to the control that raised them.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

enum class AfxSig : BYTE {
    End,
    Command,        // void f()
    CommandEx,      // BOOL f(UINT id): FALSE lets the command route on
    CommandRange,   // void f(UINT id)
    UpdateUi,       // void f(CCmdUI*)
    UpdateUiRange,  // void f(CCmdUI*), over an id range
    Notify,         // void f(NMHDR*, LRESULT*)
    NotifyEx,       // BOOL f(UINT id, NMHDR*, LRESULT*)
    Message,        // LRESULT f(WPARAM, LPARAM)
    ReflectCommand, // void f(), a control's own notification reflected to it
    ReflectCommandEx, // BOOL f(): FALSE passes the notification on to the parent
    ReflectNotify,  // void f(NMHDR*, LRESULT*)
};

// What a thunk receives.
struct AfxMsgCall {
    UINT nID = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    void* pExtra = nullptr;
    LRESULT* pResult = nullptr;
};

using AfxHandlerThunk = LRESULT (*)(CCmdTarget* target, AfxMsgCall& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AfxSig nSig;
    AfxHandlerThunk pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg carries in pExtra for WM_NOTIFY.
struct AFX_NOTIFY {
    LRESULT* pResult = nullptr;
    NMHDR* pNMHDR = nullptr;
};

// Filled instead of calling the handler when a caller only asks whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override;

    // Offers a command (nCode CN_COMMAND), an update request (CN_UPDATE_COMMAND_UI with
    // a CCmdUI* in pExtra) or a control notification (the code in the low word, the
    // message in the high word, 0 meaning WM_COMMAND) to the targets of the command
    // route, in order; TRUE when one of them handled it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The targets a command offered to this object visits, in order. The default is this
    // object alone; a view adds its document, a frame puts its active view first and the
    // application last. An entry equal to this object stands for its own message map.
    virtual void GetCommandRoute(std::vector<CCmdTarget*>& route);

    // This object's own message map only (the base-class OnCmdMsg).
    BOOL DispatchOwnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The entry of this object's map (or a base class's) for a message, or nullptr.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

    // The wait cursor, counted: shown until every Begin has had its End.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Offers a command to each target in turn; TRUE when one handled it.
BOOL AfxRouteCmdMsg(const std::vector<CCmdTarget*>& route, CCmdTarget* self, UINT nID, int nCode,
                    void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

#define afx_msg

#define DECLARE_MESSAGE_MAP()                               \
protected:                                                  \
    static const AFX_MSGMAP* GetThisMessageMap();           \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        using ThisClass = theClass;                                                   \
        using TheBaseClass = baseClass;                                               \
        static_assert(sizeof(ThisClass) > 0);                                         \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
            {0, 0, 0, 0, AfxSig::End, nullptr}                                         \
        };                                                                             \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]}; \
        return &messageMap;                                                            \
    }

#define AFX_THUNK(body) [](CCmdTarget* target, AfxMsgCall& call) -> LRESULT { \
        auto* self = static_cast<ThisClass*>(target);                          \
        (void)self; (void)call;                                                \
        body                                                                   \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(id), AfxSig::Command, AFX_THUNK(self->memberFxn(); return TRUE;)},
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(id), AfxSig::CommandEx, AFX_THUNK(return self->memberFxn(call.nID);)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(idLast), AfxSig::CommandRange, AFX_THUNK(self->memberFxn(call.nID); return TRUE;)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(idLast), AfxSig::CommandEx, AFX_THUNK(return self->memberFxn(call.nID);)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), UINT(id), UINT(id), AfxSig::UpdateUi, \
     AFX_THUNK(self->memberFxn(static_cast<CCmdUI*>(call.pExtra)); return TRUE;)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), UINT(id), UINT(idLast), AfxSig::UpdateUiRange, \
     AFX_THUNK(self->memberFxn(static_cast<CCmdUI*>(call.pExtra)); return TRUE;)},

// Control notifications (WM_COMMAND with a control window).
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, UINT(code), UINT(id), UINT(id), AfxSig::Command, AFX_THUNK(self->memberFxn(); return TRUE;)},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) \
    {WM_COMMAND, UINT(code), UINT(id), UINT(idLast), AfxSig::CommandRange, AFX_THUNK(self->memberFxn(call.nID); return TRUE;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// WM_NOTIFY.
#define ON_NOTIFY(code, id, memberFxn) \
    {WM_NOTIFY, UINT(code), UINT(id), UINT(id), AfxSig::Notify, \
     AFX_THUNK(self->memberFxn(static_cast<NMHDR*>(call.pExtra), call.pResult); return TRUE;)},
#define ON_NOTIFY_EX(code, id, memberFxn) \
    {WM_NOTIFY, UINT(code), UINT(id), UINT(id), AfxSig::NotifyEx, \
     AFX_THUNK(return self->memberFxn(call.nID, static_cast<NMHDR*>(call.pExtra), call.pResult);)},

// Any message, typically WM_USER + n, with its raw parameters.
#define ON_MESSAGE(message, memberFxn) \
    {UINT(message), 0, 0, 0, AfxSig::Message, AFX_THUNK(return self->memberFxn(call.wParam, call.lParam);)},

// A control's own notifications, reflected back to it by its parent.
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, UINT(code), 0, 0, AfxSig::ReflectCommand, AFX_THUNK(self->memberFxn(); return TRUE;)},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, UINT(code), 0, 0, AfxSig::ReflectCommandEx, AFX_THUNK(return self->memberFxn();)},
#define ON_NOTIFY_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY, UINT(code), 0, 0, AfxSig::ReflectNotify, \
     AFX_THUNK(self->memberFxn(static_cast<NMHDR*>(call.pExtra), call.pResult); return TRUE;)},

// Window messages with fixed meaning reach the virtual handlers of CWnd without an entry.
#define ON_WM_CREATE()
#define ON_WM_DESTROY()
#define ON_WM_SIZE()
#define ON_WM_MOVE()
#define ON_WM_PAINT()
#define ON_WM_ERASEBKGND()
#define ON_WM_TIMER()
#define ON_WM_CLOSE()
#define ON_WM_SHOWWINDOW()
#define ON_WM_LBUTTONDOWN()
#define ON_WM_LBUTTONUP()
#define ON_WM_LBUTTONDBLCLK()
#define ON_WM_RBUTTONDOWN()
#define ON_WM_RBUTTONUP()
#define ON_WM_RBUTTONDBLCLK()
#define ON_WM_MBUTTONDOWN()
#define ON_WM_MBUTTONUP()
#define ON_WM_MOUSEMOVE()
#define ON_WM_KEYDOWN()
#define ON_WM_KEYUP()
#define ON_WM_CHAR()
#define ON_WM_SYSKEYDOWN()
#define ON_WM_SYSKEYUP()
#define ON_WM_SETCURSOR()
#define ON_WM_HSCROLL()
#define ON_WM_VSCROLL()
#define ON_WM_CONTEXTMENU()
#define ON_WM_CTLCOLOR()
#define ON_WM_SETFOCUS()
#define ON_WM_KILLFOCUS()
#define ON_WM_CANCELMODE()
#define ON_WM_MOUSEACTIVATE()
#define ON_WM_DRAWITEM()
#define ON_WM_MEASUREITEM()
#define ON_WM_COMPAREITEM()
#define ON_WM_DELETEITEM()
#define ON_WM_INITMENUPOPUP()
#define ON_WM_WININICHANGE()
#define ON_WM_NCDESTROY()
#define ON_WM_ENABLE()
