// The bar combo boxes of both device documents in their real document windows: every item
// reads as the user sees it in the control (the selector's scanners, the fields with
// number and kind, "(none)" to compare with, the simulation's inputs and speeds), and a
// look at the windows.
#include "DocumentFileBytes.h"
#include "FrameTestSupport.h"
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CTalisoApp.h"
#include "app/CZOKDoc.h"
#include "app/CZOKView.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/ui/ScreenshotFolder.h"
#include "support/ComboTexts.h"

#include <QImage>
#include <QPixmap>

#include <filesystem>
#include <fstream>
#include <vector>

namespace frames {
namespace {

namespace fs = std::filesystem;

CString Shown(CComboBox& combo)
{
    CString text;
    combo.GetWindowText(text);
    return text;
}

class BarCombosOnScreen : public FrameTestBase {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(FrameTestBase::SetUp());
        theLoginDialog.SetLevel(1);
    }
    void TearDown() override
    {
        FrameTestBase::TearDown();
        theLoginDialog.SetLevel(CLoginDialog::kStandardLevel);
        fs::remove_all(folder);
    }

    // The golden document opened through a template of the family, in its own window.
    CTalisoMDIChildWnd* Open(UINT templateId, const CRuntimeClass* docClass, const CRuntimeClass* viewClass,
                             const char* golden, const char* name)
    {
        CDocTemplate* family = app.AddDocTemplate(
            std::make_unique<CMultiDocTemplate>(templateId, docClass, RUNTIME_CLASS(CTalisoMDIChildWnd), viewClass));
        fs::create_directories(folder);
        const fs::path path = folder / name;
        const std::vector<BYTE> bytes = GoldenBytes(golden);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     std::streamsize(bytes.size()));
        CDocument* doc = family->OpenDocumentFile(path.c_str());
        if (doc == nullptr)
            return nullptr;
        CTalisoMDIChildWnd* frame = FrameOf(doc);
        frame->MDIMaximize();
        PumpFrames();
        return frame;
    }

    CComboBox& Bar(CTalisoMDIChildWnd& frame, UINT id) { return *frame.GetDialogBar().GetCombo(id); }

    void Look(const std::string& name)
    {
        PumpFrames();
        shots.Save(AfxWidgetFromHandle(mainFrame->m_hWnd)->grab().toImage(), name);
    }

    DeviceApplication application{FALSE};
    ScreenshotFolder shots{"bar-combos"};
    const fs::path folder = fs::temp_directory_path() / ("bar-combos-" + std::to_string(::getpid()));
};

TEST_F(BarCombosOnScreen, ZOKCombosShowNumberedFieldsOfEachKind)
{
    CTalisoMDIChildWnd* frame =
        Open(IDR_ZOKTYPE, RUNTIME_CLASS(CZOKDoc), RUNTIME_CLASS(CZOKView), "ZOKDocument4.hex", "gate.zok");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ComboTexts(Bar(*frame, IDC_BAR_SELECTOR)), (std::vector<CString>{"(no scanner)", "Scanner 1: GATE"}));
    const std::vector<CString> fields{"1 GATE-W/Protective field", "1 GATE-W/Warning field"};
    EXPECT_EQ(ComboTexts(Bar(*frame, IDC_BAR_FIRST_OBJECT)), fields);
    EXPECT_EQ(ComboTexts(Bar(*frame, IDC_BAR_SECOND_OBJECT)),
              (std::vector<CString>{"(none)", fields[0], fields[1]}));
    EXPECT_EQ(Shown(Bar(*frame, IDC_BAR_FIRST_OBJECT)), fields[1]);
    Look("zok-document.png");
}

TEST_F(BarCombosOnScreen, KVRCombosShowNumberedFieldsAndTheSimulationItsInputsAndSpeeds)
{
    CTalisoMDIChildWnd* frame =
        Open(IDR_KVRTYPE, RUNTIME_CLASS(CKVRDoc), RUNTIME_CLASS(CKVRView), "KVRDocument4.hex", "unit.kvr");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ComboTexts(Bar(*frame, IDC_BAR_SELECTOR)),
              (std::vector<CString>{"(no scanner)", "Scanner 1: FRONT", "Scanner 2: REAR"}));
    const std::vector<CString> fields{"1 DOOR/Protective field", "2 AISLE/Warning field"};
    EXPECT_EQ(ComboTexts(Bar(*frame, IDC_BAR_FIRST_OBJECT)), fields);
    EXPECT_EQ(ComboTexts(Bar(*frame, IDC_BAR_SECOND_OBJECT)),
              (std::vector<CString>{"(none)", fields[0], fields[1]}));
    EXPECT_EQ(Shown(Bar(*frame, IDC_BAR_SECOND_OBJECT)), fields[0]);
    Look("kvr-document.png");

    auto* doc = dynamic_cast<CKVRDoc*>(frame->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    doc->SetMode(kModeSimulation);
    ASSERT_EQ(doc->GetMode(), kModeSimulation);
    PumpFrames();
    CSimulationBar& simulation = frame->GetSimulationBar();
    for (UINT id : {IDC_SIMULATION_1, IDC_SIMULATION_2, IDC_SIMULATION_3, IDC_SIMULATION_4})
        EXPECT_EQ(ComboTexts(*simulation.GetCombo(id)), (std::vector<CString>{"0", "1"})) << id;
    const std::vector<CString> speeds = ComboTexts(*simulation.GetCombo(IDC_SIMULATION_5));
    ASSERT_GE(speeds.size(), 3u);
    const int fastest = CKVRDoc::SpeedSteps(doc->GetConfiguration()->GetMaxSpeed()).front();
    EXPECT_EQ(speeds.front(), CString(FormatText("%+d cm/s", fastest).c_str()));
    EXPECT_EQ(Shown(*simulation.GetCombo(IDC_SIMULATION_5)), "+0 cm/s");
    Look("kvr-simulation.png");
    doc->SetMode(kModeSimulation);
}

} // namespace
} // namespace frames
