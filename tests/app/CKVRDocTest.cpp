// The KVR document: its file in every version it reads (golden files built by hand),
// refused files, the own configuration beside a shown device configuration, the bar
// combos and the simulation controls, and configurations read from the simulated device
// and through the driver from the emulator on a pseudo-terminal.
#include "app/CKVRDoc.h"

#include "DocumentFileBytes.h"
#include "app/CSelectorComboBox.h"
#include "app/DeviceDocCombos.h"
#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CArcShelter.h"
#include "support/ComboTexts.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class TestKVRDoc : public CKVRDoc {
public:
    TestKVRDoc() { m_bAutoDelete = FALSE; }
    using CKVRDoc::ReadNewDocument;
};

int RadiusOf(const CShelter* field)
{
    const auto* arc = dynamic_cast<const CArcShelter*>(field);
    return arc != nullptr ? arc->GetRadius() : -1;
}

CShelterSelection Selection(int index, int kind)
{
    CShelterSelection selection;
    if (index >= 0)
        selection.SetIndexKind(index, kind);
    else
        selection.Clear();
    return selection;
}

bool SameSelection(CShelterSelection a, CShelterSelection b)
{
    return a.GetIndex() == b.GetIndex() && a.GetKind() == b.GetKind();
}

// A ZOK configuration where a KVR one belongs: the ZOK file after its two level bytes.
std::vector<BYTE> OtherClassConfig()
{
    const std::vector<BYTE> zok = GoldenBytes("ZOKDocument4.hex");
    return std::vector<BYTE>(zok.begin() + 2, zok.end());
}

// The id a message box was asked by: its text's, or its help context for a box shown by
// text.
UINT PromptId(const MessageBoxRecord& box)
{
    return box.id != 0 ? box.id : box.helpId;
}

class CKVRDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        theLoginDialog.SetLevel(1);
    }
    void TearDown() override { theLoginDialog.SetLevel(CLoginDialog::kStandardLevel); }

    ShippedLanguage texts;
    ScriptedUi ui;
};

TEST_F(CKVRDocTest, GoldenFilesLoadToTheirValues)
{
    struct Case {
        const char* file;
        const char* name;
        const char* type;
        int simulated;
    };
    const Case cases[] = {
        {"KVRDocument4.hex", "UNIT-7", "V2.10.03", 1},
        {"KVRDocument3.hex", "unknown", "unknown", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TestKVRDoc doc;
        ASSERT_NO_THROW(LoadBytes(doc, GoldenBytes(c.file)));
        const CKVRConfig* config = doc.GetConfiguration();
        ASSERT_NE(config, nullptr);
        EXPECT_EQ(config->GetSensorType(), CSensorType(50, 0));
        EXPECT_EQ(config->GetSensorConfigName(1), CString("REAR"));
        EXPECT_EQ(config->GetShelterConfigName(0), CString("DOOR"));
        EXPECT_EQ(config->GetControlConfigCount(), 0);
        EXPECT_EQ(doc.GetSelectedScanner(), 1);
        EXPECT_TRUE(SameSelection(doc.GetCurrentSelection(), Selection(1, kWarningField)));
        EXPECT_EQ(RadiusOf(doc.GetCurrentObject()), 600);
        EXPECT_EQ(RadiusOf(doc.GetSecondObject()), 400);
        EXPECT_TRUE(doc.GetSecondObject()->IsLocked());
        EXPECT_EQ(doc.GetDeviceName(), CString(c.name));
        EXPECT_EQ(doc.GetDeviceTypeText(), CString(c.type));
        EXPECT_EQ(doc.GetState().m_nSimulatedFile, c.simulated);
    }
}

TEST_F(CKVRDocTest, Version4StoresByteForByteAndNoScannerAsFFFF)
{
    const std::vector<BYTE> golden = GoldenBytes("KVRDocument4.hex");
    TestKVRDoc doc;
    LoadBytes(doc, golden);
    EXPECT_TRUE(SameBytes(StoreBytes(doc), golden));

    doc.GetState().m_nSelectedScanner = -1;
    const std::vector<BYTE> stored = StoreBytes(doc);
    ASSERT_GT(stored.size(), 4u);
    EXPECT_EQ(stored[2], 0xFF);
    EXPECT_EQ(stored[3], 0xFF);
    TestKVRDoc reloaded;
    LoadBytes(reloaded, stored);
    EXPECT_EQ(reloaded.GetSelectedScanner(), -1);
}

TEST_F(CKVRDocTest, RefusedFilesLeaveTheOpenDocumentUntouched)
{
    const std::vector<BYTE> golden = GoldenBytes("KVRDocument4.hex");
    auto patched = [&](std::size_t at, std::vector<BYTE> bytes) {
        std::vector<BYTE> file(golden.begin(), golden.begin() + std::ptrdiff_t(at));
        file.insert(file.end(), bytes.begin(), bytes.end());
        return file;
    };
    struct Case {
        const char* what;
        std::vector<BYTE> file;
        int cause;
    };
    std::vector<Case> cases = {
        {"version 5", patched(1, {0x05}), CArchiveException::badSchema},
        {"version 2", patched(1, {0x02}), CArchiveException::badSchema},
        {"another class", patched(12, OtherClassConfig()), CArchiveException::badClass},
        {"no configuration", patched(12, {0x00, 0x00}), CArchiveException::badClass},
    };
    for (std::size_t length = 0; length < golden.size(); ++length)
        cases.push_back({"truncated", std::vector<BYTE>(golden.begin(), golden.begin() + std::ptrdiff_t(length)),
                         CArchiveException::endOfFile});

    TestKVRDoc doc;
    LoadBytes(doc, golden);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(c.file.size()));
        EXPECT_EQ(LoadFailure(doc, c.file), c.cause);
        EXPECT_TRUE(SameBytes(StoreBytes(doc), golden));
    }
}

TEST_F(CKVRDocTest, SelectionsTheConfigurationCannotServeAreResetOnLoad)
{
    const std::vector<BYTE> golden = GoldenBytes("KVRDocument4.hex");
    struct Case {
        const char* what;
        std::size_t at;
        std::vector<BYTE> bytes;
        int scanner;
        CShelterSelection current;
        CShelterSelection second;
    };
    const Case cases[] = {
        {"scanner past the list", 2, {0x02, 0x00}, -1, Selection(1, 2), Selection(0, 1)},
        {"scanner below none", 2, {0xFE, 0xFF}, -1, Selection(1, 2), Selection(0, 1)},
        {"current pair past the list", 4, {0x02, 0xFF, 0x01, 0x00}, 1, Selection(0, 1), Selection(0, 1)},
        {"current of no kind", 4, {0x01, 0xFF, 0x03, 0x00}, 1, Selection(0, 1), Selection(0, 1)},
        {"second pair past the list", 8, {0x09, 0xFF, 0x01, 0x00}, 1, Selection(1, 2), Selection(-1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> file = golden;
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + std::ptrdiff_t(c.at));
        TestKVRDoc doc;
        ASSERT_NO_THROW(LoadBytes(doc, file));
        EXPECT_EQ(doc.GetSelectedScanner(), c.scanner);
        EXPECT_TRUE(SameSelection(doc.GetCurrentSelection(), c.current));
        EXPECT_TRUE(SameSelection(doc.GetSecondSelection(), c.second));
    }
}

TEST_F(CKVRDocTest, AnEditThatRemovesTheSelectedScannerAndFieldResetsTheSelections)
{
    constexpr int kShelterPage = 1;
    constexpr int IDC_LIST = 2050;
    constexpr int IDC_DELETE = 2059;
    TestKVRDoc doc;
    LoadBytes(doc, GoldenBytes("KVRDocument4.hex"));
    // A case on the first scanner and field pair makes the configuration acceptable.
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetSensorIndex(0);
    control->SetShelterIndex(0);
    control->SetOutputA(1);
    doc.GetOwnConfiguration()->AddControlConfig("DRIVE", std::move(control));
    // The sheet: the second scanner and the second field pair deleted, then OK.
    ui.QueueModal([&](CWnd& wnd) {
        auto& sheet = static_cast<CPropertySheet&>(wnd);
        DialogDriver driver(wnd);
        driver.Select(IDC_LIST, 1);
        ui.QueueAnswer(IDYES);
        driver.Click(IDC_DELETE);
        ASSERT_TRUE(sheet.SetActivePage(kShelterPage));
        DialogDriver::Pump();
        driver.Select(IDC_LIST, 1);
        ui.QueueAnswer(IDYES);
        driver.Click(IDC_DELETE);
        driver.Ok();
    });
    doc.OnEditConfiguration();
    ASSERT_EQ(doc.GetConfiguration()->GetShelterConfigCount(), 1);
    ASSERT_EQ(doc.GetConfiguration()->GetSensorConfigCount(), 1);
    EXPECT_EQ(doc.GetSelectedScanner(), -1);
    EXPECT_TRUE(SameSelection(doc.GetCurrentSelection(), Selection(0, kProtectiveField)));
    EXPECT_EQ(RadiusOf(doc.GetCurrentObject()), 400);
    EXPECT_TRUE(SameSelection(doc.GetSecondSelection(), Selection(0, kProtectiveField)));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CKVRDocTest, SavingWhileADeviceConfigurationIsShownWritesTheOwnOne)
{
    const std::vector<BYTE> golden = GoldenBytes("KVRDocument4.hex");
    TestKVRDoc doc;
    LoadBytes(doc, golden);
    auto device = std::make_unique<CKVRConfig>();
    device->AddSensorConfig("DEVICE", std::make_unique<CKVRSensorConfig>());
    doc.SetConfiguration(std::move(device), TRUE);
    doc.GetState().ShowIdentity("DEVICE", "V9.99.99");
    ASSERT_EQ(doc.GetConfiguration()->GetSensorConfigName(0), CString("DEVICE"));
    EXPECT_EQ(doc.GetSelectedScanner(), 0);
    EXPECT_TRUE(SameBytes(StoreBytes(doc), golden));

    // Shown again (as a transfer does after live monitoring): the own selections stay kept.
    doc.SetConfiguration(std::make_unique<CKVRConfig>(), TRUE);
    doc.ReleaseConfiguration(TRUE);
    doc.GetState().RestoreIdentity();
    EXPECT_EQ(doc.GetSelectedScanner(), 1);
    EXPECT_TRUE(SameBytes(StoreBytes(doc), golden));
}

TEST_F(CKVRDocTest, AFileOfTheSimulatedDeviceIsRefusedAtLevelFive)
{
    const fs::path path = fs::temp_directory_path() / ("kvr-doc-" + std::to_string(::getpid()) + ".kvr");
    {
        TestKVRDoc doc;
        LoadBytes(doc, GoldenBytes("KVRDocument3.hex"));
        DeviceApplication simulated(TRUE);
        ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
        EXPECT_EQ(doc.GetState().m_nSimulatedFile, 1);
    }
    for (int level : {1, 5}) {
        SCOPED_TRACE(level);
        theLoginDialog.SetLevel(level);
        ui.ClearMessageBoxes();
        TestKVRDoc doc;
        const BOOL opened = doc.OnOpenDocument(path.c_str());
        EXPECT_EQ(opened, level != 5);
        EXPECT_EQ(doc.GetConfiguration() != nullptr, level != 5);
        EXPECT_EQ(ui.MessageBoxes().size(), level == 5 ? 1u : 0u);
        if (level == 5 && !ui.MessageBoxes().empty())
            EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_SIMULATED_FILE_REFUSED);
    }
    fs::remove(path);
}

TEST_F(CKVRDocTest, AFailedSaveKeepsTheDocumentModifiedAndItsFlag)
{
    TestKVRDoc doc;
    LoadBytes(doc, GoldenBytes("KVRDocument4.hex"));
    doc.SetModifiedFlag();
    DeviceApplication real(FALSE);
    const fs::path nowhere = fs::temp_directory_path() / "no-such-folder" / "doc.kvr";
    EXPECT_FALSE(doc.OnSaveDocument(nowhere.c_str()));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetState().m_nSimulatedFile, 1);
}

TEST_F(CKVRDocTest, ReadingTheConfigurationOverAModifiedOneAsksToSaveFirst)
{
    DeviceApplication simulated(TRUE);
    CKVRSensor device(1);
    ASSERT_TRUE(device.Load(""));
    ASSERT_TRUE(device.Open());
    std::unique_ptr<CKVRConfig> expected = device.ReadConfiguration();
    ASSERT_NE(expected, nullptr);

    const std::vector<BYTE> golden = GoldenBytes("KVRDocument4.hex");
    TestKVRDoc doc;
    LoadBytes(doc, golden);
    doc.SetModifiedFlag();
    ui.QueueAnswer(IDCANCEL);
    doc.OnReadConfiguration();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(PromptId(ui.MessageBoxes()[0]), AFX_IDP_ASK_TO_SAVE);
    EXPECT_EQ(StoreBytes(doc), golden) << "cancelled: nothing read";

    ui.QueueAnswer(IDNO);
    doc.OnReadConfiguration();
    ASSERT_NE(doc.GetConfiguration(), nullptr);
    ClearFieldTimes(*doc.GetConfiguration());
    ClearFieldTimes(*expected);
    EXPECT_TRUE(SameBytes(StoreBytes(*doc.GetConfiguration()), StoreBytes(*expected)));
    EXPECT_EQ(doc.GetSelectedScanner(), 0);
    EXPECT_EQ(doc.GetDeviceName(), CString("unknown"));
    EXPECT_TRUE(doc.IsModified());
}

// A new document from the device: the simulated one, and the real driver on a
// pseudo-terminal with the emulator answering as the simulator. The file saved holds
// the device's configuration.
TEST_F(CKVRDocTest, ANewDocumentFromTheDeviceSavesTheDevicesConfiguration)
{
    ExpectNewDocumentSavesTheDevicesConfiguration<TestKVRDoc, CKVRSensor, CKVRConfig>(kFamilyKVR);
}

// The device commands by the user's rights, the mode and the current field.
TEST_F(CKVRDocTest, DeviceCommandsNeedTheirRightIdleAndForAFieldReadAField)
{
    struct RecordingCmdUI : CCmdUI {
        void Enable(BOOL on) override { enabled = on; }
        BOOL enabled = -1;
    };
    auto enabledOf = [](CKVRDoc& doc, UINT id) {
        RecordingCmdUI item;
        item.m_nID = id;
        item.DoUpdate(&doc, FALSE);
        return item.enabled;
    };
    const UINT commands[] = {ID_EDIT_CONFIGURATION, ID_CONFIGURATION_WIZARD, ID_READ_CONFIGURATION,
                             ID_TEST_CONNECTION, ID_READ_FIELD};
    struct Case {
        const char* what;
        int level;
        int mode;
        bool field;
        std::vector<BOOL> enabled; // in the order of commands
    };
    const Case cases[] = {
        {"every right, idle", 1, kModeNone, true, {TRUE, TRUE, TRUE, TRUE, TRUE}},
        {"no current field", 1, kModeNone, false, {TRUE, TRUE, TRUE, TRUE, FALSE}},
        {"editing", 1, kModeEdit, true, {FALSE, FALSE, FALSE, FALSE, FALSE}},
        {"standard user", CLoginDialog::kStandardLevel, kModeNone, true, {FALSE, FALSE, TRUE, FALSE, FALSE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestKVRDoc doc;
        LoadBytes(doc, GoldenBytes("KVRDocument4.hex"));
        if (!c.field)
            doc.GetState().m_current.Clear();
        theLoginDialog.SetLevel(1);
        if (c.mode != kModeNone)
            doc.SetMode(c.mode);
        ASSERT_EQ(doc.GetMode(), c.mode);
        theLoginDialog.SetLevel(c.level);
        std::vector<BOOL> enabled;
        for (UINT id : commands)
            enabled.push_back(enabledOf(doc, id));
        EXPECT_EQ(enabled, c.enabled);
    }
}

TEST_F(CKVRDocTest, SpeedStepsCoverTheHighestSpeedBothWays)
{
    struct Case {
        int maxSpeed;
        int top;
        int step;
    };
    const Case cases[] = {{0, 1, 1}, {-5, 1, 1}, {100, 100, 1}, {101, 102, 2}, {250, 252, 3}, {1000, 1000, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxSpeed);
        const std::vector<int> steps = CKVRDoc::SpeedSteps(c.maxSpeed);
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.front(), c.top);
        EXPECT_EQ(steps.back(), -c.top);
        EXPECT_EQ(steps[0] - steps[1], c.step);
        EXPECT_NE(std::find(steps.begin(), steps.end(), 0), steps.end());
    }
}

class KVRDocCombos : public CKVRDocTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CKVRDocTest::SetUp());
        ASSERT_TRUE(AfxEnsureGuiApplication());
        DialogTemplate tpl;
        tpl.cx = 300;
        tpl.cy = 120;
        tpl.style = WS_POPUP;
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        int y = 4;
        for (UINT id : {IDC_BAR_SELECTOR, IDC_BAR_FIRST_OBJECT, IDC_BAR_SECOND_OBJECT})
            tpl.items.push_back({"COMBOBOX", "", {}, id, 4, (y += 20), 200, 80, style, 0, 0});
        tpl.items.push_back({"COMBOBOX", "", {}, IDC_SIMULATION_5, 4, (y += 20), 120, 80,
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0});
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
        ASSERT_TRUE(selector.SubclassCombo(IDC_BAR_SELECTOR, &dialog));
        ASSERT_TRUE(first.SubclassCombo(IDC_BAR_FIRST_OBJECT, &dialog));
        ASSERT_TRUE(second.SubclassCombo(IDC_BAR_SECOND_OBJECT, &dialog));
        ASSERT_TRUE(speed.SubclassDlgItem(IDC_SIMULATION_5, &dialog));
        LoadBytes(doc, GoldenBytes("KVRDocument4.hex"));
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        CKVRDocTest::TearDown();
    }

    CDialog dialog;
    CSelectorComboBox selector;
    CSelectorComboBox first;
    CSelectorComboBox second;
    CComboBox speed;
    TestKVRDoc doc;
};

TEST_F(KVRDocCombos, SelectorsListScannersAndFieldsAndShowTheSelections)
{
    doc.FillBarControl(IDC_BAR_SELECTOR, &selector);
    EXPECT_EQ(ComboTexts(selector), (std::vector<CString>{"(no scanner)", "Scanner 1: FRONT", "Scanner 2: REAR"}));
    EXPECT_EQ(int(DWORD(selector.GetItemData(0))), -1);
    EXPECT_EQ(selector.GetCurSel(), 2);

    doc.FillBarControl(IDC_BAR_FIRST_OBJECT, &first);
    ASSERT_EQ(first.GetCount(), 2);
    EXPECT_TRUE(SameSelection(first.GetItemSelection(0), Selection(0, kProtectiveField)));
    EXPECT_TRUE(SameSelection(first.GetItemSelection(1), Selection(1, kWarningField)));
    EXPECT_EQ(ComboTexts(first), (std::vector<CString>{"1 DOOR/Protective field", "2 AISLE/Warning field"}));
    EXPECT_EQ(first.GetCurSel(), 1);
    EXPECT_EQ(doc.GetFirstObjectCombo(), &first);

    doc.FillBarControl(IDC_BAR_SECOND_OBJECT, &second);
    ASSERT_EQ(second.GetCount(), 3);
    EXPECT_EQ(second.GetItemSelection(0).GetIndex(), -1);
    EXPECT_EQ(second.GetCurSel(), 1);

    // Picks: no scanner; the second field none.
    selector.SetCurSel(0);
    doc.OnBarControlChange(IDC_BAR_SELECTOR, &selector);
    EXPECT_EQ(doc.GetSelectedScanner(), -1);
    second.SetCurSel(0);
    doc.OnBarControlChange(IDC_BAR_SECOND_OBJECT, &second);
    EXPECT_EQ(doc.GetSecondObject(), nullptr);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(KVRDocCombos, ALockedProtectiveFieldIsTakenInEditModeOnlyAfterYes)
{
    doc.FillBarControl(IDC_BAR_FIRST_OBJECT, &first);
    struct Case {
        int mode;
        int answer;
        std::size_t questions;
        CShelterSelection after;
    };
    const Case cases[] = {
        {kModeNone, 0, 0, Selection(0, kProtectiveField)},
        {kModeEdit, IDNO, 1, Selection(1, kWarningField)},
        {kModeEdit, IDYES, 1, Selection(0, kProtectiveField)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.answer);
        doc.GetState().m_current = Selection(1, kWarningField);
        if (doc.GetMode() != c.mode)
            doc.SetMode(c.mode);
        ASSERT_EQ(doc.GetMode(), c.mode);
        ui.ClearMessageBoxes();
        if (c.answer != 0)
            ui.QueueAnswer(c.answer);
        first.SetCurSel(0);
        doc.OnBarControlChange(IDC_BAR_FIRST_OBJECT, &first);
        ASSERT_EQ(ui.MessageBoxes().size(), c.questions);
        if (c.questions > 0)
            EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_LOCKED_FIELD);
        EXPECT_TRUE(SameSelection(doc.GetCurrentSelection(), c.after));
        EXPECT_TRUE(SameSelection(first.GetItemSelection(first.GetCurSel()), c.after)) << "the combo shows it";
    }
}

TEST_F(KVRDocCombos, TheSpeedControlEvaluatesTheSimulationWithThePickedSpeed)
{
    doc.FillSimulationControl(IDC_SIMULATION_5, &speed);
    ASSERT_GT(speed.GetCount(), 2);
    CString text;
    speed.GetLBText(0, text);
    const int top = CKVRDoc::SpeedSteps(doc.GetConfiguration()->GetMaxSpeed()).front();
    EXPECT_EQ(text, CString(FormatText("%+d cm/s", top).c_str()));
    EXPECT_EQ(int(DWORD(speed.GetItemData(speed.GetCurSel()))), 0);
    EXPECT_FALSE(speed.IsWindowEnabled()) << "the configuration's flags 0x21 use no speed";

    speed.SetCurSel(speed.GetCount() - 1);
    doc.OnBarControlChange(IDC_SIMULATION_5, &speed);
    EXPECT_EQ(doc.GetSimulation().GetSpeed(), -top);
    EXPECT_EQ(doc.GetSimulation().GetInput(0), kInputLow);
}

} // namespace
