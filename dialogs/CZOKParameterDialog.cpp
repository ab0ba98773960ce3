#include "dialogs/CZOKParameterDialog.h"

#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "device/SensorHelpers.h"
#include "device/ZOKParameterFile.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CHelpFileDialog.h"
#include "dialogs/CZOKParameterPrintDialog.h"
#include "dialogs/DiagnosisText.h"
#include "framework/core/ExtractSubString.h"
#include "framework/ui/CWinApp.h"
#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/CReplacingFile.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/MessageBox.h"
#include "model/CZOKIdentity.h"
#include "model/CZOKParameters.h"

#include <optional>

IMPLEMENT_DYNAMIC(CZOKParameterDialog, CDialog)

namespace {

// Lead-ins of three lines; the device texts after them carry their own labels, since
// the diagnosis shows the same device texts on lines of their own.
constexpr UINT IDS_RESTART_LEAD_IN = 1073;
constexpr UINT IDS_OUTPUT_MODE_LEAD_IN = 1074;
constexpr UINT IDS_RESTART_FLAG_LEAD_IN = 1075;
// The labels of the lines whose device texts name their value; the text of a code the
// device text service does not know (713) names nothing and is shown after its label.
constexpr UINT IDS_INPUT_MONITORING_LABEL = 1068;
constexpr UINT IDS_RESTART_LABEL = 1069;
constexpr UINT IDS_RESTART_FLAG_LABEL = 1070;
constexpr UINT IDS_OUTPUT_MODE_LABEL = 1071;
constexpr UINT IDS_SECOND_OUTPUT_LABEL = 1092;
constexpr UINT IDS_UNKNOWN_CODE = 713;
constexpr UINT IDS_FILE_FILTER = 1122;
constexpr UINT kOpenHelpContext = 112;
constexpr UINT kSaveHelpContext = 113;
constexpr LPCTSTR kDirectoryKey = "ZokParameters";
constexpr BYTE kModeLogout = 33;
constexpr int kScanTime = 40; // ms per scan
constexpr int kRestartWithDelay = 1;

// What the listing shows, taken from an identification or from a parameter record.
struct ListingValues {
    BYTE inputMonitoring = 0; // text class 2
    BYTE restart = 0;         // text class 6
    WORD delay = 0;           // text class 22, in 1/200 s
    BYTE restartFlag = 0;     // text class 20
    BYTE outputMode = 0;      // text class 19
    int scans = 0;       // text classes 24 and 23
    BYTE secondOutput = 0; // text class 25
    BYTE deviceKind = 0; // text class 26
    std::optional<BYTE> variant; // text class 30, where the firmware knows it
};

ListingValues FromIdentity(const CZOKIdentity& id)
{
    ListingValues v;
    v.inputMonitoring = id.GetByteAt(19);
    v.restart = id.GetByte20();
    v.delay = id.GetWord21();
    v.restartFlag = id.GetByteAt(23);
    v.outputMode = id.GetByteAt(24);
    v.scans = id.GetScanCount();
    v.secondOutput = id.GetByte28();
    v.deviceKind = id.GetByte29();
    if (IsInFirmwareWindow(id.GetFirmwareVersion())) v.variant = id.GetByte30();
    return v;
}

ListingValues FromParameters(const CZOKParameters& p, DWORD firmwareVersion)
{
    ListingValues v;
    v.inputMonitoring = p.GetByteAt(0);
    v.restart = p.GetByteAt(1);
    v.delay = p.GetWordAt(2);
    v.restartFlag = p.GetByte4();
    v.outputMode = p.GetByte5();
    v.scans = p.GetScans();
    v.secondOutput = p.GetByteAt(8);
    v.deviceKind = p.GetByte7();
    if (IsInFirmwareWindow(firmwareVersion)) v.variant = p.GetByteAt(9);
    return v;
}

CString Label(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

// The device text of a code; for a code it does not know, the line's label and that text.
CString LabelledSensorText(int textClass, int code, UINT labelId)
{
    const CString text = SensorText(textClass, code, 0);
    return text == Label(IDS_UNKNOWN_CODE) ? Label(labelId) + " " + text : text;
}

CString ListingText(const ListingValues& v, const CString& timeStamp)
{
    const CString crlf = "\r\n";
    CString text = timeStamp + crlf;
    text += DashLine() + crlf;
    text += LabelledSensorText(2, v.inputMonitoring, IDS_INPUT_MONITORING_LABEL) + crlf;
    text += Label(IDS_RESTART_LEAD_IN) + LabelledSensorText(6, v.restart, IDS_RESTART_LABEL);
    if (v.restart == kRestartWithDelay) text += SensorText(22, v.delay, 0);
    text += crlf;
    text += Label(IDS_RESTART_FLAG_LEAD_IN) + LabelledSensorText(20, v.restartFlag, IDS_RESTART_FLAG_LABEL) + crlf;
    text += Label(IDS_OUTPUT_MODE_LEAD_IN) + LabelledSensorText(19, v.outputMode, IDS_OUTPUT_MODE_LABEL) + crlf;
    text += SensorText(24, v.scans, 0) + SensorText(23, v.scans * kScanTime, 0) + crlf;
    text += LabelledSensorText(25, v.secondOutput, IDS_SECOND_OUTPUT_LABEL) + crlf;
    text += SensorText(26, v.deviceKind, 0) + crlf;
    if (v.variant) text += SensorText(30, *v.variant, 0) + crlf;
    return text;
}

// The file texts hold the default extension and the filter, separated by a line feed.
CString FileText(int index)
{
    CString all;
    all.LoadString(IDS_FILE_FILTER);
    CString piece;
    AfxExtractSubString(piece, all.c_str(), index);
    return piece;
}

CString AskPath(BOOL open, CWnd* parent)
{
    const DWORD flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | (open ? 0 : OFN_OVERWRITEPROMPT);
    const CString extension = FileText(0);
    const CString filter = FileText(1);
    CHelpFileDialog dialog(open, extension.c_str(), nullptr, flags, filter.c_str(), parent,
                           open ? kOpenHelpContext : kSaveHelpContext);
    dialog.SetInitialDirFromProfile(kDirectoryKey);
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

void ShowWithPath(UINT id, const CString& path, UINT flags)
{
    CString message;
    AfxFormatString1(message, id, path.c_str());
    AfxMessageBox(message, flags);
}

// One device session with the connected scanner, disconnected when it ends; holds the
// identification once that has been read.
class ScannerSession {
public:
    ScannerSession() : m_connected(ConnectSensor(m_sensor, TRUE))
    {
        m_identified = m_connected && IdentifySensor(m_sensor, TRUE) &&
                       ReadZOKIdentification(m_sensor, m_identity, TRUE);
    }
    ~ScannerSession()
    {
        if (m_connected) DisconnectSensor(m_sensor, TRUE);
    }
    ScannerSession(const ScannerSession&) = delete;
    ScannerSession& operator=(const ScannerSession&) = delete;

    bool Identified() const { return m_identified; }
    const CZOKIdentity& Identity() const { return m_identity; }
    CZOKSensor& Sensor() { return m_sensor; }

private:
    CZOKSensor m_sensor{0};
    CZOKIdentity m_identity;
    bool m_connected;
    bool m_identified = false;
};

} // namespace

BEGIN_MESSAGE_MAP(CZOKParameterDialog, CDialog)
    ON_BN_CLICKED(CZOKParameterDialog::IDC_READ_DEVICE, OnReadDevice)
    ON_BN_CLICKED(CZOKParameterDialog::IDC_SAVE_TO_FILE, OnSaveToFile)
    ON_BN_CLICKED(CZOKParameterDialog::IDC_LOAD_FILE, OnLoadFile)
    ON_BN_CLICKED(CZOKParameterDialog::IDC_SEND_FILE, OnSendFile)
    ON_BN_CLICKED(CZOKParameterDialog::IDC_PRINT, OnPrint)
END_MESSAGE_MAP()

CZOKParameterDialog::CZOKParameterDialog(CWnd* pParentWnd) : CDialog(IDD, pParentWnd) {}

BOOL CZOKParameterDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

void CZOKParameterDialog::FormatIdentity(const CZOKIdentity& identity, CString& text)
{
    text = ListingText(FromIdentity(identity), DiagnosisTimeStamp());
}

void CZOKParameterDialog::FormatParameters(const CZOKParameters& parameters, DWORD firmwareVersion, CString& text)
{
    text = ListingText(FromParameters(parameters, firmwareVersion), DiagnosisTimeStamp());
}

template <typename Build>
void CZOKParameterDialog::ShowListing(Build build)
{
    CString text;
    try {
        build(text);
    } catch (CException&) {
        SetDlgItemText(IDC_LISTING, "");
        AfxMessageBox(IDP_LISTING_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetDlgItemText(IDC_LISTING, text);
    if (CWnd* listing = GetDlgItem(IDC_LISTING)) GotoDlgCtrl(listing);
}

bool CZOKParameterDialog::ReadParameterFile(const CString& path, CZOKParameters& parameters)
{
    CFile file;
    CFileException error;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareExclusive | CFile::typeBinary, &error)) {
        AfxReportSaveLoadError(path.c_str(), &error, FALSE, IDP_FILE_OPEN);
        return false;
    }
    try {
        ReadZOKParameterFile(file, parameters);
        file.Close();
    } catch (CException& e) {
        file.Abort();
        AfxReportSaveLoadError(path.c_str(), &e, FALSE, IDP_FILE_OPEN);
        return false;
    }
    return true;
}

void CZOKParameterDialog::OnReadDevice()
{
    ScannerSession session;
    if (!session.Identified()) return;
    ShowListing([&](CString& text) { FormatIdentity(session.Identity(), text); });
}

void CZOKParameterDialog::OnSaveToFile()
{
    const CString path = AskPath(FALSE, this);
    if (path.IsEmpty()) return;
    CZOKParameters parameters;
    {
        ScannerSession session;
        if (!session.Identified()) {
            // Nothing to write: the file stays as it was.
            ShowWithPath(IDP_FILE_WRITE, path, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        parameters.SetFromIdentity(session.Identity());
    }

    CReplacingFile file;
    CFileException error;
    if (!file.OpenReplacing(path.c_str(), &error)) {
        AfxReportSaveLoadError(path.c_str(), &error, TRUE, IDP_FILE_OPEN);
        return;
    }
    try {
        WriteZOKParameterFile(file, parameters);
        file.Commit();
        file.Close();
    } catch (CException& e) {
        file.Abort();
        AfxReportSaveLoadError(path.c_str(), &e, TRUE, IDP_FILE_WRITE);
        return;
    }
    ShowWithPath(IDP_SAVED, path, MB_OK | MB_ICONINFORMATION);
}

void CZOKParameterDialog::OnLoadFile()
{
    LoadFile(false);
}

void CZOKParameterDialog::OnSendFile()
{
    LoadFile(true);
}

// Sending keeps one session from the identification to the logout, so the set is
// compared with and sent to the same scanner, and nothing is sent when the scanner could
// not be identified.
void CZOKParameterDialog::LoadFile(bool thenSend)
{
    const CString path = AskPath(TRUE, this);
    if (path.IsEmpty()) return;
    CZOKParameters parameters;
    if (!ReadParameterFile(path, parameters)) return;
    ScannerSession session;
    if (!session.Identified()) return;
    const DWORD firmware = session.Identity().GetFirmwareVersion();
    ShowListing([&](CString& text) { FormatParameters(parameters, firmware, text); });
    if (!thenSend) return;

    if (AfxMessageBox(IDP_CONFIRM_SEND, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
    if (!SetOperatingMode(session.Sensor(), kModeConfiguration, theLoginDialog.GetPassword().c_str(), TRUE)) {
        AfxMessageBox(IDP_SEND_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (parameters.GetByte7() == session.Identity().GetByte29()) {
        const BOOL sent = SendZOKParameters(session.Sensor(), parameters);
        AfxMessageBox(sent ? IDP_SENT : IDP_SEND_FAILED, MB_OK | (sent ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    } else {
        AfxMessageBox(IDP_OTHER_DEVICE, MB_OK | MB_ICONEXCLAMATION);
    }
    SetOperatingMode(session.Sensor(), kModeLogout, nullptr, TRUE);
}

void CZOKParameterDialog::OnPrint()
{
    CString text;
    GetDlgItemText(IDC_LISTING, text);
    CZOKParameterPrintDialog printer(text);
    printer.PrintContent(this, AfxGetAppName());
}
