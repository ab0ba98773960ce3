#include "dialogs/CProtocolResultsDialog.h"

#include "device/CSensorErrorList.h"
#include "device/DeviceProcedures.h"
#include "device/SensorHelpers.h"
#include "dialogs/CProtocolSettingsDialog.h"
#include "dialogs/LogFileAppend.h"
#include "dialogs/PollGuard.h"
#include "framework/core/Resources.h"
#include "framework/ui/DDX.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <array>

IMPLEMENT_DYNAMIC(CProtocolResultsDialog, CDialog)
IMPLEMENT_DYNAMIC(CZOKProtocolResultsDialog, CProtocolResultsDialog)
IMPLEMENT_DYNAMIC(CKVRProtocolResultsDialog, CProtocolResultsDialog)

namespace {
constexpr UINT IDD_PROTOCOL_RESULTS = 111;
constexpr int IDC_LOG_CHOOSE = 2034;
constexpr int IDC_RESULT_VIEW = 2035;
constexpr int IDC_LOG_PATH = 2036;
constexpr int IDC_SETTINGS_SUMMARY = 2037;
constexpr int IDC_SETTINGS_BUTTON = 2062;
constexpr UINT IDS_LOG_FILTER = 1120;
constexpr UINT IDS_NO_LOG_FILE = 1157;
constexpr UINT IDS_SETTINGS_SUMMARY = 1158;
constexpr UINT IDS_START = 1159;
constexpr UINT IDS_STOP = 1160;
constexpr UINT IDS_CONTOUR_HEADER = 1161;
constexpr int kLogHelpContext = 110;
constexpr DWORD kLogSaveFlags = 0x80C;

constexpr BYTE kResultText = 0x90;
constexpr BYTE kResultContour = 0xB0;
constexpr BYTE kResultErrorList = 0xB2;
constexpr std::size_t kContourCountAt = 10;
constexpr std::size_t kContourBeamsAt = 12;
constexpr int kMaxContourBeams = 361;
constexpr int kDefaultSensorTypeCode = 4;

const CString kRule('-', 90);
const char* const kNewLine = "\r\n";

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

WORD WordAt(ConstAnswerSpan answer, std::size_t offset)
{
    return WORD(answer[offset] | answer[offset + 1] << 8);
}

// The contour of the answer, or null when its beam count does not fit the record.
std::unique_ptr<CScan> ContourOf(ConstAnswerSpan answer)
{
    const int count = WordAt(answer, kContourCountAt);
    const std::size_t room = (answer.size() - kContourBeamsAt) / 2;
    if (count > kMaxContourBeams || std::size_t(count) > room)
        return nullptr;
    std::array<WORD, kMaxContourBeams> words{};
    for (int i = 0; i < count; ++i)
        words[std::size_t(i)] = WordAt(answer, kContourBeamsAt + 2 * std::size_t(i));
    auto scan = std::make_unique<CScan>();
    CSensorType type;
    type.SetTypeCode(kDefaultSensorTypeCode);
    scan->SetScanData(type, words.data(), WORD(count));
    return scan;
}

CString FlagText(BOOL set, const char* name)
{
    return set ? CString(name) : CString("  ");
}
} // namespace

BOOL CProtocolResultsDialog::s_bPolling = FALSE;

BEGIN_MESSAGE_MAP(CProtocolResultsDialog, CDialog)
    ON_BN_CLICKED(IDC_LOG_CHOOSE, OnChooseFile)
    ON_BN_CLICKED(IDC_SETTINGS_BUTTON, OnSettings)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CProtocolResultsDialog::CProtocolResultsDialog(CWnd* pParentWnd) : CDialog(IDD_PROTOCOL_RESULTS, pParentWnd) {}

CProtocolResultsDialog::~CProtocolResultsDialog() = default;

BOOL CProtocolResultsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_buttonStart.SetWindowText(LoadText(IDS_START).c_str());
    static constexpr int kTabStops[] = {33, 63, 96, 138, 180};
    m_editResult.SetTabStops(int(std::size(kTabStops)), kTabStops);
    return TRUE;
}

void CProtocolResultsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOG_CHOOSE, m_buttonFile);
    DDX_Control(pDX, IDC_SETTINGS_BUTTON, m_buttonSettings);
    DDX_Control(pDX, IDCANCEL, m_buttonCancel);
    DDX_Control(pDX, IDOK, m_buttonStart);
    DDX_Control(pDX, IDC_RESULT_VIEW, m_editResult);

    const CString noLogFile = LoadText(IDS_NO_LOG_FILE);
    CString shownPath = m_strLogPath.IsEmpty() ? noLogFile : m_strLogPath;
    DDX_Text(pDX, IDC_LOG_PATH, shownPath);
    if (pDX->m_bSaveAndValidate)
        m_strLogPath = shownPath == noLogFile ? CString() : shownPath;

    if (!pDX->m_bSaveAndValidate) {
        CString first, last, step;
        first.Format("%d°", m_nFirstAngle);
        last.Format("%d°", m_nLastAngle);
        step.Format("%.1f°", double(m_fAngleStep));
        const char* const inserts[] = {first.c_str(), last.c_str(), step.c_str()};
        AfxFormatStrings(m_strSettings, IDS_SETTINGS_SUMMARY, inserts, 3);
    }
    DDX_Text(pDX, IDC_SETTINGS_SUMMARY, m_strSettings);
}

void CProtocolResultsDialog::OnOK()
{
    if (m_bRunning)
        StopRecording();
    else
        StartRecording();
}

void CProtocolResultsDialog::OnCancel()
{
    // Closing while recording would leave the device session behind.
    if (m_bRunning)
        return;
    CDialog::OnCancel();
}

void CProtocolResultsDialog::StartRecording()
{
    if (!m_strLogPath.IsEmpty())
        PrepareLogFile(m_strLogPath); // a failure shows; the first poll's write then stops
    if (!StartProtocol())
        return;
    m_buttonStart.SetWindowText(LoadText(IDS_STOP).c_str());
    EnableSetupButtons(FALSE);
    m_editResult.SetWindowText("");
    SetTimer(kPollTimer, kPollInterval);
    m_bRunning = 1;
}

void CProtocolResultsDialog::StopRecording()
{
    KillTimer(kPollTimer);
    StopProtocol();
    m_buttonStart.SetWindowText(LoadText(IDS_START).c_str());
    EnableSetupButtons(TRUE);
    m_bRunning = 0;
}

void CProtocolResultsDialog::EnableSetupButtons(BOOL bEnable)
{
    m_buttonFile.EnableWindow(bEnable);
    m_buttonSettings.EnableWindow(bEnable);
    m_buttonCancel.EnableWindow(bEnable);
}

void CProtocolResultsDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kPollTimer) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    if (!m_bRunning)
        return;
    const BOOL goOn = RunGuardedPoll(s_bPolling, [this] { return PollOnce(); });
    if (!goOn && m_bRunning)
        StopRecording();
}

BOOL CProtocolResultsDialog::PollOnce()
{
    SensorAnswer answer;
    if (!QueryResult(answer.Bytes()))
        return FALSE;
    BOOL broken = FALSE;
    const CString text = FormatResult(answer.Bytes(), Filter(), CTime::GetCurrentTime(), broken);
    if (broken)
        return FALSE;
    if (text.IsEmpty())
        return TRUE;
    m_editResult.SetWindowText(text.c_str());
    if (!m_strLogPath.IsEmpty() && !AppendToLogFile(m_strLogPath, text))
        return FALSE;
    return TRUE;
}

void CProtocolResultsDialog::OnChooseFile()
{
    if (ChooseLogFile(this, IDS_LOG_FILTER, kLogSaveFlags, kLogHelpContext, m_strLogPath))
        UpdateData(FALSE);
}

void CProtocolResultsDialog::OnSettings()
{
    CProtocolSettingsDialog dialog(this);
    dialog.m_nFirstAngle = m_nFirstAngle;
    dialog.m_nLastAngle = m_nLastAngle;
    dialog.m_fAngleStep = m_fAngleStep;
    if (dialog.DoModal() != IDOK)
        return;
    m_nFirstAngle = dialog.m_nFirstAngle;
    m_nLastAngle = dialog.m_nLastAngle;
    m_fAngleStep = dialog.m_fAngleStep;
    UpdateData(FALSE);
}

CString CProtocolResultsDialog::FormatHeading(const CTime& time)
{
    return time.Format("%x") + " - " + time.Format("%H:%M:%S") + kNewLine + kRule + kNewLine + kNewLine;
}

CString CProtocolResultsDialog::FormatContourTable(const CScan& scan, const ContourFilter& filter)
{
    CString table = LoadText(IDS_CONTOUR_HEADER) + kNewLine + kRule + kNewLine;
    for (int i = 0; i < scan.GetBeamCount(); ++i) {
        const CSensorPoint point = scan.GetBeamPoint(i);
        const double angle = point.GetAngle();
        const bool inRange = angle >= filter.firstAngle - 1e-4 && angle <= filter.lastAngle + 1e-4;
        if (!inRange || !IsWholeMultiple(angle, filter.angleStep))
            continue;
        const CString flags =
            FlagText(scan.GetFlag1(i), "BL") + FlagText(scan.GetFlag2(i), "SF") + FlagText(scan.GetFlag3(i), "WF");
        table.AppendFormat("%d\t%.1f°\t%.0fcm\t%.1fcm\t%.1fcm\t%s", i, angle, double(point.GetRadius()),
                           double(point.GetX()), double(point.GetY()), flags.c_str());
        table += kNewLine;
    }
    return table + kNewLine + kNewLine;
}

CString CProtocolResultsDialog::FormatErrorLines(const CSensorErrorList& list)
{
    CString lines;
    for (int i = 0; i < list.GetCount(); ++i) {
        lines.AppendFormat("   (ERR%02d) ", list.GetCode(i));
        lines += list.GetClassText(i) + "; " + list.GetCodeText(i) + kNewLine;
    }
    return lines + kNewLine;
}

CString CProtocolResultsDialog::FormatResult(ConstAnswerSpan answer, const ContourFilter& filter, const CTime& time,
                                             BOOL& broken)
{
    broken = FALSE;
    switch (answer[AnswerOffset::Command]) {
    case kResultText:
        return FormatHeading(time) + "   " + CopyAnswerText(answer) + kNewLine + kNewLine;
    case kResultContour: {
        const std::unique_ptr<CScan> scan = ContourOf(answer);
        if (!scan) {
            broken = TRUE;
            return CString();
        }
        return FormatHeading(time) + FormatContourTable(*scan, filter);
    }
    case kResultErrorList: {
        CSensorErrorList list;
        if (!list.Parse(answer)) {
            broken = TRUE;
            return CString();
        }
        return FormatHeading(time) + FormatErrorLines(list);
    }
    default:
        return CString();
    }
}

BOOL CZOKProtocolResultsDialog::StartProtocol() { return ConnectSensor(m_sensor, TRUE); }
void CZOKProtocolResultsDialog::StopProtocol() { DisconnectSensor(m_sensor, TRUE); }
BOOL CZOKProtocolResultsDialog::QueryResult(AnswerSpan answer) { return m_sensor.ReceiveTelegram(answer); }

BOOL CKVRProtocolResultsDialog::StartProtocol() { return ConnectSensor(m_sensor, TRUE); }
void CKVRProtocolResultsDialog::StopProtocol() { DisconnectSensor(m_sensor, TRUE); }
BOOL CKVRProtocolResultsDialog::QueryResult(AnswerSpan answer) { return m_sensor.ReceiveTelegram(answer); }
