// The ZOK document: its file in every version it reads (golden files built by hand),
// refused files with the message for an unknown version, the bar combos of a one-scanner
// document, and configurations read from the simulated device and through the driver
// from the emulator on a pseudo-terminal.
#include "app/CZOKDoc.h"

#include "DocumentFileBytes.h"
#include "app/CSelectorComboBox.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CArcShelter.h"

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class TestZOKDoc : public CZOKDoc {
public:
    TestZOKDoc() { m_bAutoDelete = FALSE; }
    using CZOKDoc::ReadNewDocument;
};

int RadiusOf(const CShelter* field)
{
    const auto* arc = dynamic_cast<const CArcShelter*>(field);
    return arc != nullptr ? arc->GetRadius() : -1;
}

class CZOKDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        theLoginDialog.SetLevel(1);
    }
    void TearDown() override
    {
        theLoginDialog.SetLevel(CLoginDialog::kStandardLevel);
        std::error_code ignored;
        fs::remove(path, ignored);
    }

    void WriteFile(const std::vector<BYTE>& bytes) const
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    ShippedLanguage texts;
    ScriptedUi ui;
    fs::path path = fs::temp_directory_path() / ("zok-doc-" + std::to_string(::getpid()) + ".zok");
};

TEST_F(CZOKDocTest, GoldenFilesOfEveryVersionLoadToTheirValues)
{
    struct Case {
        const char* file;
        int scanner;
        int currentKind;
        int secondKind; // -1: none
        const char* name;
        const char* type;
    };
    const Case cases[] = {
        {"ZOKDocument4.hex", 1, kWarningField, kProtectiveField, "ZOK-12", "V3.00.07"},
        {"ZOKDocument3.hex", 1, kWarningField, kProtectiveField, "unknown", "unknown"},
        {"ZOKDocument2.hex", 1, kWarningField, kProtectiveField, "unknown", "unknown"},
        // The dropped words held 5 and 2: the protective field and no scanner all the same.
        {"ZOKDocument1.hex", 0, kProtectiveField, -1, "unknown", "unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TestZOKDoc doc;
        ASSERT_NO_THROW(LoadBytes(doc, GoldenBytes(c.file)));
        const CZOKConfig* config = doc.GetConfiguration();
        ASSERT_NE(config, nullptr);
        EXPECT_EQ(config->GetSensorType(), CSensorType(7, 0));
        EXPECT_EQ(config->GetProtectiveName(), CString("GATE"));
        EXPECT_EQ(config->GetWarningName(), CString("GATE-W"));
        EXPECT_EQ(config->GetScanCount(), 4);
        EXPECT_EQ(RadiusOf(doc.GetField(kProtectiveField)), 300);
        EXPECT_TRUE(doc.GetField(kProtectiveField)->IsLocked());
        EXPECT_EQ(RadiusOf(doc.GetField(kWarningField)), 500);
        EXPECT_EQ(doc.GetSelectedScanner(), c.scanner);
        EXPECT_EQ(doc.GetCurrentSelection().GetKind(), c.currentKind);
        EXPECT_EQ(doc.GetCurrentObject(), doc.GetField(c.currentKind));
        EXPECT_EQ(doc.GetSecondSelection().GetKind(), c.secondKind);
        EXPECT_EQ(doc.GetSecondObject(), c.secondKind == -1 ? nullptr : doc.GetField(c.secondKind));
        EXPECT_EQ(doc.GetDeviceName(), CString(c.name));
        EXPECT_EQ(doc.GetDeviceTypeText(), CString(c.type));
        EXPECT_EQ(doc.GetState().m_nSimulatedFile, 0);
    }
}

TEST_F(CZOKDocTest, Version4StoresByteForByte)
{
    const std::vector<BYTE> golden = GoldenBytes("ZOKDocument4.hex");
    TestZOKDoc doc;
    LoadBytes(doc, golden);
    EXPECT_TRUE(SameBytes(StoreBytes(doc), golden));
}

TEST_F(CZOKDocTest, RefusedFilesLeaveTheOpenDocumentUntouched)
{
    const std::vector<BYTE> golden = GoldenBytes("ZOKDocument4.hex");
    const std::vector<BYTE> kvr = GoldenBytes("KVRDocument4.hex");
    auto withLevel = [&](std::vector<BYTE> rest) {
        std::vector<BYTE> file{0x01, 0x04};
        file.insert(file.end(), rest.begin(), rest.end());
        return file;
    };
    struct Case {
        const char* what;
        std::vector<BYTE> file;
        int cause;
    };
    std::vector<Case> cases = {
        {"version 5", {0x01, 0x05}, CArchiveException::badSchema},
        {"version 0", {0x01, 0x00}, CArchiveException::badSchema},
        {"another class", withLevel(std::vector<BYTE>(kvr.begin() + 12, kvr.end())), CArchiveException::badClass},
        {"no configuration", withLevel({0x00, 0x00}), CArchiveException::badClass},
    };
    for (std::size_t length = 0; length < golden.size(); ++length)
        cases.push_back({"truncated", std::vector<BYTE>(golden.begin(), golden.begin() + std::ptrdiff_t(length)),
                         CArchiveException::endOfFile});
    TestZOKDoc doc;
    LoadBytes(doc, golden);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(c.file.size()));
        EXPECT_EQ(LoadFailure(doc, c.file), c.cause);
        EXPECT_TRUE(SameBytes(StoreBytes(doc), golden));
    }
}

TEST_F(CZOKDocTest, OpeningAFileOfAnUnknownVersionShowsItsOwnMessage)
{
    std::vector<BYTE> unknown = GoldenBytes("ZOKDocument4.hex");
    unknown[1] = 0x07;
    std::vector<BYTE> truncated = GoldenBytes("ZOKDocument4.hex");
    truncated.resize(40);
    struct Case {
        const char* what;
        std::vector<BYTE> file;
        UINT message;
    };
    const Case cases[] = {
        {"unknown version", unknown, IDP_UNKNOWN_FILE_VERSION},
        {"truncated", truncated, AFX_IDP_FAILED_INVALID_FORMAT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.file);
        ui.ClearMessageBoxes();
        TestZOKDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(path.c_str()));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        const MessageBoxRecord& box = ui.MessageBoxes()[0];
        EXPECT_EQ(box.id != 0 ? box.id : box.helpId, c.message) << "a box shown by text has its id as help context";
        EXPECT_EQ(doc.GetConfiguration(), nullptr);
    }
}

TEST_F(CZOKDocTest, SelectionsTheConfigurationCannotServeAreResetOnLoad)
{
    std::vector<BYTE> file = GoldenBytes("ZOKDocument3.hex");
    const std::size_t selections = file.size() - 10;
    file[selections] = 0x05;                 // scanner 5
    file[selections + 2 + 2] = 0x07;         // current field of kind 7
    file[selections + 6] = 0x01;             // second field in pair 1
    TestZOKDoc doc;
    ASSERT_NO_THROW(LoadBytes(doc, file));
    EXPECT_EQ(doc.GetSelectedScanner(), CZOKDoc::kNoScanner);
    EXPECT_EQ(doc.GetCurrentSelection().GetKind(), kProtectiveField);
    EXPECT_EQ(doc.GetSecondSelection().GetIndex(), -1);
}

TEST_F(CZOKDocTest, TheSecondObjectIsStoredInTheConfiguration)
{
    TestZOKDoc doc;
    LoadBytes(doc, GoldenBytes("ZOKDocument4.hex"));
    CArcShelter wider(*dynamic_cast<CArcShelter*>(doc.GetField(kProtectiveField)));
    wider.SetRadius(777);
    doc.SetSecondObject(&wider);
    EXPECT_EQ(RadiusOf(doc.GetField(kProtectiveField)), 777);
    EXPECT_NE(doc.GetField(kProtectiveField), &wider);
}

TEST_F(CZOKDocTest, ANewDocumentFromTheDeviceSavesTheDevicesConfiguration)
{
    ExpectNewDocumentSavesTheDevicesConfiguration<TestZOKDoc, CZOKSensor, CZOKConfig>(kFamilyZOK);
}

TEST_F(CZOKDocTest, ANewDocumentByTheWizardOffersToSendItsConfiguration)
{
    struct Case {
        const char* what;
        bool finish;
        int level;
        std::size_t questions;
    };
    const Case cases[] = {
        {"finished by a user who may send", true, 1, 1},
        {"finished by a user who may not send", true, CLoginDialog::kStandardLevel, 0},
        {"cancelled", false, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        theLoginDialog.SetLevel(c.level);
        ui.ClearMessageBoxes();
        ui.QueueModal([&](CWnd& wizard) {
            DialogDriver driver(wizard);
            if (!c.finish) {
                driver.Cancel();
                return;
            }
            for (int page = 0; page < 16 && !driver.Finish(); ++page)
                driver.Next();
        });
        if (c.questions > 0)
            ui.QueueAnswer(IDNO);
        TestZOKDoc doc;
        EXPECT_EQ(doc.OnNewDocument(), c.finish ? TRUE : FALSE);
        EXPECT_EQ(doc.GetConfiguration() != nullptr, c.finish);
        ASSERT_EQ(ui.MessageBoxes().size(), c.questions);
        if (c.questions > 0)
            EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_OFFER_SEND_CONFIGURATION);
        if (c.finish) {
            EXPECT_TRUE(doc.IsModified());
            EXPECT_EQ(doc.GetSelectedScanner(), CZOKDoc::kScanner);
            EXPECT_EQ(doc.GetCurrentObject(), doc.GetField(kProtectiveField));
            EXPECT_EQ(doc.GetDeviceName(), CString("unknown"));
        }
    }
}

TEST_F(CZOKDocTest, WithoutADeviceANewDocumentGetsNothingAndAsksNothing)
{
    TestIniFile ini("[SETUP]\nPort=1\n[PORTS]\nCOM1=" + (fs::temp_directory_path() / "no-such-tty").string() + "\n");
    DeviceApplication application(FALSE, ini.Path());
    TestZOKDoc doc;
    EXPECT_EQ(doc.ReadNewDocument().config, nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

class ZOKDocCombos : public CZOKDocTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CZOKDocTest::SetUp());
        ASSERT_TRUE(AfxEnsureGuiApplication());
        DialogTemplate tpl;
        tpl.cx = 300;
        tpl.cy = 100;
        tpl.style = WS_POPUP;
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        int y = 4;
        for (UINT id : {IDC_BAR_SELECTOR, IDC_BAR_FIRST_OBJECT, IDC_BAR_SECOND_OBJECT})
            tpl.items.push_back({"COMBOBOX", "", {}, id, 4, (y += 20), 200, 80, style, 0, 0});
        ASSERT_TRUE(dialog.CreateIndirect(&tpl));
        ASSERT_TRUE(selector.SubclassCombo(IDC_BAR_SELECTOR, &dialog));
        ASSERT_TRUE(first.SubclassCombo(IDC_BAR_FIRST_OBJECT, &dialog));
        ASSERT_TRUE(second.SubclassCombo(IDC_BAR_SECOND_OBJECT, &dialog));
        LoadBytes(doc, GoldenBytes("ZOKDocument4.hex"));
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        CZOKDocTest::TearDown();
    }

    CDialog dialog;
    CSelectorComboBox selector;
    CSelectorComboBox first;
    CSelectorComboBox second;
    TestZOKDoc doc;
};

TEST_F(ZOKDocCombos, TheSelectorHoldsNoneAndTheScannerAndTheFieldsTheirKinds)
{
    doc.FillBarControl(IDC_BAR_SELECTOR, &selector);
    ASSERT_EQ(selector.GetCount(), 2);
    CString text;
    selector.GetLBText(1, text);
    EXPECT_EQ(text, CString("Scanner 1: GATE"));
    EXPECT_EQ(selector.GetItemData(0), DWORD_PTR(0));
    EXPECT_EQ(selector.GetItemData(1), DWORD_PTR(1));
    EXPECT_EQ(selector.GetCurSel(), 1);
    selector.SetCurSel(0);
    doc.OnBarControlChange(IDC_BAR_SELECTOR, &selector);
    EXPECT_EQ(doc.GetSelectedScanner(), CZOKDoc::kNoScanner);

    doc.FillBarControl(IDC_BAR_FIRST_OBJECT, &first);
    ASSERT_EQ(first.GetCount(), 2);
    first.GetLBText(0, text);
    EXPECT_EQ(text, CString("1 GATE-W/Protective field"));
    first.GetLBText(1, text);
    EXPECT_EQ(text, CString("1 GATE-W/Warning field"));
    EXPECT_EQ(first.GetItemSelection(0).GetKind(), kProtectiveField);
    EXPECT_EQ(first.GetItemSelection(1).GetKind(), kWarningField);
    EXPECT_EQ(first.GetCurSel(), 1);
    first.SetCurSel(0);
    doc.OnBarControlChange(IDC_BAR_FIRST_OBJECT, &first);
    EXPECT_EQ(doc.GetCurrentObject(), doc.GetField(kProtectiveField));

    doc.FillBarControl(IDC_BAR_SECOND_OBJECT, &second);
    ASSERT_EQ(second.GetCount(), 3);
    EXPECT_EQ(second.GetCurSel(), 1);
    second.SetCurSel(0);
    doc.OnBarControlChange(IDC_BAR_SECOND_OBJECT, &second);
    EXPECT_EQ(doc.GetSecondObject(), nullptr);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

} // namespace
