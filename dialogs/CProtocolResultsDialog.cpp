#include "dialogs/CProtocolResultsDialog.h"

#include "device/CSensorErrorList.h"
#include "device/DeviceProcedures.h"
#include "device/SensorHelpers.h"
#include "dialogs/CProtocolSettingsDialog.h"
#include "framework/core/Resources.h"
#include "framework/ui/DDX.h"
#include "model/CScan.h"
#include "model/CSensorType.h"
#include "model/DistanceUnit.h"

#include <array>

IMPLEMENT_DYNAMIC(CProtocolResultsDialog, CPollingDialog)
IMPLEMENT_DYNAMIC(CZOKProtocolResultsDialog, CProtocolResultsDialog)
IMPLEMENT_DYNAMIC(CKVRProtocolResultsDialog, CProtocolResultsDialog)

namespace {
constexpr UINT IDD_PROTOCOL_RESULTS = 111;
constexpr int IDC_RESULT_VIEW = 2035;
constexpr int IDC_SETTINGS_SUMMARY = 2037;
constexpr int IDC_SETTINGS_BUTTON = 2062;
constexpr UINT IDS_SETTINGS_SUMMARY = 1158;
constexpr UINT IDS_CONTOUR_HEADER = 1161;

constexpr BYTE kResultText = 0x90;
constexpr BYTE kResultContour = 0xB0;
constexpr BYTE kResultErrorList = 0xB2;
constexpr std::size_t kContourCountAt = 10;
constexpr std::size_t kContourBeamsAt = 12;
constexpr int kMaxContourBeams = 361;
constexpr int kDefaultSensorTypeCode = 4;

const CString kRule('-', 90);
const char* const kNewLine = "\r\n";

constexpr PollingDialogResources kResources{
    .startText = 1159, .stopText = 1160, .noLogFileText = 1157, .logFilterText = 1120,
    .logHelpContext = 110, .logSaveFlags = 0x80C};

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

BEGIN_MESSAGE_MAP(CProtocolResultsDialog, CPollingDialog)
    ON_BN_CLICKED(IDC_SETTINGS_BUTTON, OnSettings)
END_MESSAGE_MAP()

CProtocolResultsDialog::CProtocolResultsDialog(CWnd* pParentWnd)
    : CPollingDialog(IDD_PROTOCOL_RESULTS, kResources, pParentWnd)
{
}

CProtocolResultsDialog::~CProtocolResultsDialog() = default;

BOOL CProtocolResultsDialog::OnInitDialog()
{
    CPollingDialog::OnInitDialog();
    static constexpr int kTabStops[] = {33, 63, 96, 138, 180};
    m_editResult.SetTabStops(int(std::size(kTabStops)), kTabStops);
    return TRUE;
}

void CProtocolResultsDialog::DoDataExchange(CDataExchange* pDX)
{
    CPollingDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RESULT_VIEW, m_editResult);
    if (!pDX->m_bSaveAndValidate) {
        CString first, last;
        CString step;
        first.Format("%d°", m_nFirstAngle);
        last.Format("%d°", m_nLastAngle);
        step = FormatDecimal(m_fAngleStep, 1) + "°";
        const char* const inserts[] = {first.c_str(), last.c_str(), step.c_str()};
        AfxFormatStrings(m_strSettings, IDS_SETTINGS_SUMMARY, inserts, 3);
    }
    DDX_Text(pDX, IDC_SETTINGS_SUMMARY, m_strSettings);
}

void CProtocolResultsDialog::ClearShown() { m_editResult.SetWindowText(""); }

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
    return AppendToChosenLog(text);
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
        table.AppendFormat("%d\t%s°\t%scm\t%scm\t%scm\t%s", i, FormatDecimal(angle, 1).c_str(),
                           FormatDecimal(point.GetRadius(), 0).c_str(), FormatDecimal(point.GetX(), 1).c_str(),
                           FormatDecimal(point.GetY(), 1).c_str(), flags.c_str());
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
