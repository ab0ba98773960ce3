#pragma once
// The child frame's bar of the case simulation (template 120): five combo boxes whose
// choices the document turns into simulated inputs.
#include "framework/ui/CComboBox.h"
#include "framework/ui/CDialogBar.h"

class CSimulationBar : public CDialogBar {
    DECLARE_DYNAMIC(CSimulationBar)
public:
    static constexpr UINT IDD = 120;
    static constexpr UINT kComboIds[] = {2075, 2076, 2077, 2079, 2080};

    CSimulationBar() = default;

    // The bar from its template with its five combo boxes taken over; FALSE when the
    // template or one of them is missing.
    BOOL Create(CWnd* pParentWnd, UINT nStyle, UINT nID);
    // The combo box of the control id, nullptr for another id.
    CComboBox* GetCombo(UINT nID);

private:
    CComboBox m_combos[5];
};
