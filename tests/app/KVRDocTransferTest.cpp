// The KVR document's writes to the unit, driven through the real driver over a
// pseudo-terminal against the emulator answering as the simulator: the two-step transfer
// with its confirmation and its failures, the device's configuration printed, and the
// field transfer with its beam-marking loop. Each road is told by the steps it sent.
#include "app/CKVRDoc.h"

#include "TransferTestSupport.h"
#include "app/CDeviceReport.h"
#include "app/DeviceTransfer.h"
#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "dialogs/CShelterSelectDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "model/CPolyShelter.h"

namespace {

using Steps = std::vector<std::string>;

class TestKVRDoc : public CKVRDoc {
public:
    TestKVRDoc() { m_bAutoDelete = FALSE; }
};

std::unique_ptr<CKVRConfig> UnitConfiguration()
{
    return SimulatedConfiguration<CKVRSensor, CKVRConfig>();
}

class KVRDocTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(device.Started());
        theLoginDialog.SetLevel(1);
        std::unique_ptr<CKVRConfig> own = UnitConfiguration();
        ASSERT_NE(own, nullptr);
        ASSERT_GT(own->GetSensorConfigCount(), 0);
        // The unit keeps what earlier writes left in it: the document's name differs from its.
        own->RenameSensorConfig(0, own->GetSensorConfigName(0) == "XFER" ? "XFER2" : "XFER");
        doc.SetConfiguration(std::move(own), FALSE);
        doc.GetState().SetIdentity("OWN", "OWNTYPE");
        ownBytes = StoreBytes(doc);
    }
    void TearDown() override { theLoginDialog.SetLevel(CLoginDialog::kStandardLevel); }

    ShippedLanguage texts;
    ScriptedUi ui;
    EmulatedDevice device{kFamilyKVR};
    TestKVRDoc doc;
    std::vector<BYTE> ownBytes;
};

// Transfer, then the user's decision; the device ends logged out on every road but the
// accepted one that goes on to the fields.
TEST_F(KVRDocTransferTest, TransferAndDecisionRoads)
{
    struct Road {
        const char* what;
        BYTE refused;             // a command the unit refuses with NAK
        bool shown;               // TransferToDevice showed the unit's corrected copy
        int decision;             // ConfirmTransfer's argument; -1: not called
        std::vector<int> answers; // Retry/Cancel prompts cancelled; 423 answered No
        Steps steps;
        std::vector<UINT> prompts; // among the boxes shown
        bool ownKept;
        bool unitChanged;
    };
    const Road roads[] = {
        {"check refused after the login", 0x70, false, -1, {IDCANCEL}, {"login", "check", "logout"},
         {IDP_TRANSFER_FAILED}, true, false},
        {"rejected", 0, true, 0, {}, {"login", "check", "logout"}, {}, true, false},
        {"commit refused", 0x71, true, 1, {IDCANCEL}, {"login", "check", "commit", "logout"}, {IDP_TRANSFER_FAILED},
         true, false},
        {"accepted", 0, true, 1, {IDNO}, {"login", "check", "commit", "logout"}, {IDP_GO_ON_WITH_FIELDS}, false,
         true},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        const std::vector<BYTE> unitBefore = BytesOf(UnitConfiguration().get());
        ui.ClearMessageBoxes();
        device.TakeSteps();
        doc.SetModifiedFlag(FALSE);

        for (int answer : road.answers)
            ui.QueueAnswer(answer);
        device.Answerer().Refuse(road.refused == 0x70 ? road.refused : 0);
        ASSERT_EQ(doc.TransferToDevice(), road.shown ? TRUE : FALSE);
        EXPECT_EQ(doc.IsDeviceConfigurationShown(), road.shown ? TRUE : FALSE);
        if (road.shown) {
            EXPECT_EQ(doc.GetDeviceName(), CString("PC - SIM"));
            device.Answerer().Refuse(road.refused);
            doc.ConfirmTransfer(road.decision);
        }
        device.Answerer().Refuse(0);
        EXPECT_EQ(ui.PendingAnswers(), 0u);

        EXPECT_EQ(device.TakeSteps(), road.steps);
        const std::vector<UINT> prompts = PromptIds(ui);
        for (UINT id : road.prompts)
            EXPECT_TRUE(Shown(prompts, id)) << id;
        EXPECT_FALSE(doc.IsDeviceConfigurationShown());
        EXPECT_EQ(StoreBytes(doc) == ownBytes, road.ownKept);
        EXPECT_EQ(doc.IsModified(), road.ownKept ? FALSE : TRUE);
        const std::vector<BYTE> unitAfter = BytesOf(UnitConfiguration().get());
        EXPECT_EQ(unitAfter != unitBefore, road.unitChanged);
        if (road.unitChanged) {
            EXPECT_EQ(unitAfter, BytesOf(doc.GetConfiguration())) << "the unit holds the document's configuration";
            EXPECT_EQ(doc.GetDeviceName(), CString("PC - SIM"));
        } else {
            EXPECT_EQ(doc.GetDeviceName(), CString("OWN"));
        }
    }
}

// After the commit, Yes to 423 goes on to the field transfer without the save question:
// at level 5 at once, although that level has no field-transfer command (its selection
// dialog opens, here cancelled, and it logs out); at another level it follows after the
// current message, which a document without a view cannot post, so the unit is logged
// out at once.
TEST_F(KVRDocTransferTest, GoingOnToTheFieldsAfterTheCommit)
{
    struct Road {
        int level;
        bool selectionShown;
    };
    for (const Road road : {Road{5, true}, Road{1, false}}) {
        SCOPED_TRACE(road.level);
        theLoginDialog.SetLevel(road.level);
        ui.ClearMessageBoxes();
        device.TakeSteps();
        const std::size_t modalsBefore = ui.ModalRuns().size();
        if (road.selectionShown)
            ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Cancel(); });
        ASSERT_TRUE(doc.TransferToDevice());
        ui.QueueAnswer(IDYES);
        EXPECT_TRUE(doc.ConfirmTransfer(1));
        EXPECT_EQ(device.TakeSteps(), (Steps{"login", "check", "commit", "logout"}));
        const bool selectionShown = ui.ModalRuns().size() > modalsBefore &&
                                    ui.ModalRuns().back().templateId == CShelterSelectDialog::IDD;
        EXPECT_EQ(selectionShown, road.selectionShown);
        EXPECT_FALSE(Shown(PromptIds(ui), AFX_IDP_ASK_TO_SAVE));
        EXPECT_TRUE(doc.IsModified());
    }
}

// Printing the unit's own configuration shows it, with the unit's name, until the print
// ends; the other print kinds leave the document and the line alone.
TEST_F(KVRDocTransferTest, TheDevicesConfigurationIsShownWhileItPrints)
{
    const std::size_t before = device.RequestCount();
    for (int kind : {0, 1})
        EXPECT_TRUE(doc.PreparePrint(kind));
    EXPECT_EQ(device.RequestCount(), before);

    ASSERT_TRUE(doc.PreparePrint(kPrintDeviceReport));
    EXPECT_TRUE(SameBytes(BytesOf(doc.GetConfiguration()), BytesOf(UnitConfiguration().get())));
    EXPECT_EQ(doc.GetDeviceName(), CString("PC - SIM"));
    EXPECT_TRUE(device.TakeSteps().empty()) << "nothing is written";
    doc.EndPrint(kPrintDeviceReport);
    EXPECT_FALSE(doc.IsDeviceConfigurationShown());
    EXPECT_EQ(StoreBytes(doc), ownBytes);
    EXPECT_EQ(doc.GetDeviceName(), CString("OWN"));
}

// A decision without a transfer waiting for it (a second close of the preview, or a
// transfer that failed) sends nothing and changes nothing.
TEST_F(KVRDocTransferTest, ADecisionWithoutAWaitingTransferDoesNothing)
{
    const std::size_t before = device.RequestCount();
    for (int decision : {0, 1}) {
        SCOPED_TRACE(decision);
        EXPECT_EQ(doc.ConfirmTransfer(decision), decision == 0 ? TRUE : FALSE);
        EXPECT_EQ(StoreBytes(doc), ownBytes);
        EXPECT_EQ(doc.GetDeviceName(), CString("OWN"));
    }
    EXPECT_EQ(device.RequestCount(), before);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

class KVRFieldTransferTest : public KVRDocTransferTest {
protected:
    // The selection dialog: the rows picked one by one with Add, then OK; no rows: Cancel.
    void ChooseRows(std::vector<int> rows)
    {
        ui.QueueModal([rows](CWnd& dialog) {
            DialogDriver driver(dialog);
            for (int row : rows) {
                driver.Select(CShelterSelectDialog::IDC_AVAILABLE, row);
                driver.Click(CShelterSelectDialog::IDC_ADD);
            }
            if (rows.empty() || !driver.IsEnabled(IDOK))
                driver.Cancel();
            else
                driver.Ok();
        });
    }
};

// Roads of the field transfer. The selection dialog lists per field pair its protective
// field (row 2i) and its warning field (row 2i+1); the list dialog is confirmed.
TEST_F(KVRFieldTransferTest, FieldTransferRoads)
{
    struct Road {
        const char* what;
        std::vector<int> rows;
        bool lockFirst;      // the first protective field is locked
        bool escape;         // Escape is held down during the beam marking
        std::vector<int> answers;
        Steps steps;
        std::vector<UINT> prompts;
        int currentKind;     // kind of the current field afterwards (pair 0)
    };
    const Road roads[] = {
        {"cancelled", {}, false, false, {}, {"logout"}, {}, kProtectiveField},
        {"locked field", {0}, true, false, {}, {"logout"}, {IDP_FIELD_LOCKED_SKIPPED}, kProtectiveField},
        {"warning field", {1}, false, false, {}, {"login", "contour", "logout"}, {IDP_FIELD_SENT}, kWarningField},
        {"protective field, Escape and Yes", {0}, false, true, {IDYES}, {"login", "field", "41/1", "marks", "logout"},
         {IDP_STOP_BEAM_MARKING}, kProtectiveField},
        {"protective field marked, stored", {0}, false, false, {IDYES},
         {"login", "field", "41/1", "marks", "41/2", "logout"}, {IDP_ACCEPT_VERIFIED_FIELD, IDP_FIELD_SENT},
         kProtectiveField},
        {"protective field marked, not stored", {0}, false, false, {IDNO},
         {"login", "field", "41/1", "marks", "41/0", "logout"}, {IDP_ACCEPT_VERIFIED_FIELD}, kProtectiveField},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        doc.GetState().m_current.SetIndexKind(0, kWarningField);
        ASSERT_NE(doc.GetCurrentObject(), nullptr);
        doc.GetState().m_current.SetIndexKind(0, kProtectiveField);
        doc.GetCurrentObject()->SetLocked(road.lockFirst ? 1 : 0);
        doc.GetCurrentObject()->SetProtectiveInDevice(0);
        doc.SetModifiedFlag(FALSE);
        ui.ClearMessageBoxes();
        device.TakeSteps();
        ChooseRows(road.rows);
        if (!road.rows.empty() && !road.lockFirst)
            ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Ok(); }); // the list dialog
        for (int answer : road.answers)
            ui.QueueAnswer(answer);
        ui.SetKeyDown(VK_ESCAPE, road.escape);

        doc.OnFieldTransfer();
        ui.SetKeyDown(VK_ESCAPE, false);

        EXPECT_EQ(device.TakeSteps(), road.steps);
        EXPECT_EQ(PromptIds(ui), road.prompts);
        EXPECT_EQ(doc.GetCurrentSelection().GetKind(), road.currentKind);
        EXPECT_EQ(doc.GetVerifyContour(), nullptr);
        const bool stored = road.steps.size() > 4 && road.steps[4] == "41/2";
        EXPECT_EQ(doc.GetCurrentObject()->IsProtectiveInDevice() != 0, stored);
        EXPECT_EQ(ui.PendingModals(), 0u);
    }
}

} // namespace
