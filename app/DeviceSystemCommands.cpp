#include "app/DeviceSystemCommands.h"

#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "device/ConfigurationProcedures.h"
#include "device/KVRProcedures.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CSensorNumberDialog.h"
#include "framework/core/CString.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/CKVRConfig.h"
#include "model/CPolyShelter.h"
#include "model/CZOKIdentity.h"

namespace {

constexpr BYTE kModeLogout = kModeNormal;
constexpr WORD kDefaultArcRadius = 400;
constexpr int kDefaultWarningBeams = 91;
constexpr int kDefaultWarningDistance = 35;
constexpr BYTE kScannerIndexValue = 1;

CString StoredPassword()
{
    return theLoginDialog.GetPassword();
}

BOOL Confirmed(UINT prompt)
{
    return AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// One connection to a device for a command. A login made through it is undone by a
// logout before the connection closes, on every road.
template <class Sensor>
class CommandSession {
public:
    CommandSession() : m_connected(ConnectSensor(m_sensor, TRUE)) {}
    ~CommandSession() { End(); }
    CommandSession(const CommandSession&) = delete;
    CommandSession& operator=(const CommandSession&) = delete;

    BOOL Connected() const { return m_connected; }
    Sensor& Device() { return m_sensor; }

    BOOL Identify() { return m_connected && IdentifySensor(m_sensor, TRUE); }
    BOOL LogIn(BYTE mode)
    {
        m_loggedIn = m_connected && SetOperatingMode(m_sensor, mode, StoredPassword().c_str(), TRUE);
        return m_loggedIn;
    }
    void LogOut()
    {
        if (m_loggedIn)
            SetOperatingMode(m_sensor, kModeLogout, StoredPassword().c_str(), TRUE);
        m_loggedIn = FALSE;
    }
    void End()
    {
        LogOut();
        if (m_connected)
            DisconnectSensor(m_sensor, TRUE);
        m_connected = FALSE;
    }

private:
    Sensor m_sensor;
    BOOL m_connected;
    BOOL m_loggedIn = FALSE;
};

// The device's own status texts and prompts told the user why a step failed; these
// boxes tell how the command as a whole ended.
void ShowWriteResult(BOOL written)
{
    AfxMessageBox(written ? IDP_SYSTEM_WRITTEN : IDP_SYSTEM_NOT_WRITTEN,
                  MB_OK | (written ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

// Question 432 about scanner k, with the scanner's number in the text.
BOOL ConfirmScannerCommand(int scanner)
{
    CString text;
    text.LoadString(IDP_CONFIRM_ADDRESSED_SCANNER);
    text.Replace("%d", FormatText("%d", scanner).c_str());
    return AfxMessageBox(text.c_str(), MB_YESNO | MB_ICONQUESTION, IDP_CONFIRM_ADDRESSED_SCANNER) == IDYES;
}

BOOL ScannerAnswersAs(CZOKSensor& scanner, BYTE number)
{
    CZOKIdentity identity;
    return ReadZOKIdentificationAt(scanner, identity, number, TRUE) && identity.GetByte29() == number;
}

// The scanner behind the unit, addressed by its number: command 0x50 after the user's
// Yes, with the scanner's service login. No counts as done.
BOOL RunAddressedScannerSession(BYTE number)
{
    CZOKSensor scanner;
    if (!ConnectSensor(scanner, TRUE))
        return FALSE;
    BOOL done = FALSE;
    if (ScannerAnswersAs(scanner, number)) {
        if (!ConfirmScannerCommand(number)) {
            done = TRUE;
        } else {
            CString password;
            password.LoadString(IDS_SCANNER_SERVICE_PASSWORD);
            if (SetOperatingModeValue(scanner, kModeConfiguration, number, password.c_str(), TRUE) &&
                ScannerAnswersAs(scanner, number) && RunCommand50At(scanner, number, TRUE)) {
                AfxMessageBox(IDP_SCANNER_SESSION_DONE, MB_OK | MB_ICONINFORMATION);
                done = SetIndexedValue(scanner, kScannerIndexValue, number, TRUE);
            }
        }
    }
    DisconnectSensor(scanner, TRUE);
    return done;
}

} // namespace

std::unique_ptr<CKVRConfig> MakeKVRDefaultSystem(const CSensorType& type)
{
    auto config = std::make_unique<CKVRConfig>();
    CSensorType unitType(type);
    unitType.SetVariant(0);
    config->SetSensorType(unitType);
    config->SetValueV5(0);

    config->AddSensorConfig(FormatText("ZOK%d", 1).c_str(), std::make_unique<CKVRSensorConfig>());

    auto protective = std::make_unique<CArcShelter>();
    protective->Initialize(config->GetSensorType(), kDefaultArcRadius, kProtectiveField);
    auto warning = std::make_unique<CPolyShelter>();
    warning->InitializeConstant(config->GetSensorType(), kDefaultWarningDistance, kDefaultWarningBeams,
                                kWarningField);
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(kProtectiveField, std::move(protective));
    pair->SetShelter(kWarningField, std::move(warning));
    config->AddShelterConfig(FormatText("FELD%d", 1).c_str(), std::move(pair));

    auto control = std::make_unique<CKVRControlConfig>();
    control->SetScanCount(config->GetSensorType().GetMinScanCount());
    for (int input = 1; input <= CKVRControlConfig::kInputCount; ++input)
        control->SetInputState(input, kInputDontCare);
    control->SetSpeed(CSpeed(0, 0));
    control->SetOutputA(1);
    control->SetOutputB(0);
    control->SetSensorIndex(0);
    control->SetShelterIndex(0);
    control->SetFollowCount(0);
    control->SetFollow1(-1);
    control->SetFollow2(-1);
    config->AddControlConfig(FormatText("UWF%d", 1).c_str(), std::move(control));
    return config;
}

void WriteKVRDefaultSystem()
{
    if (!Confirmed(IDP_CONFIRM_WRITE_SYSTEM))
        return;
    CommandSession<CKVRSensor> session;
    CSensorType type;
    if (!session.Identify() || !ReadKVRSensorType(session.Device(), type, TRUE) ||
        !session.LogIn(kModeConfiguration))
        return;
    const std::unique_ptr<CKVRConfig> config = MakeKVRDefaultSystem(type);
    const BOOL written = WriteKVRConfiguration(session.Device(), *config, TRUE, TRUE);
    ShowWriteResult(written);
    if (written && !session.Device().SendCommand66(kDefaultSystemSetting))
        AfxMessageBox(ProcedureText::kParameterRetry, MB_OK | MB_ICONEXCLAMATION);
}

void RunKVRScannerSession()
{
    CKVRSensor unit;
    if (!ConnectSensor(unit, TRUE))
        return;
    int scanners = 0;
    BOOL loggedIn = FALSE;
    if (IdentifySensor(unit, TRUE)) {
        if (const std::unique_ptr<CKVRConfig> config = ReadKVRConfiguration(unit, TRUE)) {
            scanners = config->GetSensorConfigCount();
            loggedIn = SetOperatingMode(unit, kModeAccessCode, StoredPassword().c_str(), TRUE);
        }
    }
    DisconnectSensor(unit, TRUE);

    BOOL done = FALSE;
    if (loggedIn) {
        CSensorNumberDialog dialog(scanners);
        if (dialog.DoModal() == IDOK)
            done = RunAddressedScannerSession(BYTE(dialog.m_nChoice + 1));
        // The unit stays in its access mode until told otherwise, whatever the scanner did.
        if (ConnectSensor(unit, TRUE)) {
            SetOperatingMode(unit, kModeLogout, StoredPassword().c_str(), TRUE);
            DisconnectSensor(unit, TRUE);
        }
    }
    if (!done)
        AfxMessageBox(IDP_SCANNER_SESSION_FAILED, MB_OK | MB_ICONEXCLAMATION);
}

void WriteZOKWholeSystem()
{
    if (!Confirmed(IDP_CONFIRM_WRITE_SYSTEM))
        return;
    CommandSession<CZOKSensor> session;
    if (session.Identify() && session.LogIn(kModeConfiguration))
        ShowWriteResult(WriteZOKSystem(session.Device()));
}

void RunZOKScannerSession()
{
    if (!Confirmed(IDP_CONFIRM_SCANNER_SESSION))
        return;
    CommandSession<CZOKSensor> session;
    if (!session.Connected())
        return;
    const BOOL done = session.Identify() && session.LogIn(kModeConfiguration) && RunCommand50(session.Device(), TRUE);
    if (done)
        AfxMessageBox(IDP_SCANNER_SESSION_DONE, MB_OK | MB_ICONINFORMATION);
    session.End();
    if (!done)
        AfxMessageBox(IDP_SCANNER_SESSION_FAILED, MB_OK | MB_ICONEXCLAMATION);
}
