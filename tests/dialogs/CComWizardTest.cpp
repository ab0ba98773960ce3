// The serial-port wizard driven page by page, with the serial ports played by
// pseudo-terminals named in the INI file's "PORTS" section, and the device by the
// emulator answering through the simulator.
#include "ShippedLanguage.h"
#include "device/ProcedureApplication.h"
#include "device/TestIniFile.h"
#include "dialogs/CComWizard.h"
#include "dialogs/CComWizardPage.h"
#include "framework/core/PseudoTerminal.h"
#include "framework/core/Resources.h"
#include "framework/core/SerialDevice.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "shared/SensorTelegram.h"
#include "tools/DeviceEmulator.h"
#include "tools/SimulatorAnswerer.h"
#include "support/TypedKeys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

using typedkeys::TypeKey;

constexpr int IDC_PICTURE = CWizardPage::IDC_WIZARD_PICTURE;
constexpr int IDC_ZOK = CComWizardFamilyPage::IDC_FAMILY;
constexpr int IDC_KVR = CComWizardFamilyPage::IDC_FAMILY + 1;
constexpr int IDC_PORTS = CComWizardPortPage::IDC_PORTS;
constexpr int IDC_PROGRESS = CComWizardSearchPage::IDC_PROGRESS;
constexpr int IDC_RESULT = CComWizardResultPage::IDC_RESULT;

class FakeApplication : public ProcedureApplication {
public:
    FakeApplication(const char* iniPath, BOOL simulating) : m_iniPath(iniPath), m_simulating(simulating) {}
    BOOL IsSimulating() override { return m_simulating; }
    CString GetIniPath() override { return m_iniPath; }
    void ShowMessageBarText(const CString&, BOOL) override {}

private:
    CString m_iniPath;
    BOOL m_simulating;
};

std::string FileText(const char* path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The buttons a wizard page offers, as the classic flags.
DWORD Buttons(const DialogDriver& driver)
{
    DWORD flags = 0;
    if (driver.IsEnabled(ID_WIZBACK)) flags |= PSWIZB_BACK;
    if (driver.IsVisible(ID_WIZNEXT) && driver.IsEnabled(ID_WIZNEXT)) flags |= PSWIZB_NEXT;
    if (driver.IsVisible(ID_WIZFINISH) && driver.IsEnabled(ID_WIZFINISH)) flags |= PSWIZB_FINISH;
    return flags;
}

class CComWizardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }
    void TearDown() override { SetProcedureApplication(previous); }

    // The INI file: "SETUP" as a user left it, every port mapped to nothing but the
    // ones given, and a line of another section that must survive.
    void WriteIni(const std::string& ports, bool simulating = false)
    {
        std::string text = "; taliso settings\n[SETUP]\nPort=7\nBaud=19200\nParity=NONE\nReadTimeout=0\n"
                           "STXTimeout=300\nACKResponseTimeout=200\nRepeatCounter=2\nWriteTimeout=2\n"
                           "ReadBufferSize=10240\nWriteBufferSize=1650\n[PORTS]\n";
        for (int port = 1; port <= 9; ++port) {
            const std::string key = "COM" + std::to_string(port) + "=";
            if (ports.find(key) == std::string::npos)
                text += key + "/nonexistent/taliso-port\n";
        }
        text += ports + "[Settings]\nViewMetric=1\n";
        ini.Write(text);
        application = std::make_unique<FakeApplication>(ini.Path(), simulating ? TRUE : FALSE);
        previous = SetProcedureApplication(application.get());
    }

    CString Text(UINT id) const { return language.Text(id); }
    CString Formatted(UINT id, const char* first, const char* second = nullptr) const
    {
        CString text;
        if (second) AfxFormatString2(text, id, first, second);
        else AfxFormatString1(text, id, first);
        return text;
    }

    // After a run that found no device "SETUP" holds the user's port and baud rate with
    // "Parity" = "EVEN"; every other line is as before.
    void ExpectSetupAfterRunWithoutDevice(const std::string& before)
    {
        EXPECT_EQ(ini.Value("SETUP", "Port"), CString("7"));
        EXPECT_EQ(ini.Value("SETUP", "Baud"), CString("19200"));
        EXPECT_EQ(ini.Value("SETUP", "Parity"), CString("EVEN"));
        std::string expected = before;
        expected.replace(expected.find("Parity=NONE"), 11, "Parity=EVEN");
        EXPECT_EQ(FileText(ini.Path()), expected);
    }

    // Walks pages 1 to 3 choosing the family and the first listed port.
    static void ToSearchPage(DialogDriver& driver, int familyButton)
    {
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Click(familyButton));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Select(IDC_PORTS, 0));
        EXPECT_TRUE(driver.Next());
    }

    ShippedLanguage language;
    TestIniFile ini{""};
    std::unique_ptr<FakeApplication> application;
    ProcedureApplication* previous = nullptr;
    ScriptedUi ui;
};

TEST_F(CComWizardTest, SimulatedFamilyWalksEveryPageWithItsButtonsAndFindsNothing)
{
    PseudoTerminal busy, free;
    ASSERT_EQ(busy.Open(), 0);
    ASSERT_EQ(free.Open(), 0);
    SerialDevice holder; // another program holds COM1
    ASSERT_EQ(holder.Open(busy.SlavePath()), 0);
    WriteIni("COM1=" + busy.SlavePath() + "\nCOM3=" + free.SlavePath() + "\n", true);
    const std::string before = FileText(ini.Path());

    CComWizard wizard;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        // Page 160: Next only, the side picture shown but out of reach.
        EXPECT_EQ(Buttons(driver), DWORD(2));
        EXPECT_TRUE(driver.Exists(IDC_PICTURE));
        EXPECT_FALSE(driver.IsEnabled(IDC_PICTURE));
        CString title;
        dlg.GetWindowText(title);
        EXPECT_EQ(title, Text(CComWizard::IDS_CAPTION));
        EXPECT_TRUE(driver.Next());
        // Page 161: ZOK preset; KVR chosen.
        EXPECT_EQ(Buttons(driver), DWORD(3));
        EXPECT_EQ(driver.Check(IDC_ZOK), BST_CHECKED);
        EXPECT_TRUE(driver.Click(IDC_KVR));
        EXPECT_TRUE(driver.Next());
        // Page 162: only the free port; accepting it stores it at once.
        EXPECT_EQ(Buttons(driver), DWORD(3));
        ASSERT_EQ(driver.Count(IDC_PORTS), 1);
        EXPECT_EQ(driver.ItemText(IDC_PORTS, 0), Formatted(CComWizardPortPage::IDS_PORT_ITEM, "3"));
        EXPECT_TRUE(driver.Next());
        EXPECT_EQ(ini.Value("SETUP", "Port"), CString("3"));
        EXPECT_EQ(ini.Value("SETUP", "Parity"), CString("EVEN"));
        // Page 163: nothing searched yet.
        EXPECT_EQ(Buttons(driver), DWORD(3));
        EXPECT_EQ(driver.Text(IDC_PROGRESS), CString());
        EXPECT_TRUE(driver.Next());
        // Page 159: a simulated device is never searched for.
        EXPECT_EQ(Buttons(driver), DWORD(5));
        EXPECT_EQ(driver.Text(ID_WIZFINISH), CString("OK"));
        EXPECT_EQ(driver.Text(IDC_RESULT), Text(CComWizardResultPage::IDS_SIMULATING));
        // Back and forth keeps the choices.
        EXPECT_TRUE(driver.Back());
        EXPECT_TRUE(driver.Back());
        EXPECT_TRUE(driver.Back());
        EXPECT_EQ(driver.Check(IDC_KVR), BST_CHECKED);
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Finish());
    });
    EXPECT_EQ(wizard.DoModal(), 0);
    EXPECT_EQ(wizard.m_nFamily, 1);
    EXPECT_EQ(wizard.m_nFound, 0);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    // Nothing found: the user's port is back, the line's parity written.
    ExpectSetupAfterRunWithoutDevice(before);
}

// Return alone walks the wizard: the pages of text only hand the focus to Next (Finish on
// the last page), never to Back, and Return on the port list takes the chosen port.
TEST_F(CComWizardTest, ReturnWalksEveryPageFromThePortListToFinish)
{
    PseudoTerminal free;
    ASSERT_EQ(free.Open(), 0);
    WriteIni("COM3=" + free.SlavePath() + "\n", true);
    CComWizard wizard;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_EQ(driver.FocusId(), int(ID_WIZNEXT)) << "the introduction has no tab stop";
        TypeKey(Qt::Key_Return);
        EXPECT_EQ(driver.FocusId(), IDC_ZOK);
        TypeKey(Qt::Key_Return);
        ASSERT_TRUE(driver.IsVisible(IDC_PORTS));
        EXPECT_EQ(driver.FocusId(), IDC_PORTS);
        EXPECT_EQ(driver.Selection(IDC_PORTS), 0);
        TypeKey(Qt::Key_Return);
        EXPECT_FALSE(driver.IsVisible(IDC_PORTS)) << "Return on the port list goes on";
        EXPECT_EQ(ini.Value("SETUP", "Port"), CString("3"));
        EXPECT_EQ(driver.FocusId(), int(ID_WIZNEXT));
        TypeKey(Qt::Key_Return);
        EXPECT_TRUE(driver.IsVisible(IDC_RESULT));
        EXPECT_EQ(driver.FocusId(), int(ID_WIZFINISH));
        TypeKey(Qt::Key_Return);
        EXPECT_FALSE(dlg.IsWindowVisible());
    });
    EXPECT_EQ(wizard.DoModal(), 0); // a simulated family is never searched for
    EXPECT_EQ(ui.ModalRuns().size(), 1u);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(CComWizardTest, PortPageRefusesNoChoiceAndAPortTakenMeanwhile)
{
    PseudoTerminal port;
    ASSERT_EQ(port.Open(), 0);
    struct Case {
        const char* name;
        bool listed;
        UINT message;
    };
    for (const Case& c : {Case{"no port free", false, CComWizardPortPage::IDP_NO_PORT},
                          Case{"port taken after listing", true, CComWizardPortPage::IDP_PORT_UNAVAILABLE}}) {
        SCOPED_TRACE(c.name);
        WriteIni(c.listed ? "COM5=" + port.SlavePath() + "\n" : "");
        const std::string before = FileText(ini.Path());
        ui.ClearMessageBoxes();
        CComWizard wizard;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(driver.Count(IDC_PORTS), c.listed ? 1 : 0);
            SerialDevice holder;
            if (c.listed) {
                EXPECT_EQ(driver.Selection(IDC_PORTS), 0);
                EXPECT_EQ(holder.Open(port.SlavePath()), 0);
            }
            driver.Next();
            EXPECT_TRUE(driver.Exists(IDC_PORTS)); // still on the port page
            EXPECT_TRUE(driver.Back());            // going back needs no port
            EXPECT_TRUE(driver.Cancel());
        });
        EXPECT_EQ(wizard.DoModal(), 0);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, c.message);
        ExpectSetupAfterRunWithoutDevice(before);
    }
}

// The search on page 163 through the driver, with the emulator on COM4.
TEST_F(CComWizardTest, SearchOnThePortDecidesTheResultAndWhatStaysInTheIniFile)
{
    constexpr UINT IDP_OPEN_RETRY = 397; // the session's Retry or Cancel when the port will not open
    struct Case {
        const char* name;
        BYTE deviceFamily;
        bool portTakenBeforeSearch;
        int found;
    };
    for (const Case& c : {Case{"scanner found", kFamilyZOK, false, 1},
                          Case{"device of the other family", kFamilyKVR, false, 0},
                          Case{"port taken before the search", kFamilyZOK, true, 0}}) {
        SCOPED_TRACE(c.name);
        DeviceEmulator emulator(std::make_unique<SimulatorAnswerer>(), c.deviceFamily);
        ASSERT_TRUE(emulator.Start());
        WriteIni("COM4=" + emulator.SlavePath() + "\n");
        const std::string before = FileText(ini.Path());
        ui.ClearMessageBoxes();
        if (c.portTakenBeforeSearch) ui.QueueAnswer(IDCANCEL);

        CComWizard wizard;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            ToSearchPage(driver, IDC_ZOK);
            SerialDevice holder;
            if (c.portTakenBeforeSearch) {
                EXPECT_EQ(holder.Open(emulator.SlavePath()), 0);
            }
            EXPECT_TRUE(driver.Next());
            EXPECT_EQ(Buttons(driver), DWORD(5));
            const CString expected = c.found ? Formatted(CComWizardResultPage::IDS_FOUND, "4", "19200")
                                             : Text(CComWizardResultPage::IDS_NOT_FOUND);
            EXPECT_EQ(driver.Text(IDC_RESULT), expected);
            EXPECT_TRUE(driver.Finish());
        });
        EXPECT_EQ(wizard.DoModal(), c.found);

        if (c.portTakenBeforeSearch) {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_OPEN_RETRY);
        } else {
            EXPECT_TRUE(ui.MessageBoxes().empty());
        }
        if (c.found) {
            EXPECT_EQ(ini.Value("SETUP", "Port"), CString("4"));
            EXPECT_EQ(ini.Value("SETUP", "Parity"), CString("EVEN"));
            EXPECT_EQ(ini.Value("SETUP", "Baud"), CString("19200"));
            EXPECT_EQ(ini.Value("Settings", "ViewMetric"), CString("1"));
            EXPECT_EQ(ini.Value("PORTS", "COM4"), CString(emulator.SlavePath().c_str()));
            EXPECT_NE(FileText(ini.Path()).find("; taliso settings"), std::string::npos);
        } else {
            ExpectSetupAfterRunWithoutDevice(before);
        }
    }
}

// Without any "SETUP" key before the run, ending by OK or by Cancel leaves the port
// the driver would use anyway and the line's parity, never a key deleted.
TEST_F(CComWizardTest, RunWithoutDeviceWritesPortAndParityWhenNoKeyWasThere)
{
    PseudoTerminal free;
    ASSERT_EQ(free.Open(), 0);
    for (bool cancelled : {false, true}) {
        SCOPED_TRACE(cancelled ? "Cancel" : "OK");
        ini.Write("[PORTS]\nCOM3=" + free.SlavePath() + "\n");
        application = std::make_unique<FakeApplication>(ini.Path(), TRUE);
        previous = SetProcedureApplication(application.get());
        CComWizard wizard;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            if (cancelled) {
                EXPECT_TRUE(driver.Cancel());
                return;
            }
            ToSearchPage(driver, IDC_ZOK);
            EXPECT_TRUE(driver.Next());
            EXPECT_TRUE(driver.Finish());
        });
        EXPECT_EQ(wizard.DoModal(), 0);
        EXPECT_EQ(ini.Value("SETUP", "Port"), CString("1"));
        EXPECT_EQ(ini.Value("SETUP", "Parity"), CString("EVEN"));
        EXPECT_EQ(ini.Value("PORTS", "COM3"), CString(free.SlavePath().c_str()));
        SetProcedureApplication(previous);
    }
}

// Port and parity that the INI file cannot take are reported, not lost without a word.
TEST_F(CComWizardTest, APortTheIniFileCannotTakeIsReported)
{
    const std::string unwritable = std::string(ini.Path()) + ".missing/Taliso.INI";
    application = std::make_unique<FakeApplication>(unwritable.c_str(), TRUE);
    previous = SetProcedureApplication(application.get());
    ui.ClearMessageBoxes();
    CComWizard wizard;
    ui.QueueModal([](CWnd& dlg) { EXPECT_TRUE(DialogDriver(dlg).Cancel()); });
    EXPECT_EQ(wizard.DoModal(), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_PROFILE_NOT_SAVED);
    EXPECT_EQ(ui.MessageBoxes()[0].text, Formatted(AFX_IDP_PROFILE_NOT_SAVED, unwritable.c_str(), std::strerror(ENOENT)));
}

} // namespace
