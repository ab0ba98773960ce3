// The ZOK parameter-set dialog: its listings line by line, and scripted runs against the
// simulated scanner that read, save, load and send parameter-set files.
#include "ShippedLanguage.h"

#include "tests/framework/ui/PdfText.h"
#include "tests/framework/ui/ScreenshotFolder.h"
#include "framework/core/SyncWatch.h"

#include "device/ProcedureApplication.h"
#include "dialogs/CZOKParameterDialog.h"
#include "driver/orudrv.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CZOKIdentity.h"
#include "model/CZOKParameters.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Dlg = CZOKParameterDialog;
namespace fs = std::filesystem;

// The status texts of the device procedures tell whether the device was contacted.
class RecordingApplication : public ProcedureApplication {
public:
    BOOL IsSimulating() override { return TRUE; }
    CString GetIniPath() override { return CString(); }
    void ShowMessageBarText(const CString& text, BOOL) override { texts.push_back(text); }
    bool Showed(const CString& text) const { return std::find(texts.begin(), texts.end(), text) != texts.end(); }
    std::vector<CString> texts;
};

std::vector<std::string> Lines(const CString& text)
{
    std::vector<std::string> lines;
    std::string all = text.c_str();
    std::size_t start = 0;
    for (std::size_t end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(all.substr(start, end - start));
    EXPECT_EQ(start, all.size()) << "the listing ends with CR LF";
    return lines;
}

// Everything after the time stamp line.
std::vector<std::string> Body(const CString& text)
{
    std::vector<std::string> lines = Lines(text);
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
}

const std::string kDashes(80, '-');

// The English listing of a scanner in its default state (firmware 3.20 knows the variant).
const std::vector<std::string> kDefaultListing = {
    kDashes,
    "",
    "Input monitoring: on",
    "Restart: automatic",
    "Restart after the delay: on",
    "Output mode: standard",
    "    2 scans,    80 ms response time",
    "Second output: off",
    "Device number:    0.",
    "Scanner variant: standard range",
};

CZOKParameters Record(std::array<BYTE, 10> bytes)
{
    CZOKParameters parameters;
    parameters.SetData(bytes.data(), bytes.size());
    return parameters;
}

class CZOKParameterDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        OruDrvSetResourceHandle(reinterpret_cast<intptr_t>(AfxGetResourceHandle()));
        previous = SetProcedureApplication(&application);
        directory = fs::temp_directory_path() / ("zok-parameters-" + std::to_string(::getpid()));
        fs::create_directories(directory);
    }
    void TearDown() override
    {
        SetProcedureApplication(previous);
        OruDrvSetResourceHandle(0);
        fs::remove_all(directory);
    }

    void Run(const std::function<void(DialogDriver&)>& script)
    {
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            script(driver);
            if (!static_cast<CDialog&>(dlg).IsEnded()) driver.Cancel();
        });
        CZOKParameterDialog dialog;
        dialog.DoModal();
    }

    // The next file prompt chooses path, after checking its kind and help context.
    void ChooseFile(const fs::path& path, bool open)
    {
        ui.QueueModal([path, open](CWnd& dlg) {
            auto& prompt = static_cast<CFileDialog&>(dlg);
            EXPECT_EQ(prompt.IsOpenDialog(), open);
            EXPECT_EQ(prompt.GetDefExt(), "par");
            EXPECT_EQ((prompt.m_ofn.Flags & OFN_OVERWRITEPROMPT) != 0, !open);
            prompt.ChooseFile(path.c_str());
        });
    }

    void WriteFile(const fs::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    CString Text(UINT id) const { return language.Text(id); }

    ShippedLanguage language;
    RecordingApplication application;
    ProcedureApplication* previous = nullptr;
    ScriptedUi ui;
    fs::path directory;
};

TEST_F(CZOKParameterDialogTest, ParameterListingLineByLine)
{
    struct Case {
        const char* what;
        std::array<BYTE, 10> bytes;
        DWORD firmware;
        std::vector<std::pair<std::size_t, std::string>> lines; // body line index, text
        bool variantLine;
    };
    const std::vector<Case> cases = {
        {"defaults", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x30014, {}, true},
        {"delay shown with restart 1", {1, 1, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x30014,
         {{3, "Restart: after a delay of    2 s"}}, true},
        {"no delay with restart 2", {1, 2, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x30014, {{3, "Restart: manual"}}, true},
        {"other bytes", {0, 0, 0, 0, 0, 1, 7, 12, 1, 1}, 0x40006,
         {{2, "Input monitoring: off"}, {4, "Restart after the delay: off"}, {5, "Output mode: alternative 1"},
          {6, "    7 scans,   280 ms response time"}, {7, "Second output: on"}, {8, "Device number:   12."},
          {9, "Scanner variant: long range"}},
         true},
        {"unknown codes after their labels", {5, 7, 0x90, 1, 3, 9, 2, 0, 4, 0}, 0x30014,
         {{2, "Input monitoring: Unknown code"}, {3, "Restart: Unknown code"},
          {4, "Restart after the delay: Unknown code"}, {5, "Output mode: Unknown code"},
          {7, "Second output: Unknown code"}},
         true},
        {"3.05 lacks the variant", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x30005, {}, false},
        {"3.06", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x30006, {}, true},
        {"3.FFFF", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x3FFFF, {}, true},
        {"4.00", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x40000, {}, false},
        {"4.05", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x40005, {}, false},
        {"F.FFFF", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0xFFFFF, {}, true},
        {"16.00", {1, 0, 0x90, 1, 1, 0, 2, 0, 0, 0}, 0x100000, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CString text;
        CZOKParameterDialog::FormatParameters(Record(c.bytes), c.firmware, text);
        const std::vector<std::string> lines = Lines(text);
        ASSERT_GE(lines.size(), 10u);
        EXPECT_NE(lines[0].find(" - "), std::string::npos) << lines[0]; // date - time
        std::vector<std::string> expected = kDefaultListing;
        if (!c.variantLine) expected.pop_back();
        for (const auto& [index, line] : c.lines) expected[index] = line;
        EXPECT_EQ(Body(text), expected);
    }
}

TEST_F(CZOKParameterDialogTest, IdentityListingTakesTheIdentificationBytes)
{
    std::array<BYTE, 125> bytes{};
    const std::string version = "04.06";
    std::copy(version.begin(), version.end(), bytes.begin());
    bytes[19] = 1;
    bytes[20] = 1;
    bytes[21] = 0xE8; // 1000 = 5 s
    bytes[22] = 0x03;
    bytes[23] = 1;
    bytes[24] = 2;
    bytes[25] = 3; // 4 scans
    bytes[28] = 1;
    bytes[29] = 9;
    bytes[30] = 1;
    CZOKIdentity identity;
    ASSERT_TRUE(identity.SetData(bytes.data(), bytes.size()));
    CString text;
    CZOKParameterDialog::FormatIdentity(identity, text);
    const std::vector<std::string> expected = {
        kDashes,
        "",
        "Input monitoring: on",
        "Restart: after a delay of    5 s",
        "Restart after the delay: on",
        "Output mode: alternative 2",
        "    4 scans,   160 ms response time",
        "Second output: on",
        "Device number:    9.",
        "Scanner variant: long range",
    };
    EXPECT_EQ(Body(text), expected);

    bytes[4] = '5'; // firmware 4.05 knows no variant
    ASSERT_TRUE(identity.SetData(bytes.data(), bytes.size()));
    CZOKParameterDialog::FormatIdentity(identity, text);
    EXPECT_EQ(Body(text).size(), expected.size() - 1);
}

// Read shows the scanner's set; saving writes its ten bytes (scans stored minus 1), and
// loading the file shows the same listing again.
TEST_F(CZOKParameterDialogTest, ReadSaveAndLoadWithTheSimulatedScanner)
{
    const fs::path target = directory / "scanner.par";
    ScreenshotFolder shots("zok-parameter-screens");
    Run([&](DialogDriver& driver) {
        EXPECT_TRUE(driver.Click(Dlg::IDC_READ_DEVICE));
        EXPECT_EQ(Body(driver.Text(Dlg::IDC_LISTING)), kDefaultListing);
        EXPECT_EQ(driver.FocusId(), Dlg::IDC_LISTING);
        shots.Save(AfxWidgetFromHandle(::GetParent(driver.Control(Dlg::IDC_LISTING)))->grab().toImage(),
                   "read-from-device.png");

        ChooseFile(target, false);
        SyncWatch syncs;
        EXPECT_TRUE(driver.Click(Dlg::IDC_SAVE_TO_FILE));
        EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(target));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        CString saved;
        AfxFormatString1(saved, Dlg::IDP_SAVED, target.c_str());
        EXPECT_EQ(ui.MessageBoxes()[0].text, saved);

        ChooseFile(target, true);
        EXPECT_TRUE(driver.Click(Dlg::IDC_LOAD_FILE));
        EXPECT_EQ(Body(driver.Text(Dlg::IDC_LISTING)), kDefaultListing);

        // The listing shown goes to the printer as it stands.
        if (!PdfToolsAvailable())
            return;
        const std::string pdf = (directory / "listing.pdf").string();
        ui.QueueModal([&](CWnd& print) {
            print.SetDlgItemText(CPrintDialog::IDC_FILE, pdf.c_str());
            print.SendMessage(WM_COMMAND, IDOK);
        });
        EXPECT_TRUE(driver.Click(Dlg::IDC_PRINT));
        EXPECT_EQ(PdfPageCount(pdf), 1);
        EXPECT_NE(PdfPageText(pdf, 1).find("Input monitoring: on"), std::string::npos);
    });
    std::ifstream file(target, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_EQ(bytes.str(), std::string("\x01\x00\x90\x01\x01\x00\x01\x00\x00\x00", 10));
}

// Sending asks first, logs in, sends only a set made for the scanner's kind (byte 7
// against identification byte 29) and logs out again.
TEST_F(CZOKParameterDialogTest, SendingChecksTheDeviceKindBetweenLoginAndLogout)
{
    struct Case {
        const char* what;
        char byte7;
        std::vector<int> answers;
        UINT lastMessage;
        bool loggedIn;
    };
    const std::vector<Case> cases = {
        {"same kind", 0, {IDOK, IDYES, IDYES, IDYES, IDYES, IDYES}, Dlg::IDP_SENT, true},
        {"other kind", 5, {IDOK}, Dlg::IDP_OTHER_DEVICE, true},
        {"cancelled", 0, {IDCANCEL}, Dlg::IDP_CONFIRM_SEND, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path path = directory / "send.par";
        WriteFile(path, std::string("\x01\x00\x90\x01\x01\x00\x01", 7) + c.byte7 + std::string("\x00\x00", 2));
        ui.ClearMessageBoxes();
        application.texts.clear();
        Run([&](DialogDriver& driver) {
            for (int answer : c.answers) ui.QueueAnswer(answer);
            ChooseFile(path, true);
            EXPECT_TRUE(driver.Click(Dlg::IDC_SEND_FILE));
            EXPECT_EQ(Body(driver.Text(Dlg::IDC_LISTING)).size(), kDefaultListing.size());
        });
        ASSERT_FALSE(ui.MessageBoxes().empty());
        EXPECT_EQ(ui.MessageBoxes().front().id, Dlg::IDP_CONFIRM_SEND);
        EXPECT_EQ(ui.MessageBoxes().front().flags, UINT(MB_OKCANCEL | MB_ICONEXCLAMATION));
        EXPECT_EQ(ui.MessageBoxes().back().id, c.lastMessage);
        EXPECT_EQ(ui.PendingAnswers(), 0u);
        EXPECT_EQ(application.Showed(Text(348)), c.loggedIn);
        EXPECT_EQ(application.Showed(Text(376)), c.loggedIn);
    }
}

// A file that is not a parameter set is refused with the open prompt before any device
// is contacted; a cancelled prompt contacts none either.
TEST_F(CZOKParameterDialogTest, BadFilesAndCancelledPromptsLeaveTheDeviceAlone)
{
    const std::vector<std::string> contents = {std::string("\x01\x00\x90\x01\x01", 5),
                                               std::string("\x01\x00\x90\x01\x01\x00\x01\x00\x00\x00\x00", 11), ""};
    for (int button : {Dlg::IDC_LOAD_FILE, Dlg::IDC_SEND_FILE}) {
        for (const std::string& bytes : contents) {
            SCOPED_TRACE(bytes.size());
            const fs::path path = directory / "bad.par";
            WriteFile(path, bytes);
            ui.ClearMessageBoxes();
            application.texts.clear();
            Run([&](DialogDriver& driver) {
                ChooseFile(path, true);
                EXPECT_TRUE(driver.Click(button));
                EXPECT_TRUE(driver.Text(Dlg::IDC_LISTING).IsEmpty());
            });
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_NE(ui.MessageBoxes()[0].text.Find(path.c_str()), -1) << ui.MessageBoxes()[0].text.c_str();
            EXPECT_TRUE(application.texts.empty());
        }
        for (int cancelled : {Dlg::IDC_SAVE_TO_FILE, button}) {
            ui.ClearMessageBoxes();
            application.texts.clear();
            Run([&](DialogDriver& driver) {
                ui.QueueModal([](CWnd&) {});
                EXPECT_TRUE(driver.Click(cancelled));
            });
            EXPECT_TRUE(ui.MessageBoxes().empty());
            EXPECT_TRUE(application.texts.empty());
        }
    }
}

} // namespace
