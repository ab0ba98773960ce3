#pragma once
// One pass of dialog data exchange: controls to members (saving, with validation) or
// members to controls. The exchange functions (DDX.h) prepare the control they work on,
// so that Fail can put the focus back on it.
#include "framework/ui/UiDefs.h"

#include <functional>
#include <vector>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    BOOL m_bSaveAndValidate; // TRUE: controls to members and validate
    CWnd* m_pDlgWnd;         // the dialog or page whose controls are exchanged

    // The control of that id; it becomes the one a failure returns to. A missing control
    // is a template that does not fit its class: CNotSupportedException.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control, whose whole text is selected on a failure.
    HWND PrepareEditCtrl(int nIDC);

    // Ends the exchange after the problem was reported: the last prepared control gets
    // the focus (an edit also gets its text selected) and CUserException is thrown.
    [[noreturn]] void Fail();

    // Writes a member, remembering its former value so that a failed pass can leave
    // every member as it was before the pass. Exchange functions of a program write
    // through here too, so that their members are put back as well.
    template <class T, class V>
    void Store(T& member, V&& value)
    {
        if (m_bSaveAndValidate && OutlivesPass(&member)) m_undo.push_back([&member, old = member]() { member = old; });
        member = std::forward<V>(value);
    }
    // Puts back every member this pass wrote, latest first.
    void RestoreStoredValues();

    // Whether a variable still exists once the pass has ended: not a local of a function
    // the pass is running (an exchange function's helper variable), which lies on the
    // stack between the running function and this object.
    bool OutlivesPass(const void* address) const;

    UINT m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

private:
    std::vector<std::function<void()>> m_undo;
};
