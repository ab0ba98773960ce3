#include "dialogs/CDeviceFamilyDialog.h"

#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CDeviceFamilyDialog, CDialog)

namespace {
constexpr UINT IDD_DEVICE_FAMILY = 115;
constexpr int IDC_DIALOG_ICON = 2145;
constexpr int IDC_FAMILY_ZOK = 2139;
constexpr BYTE kNoFamily = 255;
} // namespace

CDeviceFamilyDialog::CDeviceFamilyDialog(CWnd* pParentWnd) : CDialog(IDD_DEVICE_FAMILY, pParentWnd) {}

BOOL CDeviceFamilyDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_icon.SetIcon(LoadIcon(nullptr, IDI_EXCLAMATION));
    return TRUE;
}

BYTE CDeviceFamilyDialog::GetFamilyByte() const
{
    return m_nFamily == 0 || m_nFamily == 1 ? BYTE(m_nFamily) : kNoFamily;
}

void CDeviceFamilyDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DIALOG_ICON, m_icon);
    DDX_Radio(pDX, IDC_FAMILY_ZOK, m_nFamily);
}
