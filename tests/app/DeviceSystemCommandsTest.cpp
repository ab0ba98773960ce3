// The device-wide commands of both documents, run through the real driver over a
// pseudo-terminal against the emulator answering as the simulator: the requests each
// road sends, the boxes it shows, the default system it writes, and that every road ends
// logged out and disconnected.
#include "app/DeviceSystemCommands.h"

#include "DocumentFileBytes.h"
#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "device/ConfigurationProcedures.h"
#include "device/KVRProcedures.h"
#include "dialogs/CSensorNumberDialog.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "simulator/orusim.h"

#include <array>
#include <string>
#include <vector>

namespace {

constexpr BYTE kZOKFamily = 0;
constexpr BYTE kKVRFamily = 1;
constexpr int IDC_SCANNER_1 = 2163;

// A KVR unit with its scanners: a frame sent to a device number goes on to the scanner of
// that number (here the simulated scanner), as the unit passes it on.
class UnitWithScanner : public SimulatorAnswerer {
public:
    BYTE FamilyAt(BYTE address, BYTE emulatedFamily) const override
    {
        return address != 0 ? kZOKFamily : emulatedFamily;
    }
};

// Installed while it lives: the port of an INI file, and a count of the port's opens and
// closes from the sessions' status texts.
class PortApplication : public ProcedureApplication {
public:
    explicit PortApplication(std::string iniPath) : m_iniPath(std::move(iniPath))
    {
        m_opening.LoadString(ProcedureText::kOpenStatus);
        m_closing.LoadString(ProcedureText::kCloseStatus);
        m_previous = SetProcedureApplication(this);
    }
    ~PortApplication() override { SetProcedureApplication(m_previous); }
    PortApplication(const PortApplication&) = delete;
    PortApplication& operator=(const PortApplication&) = delete;

    BOOL IsSimulating() override { return FALSE; }
    CString GetIniPath() override { return CString(m_iniPath.c_str()); }
    void ShowMessageBarText(const CString& text, BOOL) override
    {
        m_opens += text == m_opening ? 1 : 0;
        m_closes += text == m_closing ? 1 : 0;
    }
    int Opens() const { return m_opens; }
    int Closes() const { return m_closes; }

private:
    std::string m_iniPath;
    CString m_opening;
    CString m_closing;
    int m_opens = 0;
    int m_closes = 0;
    ProcedureApplication* m_previous = nullptr;
};

// One request as a short token: the command in hex, the access mode after ':', the device
// number after '@'. Runs of configuration traffic become "read" or "write".
std::vector<std::string> Trace(const std::vector<SensorRequest>& requests)
{
    auto isRead = [](BYTE c) { return c == 0x38 || c == 0x39 || c == 0x45; };
    auto isWrite = [](BYTE c) { return (c >= 0x40 && c <= 0x47) || (c >= 0x60 && c <= 0x6A && c != 0x66) || (c >= 0x70 && c <= 0x74); };
    std::vector<std::string> tokens;
    for (const SensorRequest& request : requests) {
        const BYTE command = request.Command();
        std::string token;
        if (isRead(command)) {
            token = "read";
        } else if (isWrite(command)) {
            token = "write";
        } else {
            token = FormatText("%02X", command);
            if (command == 0x20)
                token += FormatText(":%02X", request.Byte(RequestOffset::Data));
        }
        if (request.Byte(RequestOffset::Address) != 0)
            token += FormatText("@%d", request.Byte(RequestOffset::Address));
        if (tokens.empty() || tokens.back() != token || (token != "read" && token != "write"))
            tokens.push_back(token);
    }
    return tokens;
}

std::string Joined(const std::vector<std::string>& tokens)
{
    std::string text;
    for (const std::string& token : tokens)
        text += (text.empty() ? "" : " ") + token;
    return text;
}

std::vector<UINT> BoxIds(const ScriptedUi& ui)
{
    std::vector<UINT> ids;
    for (const MessageBoxRecord& box : ui.MessageBoxes())
        ids.push_back(box.id != 0 ? box.id : box.helpId);
    return ids;
}

class DeviceSystemCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        theLoginDialog.SetLevel(1);
    }
    void TearDown() override { theLoginDialog.SetLevel(CLoginDialog::kStandardLevel); }

    // The device of a family on a pseudo-terminal, the port set up for it.
    void StartDevice(BYTE family, std::unique_ptr<DeviceAnswerer> answerer = std::make_unique<SimulatorAnswerer>())
    {
        application.reset();
        ini.reset();
        emulator.reset();
        emulator = std::make_unique<DeviceEmulator>(std::move(answerer), family);
        ASSERT_TRUE(emulator->Start());
        ini = std::make_unique<TestIniFile>("[SETUP]\nPort=1\nBaud=38400\nParity=EVEN\n[PORTS]\nCOM1=" +
                                            emulator->SlavePath() + "\n");
        application = std::make_unique<PortApplication>(ini->Path());
    }
    std::string Requests() const { return Joined(Trace(emulator->Requests())); }
    // Every session the command opened was closed again.
    void ExpectDisconnected() const
    {
        EXPECT_GT(application->Opens(), 0);
        EXPECT_EQ(application->Opens(), application->Closes());
    }

    ShippedLanguage texts;
    ScriptedUi ui;
    std::unique_ptr<DeviceEmulator> emulator;
    std::unique_ptr<TestIniFile> ini;
    std::unique_ptr<PortApplication> application;
};

// The default system by hand (golden file): the constructor's unit-wide values with the
// device's type in variant 0 and the trailing value 0, one scanner, one field pair, one case.
TEST_F(DeviceSystemCommandsTest, TheDefaultSystemHoldsTheUnitsDefaults)
{
    const std::unique_ptr<CKVRConfig> config = MakeKVRDefaultSystem(CSensorType(7, 1));
    ASSERT_NE(config, nullptr);
    ClearFieldTimes(*config);
    EXPECT_TRUE(SameBytes(StoreBytes(*config), GoldenBytes("KVRDefaultSystem.hex")));
}

// A question answered No sends nothing.
TEST_F(DeviceSystemCommandsTest, NoToTheQuestionSendsNothing)
{
    struct Case {
        const char* what;
        void (*command)();
        BYTE family;
        UINT question;
    };
    const Case cases[] = {
        {"KVR default system", WriteKVRDefaultSystem, kKVRFamily, IDP_CONFIRM_WRITE_SYSTEM},
        {"ZOK whole system", WriteZOKWholeSystem, kZOKFamily, IDP_CONFIRM_WRITE_SYSTEM},
        {"ZOK command 0x50", RunZOKScannerSession, kZOKFamily, IDP_CONFIRM_SCANNER_SESSION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartDevice(c.family);
        ui.ClearMessageBoxes();
        ui.QueueAnswer(IDNO);
        c.command();
        EXPECT_EQ(BoxIds(ui), std::vector<UINT>{c.question});
        EXPECT_EQ(ui.MessageBoxes()[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(Requests(), "");
        EXPECT_EQ(application->Opens(), 0);
    }
}

// The simulated devices keep what was written to them; each test that writes puts their
// configurations back.
class SimulatedDevicesRestored {
public:
    SimulatedDevicesRestored() : m_unit(1), m_scanner(1)
    {
        Open(m_unit);
        Open(m_scanner);
        m_unitConfig = m_unit.ReadConfiguration();
        m_scannerConfig = m_scanner.ReadConfiguration();
    }
    ~SimulatedDevicesRestored()
    {
        if (m_unitConfig)
            m_unit.WriteConfiguration(*m_unitConfig, TRUE);
        if (m_scannerConfig)
            m_scanner.WriteConfiguration(*m_scannerConfig);
        m_scanner.SendCommand67(0);
    }
    CZOKSensor& Scanner() { return m_scanner; }

private:
    static void Open(CSensor& sensor)
    {
        EXPECT_TRUE(sensor.Load(""));
        EXPECT_TRUE(sensor.Open());
    }
    CKVRSensor m_unit;
    CZOKSensor m_scanner;
    std::unique_ptr<CKVRConfig> m_unitConfig;
    std::unique_ptr<CZOKConfig> m_scannerConfig;
};

// The default system goes to the unit in both steps after the login, the 0x66 setting
// follows, the logout ends it; the unit then holds exactly the default system.
TEST_F(DeviceSystemCommandsTest, TheDefaultSystemIsWrittenAndReadsBackAsMade)
{
    SimulatedDevicesRestored restored;
    StartDevice(kKVRFamily);
    ui.QueueAnswer(IDYES);
    WriteKVRDefaultSystem();
    EXPECT_EQ(BoxIds(ui), (std::vector<UINT>{IDP_CONFIRM_WRITE_SYSTEM, IDP_SYSTEM_WRITTEN}));
    // Identification, type (code and block), login, then the write with its type checks.
    EXPECT_EQ(Requests(), "31 31 read 20:00 31 write 31 read write 66 20:21");
    ExpectDisconnected();

    CSensorType type;
    std::unique_ptr<CKVRConfig> stored;
    ASSERT_TRUE(RunIdentifiedSession<CKVRSensor>([&](CKVRSensor& unit) {
        stored = ReadKVRConfiguration(unit, TRUE);
        return stored != nullptr && ReadKVRSensorType(unit, type, TRUE);
    }));
    std::unique_ptr<CKVRConfig> made = MakeKVRDefaultSystem(type);
    // The unit does not keep the trailing value: what is read from it has the constructor's.
    EXPECT_EQ(stored->GetValueV5(), 66);
    stored->SetValueV5(made->GetValueV5());
    // The unit reports both fields as held in the device.
    ASSERT_EQ(stored->GetShelterConfigCount(), 1);
    for (int kind : {kProtectiveField, kWarningField}) {
        CShelter* field = stored->GetShelterConfig(0)->GetShelter(kind);
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(kind == kProtectiveField ? field->IsProtectiveInDevice() : field->IsWarningInDevice());
        field->SetModified(0);
    }
    ClearFieldTimes(*stored);
    ClearFieldTimes(*made);
    EXPECT_TRUE(SameBytes(StoreBytes(*stored), StoreBytes(*made)));
}

// The scanner's whole system and its command 0x50, each between login and logout.
TEST_F(DeviceSystemCommandsTest, ZOKCommandsRunBetweenLoginAndLogout)
{
    struct Case {
        const char* what;
        void (*command)();
        std::vector<UINT> boxes;
        const char* requests;
    };
    const Case cases[] = {
        {"whole system", WriteZOKWholeSystem, {IDP_CONFIRM_WRITE_SYSTEM, IDP_SYSTEM_WRITTEN},
         "31 20:00 31 66 write 31 write 31 31 write 20:21"},
        {"command 0x50", RunZOKScannerSession, {IDP_CONFIRM_SCANNER_SESSION, IDP_SCANNER_SESSION_DONE}, "31 20:00 50 20:21"},
    };
    SimulatedDevicesRestored restored;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartDevice(kZOKFamily);
        ui.ClearMessageBoxes();
        ui.QueueAnswer(IDYES);
        c.command();
        EXPECT_EQ(BoxIds(ui), c.boxes);
        EXPECT_EQ(Requests(), c.requests);
        ExpectDisconnected();
    }
}

// The scanner session: the unit logged in with mode 16 and read for its scanners, then
// the chosen scanner addressed by its number, then the unit logged out on every road;
// 438 when nothing was done.
TEST_F(DeviceSystemCommandsTest, ScannerSessionRoads)
{
    constexpr const char* kUnit = "31 read 31 read 31 read 20:10";
    struct Case {
        const char* what;
        bool ok;
        BYTE scannerNumber; // what the scanner reports in identification byte 29
        int answer;         // to question 432
        std::vector<UINT> boxes;
        std::string requests;
    };
    const Case cases[] = {
        {"Yes: command 0x50 and the index", true, 1, IDYES,
         {IDP_CONFIRM_ADDRESSED_SCANNER, IDP_SCANNER_SESSION_DONE}, " 31@1 20:00@1 31@1 50@1 77@1"},
        {"No counts as done", true, 1, IDNO, {IDP_CONFIRM_ADDRESSED_SCANNER}, " 31@1"},
        {"another scanner answers", true, 0, 0, {IDP_SCANNER_SESSION_FAILED}, " 31@1"},
        {"cancelled", false, 1, 0, {IDP_SCANNER_SESSION_FAILED}, ""},
    };
    SimulatedDevicesRestored restored;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(restored.Scanner().SendCommand67(c.scannerNumber));
        StartDevice(kKVRFamily, std::make_unique<UnitWithScanner>());
        ui.ClearMessageBoxes();
        ui.QueueModal([&](CWnd& dialog) {
            DialogDriver driver(dialog);
            EXPECT_TRUE(driver.IsEnabled(IDC_SCANNER_1));
            EXPECT_FALSE(driver.IsEnabled(IDC_SCANNER_1 + 1)) << "the unit has one scanner";
            if (c.ok)
                driver.Ok();
            else
                driver.Cancel();
        });
        if (c.answer != 0)
            ui.QueueAnswer(c.answer);
        RunKVRScannerSession();
        EXPECT_EQ(BoxIds(ui), c.boxes);
        EXPECT_EQ(Requests(), kUnit + c.requests + " 20:21");
        ExpectDisconnected();
        if (c.answer != 0) {
            const MessageBoxRecord& question = ui.MessageBoxes().front();
            EXPECT_EQ(question.helpId, IDP_CONFIRM_ADDRESSED_SCANNER);
            EXPECT_NE(question.text.Find("Scanner 1 "), -1) << question.text.c_str();
        }
    }
}

// A line fault during the write: the procedure's Retry or Cancel prompt, Cancel, the
// failure message, and still the logout and the disconnection. The driver sends each
// request twice before it gives up.
TEST_F(DeviceSystemCommandsTest, LineFaultsDuringTheWriteEndLoggedOutAndDisconnected)
{
    struct Case {
        const char* what;
        void (*command)();
        BYTE family;
        std::size_t faultAt; // requests answered before the faulty one
        EmulatorFault fault;
        std::vector<UINT> boxes;
        const char* requests;
    };
    const Case cases[] = {
        {"KVR default system, NAK on the first block", WriteKVRDefaultSystem, kKVRFamily, 5, EmulatorFault::Nak,
         {IDP_CONFIRM_WRITE_SYSTEM, ProcedureText::kWriteConfigRetry, IDP_SYSTEM_NOT_WRITTEN},
         "31 31 read 20:00 31 write 20:21"},
        {"KVR default system, silence on the first block", WriteKVRDefaultSystem, kKVRFamily, 5,
         EmulatorFault::Silence,
         {IDP_CONFIRM_WRITE_SYSTEM, ProcedureText::kWriteConfigRetry, IDP_SYSTEM_NOT_WRITTEN},
         "31 31 read 20:00 31 write 20:21"},
        {"ZOK whole system, NAK on the first parameter", WriteZOKWholeSystem, kZOKFamily, 3, EmulatorFault::Nak,
         {IDP_CONFIRM_WRITE_SYSTEM, ProcedureText::kParameterRetry, IDP_SYSTEM_NOT_WRITTEN},
         "31 20:00 31 66 66 write 31 write 31 31 write 20:21"},
        {"ZOK command 0x50, NAK", RunZOKScannerSession, kZOKFamily, 2, EmulatorFault::Nak,
         {IDP_CONFIRM_SCANNER_SESSION, ProcedureText::kScannerSessionRetry, IDP_SCANNER_SESSION_FAILED}, "31 20:00 50 50 20:21"},
    };
    SimulatedDevicesRestored restored;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartDevice(c.family);
        std::vector<EmulatorFault> plan(c.faultAt, EmulatorFault::None);
        plan.insert(plan.end(), 2, c.fault);
        emulator->PlanFaults(plan);
        ui.ClearMessageBoxes();
        ui.QueueAnswers({IDYES, IDCANCEL});
        c.command();
        EXPECT_EQ(BoxIds(ui), c.boxes);
        EXPECT_EQ(Requests(), c.requests);
        ExpectDisconnected();
    }
}

} // namespace
