#include "dialogs/CDiagnosisResultsDialog.h"

#include "dialogs/CDiagnosisPrintDialog.h"

#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CSensorErrorList.h"
#include "device/CZOKSensor.h"
#include "device/KVRProcedures.h"
#include "device/ProcedureApplication.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CDiagnosisPrintDialog.h"
#include "dialogs/CHelpFileDialog.h"
#include "framework/core/CFile.h"
#include "framework/core/CReplacingFile.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"
#include "model/CKVRIdentity.h"
#include "model/CZOKIdentity.h"

IMPLEMENT_DYNAMIC(CDiagnosisResultsDialog, CDialog)
IMPLEMENT_DYNAMIC(CZOKDiagnosisResultsDialog, CDiagnosisResultsDialog)
IMPLEMENT_DYNAMIC(CKVRDiagnosisResultsDialog, CDiagnosisResultsDialog)

namespace {
constexpr UINT IDP_READ_FAILED = 315;
constexpr UINT IDP_SAVED = 439;
constexpr UINT IDP_FILE_OPEN = 445;
constexpr UINT IDP_FILE_WRITE = 446;
constexpr UINT IDS_SAVE_FILTER = 1121;
constexpr UINT IDS_SCANNER_HEADING = 1101;
constexpr UINT IDS_SCANNER_FAILED = 1116;
constexpr UINT kSaveHelpContext = 111;
constexpr BYTE kModeLogout = 33;

bool IsSimulating()
{
    ProcedureApplication* app = GetProcedureApplication();
    return app != nullptr && app->IsSimulating();
}

void ReportFileError(UINT id, const CString& path)
{
    CString message;
    AfxFormatString1(message, id, path.c_str());
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

// Part n of a text whose parts are separated by line feeds.
CString TextPart(const CString& text, int n)
{
    const std::string all = text.c_str();
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = all.find('\n', start);
        if (start == std::string::npos) return CString();
        ++start;
    }
    const std::size_t end = all.find('\n', start);
    return CString(all.substr(start, end == std::string::npos ? std::string::npos : end - start).c_str());
}
} // namespace

BEGIN_MESSAGE_MAP(CDiagnosisResultsDialog, CDialog)
    ON_BN_CLICKED(CDiagnosisResultsDialog::IDC_SAVE, OnSave)
    ON_BN_CLICKED(CDiagnosisResultsDialog::IDC_PRINT, OnPrint)
END_MESSAGE_MAP()

CDiagnosisResultsDialog::CDiagnosisResultsDialog(CWnd* pParentWnd) : CDialog(IDD, pParentWnd) {}

void CDiagnosisResultsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_INCLUDE_SCANNERS, m_bIncludeScanners);
}

BOOL CDiagnosisResultsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

bool CDiagnosisResultsDialog::BuildText(CString& text)
{
    text.Empty();
    return true;
}

DiagnosisTextOptions CDiagnosisResultsDialog::CurrentOptions() const
{
    return DiagnosisTextOptions{DiagnosisTimeStamp(), !IsSimulating()};
}

// Reads; the dialog stays open.
void CDiagnosisResultsDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    CString text;
    try {
        if (!BuildText(text)) return;
    } catch (CException&) {
        SetDlgItemText(IDC_REPORT, "");
        AfxMessageBox(IDP_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (CWnd* report = GetDlgItem(IDC_REPORT)) {
        GotoDlgCtrl(report);
        report->SetWindowText(text);
    }
}

void CDiagnosisResultsDialog::OnCancel()
{
    CDialog::OnCancel();
}

// Prints the report as shown, with the application's name as the job name.
void CDiagnosisResultsDialog::OnPrint()
{
    CString text;
    GetDlgItemText(IDC_REPORT, text);
    CDiagnosisPrintDialog printer(text);
    printer.PrintContent(this, AfxGetAppName());
}

void CDiagnosisResultsDialog::OnSave()
{
    CString filterText;
    filterText.LoadString(IDS_SAVE_FILTER);
    const CString extension = TextPart(filterText, 0);
    const CString filter = TextPart(filterText, 1);
    CHelpFileDialog dialog(FALSE, extension.c_str(), nullptr,
                           OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT, filter.c_str(),
                           this, kSaveHelpContext);
    dialog.SetInitialDirFromProfile("DiagnosticResults");
    if (dialog.DoModal() != IDOK) return;

    const CString path = dialog.GetPathName();
    CString text;
    GetDlgItemText(IDC_REPORT, text);
    CReplacingFile file;
    if (!file.OpenReplacing(path.c_str())) {
        ReportFileError(IDP_FILE_OPEN, path);
        return;
    }
    try {
        file.Write(text.c_str(), UINT(text.GetLength()));
        file.Commit();
        file.Close();
    } catch (CException&) {
        file.Abort();
        ReportFileError(IDP_FILE_WRITE, path);
        return;
    }
    CString message;
    AfxFormatString1(message, IDP_SAVED, path.c_str());
    AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
}

bool CZOKDiagnosisResultsDialog::BuildText(CString& text)
{
    CZOKSensor sensor(0);
    if (!ConnectSensor(sensor, TRUE)) return false;
    CZOKIdentity identity;
    CSensorErrorList errors;
    // A failed error list fails the read instead of showing an empty report.
    const bool read = IdentifySensor(sensor, TRUE) && ReadZOKIdentification(sensor, identity, TRUE) &&
                      ReadErrorList(sensor, errors, TRUE);
    if (read) ZOKText(identity, errors, text, false, CurrentOptions());
    DisconnectSensor(sensor, TRUE);
    return read;
}

bool CKVRDiagnosisResultsDialog::BuildText(CString& text)
{
    const DiagnosisTextOptions options = CurrentOptions();
    CKVRSensor sensor(0);
    if (!ConnectSensor(sensor, TRUE)) return false;
    CKVRIdentity identity;
    CSensorErrorList errors;
    const bool read = IdentifySensor(sensor, TRUE) && ReadKVRIdentification(sensor, identity, TRUE) &&
                      ReadErrorList(sensor, errors, TRUE);
    if (!read) {
        DisconnectSensor(sensor, TRUE);
        return false;
    }
    KVRText(identity, errors, text, options);
    if (!m_bIncludeScanners || IsSimulating()) {
        DisconnectSensor(sensor, TRUE);
        return true;
    }

    // The unit's scanner count comes from its configuration, read under the stored password.
    const bool loggedIn = SetOperatingMode(sensor, kModeAccessCode, theLoginDialog.GetPassword().c_str(), TRUE);
    std::unique_ptr<CKVRConfig> config = loggedIn ? sensor.ReadConfiguration() : nullptr;
    if (config == nullptr) {
        // Never leave the unit in its logged-in state.
        if (loggedIn) SetOperatingMode(sensor, kModeLogout, nullptr, TRUE);
        DisconnectSensor(sensor, TRUE);
        return true;
    }
    const int count = config->GetSensorConfigCount();
    DisconnectSensor(sensor, TRUE);

    AppendScannerSections(count, text, options);

    CKVRSensor logout(0);
    if (ConnectSensor(logout, TRUE)) {
        SetOperatingMode(logout, kModeLogout, nullptr, TRUE);
        DisconnectSensor(logout, TRUE);
    }
    return true;
}

void CKVRDiagnosisResultsDialog::AppendScannerSections(int count, CString& text, const DiagnosisTextOptions& options)
{
    CString headingFormat;
    headingFormat.LoadString(IDS_SCANNER_HEADING);
    for (int i = 1; i <= count; ++i) {
        CString heading;
        heading.Format(headingFormat.c_str(), unsigned(i));
        text += heading;
        CZOKSensor scanner(0);
        CZOKIdentity identity;
        CSensorErrorList errors;
        const bool connected = ConnectSensor(scanner, TRUE);
        const bool read = connected && ReadZOKIdentificationAt(scanner, identity, BYTE(i), TRUE) &&
                          ReadErrorListAt(scanner, errors, BYTE(i), TRUE);
        if (read) {
            ZOKText(identity, errors, text, true, options);
        } else {
            CString notice;
            notice.LoadString(IDS_SCANNER_FAILED);
            text += StarLine();
            text += notice + "\r\n";
            text += StarLine();
        }
        if (connected) DisconnectSensor(scanner, TRUE);
    }
}
