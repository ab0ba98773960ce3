#include "device/dialogs/CLoginDialog.h"

#include "device/CSensor.h"
#include "device/DeviceProcedures.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CLoginDialog, CDialog)

CLoginDialog theLoginDialog;

namespace {

constexpr UINT IDD_LOGIN = 104;
constexpr int IDC_LEVEL = 2003;
constexpr int IDC_PASSWORD = 2006;
constexpr int IDC_PASSWORD_LABEL = 2009;
constexpr int IDC_PICTURE = 2084;
constexpr UINT IDB_LOGIN = 83;
constexpr UINT IDP_LOGIN_FAILED = 300;
constexpr UINT IDP_LOGIN_UNANSWERED = 490;
// What reaches the device of a password.
constexpr int kPasswordLength = 8;

struct LevelRow {
    UINT nameId; // 0: no name
    int passwordNeeded; // -1: unchanged
    std::array<BYTE, 5> rights;
};

constexpr std::array<LevelRow, CLoginDialog::kLevelCount> kLevels = {{
    {0, -1, {0x00, 0x00, 0x00, 0x00, 0x00}},
    {935, 1, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
    {936, 1, {0xFF, 0xFF, 0x7F, 0xFF, 0x0F}},
    {937, 1, {0xFF, 0xFF, 0x7F, 0xFF, 0x1F}},
    {939, 0, {0xF6, 0x06, 0x30, 0x65, 0x1F}},
    {938, 1, {0xF6, 0x86, 0x20, 0x75, 0x1F}},
}};

} // namespace

BEGIN_MESSAGE_MAP(CLoginDialog, CDialog)
    ON_CBN_SELCHANGE(IDC_LEVEL, OnSelchangeLevel)
    ON_BN_CLICKED(CLoginDialog::IDC_LOGIN, OnLogin)
    ON_BN_CLICKED(CLoginDialog::IDC_STANDARD_LEVEL, OnStandardLevel)
END_MESSAGE_MAP()

CLoginDialog::CLoginDialog() : CDialog(IDD_LOGIN) {}

CLoginDialog::~CLoginDialog() = default;

void CLoginDialog::SetLevel(int level)
{
    m_strPassword.Empty();
    m_strLevelName.Empty();
    m_rights.fill(0);
    if (level < 0 || level >= kLevelCount) return;
    const LevelRow& row = kLevels[std::size_t(level)];
    m_nLevel = level;
    m_rights = row.rights;
    if (row.passwordNeeded >= 0) m_bPasswordNeeded = row.passwordNeeded;
    if (row.nameId) m_strLevelName.LoadString(row.nameId);
}

BOOL CLoginDialog::OnInitDialog()
{
    m_nPrevLevel = m_nLevel;
    m_strPrevPassword = m_strPassword;
    m_strPassword.Empty();
    CDialog::OnInitDialog();

    AddLevelItem(935, 1);
    AddLevelItem(936, 2);
    AddLevelItem(937, 3);
    AddLevelItem(938, 5);
    AddLevelItem(939, 4);

    if (m_editPassword.SubclassDlgItem(IDC_PASSWORD, this)) {
        // A longer entry would reach the device cut short and could pass as another password.
        m_editPassword.SetLimitText(kPasswordLength);
    }
    if (m_pictureButton.SubclassDlgItem(IDC_PICTURE, this)) {
        m_pictureButton.SetPictureStyle(0);
        if (m_pictureButton.LoadBitmap(IDB_LOGIN)) m_pictureButton.SizeToContent();
    }
    CenterWindow();
    OnSelchangeLevel();
    return TRUE;
}

void CLoginDialog::AddLevelItem(UINT nIDName, int level)
{
    CString name;
    name.LoadString(nIDName);
    const LRESULT index = SendDlgItemMessage(IDC_LEVEL, CB_ADDSTRING, 0, LPARAM(name.c_str()));
    if (index < 0) return;
    SendDlgItemMessage(IDC_LEVEL, CB_SETITEMDATA, WPARAM(index), LPARAM(level));
    if (level == m_nLevel) SendDlgItemMessage(IDC_LEVEL, CB_SETCURSEL, WPARAM(index), 0);
}

void CLoginDialog::OnSelchangeLevel()
{
    const LRESULT index = GetDlgItem(IDC_LEVEL) ? SendDlgItemMessage(IDC_LEVEL, CB_GETCURSEL, 0, 0) : CB_ERR;
    // Without a selection (level 0 before start-up) the level stays as it is.
    if (index >= 0) SetLevel(int(SendDlgItemMessage(IDC_LEVEL, CB_GETITEMDATA, WPARAM(index), 0)));
    ShowPasswordEntry();
}

void CLoginDialog::ShowPasswordEntry()
{
    const int show = m_bPasswordNeeded ? SW_SHOW : SW_HIDE;
    for (const int id : {IDC_PASSWORD_LABEL, IDC_PASSWORD}) {
        if (CWnd* control = GetDlgItem(id)) control->ShowWindow(show);
    }
}

void CLoginDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    if (m_bPasswordNeeded) DDV_PasswordChars(pDX, m_strPassword);
}

void CLoginDialog::OnLogin()
{
    if (!UpdateData(TRUE)) return;
    if (m_bPasswordNeeded) {
        const DeviceCheck check = CheckPasswordWithDevice();
        // A device that was not reached has had its say in the procedures' prompts.
        if (check == DeviceCheck::Refused) AfxMessageBox(IDP_LOGIN_FAILED, MB_ICONEXCLAMATION);
        if (check == DeviceCheck::Unanswered) WarningMessageBox(IDP_LOGIN_UNANSWERED);
        if (check != DeviceCheck::Accepted) return;
    }
    const int newLevel = m_nLevel;
    const CString entered = m_strPassword;
    if (newLevel == 5 || (newLevel == kStandardLevel && m_nPrevLevel != kStandardLevel)) {
        SetLevel(m_nPrevLevel);
        if (SaveAndCloseDocuments()) {
            SetLevel(newLevel);
            SetPassword(entered);
        } else {
            SetPassword(m_strPrevPassword);
        }
    }
    EndDialog(IDC_LOGIN);
}

void CLoginDialog::OnStandardLevel()
{
    // Judged by the level the dialog was opened with: a level picked in the combo
    // beforehand must not spare the documents of a higher level their save query.
    if (m_nPrevLevel != kStandardLevel) SaveAndCloseDocuments();
    SetLevel(kStandardLevel);
    EndDialog(IDC_STANDARD_LEVEL);
}

void CLoginDialog::OnCancel()
{
    SetLevel(m_nPrevLevel);
    m_strPassword = m_strPrevPassword;
    EndDialog(IDCANCEL);
}

BOOL CLoginDialog::SaveAndCloseDocuments()
{
    if (!m_pApplication) return TRUE;
    if (!m_pApplication->SaveAllModified()) return FALSE;
    m_pApplication->CloseAllDocuments();
    return TRUE;
}

std::unique_ptr<CSensor> CLoginDialog::CreateSensor() { return std::make_unique<CSensor>(CSensor::kUnknownFamily); }

CLoginDialog::DeviceCheck CLoginDialog::CheckPasswordWithDevice()
{
    const std::unique_ptr<CSensor> sensor = CreateSensor();
    if (!ConnectSensor(*sensor, TRUE)) return DeviceCheck::NotReached;
    DeviceCheck check = DeviceCheck::NotReached;
    if (IdentifySensor(*sensor, TRUE)) check = LoginByLevel(*sensor);
    DisconnectSensor(*sensor, TRUE);
    return check;
}

CLoginDialog::DeviceCheck CLoginDialog::LoginByLevel(CSensor& sensor)
{
    const bool factory = m_strPassword == kFactoryPassword;
    switch (m_nLevel) {
    case 1:
        return SendLogin(sensor, '1');
    case 5:
        return factory ? DeviceCheck::Refused : SendLogin(sensor, '2');
    case 2:
    case 3:
        if (factory) return DeviceCheck::Accepted;
        if (SendLogin(sensor, '0') == DeviceCheck::Accepted) return DeviceCheck::Accepted;
        return SendLogin(sensor, '1');
    default:
        return DeviceCheck::Refused;
    }
}

CLoginDialog::DeviceCheck CLoginDialog::SendLogin(CSensor& sensor, char code)
{
    if (sensor.Login(code, m_strPassword)) return DeviceCheck::Accepted;
    // Every telegram clears the last status; only an answer sets a refusal's status.
    return sensor.GetLastStatus() != 0 ? DeviceCheck::Refused : DeviceCheck::Unanswered;
}
