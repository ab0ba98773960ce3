#include "dialogs/CSetupViewPage.h"

#include "app/settings/CTalisoSetup.h"
#include "dialogs/CTalisoSetupDialog.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DDX.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CSetupViewPage, CPropertyPage)

namespace {

constexpr UINT IDD_OPTIONS_VIEW = 145;
constexpr UINT IDS_DEFAULTS_BUTTON = 962;

constexpr int IDC_POLAR_GRID = 2158; // first of the grid kind group
constexpr int IDC_INCH = 2262;       // first of the unit group
constexpr int IDC_CM = 2160;
constexpr int IDC_GRID = 2155;
constexpr int IDC_LABELS = 2148;
constexpr int IDC_ANGLE = 2151;
constexpr int IDC_MAXIMIZE = 2125;
constexpr int IDC_RECT_SPACING = 2017;
constexpr int IDC_RADIUS_STEP = 2056;
constexpr int IDC_ANGLE_STEP = 2057;
constexpr int IDC_MAX_VIEW = 2019;
constexpr int IDC_MARKER_SIZE = 2021;

constexpr const char* kCm = "cm";
constexpr const char* kInch = "in";
constexpr const char* kDegree = "°";

struct LengthRange {
    int minCm;
    int maxCm;
};
constexpr LengthRange kGridRange = {3, 5000};
constexpr LengthRange kViewRange = {100, 15000};

// An inch bound cut, not rounded, to the two decimals the edit shows, so that every
// value the check lets through converts back into the cm range.
double InchBound(int cm) { return std::floor(double(cm) / kCmPerInch * 100.0) / 100.0; }

// A length kept in whole cm, shown and checked in the unit.
void DDX_Length(CDataExchange* pDX, int nIDC, int& cm, LengthRange range, bool metric)
{
    if (metric) {
        DDX_TextWithUnit(pDX, nIDC, cm, kCm);
        DDV_MinMaxWithUnit(pDX, cm, range.minCm, range.maxCm, kCm);
        return;
    }
    double inch = double(cm) / kCmPerInch;
    DDX_TextWithUnit(pDX, nIDC, inch, kInch);
    DDV_MinMaxWithUnit(pDX, inch, InchBound(range.minCm), InchBound(range.maxCm), kInch);
    if (pDX->m_bSaveAndValidate) pDX->Store(cm, int(inch * kCmPerInch + 0.5));
}

} // namespace

BEGIN_MESSAGE_MAP(CSetupViewPage, CPropertyPage)
    ON_BN_CLICKED(IDC_CM, OnCentimetres)
    ON_BN_CLICKED(IDC_INCH, OnInches)
    ON_MESSAGE(WM_SETUP_PAGE_DEFAULTS, OnSetDefaults)
END_MESSAGE_MAP()

CSetupViewPage::CSetupViewPage(CTalisoSetup* pSetup) : CPropertyPage(IDD_OPTIONS_VIEW), m_pSetup(pSetup) {}

BOOL CSetupViewPage::OnInitDialog()
{
    if (CWnd* sheet = GetParent()) {
        if (CWnd* button = sheet->GetDlgItem(int(ID_APPLY_NOW))) {
            CString text;
            text.LoadString(IDS_DEFAULTS_BUTTON);
            button->SetWindowText(text);
            button->EnableWindow(TRUE);
        }
    }
    return CPropertyPage::OnInitDialog();
}

BOOL CSetupViewPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    UpdateData(FALSE);
    return TRUE;
}

void CSetupViewPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    CTalisoSetup& setup = *m_pSetup;
    DDX_Radio(pDX, IDC_POLAR_GRID, setup.m_bViewRectGrid);
    DDX_Radio(pDX, IDC_INCH, setup.m_bViewMetric);
    DDX_Check(pDX, IDC_GRID, setup.m_bViewGrid);
    DDX_Check(pDX, IDC_LABELS, setup.m_bViewLabels);
    DDX_Check(pDX, IDC_ANGLE, setup.m_bViewAngle);
    DDX_Check(pDX, IDC_MAXIMIZE, setup.m_bViewMaximize);

    const bool metric = setup.m_bViewMetric != 0;
    DDX_Length(pDX, IDC_RECT_SPACING, setup.m_nRectGrid, kGridRange, metric);
    DDX_Length(pDX, IDC_RADIUS_STEP, setup.m_nRadiusGrid, kGridRange, metric);
    // An angle step of 0 would never advance the polar grid's rays.
    DDX_TextWithUnit(pDX, IDC_ANGLE_STEP, setup.m_nAngleGrid, kDegree);
    DDV_MinMaxWithUnit(pDX, setup.m_nAngleGrid, 1, 180, kDegree);
    DDX_Length(pDX, IDC_MAX_VIEW, setup.m_nMaxViewSize, kViewRange, metric);
    DDX_TextWithUnit(pDX, IDC_MARKER_SIZE, setup.m_nMarkerSizeUnits, "");
    DDV_MinMaxWithUnit(pDX, setup.m_nMarkerSizeUnits, 2, 200, "");
}

void CSetupViewPage::ShowInUnit(BOOL metric)
{
    m_pSetup->m_bViewMetric = metric;
    UpdateData(FALSE);
}

void CSetupViewPage::OnCentimetres() { ShowInUnit(TRUE); }

void CSetupViewPage::OnInches() { ShowInUnit(FALSE); }

LRESULT CSetupViewPage::OnSetDefaults(WPARAM, LPARAM)
{
    const CTalisoSetup defaults;
    CTalisoSetup& setup = *m_pSetup;
    setup.m_bViewRectGrid = defaults.m_bViewRectGrid;
    setup.m_bViewGrid = defaults.m_bViewGrid;
    setup.m_bViewLabels = defaults.m_bViewLabels;
    setup.m_bViewAngle = defaults.m_bViewAngle;
    setup.m_nRectGrid = defaults.m_nRectGrid;
    setup.m_nRadiusGrid = defaults.m_nRadiusGrid;
    setup.m_nAngleGrid = defaults.m_nAngleGrid;
    setup.m_bViewMetric = defaults.m_bViewMetric;
    setup.m_nMaxViewSize = defaults.m_nMaxViewSize;
    setup.m_nMarkerSizeUnits = defaults.m_nMarkerSizeUnits;
    setup.m_bViewMaximize = defaults.m_bViewMaximize;
    UpdateData(FALSE);
    return 0;
}
