#include "dialogs/CMonitorDialog.h"

#include "device/DeviceProcedures.h"
#include "dialogs/CMonitorIntervalDialog.h"
#include "dialogs/LogFileAppend.h"
#include "framework/ui/DDX.h"
#include "model/CKVRIdentity.h"

#include <cstdlib>
#include <utility>

IMPLEMENT_DYNAMIC(CMonitorDialog, CPollingDialog)
IMPLEMENT_DYNAMIC(CKVRMonitorDialog, CMonitorDialog)

namespace {
constexpr UINT IDD_MONITOR = 113;
constexpr UINT IDB_MONITOR_LAMPS = 87;
constexpr int IDC_READING_LIST = 2035;
constexpr int IDC_INTERVAL_BUTTON = 2062;
constexpr int IDC_INTERVAL = 2108;
constexpr int IDC_FIRST_LAMP = 2110;
constexpr int IDC_SPEED_1 = 2116;
constexpr int IDC_SPEED_2 = 2117;
constexpr int IDC_SPEED_DIFFERENCE = 2118;
constexpr UINT IDS_LOG_HEADING = 1165;
constexpr UINT IDS_INPUTS = 1166;
constexpr UINT IDS_SPEEDS = 1167;
constexpr UINT IDS_DIFFERENCE = 1168;
constexpr UINT IDS_OUTPUTS = 1169;
constexpr UINT IDS_CASES = 1170;
constexpr int kLampImages = 3;
// Lamp images: inputs show 0 when clear, outputs 1; both show 2 when set.
constexpr int kImageInputClear = 0;
constexpr int kImageOutputClear = 1;
constexpr int kImageSet = 2;

constexpr PollingDialogResources kResources{
    .startText = 1163, .stopText = 1164, .noLogFileText = 1162, .logFilterText = 1123,
    .logHelpContext = 114, .logSaveFlags = 0x80E};

const char* Bit(std::int32_t value) { return value ? "1" : "0"; }

CString TimeText(const CTime& time) { return time.Format("%x") + " " + time.Format("%H:%M:%S"); }

CString CaseText(std::uint32_t number, const char* format, const char* none)
{
    CString text;
    if (number == 0)
        text = none;
    else
        text.Format(format, number);
    return text;
}

CString SpeedText(std::int32_t speed)
{
    CString text;
    text.Format("%dcm/s", speed);
    return text;
}
} // namespace

// Readings whose fields take the most room between them: negative four-digit speeds, the
// largest difference, two-digit cases, a date and time of wide digits. Fixed stops in
// dialog units let the fields of a line run together in one font and leave gaps in another.
std::vector<CString> CMonitorDialog::WidestListLines()
{
    CMonitorReading reading;
    reading.inputA = reading.inputB = reading.inputC = reading.inputD = 1;
    reading.outputA = reading.outputB = 1;
    reading.case1 = reading.case2 = 15;
    reading.time = CTime(2000, 12, 28, 20, 58, 58);
    std::vector<CString> lines;
    for (const auto& [speed1, speed2] : {std::pair{-9999, -9999}, std::pair{0, 9999}}) {
        reading.speed1 = speed1;
        reading.speed2 = speed2;
        lines.push_back(FormatListLine(reading));
    }
    return lines;
}

BEGIN_MESSAGE_MAP(CMonitorDialog, CPollingDialog)
    ON_BN_CLICKED(IDC_INTERVAL_BUTTON, OnInterval)
END_MESSAGE_MAP()

CMonitorDialog::CMonitorDialog(CWnd* pParentWnd) : CPollingDialog(IDD_MONITOR, kResources, pParentWnd) {}

CMonitorDialog::~CMonitorDialog() = default;

BOOL CMonitorDialog::OnInitDialog()
{
    CPollingDialog::OnInitDialog();
    for (int i = 0; i < kLampCount; ++i) {
        CIndicatorButton& lamp = m_lamps[std::size_t(i)];
        lamp.SubclassDlgItem(UINT(IDC_FIRST_LAMP + i), this);
        lamp.LoadBitmap(IDB_MONITOR_LAMPS, kLampImages);
    }
    for (int id : {IDC_SPEED_1, IDC_SPEED_2, IDC_SPEED_DIFFERENCE})
        SetDlgItemText(id, "");
    m_listReadings.SubclassDlgItem(IDC_READING_LIST, this);
    m_listReadings.SetColumnTabStops(WidestListLines());
    return TRUE;
}

void CMonitorDialog::DoDataExchange(CDataExchange* pDX)
{
    CPollingDialog::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        CString interval;
        interval.Format("%dms", m_nInterval);
        SetDlgItemText(IDC_INTERVAL, interval.c_str());
    }
}

void CMonitorDialog::OnLogFileReady() { AppendToLogFile(m_strLogPath, LoadText(IDS_LOG_HEADING)); }

void CMonitorDialog::ClearShown() { m_listReadings.ResetContent(); }

BOOL CMonitorDialog::PollOnce()
{
    CMonitorReading reading;
    if (!QueryMonitor(reading))
        return FALSE;
    ShowReading(reading);
    AddListLine(FormatListLine(reading));
    return AppendToChosenLog(FormatLogLine(reading));
}

void CMonitorDialog::ShowReading(const CMonitorReading& reading)
{
    const std::int32_t inputs[] = {reading.inputA, reading.inputB, reading.inputC, reading.inputD};
    for (std::size_t i = 0; i < std::size(inputs); ++i)
        m_lamps[i].SetState(inputs[i] ? kImageSet : kImageInputClear);
    m_lamps[4].SetState(reading.outputA ? kImageSet : kImageOutputClear);
    m_lamps[5].SetState(reading.outputB ? kImageSet : kImageOutputClear);
    SetDlgItemText(IDC_SPEED_1, SpeedText(reading.speed1).c_str());
    SetDlgItemText(IDC_SPEED_2, SpeedText(reading.speed2).c_str());
    SetDlgItemText(IDC_SPEED_DIFFERENCE, SpeedText(reading.speed2 - reading.speed1).c_str());
}

void CMonitorDialog::AddListLine(const CString& line)
{
    m_listReadings.SetRedraw(FALSE);
    while (m_listReadings.GetCount() >= kListLength)
        m_listReadings.DeleteString(0);
    const int index = m_listReadings.AddString(line.c_str());
    m_listReadings.SetCurSel(index);
    m_listReadings.SetRedraw(TRUE);
}

void CMonitorDialog::OnInterval()
{
    CMonitorIntervalDialog dialog(this);
    dialog.m_nInterval = m_nInterval;
    if (dialog.DoModal() != IDOK)
        return;
    m_nInterval = dialog.m_nInterval;
    UpdateData(FALSE);
}

CString CMonitorDialog::FormatListLine(const CMonitorReading& reading)
{
    CString line = LoadText(IDS_INPUTS);
    line.AppendFormat("A(%s)  B(%s)  C(%s)  D(%s)\t", Bit(reading.inputA), Bit(reading.inputB), Bit(reading.inputC),
                      Bit(reading.inputD));
    line += LoadText(IDS_SPEEDS);
    line.AppendFormat("C(%5d)\tD(%5d)\t", reading.speed1, reading.speed2);
    line += LoadText(IDS_DIFFERENCE);
    line.AppendFormat("(%4d)\t", std::abs(reading.speed2 - reading.speed1));
    line += LoadText(IDS_OUTPUTS);
    line.AppendFormat("A(%s)  B(%s)\t", Bit(reading.outputA), Bit(reading.outputB));
    line += LoadText(IDS_CASES);
    line += CaseText(reading.case1, "(%u)", "(-)") + CaseText(reading.case2, " / (%u)", " / (-)") + "\t";
    return line + TimeText(reading.time);
}

CString CMonitorDialog::FormatLogLine(const CMonitorReading& reading)
{
    CString line;
    line.Format("%s\t%s\t%s\t%s\t%d\t%d\t%d\t%s\t%s\t", Bit(reading.inputA), Bit(reading.inputB), Bit(reading.inputC),
                Bit(reading.inputD), reading.speed1, reading.speed2, reading.speed2 - reading.speed1,
                Bit(reading.outputA), Bit(reading.outputB));
    line += CaseText(reading.case1, "%u", "-") + "\t" + CaseText(reading.case2, "%u", "-") + "\t";
    return line + TimeText(reading.time) + "\r\n";
}

BOOL CKVRMonitorDialog::StartMonitor() { return ConnectSensor(m_sensor, TRUE); }

void CKVRMonitorDialog::StopMonitor() { DisconnectSensor(m_sensor, TRUE); }

BOOL CKVRMonitorDialog::QueryMonitor(CMonitorReading& reading)
{
    CKVRIdentity identity;
    if (!m_sensor.ReadIdentity(identity))
        return FALSE;
    FillReading(identity, reading);
    reading.time = CTime::GetCurrentTime();
    return TRUE;
}

void CKVRMonitorDialog::FillReading(const CKVRIdentity& identity, CMonitorReading& reading)
{
    reading.inputA = identity.GetBit27();
    reading.inputB = identity.GetBit27_1();
    reading.inputC = identity.GetBit27_2();
    reading.inputD = identity.GetBit27_3();
    reading.outputA = identity.GetBit26();
    reading.outputB = identity.GetBit26_1();
    reading.speed1 = identity.GetWord28();
    reading.speed2 = identity.GetWord30();
    reading.case1 = identity.GetLowNibble25();
    reading.case2 = identity.GetHighNibble25();
}
