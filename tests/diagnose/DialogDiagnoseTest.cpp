// The whole diagnosis through its export: the real driver on a pseudo-terminal with the
// device emulator behind it, the dialog library's stand-in and the input dialogs driven
// by a script.
#include "diagnose/DiagnoseEntry.h"
#include "diagnose/DiagnoseFixture.h"
#include "driver/orudrv.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "outside/dravdlg/internal/DravDialogActions.h"
#include "tools/CannedAnswerer.h"
#include "tools/DeviceEmulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

std::string SourceFile(const std::string& name)
{
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : ".") + "/language/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class DialogDiagnoseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        OruDrvSetResourceHandle(reinterpret_cast<intptr_t>(TheDiagnoseState().resources));
    }
    void TearDown() override
    {
        OruDrvSetResourceHandle(0);
        std::filesystem::remove(ini);
    }
    void WriteIni(const std::string& devicePath)
    {
        std::ofstream(ini) << "[SETUP]\nPort=1\nBaud=19200\nReadTimeout=0\nSTXTimeout=300\n"
                              "ACKResponseTimeout=200\nRepeatCounter=2\n[PORTS]\nCOM1="
                           << devicePath << "\n";
    }

    DiagnoseTexts texts{SourceFile("driver.rc") + SourceFile("diagnose.rc")};
    ScriptedUi ui;
    std::filesystem::path ini =
        std::filesystem::temp_directory_path() / ("diagnose-" + std::to_string(getpid()) + ".INI");
};

TEST_F(DialogDiagnoseTest, APortThatDoesNotOpenShowsTheDriversReasonOnce)
{
    WriteIni("/nonexistent/tty-for-diagnosis");
    DialogDiagnose(nullptr, ini.c_str(), "");
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    const MessageBoxRecord& box = ui.MessageBoxes()[0];
    EXPECT_NE(std::string(box.text.c_str()).find("serial port"), std::string::npos) << box.text.c_str();
    EXPECT_EQ(box.caption, CString("Diagnosis"));
    EXPECT_EQ(box.flags & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
    EXPECT_TRUE(ui.ModalRuns().empty()) << "neither the device dialog nor the diagnosis ran";
}

TEST_F(DialogDiagnoseTest, RunsTheDiagnosisWithTheChosenDeviceAndFreesThePort)
{
    DeviceEmulator emulator(std::make_unique<CannedAnswerer>(kFamilyKVR), kFamilyKVR);
    ASSERT_TRUE(emulator.Start());
    WriteIni(emulator.SlavePath());
    std::string shownPreset;
    std::string answer;
    for (int run = 0; run < 2; ++run) {
        ui.QueueModal([&shownPreset](CWnd& dialog) {
            DialogDriver driver(dialog);
            shownPreset = driver.Text(2139).c_str();
            driver.SetText(2277, "0");
            driver.Click(IDOK);
        });
        ui.QueueModal([&answer](CWnd& dialog) {
            DialogDriver driver(dialog);
            driver.SelectString(IDC_DRAV_REQUESTS, "Connection test");
            driver.Click(IDC_DRAV_RUN);
            answer = driver.Text(IDC_DRAV_ANSWER).c_str();
            driver.Cancel();
        });
        DialogDiagnose(nullptr, ini.c_str(), "pw");
        EXPECT_EQ(shownPreset, "KVR") << "the unit answered the probe with its KVR status";
        EXPECT_EQ(answer, "The connection to the device works.\r\nKVR unit at address 0") << "run " << run;
        EXPECT_TRUE(ui.MessageBoxes().empty());
    }
    ASSERT_EQ(ui.ModalRuns().size(), 4u);
    EXPECT_EQ(ui.ModalRuns()[1].templateId, IDD_DRAV_DIALOG);
    const std::vector<SensorRequest> requests = emulator.Requests();
    ASSERT_EQ(requests.size(), 4u) << "probe and connection test, twice: the port was freed after the first run";
    EXPECT_EQ(requests[0].Command(), 0x32);
    EXPECT_EQ(requests[1].Command(), 0x10);
}

TEST_F(DialogDiagnoseTest, CancelledDeviceChoiceSkipsTheDiagnosis)
{
    DeviceEmulator emulator(std::make_unique<CannedAnswerer>(kFamilyZOK), kFamilyZOK);
    ASSERT_TRUE(emulator.Start());
    WriteIni(emulator.SlavePath());
    std::string shownPreset;
    ui.QueueModal([&shownPreset](CWnd& dialog) {
        DialogDriver driver(dialog);
        shownPreset = driver.Text(2139).c_str();
        driver.Cancel();
    });
    DialogDiagnose(nullptr, ini.c_str(), "");
    EXPECT_EQ(shownPreset, "ZOK");
    EXPECT_EQ(ui.ModalRuns().size(), 1u);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

} // namespace
