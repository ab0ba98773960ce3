#pragma once
// An edit control for passwords and access codes: it lets through control keys, digits,
// letters A to Z and a to z and the underscore, and beeps on any other typed character.
#include "framework/core/CString.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CEdit.h"

class CPasswordEdit : public CEdit {
    DECLARE_DYNAMIC(CPasswordEdit)
public:
    CPasswordEdit() = default;

    // Characters 0 to 31, '0'-'9', 'A'-'Z', 'a'-'z' and '_'.
    static bool IsAllowedChar(UINT nChar);
    // Whether every character of a text is one a password may hold (no control keys).
    static bool IsAllowedText(const CString& text);

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // A typed character that is not let through: beeps.
    virtual void OnRefusedChar(UINT nChar);
};

// While saving: fails with message 304 when the text holds a character the password edit
// would not have let through. Pasted text does not pass the typing filter, so the
// dialogs check what they take over.
void DDV_PasswordChars(CDataExchange* pDX, const CString& value);
