#include "app/CComboDialogBar.h"

IMPLEMENT_DYNAMIC(CComboDialogBar, CDialogBar)

BOOL CComboDialogBar::Create(CWnd* pParentWnd, UINT nStyle, UINT nID)
{
    if (!CDialogBar::Create(pParentWnd, IDD, nStyle, nID))
        return FALSE;
    for (std::size_t i = 0; i < std::size(kComboIds); ++i) {
        if (!m_combos[i].SubclassCombo(kComboIds[i], this))
            return FALSE;
    }
    return TRUE;
}

CSelectorComboBox* CComboDialogBar::GetCombo(UINT nID)
{
    for (std::size_t i = 0; i < std::size(kComboIds); ++i) {
        if (kComboIds[i] == nID)
            return &m_combos[i];
    }
    return nullptr;
}
