#include "app/CSimulationBar.h"

IMPLEMENT_DYNAMIC(CSimulationBar, CDialogBar)

BOOL CSimulationBar::Create(CWnd* pParentWnd, UINT nStyle, UINT nID)
{
    if (!CDialogBar::Create(pParentWnd, IDD, nStyle, nID))
        return FALSE;
    for (std::size_t i = 0; i < std::size(kComboIds); ++i) {
        if (!m_combos[i].SubclassDlgItem(kComboIds[i], this))
            return FALSE;
    }
    return TRUE;
}

CComboBox* CSimulationBar::GetCombo(UINT nID)
{
    for (std::size_t i = 0; i < std::size(kComboIds); ++i) {
        if (kComboIds[i] == nID)
            return &m_combos[i];
    }
    return nullptr;
}
