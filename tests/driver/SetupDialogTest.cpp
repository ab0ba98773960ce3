// The port set-up dialog from the shipped template, driven headless.
#include "driver/DriverResourceModule.h"
#include "driver/internal/SetupDialog.h"
#include "driver/TemporaryIniFile.h"
#include "driver/orudrv.h"
#include "framework/core/Profile.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Shown {
    int portSelection = -2;
    int baudSelection = -2;
    std::vector<std::string> portItems;
    int baudCount = 0;
    bool helpEnabled = false;
};

std::string ComboItem(CWnd& dialog, int id, int index)
{
    char text[64] = {};
    dialog.SendDlgItemMessage(id, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
    return text;
}

// Records what the dialog shows, then selects the given items (-1 clears the selection)
// and presses the button.
ScriptedUi::ModalScript ChooseAndPress(Shown& shown, int portIndex, int baudIndex, int button)
{
    return [&shown, portIndex, baudIndex, button](CWnd& dialog) {
        shown.portSelection = int(dialog.SendDlgItemMessage(IDC_SETUP_PORT, CB_GETCURSEL));
        shown.baudSelection = int(dialog.SendDlgItemMessage(IDC_SETUP_BAUD, CB_GETCURSEL));
        const int portCount = int(dialog.SendDlgItemMessage(IDC_SETUP_PORT, CB_GETCOUNT));
        for (int i = 0; i < portCount; ++i)
            shown.portItems.push_back(ComboItem(dialog, IDC_SETUP_PORT, i));
        shown.baudCount = int(dialog.SendDlgItemMessage(IDC_SETUP_BAUD, CB_GETCOUNT));
        shown.helpEnabled = dialog.GetDlgItem(int(IDC_SETUP_HELP))->IsWindowEnabled() != FALSE;
        dialog.SendDlgItemMessage(IDC_SETUP_PORT, CB_SETCURSEL, WPARAM(portIndex));
        dialog.SendDlgItemMessage(IDC_SETUP_BAUD, CB_SETCURSEL, WPARAM(baudIndex));
        dialog.SendMessage(WM_COMMAND, WPARAM(button));
    };
}

class SetupDialogRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxEnsureGuiApplication()); }

    DriverResourceModule texts{DriverResourceModule::ShippedScript()};
    ScriptedUi ui;
};

TEST_F(SetupDialogRun, ShowsTheSettingsAndTakesTheChoiceOnOk)
{
    PortSettings settings;
    settings.port = 2;
    settings.baudCode = 4301; // "19200/500KBd"
    settings.helpFileName = "HELP_ENG.HLP";
    settings.stxTimeout = 1234;
    Shown shown;
    ui.QueueModal(ChooseAndPress(shown, 3, 11, IDOK));
    EXPECT_EQ(ShowSetupDialog(nullptr, settings), 1);
    EXPECT_EQ(shown.portItems, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(shown.portSelection, 1);
    EXPECT_EQ(shown.baudCount, 12);
    EXPECT_EQ(shown.baudSelection, 5);
    EXPECT_TRUE(shown.helpEnabled);
    EXPECT_EQ(settings.port, 4u);
    EXPECT_EQ(settings.baudCode, 56000u) << "\"500000/1MBd\"";
    EXPECT_EQ(settings.stxTimeout, 1234u) << "not shown, not changed";
}

TEST_F(SetupDialogRun, HelpButtonNamesTheHelpFileItCannotShow)
{
    PortSettings settings;
    settings.helpFileName = "/nonexistent/HELP_ENG.HLP";
    ui.QueueModal([](CWnd& dialog) {
        dialog.SendMessage(WM_COMMAND, WPARAM(IDC_SETUP_HELP));
        dialog.SendMessage(WM_COMMAND, WPARAM(IDCANCEL));
    });
    EXPECT_EQ(ShowSetupDialog(nullptr, settings), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_NE(ui.MessageBoxes()[0].text.Find("/nonexistent/HELP_ENG.HLP"), -1);
}

TEST_F(SetupDialogRun, CancelChangesNothingAndNoSelectionKeepsTheValue)
{
    PortSettings settings;
    settings.port = 7; // no item for it
    settings.baudCode = 12345; // unknown: "9600" is shown
    settings.helpFileName = "";
    Shown shown;
    ui.QueueModal(ChooseAndPress(shown, 0, 1, IDCANCEL));
    EXPECT_EQ(ShowSetupDialog(nullptr, settings), 0);
    EXPECT_EQ(shown.portSelection, -1);
    EXPECT_EQ(shown.baudSelection, 0);
    EXPECT_FALSE(shown.helpEnabled);
    EXPECT_EQ(settings.port, 7u);
    EXPECT_EQ(settings.baudCode, 12345u);

    Shown again;
    ui.QueueModal(ChooseAndPress(again, -1, 2, IDOK));
    EXPECT_EQ(ShowSetupDialog(nullptr, settings), 1);
    EXPECT_EQ(settings.port, 7u) << "no port selected";
    EXPECT_EQ(settings.baudCode, 38400u);
}

TEST_F(SetupDialogRun, SetupSensorWritesTheChoice)
{
    TemporaryIniFile ini("[SETUP]\nPort=1\nBaud=9600\n");
    const intptr_t handle = LoadSensor(ini.Path());
    ASSERT_NE(handle, 0);
    Shown shown;
    ui.QueueModal(ChooseAndPress(shown, 1, 3, IDOK));
    EXPECT_EQ(SetupSensor(handle, 0), 1);
    EXPECT_EQ(ReadProfileString("SETUP", "Port", "", ini.Path()), "2");
    EXPECT_EQ(ReadProfileString("SETUP", "Baud", "", ini.Path()), "56000");
    EXPECT_EQ(GetSetupBaudrate(handle), 56000);
    ui.QueueModal(ChooseAndPress(shown, 0, 0, IDCANCEL));
    EXPECT_EQ(SetupSensor(handle, 0), 0);
    EXPECT_EQ(FreeSensor(handle), 1);
}

TEST(SetupDialogWithoutTemplate, SetupSensorFailsWithAReason)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    DriverResourceModule texts{"STRINGTABLE\nBEGIN\n    521 \"No set-up\"\nEND\n"};
    TemporaryIniFile ini;
    const intptr_t handle = LoadSensor(ini.Path());
    char drain[256];
    ErrorSensor(0, drain, sizeof drain);
    EXPECT_EQ(SetupSensor(handle, 0), 0);
    char reason[256];
    EXPECT_EQ(ErrorSensor(0, reason, sizeof reason), 1);
    EXPECT_STREQ(reason, "No set-up");
    FreeSensor(handle);
}

} // namespace
