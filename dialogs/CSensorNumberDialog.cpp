#include "dialogs/CSensorNumberDialog.h"

#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CSensorNumberDialog, CDialog)

namespace {
constexpr UINT IDD_SENSOR_NUMBER = 100;
constexpr int IDC_SCANNER_1 = 2163;
constexpr int IDC_SCANNER_2 = 2164;
constexpr int IDC_SCANNER_3 = 2165;
constexpr int IDC_SCANNER_4 = 2166;
} // namespace

CSensorNumberDialog::CSensorNumberDialog(int nSensorCount, CWnd* pParentWnd)
    : CDialog(IDD_SENSOR_NUMBER, pParentWnd), m_nSensorCount(nSensorCount)
{
}

BOOL CSensorNumberDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_buttonSecond.EnableWindow(m_nSensorCount > 1);
    m_buttonThird.EnableWindow(m_nSensorCount > 2);
    m_buttonFourth.EnableWindow(m_nSensorCount > 3);
    return TRUE;
}

void CSensorNumberDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCANNER_4, m_buttonFourth);
    DDX_Control(pDX, IDC_SCANNER_3, m_buttonThird);
    DDX_Control(pDX, IDC_SCANNER_2, m_buttonSecond);
    DDX_Radio(pDX, IDC_SCANNER_1, m_nChoice);
}
