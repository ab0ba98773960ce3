// The ZOK document's writes to the scanner, driven through the real driver over a
// pseudo-terminal against the emulator answering as the simulator: the firmware gate of
// the two-step transfer, its decision roads, line faults during the transfer, the
// device's configuration printed, and the field transfer. Each road is told by the steps
// it sent.
#include "app/CZOKDoc.h"

#include "TransferTestSupport.h"
#include "app/CDeviceReport.h"
#include "app/DeviceTransfer.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "dialogs/CShelterSelectDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogDriver.h"
#include "model/CPolyShelter.h"

namespace {

using Steps = std::vector<std::string>;

class TestZOKDoc : public CZOKDoc {
public:
    TestZOKDoc() { m_bAutoDelete = FALSE; }
};

std::unique_ptr<CZOKConfig> ScannerConfiguration()
{
    return SimulatedConfiguration<CZOKSensor, CZOKConfig>();
}

class ZOKDocTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(device.Started());
        theLoginDialog.SetLevel(1);
        TakeOwn(-1);
    }
    void TearDown() override { theLoginDialog.SetLevel(CLoginDialog::kStandardLevel); }

    // The scanner's configuration with another number of scans and the type variant
    // (-1: the scanner's) becomes the document's own.
    void TakeOwn(int variant)
    {
        std::unique_ptr<CZOKConfig> own = ScannerConfiguration();
        ASSERT_NE(own, nullptr);
        own->SetScanCount(BYTE(own->GetScanCount() == 5 ? 6 : 5));
        if (variant >= 0)
            own->SetSensorType(CSensorType(own->GetSensorType().GetTypeCode(), WORD(variant)));
        doc.SetConfiguration(std::move(own), FALSE);
        doc.GetState().SetIdentity("OWN", "OWNTYPE");
        doc.SetModifiedFlag(FALSE);
        ownBytes = StoreBytes(doc);
    }

    ShippedLanguage texts;
    ScriptedUi ui;
    EmulatedDevice device{kFamilyZOK};
    TestZOKDoc doc;
    std::vector<BYTE> ownBytes;
};

// A configuration with a type variant goes only to firmware inside the windows above
// 3.05 and below 4.00 or above 4.05 (message 435, no login, no 422); one without a variant
// goes to any firmware. The gate is passed again at the commit.
TEST_F(ZOKDocTransferTest, TheFirmwareGateAndTheDecisionRoads)
{
    struct Road {
        const char* what;
        const char* version;       // at the transfer
        const char* commitVersion; // at the commit
        int variant;               // -1: the scanner's
        BYTE refused;              // a command the scanner refuses with NAK
        int decision;              // ConfirmTransfer's argument; -1: not called
        std::vector<int> answers;
        Steps steps;
        std::vector<UINT> prompts;
        bool shown;
        bool unitChanged;
    };
    const Road roads[] = {
        {"3.05 with a variant", "03.05", "", 1, 0, -1, {}, {}, {IDP_VARIANT_NEEDS_FIRMWARE}, false, false},
        {"4.05 with a variant", "04.05", "", 1, 0, -1, {}, {}, {IDP_VARIANT_NEEDS_FIRMWARE}, false, false},
        {"3.06 with a variant, rejected", "03.06", "", 1, 0, 0, {}, {"login", "check", "logout"}, {}, true, false},
        {"4.06 with a variant, rejected", "04.06", "", 1, 0, 0, {}, {"login", "check", "logout"}, {}, true, false},
        {"3.05 without a variant, rejected", "03.05", "", 0, 0, 0, {}, {"login", "check", "logout"}, {}, true, false},
        {"the commit meets 3.05", "03.06", "03.05", 1, 0, 1, {}, {"login", "check", "logout"},
         {IDP_VARIANT_NEEDS_FIRMWARE}, true, false},
        {"commit refused", "03.06", "03.06", 1, 0x61, 1, {IDCANCEL}, {"login", "check", "commit", "logout"},
         {IDP_TRANSFER_FAILED}, true, false},
        {"accepted", "03.06", "03.06", -1, 0, 1, {IDNO}, {"login", "check", "commit", "logout"},
         {IDP_GO_ON_WITH_FIELDS}, true, true},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        TakeOwn(road.variant);
        device.Answerer().SetVersionText(road.version);
        const std::vector<BYTE> unitBefore = BytesOf(ScannerConfiguration().get());
        ui.ClearMessageBoxes();
        device.TakeSteps();
        for (int answer : road.answers)
            ui.QueueAnswer(answer);

        ASSERT_EQ(doc.TransferToDevice(), road.shown ? TRUE : FALSE);
        if (road.shown) {
            EXPECT_TRUE(doc.IsDeviceConfigurationShown());
            EXPECT_EQ(doc.GetDeviceName(), CString("PC - SIM"));
            device.Answerer().SetVersionText(road.commitVersion);
            device.Answerer().Refuse(road.refused);
            doc.ConfirmTransfer(road.decision);
            device.Answerer().Refuse(0);
        }
        device.Answerer().SetVersionText("");

        EXPECT_EQ(device.TakeSteps(), road.steps);
        const std::vector<UINT> prompts = PromptIds(ui);
        for (UINT id : road.prompts)
            EXPECT_TRUE(Shown(prompts, id)) << id;
        EXPECT_EQ(Shown(prompts, IDP_TRANSFER_FAILED), Shown(road.prompts, IDP_TRANSFER_FAILED));
        EXPECT_EQ(ui.PendingAnswers(), 0u);
        EXPECT_FALSE(doc.IsDeviceConfigurationShown());
        EXPECT_EQ(StoreBytes(doc) == ownBytes, !road.unitChanged);
        const std::vector<BYTE> unitAfter = BytesOf(ScannerConfiguration().get());
        EXPECT_EQ(unitAfter != unitBefore, road.unitChanged);
        if (road.unitChanged) {
            EXPECT_TRUE(SameBytes(unitAfter, BytesOf(doc.GetConfiguration())))
                << "the scanner holds the document's configuration";
        }
        EXPECT_EQ(doc.GetDeviceName(), CString(road.unitChanged ? "PC - SIM" : "OWN"));
    }
}

// A line that refuses or stays silent during the check gives the Retry/Cancel prompt;
// Cancel ends the transfer logged out with the document unchanged, and the next transfer
// finds the port free again.
TEST_F(ZOKDocTransferTest, LineFaultsDuringTheTransfer)
{
    constexpr BYTE kCheckCommand = 0x44;
    // The requests of one transfer and its rejection on a clean line.
    const std::size_t start = device.RequestCount();
    ASSERT_TRUE(doc.TransferToDevice());
    doc.ConfirmTransfer(0);
    const std::vector<SensorRequest> clean = device.Emulator().Requests();
    std::size_t checkAt = start;
    while (checkAt < clean.size() && clean[checkAt].Command() != kCheckCommand)
        ++checkAt;
    ASSERT_LT(checkAt, clean.size());

    std::size_t refusedChecks = 0;
    for (EmulatorFault fault : {EmulatorFault::Nak, EmulatorFault::Silence}) {
        SCOPED_TRACE(fault == EmulatorFault::Nak ? "NAK" : "silence");
        ui.ClearMessageBoxes();
        device.TakeSteps();
        const std::size_t before = device.RequestCount();
        if (fault == EmulatorFault::Nak) {
            device.Answerer().Refuse(kCheckCommand);
        } else {
            // As many silent requests as the check sent before its prompt when refused;
            // the logout after it gets through.
            std::vector<EmulatorFault> plan(checkAt - start, EmulatorFault::None);
            plan.insert(plan.end(), refusedChecks, EmulatorFault::Silence);
            device.Emulator().PlanFaults(plan);
        }
        ui.QueueAnswer(IDCANCEL);

        EXPECT_FALSE(doc.TransferToDevice());
        device.Answerer().Refuse(0);

        const std::vector<SensorRequest> requests = device.Emulator().Requests();
        if (fault == EmulatorFault::Nak)
            refusedChecks = std::size_t(std::count_if(requests.begin() + std::ptrdiff_t(before), requests.end(),
                                                      [](const SensorRequest& r) { return r.Command() == kCheckCommand; }));
        const std::vector<UINT> prompts = PromptIds(ui);
        ASSERT_EQ(prompts.size(), 2u);
        EXPECT_EQ(ui.MessageBoxes().front().flags & MB_TYPEMASK, UINT(MB_RETRYCANCEL));
        EXPECT_EQ(prompts.back(), IDP_TRANSFER_FAILED);
        EXPECT_EQ(device.TakeSteps(), (Steps{"login", "check", "logout"}));
        EXPECT_FALSE(doc.IsDeviceConfigurationShown());
        EXPECT_EQ(StoreBytes(doc), ownBytes);

        ASSERT_TRUE(doc.TransferToDevice()) << "the port is free again";
        doc.ConfirmTransfer(0);
        EXPECT_EQ(device.TakeSteps(), (Steps{"login", "check", "logout"}));
    }
}

// Printing the scanner's own configuration shows it, with the scanner's name, until the
// print ends; the other print kinds leave the document and the line alone.
TEST_F(ZOKDocTransferTest, TheDevicesConfigurationIsShownWhileItPrints)
{
    const std::size_t before = device.RequestCount();
    for (int kind : {0, 1})
        EXPECT_TRUE(doc.PreparePrint(kind));
    EXPECT_EQ(device.RequestCount(), before);

    ASSERT_TRUE(doc.PreparePrint(kPrintDeviceReport));
    EXPECT_TRUE(doc.IsDeviceConfigurationShown());
    EXPECT_TRUE(SameBytes(BytesOf(doc.GetConfiguration()), BytesOf(ScannerConfiguration().get())));
    EXPECT_EQ(doc.GetDeviceName(), CString("PC - SIM"));
    EXPECT_TRUE(device.TakeSteps().empty()) << "nothing is written";
    doc.EndPrint(kPrintDeviceReport);
    EXPECT_FALSE(doc.IsDeviceConfigurationShown());
    EXPECT_EQ(StoreBytes(doc), ownBytes);
    EXPECT_EQ(doc.GetDeviceName(), CString("OWN"));
}

// The field transfer of a scanner: a polygon of more beams than a 180-beam scanner
// measures is refused before the selection (436); chosen fields go warning field first.
TEST_F(ZOKDocTransferTest, FieldTransferRoads)
{
    struct Road {
        const char* what;
        const char* version;
        bool widePolygon;    // the warning field is a polygon of 361 beams
        std::vector<int> rows;
        std::vector<int> answers;
        Steps steps;
        std::vector<UINT> prompts;
    };
    const Road roads[] = {
        {"361 beams to a 180-beam scanner", "03.05", true, {}, {}, {"logout"}, {IDP_FIELD_HAS_TOO_MANY_BEAMS}},
        {"both fields", "", false, {0, 1}, {IDYES},
         {"login", "contour", "field", "41/1", "marks", "41/2", "logout"},
         {IDP_FIELD_SENT, IDP_ACCEPT_VERIFIED_FIELD, IDP_FIELD_SENT}},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        TakeOwn(-1);
        if (road.widePolygon) {
            CPolyShelter wide;
            wide.InitializeConstant(doc.GetConfiguration()->GetSensorType(), 300, 361, kWarningField);
            doc.GetState().m_current.SetIndexKind(0, kWarningField);
            doc.SetCurrentObject(&wide);
        }
        doc.SetModifiedFlag(FALSE);
        device.Answerer().SetVersionText(road.version);
        ui.ClearMessageBoxes();
        device.TakeSteps();
        if (!road.rows.empty()) {
            ui.QueueModal([rows = road.rows](CWnd& dialog) {
                DialogDriver driver(dialog);
                for (int row : rows) {
                    driver.Select(CShelterSelectDialog::IDC_AVAILABLE, row);
                    driver.Click(CShelterSelectDialog::IDC_ADD);
                }
                driver.Ok();
            });
            ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Ok(); });
        }
        for (int answer : road.answers)
            ui.QueueAnswer(answer);

        doc.OnFieldTransfer();
        device.Answerer().SetVersionText("");

        EXPECT_EQ(device.TakeSteps(), road.steps);
        EXPECT_EQ(PromptIds(ui), road.prompts);
        EXPECT_EQ(ui.PendingModals(), 0u);
        EXPECT_EQ(doc.GetVerifyContour(), nullptr);
    }
}

} // namespace
