#pragma once
// The child frame's dialog bar (template 121) with the three field selectors of the
// document: first object 2141, second object 2058 and selector 2143.
#include "app/CSelectorComboBox.h"
#include "framework/ui/CDialogBar.h"

class CComboDialogBar : public CDialogBar {
    DECLARE_DYNAMIC(CComboDialogBar)
public:
    static constexpr UINT IDD = 121;
    static constexpr UINT kComboIds[] = {2141, 2058, 2143};

    CComboDialogBar() = default;

    // The bar from its template, with its three combo boxes taken over; FALSE when the
    // template or one of the combo boxes is missing.
    BOOL Create(CWnd* pParentWnd, UINT nStyle, UINT nID);
    // The selector of the control id, nullptr for another id.
    CSelectorComboBox* GetCombo(UINT nID);

private:
    CSelectorComboBox m_combos[3];
};
