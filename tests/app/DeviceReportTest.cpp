// The device reports: the print objects of both families for each print kind against
// golden lists, the field description, the page layout, the diagram scale, and whole
// reports printed to PDF and read back page by page.
#include "tests/framework/ui/PdfText.h"
#include "tests/framework/ui/ScreenshotFolder.h"
#include "app/CDeviceReport.h"
#include "app/CFieldDiagram.h"
#include "app/CGraphObject.h"
#include "app/CKVRReport.h"
#include "app/CReportPrinter.h"
#include "app/CSubTitle1Object.h"
#include "app/CSubTitle2Object.h"
#include "app/CTableObject.h"
#include "app/CTextObject.h"
#include "app/CTitleObject.h"
#include "app/CZOKReport.h"
#include "PrintTestSupport.h"
#include "framework/core/CArchive.h"
#include "framework/core/CFile.h"
#include "framework/gdi/GdiDevice.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPrintingDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/ArchiveOwnership.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"
#include "support/LanguageScripts.h"
#include "support/PrintScheduler.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const CTime kTaught(2024, 3, 5, 14, 7, 0);

std::unique_ptr<CShelter> Rectangle(WORD left, WORD front, WORD right, int kind)
{
    auto field = std::make_unique<CRectShelter>();
    field->Initialize(CSensorType(), left, front, right, kind);
    field->SetTime(kTaught);
    return field;
}

std::unique_ptr<CShelter> Polygon(int distance, int kind)
{
    auto field = std::make_unique<CPolyShelter>();
    field->InitializeConstant(CSensorType(), distance, 181, kind);
    field->SetVertexFlags(-1, FALSE);
    for (const int beam : {0, 90, 180}) field->SetVertexFlags(beam, TRUE);
    field->SetTime(kTaught);
    return field;
}

std::unique_ptr<CShelter> Arc(WORD radius, int kind)
{
    auto field = std::make_unique<CArcShelter>();
    field->Initialize(CSensorType(), radius, kind);
    field->SetTime(kTaught);
    return field;
}

// Two scanners, two field pairs (polygon and rectangle, arc warning field) and three
// cases: with the speed range, without a sensor, and with following cases.
std::unique_ptr<CKVRConfig> SampleKVR()
{
    auto config = std::make_unique<CKVRConfig>();
    config->SetUsedFlags(kUsesInput1 | 0x02 | kUsesSpeed | kUsesOssdA | kUsesOssdB);
    config->SetOssdA(1);
    config->GetModeDelay1().Set(1, 5);
    config->GetModeDelay2().Set(2, 2);
    config->SetValueV2(7);
    config->AddSensorConfig("Front", std::make_unique<CKVRSensorConfig>());
    config->AddSensorConfig("Rear", std::make_unique<CKVRSensorConfig>());
    auto pair1 = std::make_unique<CKVRShelterConfig>();
    pair1->SetShelter(kProtectiveField, Polygon(300, kProtectiveField));
    pair1->SetShelter(kWarningField, Arc(450, kWarningField));
    config->AddShelterConfig("Slow", std::move(pair1));
    auto pair2 = std::make_unique<CKVRShelterConfig>();
    pair2->SetShelter(kProtectiveField, Rectangle(100, 200, 150, kProtectiveField));
    config->AddShelterConfig("Fast", std::move(pair2));

    auto speedCase = std::make_unique<CKVRControlConfig>();
    speedCase->SetSensorIndex(0);
    speedCase->SetShelterIndex(0);
    speedCase->SetInputState(1, 2);
    speedCase->SetInputState(2, 1);
    speedCase->SetSpeed(CSpeed(10, 80));
    speedCase->SetOutputA(1);
    speedCase->SetScanCount(3);
    config->AddControlConfig("Drive", std::move(speedCase));
    auto loose = std::make_unique<CKVRControlConfig>();
    loose->SetShelterIndex(1);
    config->AddControlConfig("Park", std::move(loose));
    auto chained = std::make_unique<CKVRControlConfig>();
    chained->SetSensorIndex(1);
    chained->SetShelterIndex(1);
    chained->SetOutputA(1);
    chained->SetOutputB(1);
    chained->SetFollowCount(2);
    chained->SetFollow1(0);
    chained->SetFollow2(1);
    config->AddControlConfig("Turn", std::move(chained));
    return config;
}

std::unique_ptr<CZOKConfig> SampleZOK()
{
    auto config = std::make_unique<CZOKConfig>();
    config->SetProtectiveName("Prot");
    config->SetWarningName("Warn");
    config->SetOption1(12);
    config->SetScanCount(4);
    config->GetModeDelay().Set(1, 8);
    config->SetOption5(2);
    config->SetShelter(kProtectiveField, Polygon(250, kProtectiveField));
    config->SetShelter(kWarningField, Rectangle(500, 500, 500, kWarningField));
    return config;
}

std::string Describe(const CObject* object)
{
    std::string name = object->GetRuntimeClass()->m_lpszClassName;
    if (const auto* o = dynamic_cast<const CTitleObject*>(object)) return name + ": " + o->GetText().c_str();
    if (const auto* o = dynamic_cast<const CSubTitle1Object*>(object)) return name + ": " + o->GetText().c_str();
    if (const auto* o = dynamic_cast<const CSubTitle2Object*>(object)) return name + ": " + o->GetText().c_str();
    if (const auto* o = dynamic_cast<const CTextObject*>(object)) {
        std::string text = o->GetText().c_str();
        for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "|");
        return name + ": " + text;
    }
    if (const auto* g = dynamic_cast<const CGraphObject*>(object)) {
        auto slot = [](const CSensorObject* s) {
            const auto* field = dynamic_cast<const CShelter*>(s);
            return field != nullptr ? "kind " + std::to_string(field->GetFieldKind()) : std::string("-");
        };
        return name + ": " + slot(g->GetFirst()) + ", " + slot(g->GetSecond()) + ", " + slot(g->GetThird());
    }
    return name;
}

class ReportList {
public:
    ~ReportList()
    {
        POSITION pos = list.GetHeadPosition();
        while (pos != nullptr) delete list.GetNext(pos);
    }
    std::string Lines() const
    {
        std::string lines;
        POSITION pos = list.GetHeadPosition();
        while (pos != nullptr) lines += Describe(list.GetNext(pos)) + "\n";
        return lines;
    }
    CObList list;
};

std::string GoldenPath(const std::string& name)
{
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/app/golden/" + name;
}

// The golden list; TALISO_UPDATE_GOLDEN=1 rewrites it from the actual list first.
std::string ReadGolden(const std::string& name, const std::string& actual)
{
    if (const char* update = std::getenv("TALISO_UPDATE_GOLDEN"); update && *update == '1')
        std::ofstream(GoldenPath(name)) << actual;
    std::ifstream file(GoldenPath(name));
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class DeviceReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
    }
    LanguageScripts texts{"printing.rc", "results.rc", "kvrconfig.rc", "documents.rc", "views.rc", "framework.rc"};
};

TEST_F(DeviceReportTest, ObjectListsOfBothFamiliesMatchTheirGoldenLists)
{
    const auto kvr = SampleKVR();
    const auto zok = SampleZOK();
    ReportUnits units; // cm, tables in x and y
    for (const int kind : {kPrintPlain, kPrintConfirmation, kPrintDeviceReport}) {
        ReportList kvrList;
        EXPECT_EQ(CKVRReport(kvrList.list, units).Build(*kvr, kind, "Unit 7", "KVR 1.2"), 1);
        const std::string kvrName = "report-kvr-" + std::to_string(kind) + ".txt";
        EXPECT_EQ(kvrList.Lines(), ReadGolden(kvrName, kvrList.Lines())) << kvrName;
        ReportList zokList;
        EXPECT_EQ(CZOKReport(zokList.list, units).Build(*zok, kind, "Scanner 3", "ZOK 4.0"), 1);
        const std::string zokName = "report-zok-" + std::to_string(kind) + ".txt";
        EXPECT_EQ(zokList.Lines(), ReadGolden(zokName, zokList.Lines())) << zokName;
    }
}

TEST_F(DeviceReportTest, InputsOfAConfigurationWithoutSpeedAndWithoutInputs)
{
    CKVRConfig config;
    config.SetUsedFlags(0);
    ReportList list;
    CKVRReport(list.list, ReportUnits()).Build(config, kPrintConfirmation, "", "");
    const std::string lines = list.Lines();
    EXPECT_NE(lines.find("Speed measurement: not used"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Control inputs used: none"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Outputs used: none"), std::string::npos) << lines;
}

TEST_F(DeviceReportTest, FieldDescriptionByShapeAndUnit)
{
    struct Case {
        std::unique_ptr<CShelter> field;
        BOOL metric;
        std::string text;
    };
    Case cases[] = {
        {Rectangle(500, 500, 500, kWarningField), TRUE, "    Rectangle field: left 500, front 500, right 500\n"},
        {Rectangle(500, 500, 500, kWarningField), FALSE, "    Rectangle field: left 196.85, front 196.85, right 196.85\n"},
        {Arc(254, kWarningField), FALSE, "    Arc field: radius 100.00\n"},
        {Polygon(300, kWarningField), TRUE, "    Polygon field: 3 vertices on 181 beams\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(CDeviceReport::DescribeShelter(*c.field, c.metric).c_str()), c.text);
    // A protective field adds the line of its time stamp first.
    const std::string protective = CDeviceReport::DescribeShelter(*Arc(100, kProtectiveField), TRUE).c_str();
    EXPECT_EQ(protective.rfind("    Taught in: ", 0), 0u) << protective;
    EXPECT_NE(protective.find("14:07\n    Arc field: radius 100\n"), std::string::npos) << protective;
}

TEST(FieldDiagram, StepIsTheSmallestMultipleOfFiveThatReachesTheExtent)
{
    struct Case {
        int extent, cells, step;
    };
    const Case cases[] = {
        {480, 5, 100}, // 5 x 95 = 475 is short of 480
        {475, 5, 95},
        {197, 5, 40},  // 500 cm in inch
        {0, 5, 5},     // never a zero step
        {480, 0, 480}, // no cell counts as one
        {3, 1, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(CFieldDiagram::GetDiagramStep(c.extent, c.cells), c.step) << c.extent << "/" << c.cells;
    EXPECT_EQ(CFieldDiagram::CellsIn(1500, 600, 1000), 1); // too low for a cell still gets one
    EXPECT_EQ(CFieldDiagram::CellsIn(7000, 300, 1000), 6);
}

// A printer that paints nothing and keeps what the fills hand it: their vertices, and
// the device clip each fill was bound by.
class FillCounter : public GdiNullTarget {
public:
    FillCounter() : GdiNullTarget(true) {}
    void FillPolygons(const std::vector<QPolygon>& polygons, Qt::FillRule, const GdiPaint&) override
    {
        for (const QPolygon& polygon : polygons) vertices += polygon.size();
        clips.push_back(m_clip);
    }
    long vertices = 0;
    std::vector<std::optional<QRect>> clips;
};

// The first result of a fuzzed protocol file (the rest of the file is damaged).
std::unique_ptr<CScan> SlowScan()
{
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    const std::string path = std::string(source ? source : ".") + "/tests/app/golden/slow-scan.prt";
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead)) return nullptr;
    CArchive ar(&file, CArchive::load);
    ar.ReadCount();
    return ReadOwned<CScan>(ar, RUNTIME_CLASS(CScan));
}

// Beams alternating between the scanner and far beyond the diagram: every outline
// segment crosses its neighbours.
std::unique_ptr<CScan> FoldedScan()
{
    std::vector<WORD> words(181);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = i % 2 ? 8191 : 1;
    auto scan = std::make_unique<CScan>();
    scan->SetScanData(CSensorType(), words.data(), WORD(words.size()));
    return scan;
}

// Whatever a scan holds, its drawing paints only inside the diagram and hands the
// device a number of vertices that grows with its beams alone.
TEST(FieldDiagram, ScansOfAnyShapeDrawWithinTheDiagramAndBoundedWork)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    const std::unique_ptr<CScan> scans[] = {SlowScan(), FoldedScan()};
    for (const auto& scan : scans) {
        ASSERT_TRUE(scan);
        SCOPED_TRACE(scan->GetMaxDistance());
        CDC dc;
        ASSERT_TRUE(dc.CreateRecordingDC(4960, 7016, 600, 600, TRUE));
        MapHundredthsOfMillimetre(dc);
        CRect box(1000, 1000, 19000, 12000);
        auto counter = std::make_unique<FillCounter>();
        FillCounter& counted = *counter;
        dc.GetSafeHdc()->target = std::move(counter);
        CFieldDiagram::Draw(&dc, box, scan.get(), nullptr, nullptr, FieldDiagramStyle());
        POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
        dc.LPtoDP(corners, 2);
        const QRect diagram(QPoint(corners[0].x, corners[0].y), QPoint(corners[1].x, corners[1].y));
        EXPECT_FALSE(counted.clips.empty());
        for (const std::optional<QRect>& clip : counted.clips)
            EXPECT_TRUE(clip && diagram.contains(*clip)) << "a fill may paint outside the diagram";
        EXPECT_LE(counted.vertices, 64L * (scan->GetBeamCount() + 1));
    }
}

// An element of a fixed height, for the layout.
class BlockObject : public CPrintObject {
public:
    explicit BlockObject(int height) : CPrintObject(FALSE, 0, 0), m_height(height) {}
    int Print(CDC*, const CRect&, BOOL) override { return m_height; }

private:
    int m_height;
};

TEST(ReportLayout, PlacesObjectsByHeightWithinLimits)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(2100, 2970, 254, 254, TRUE));
    const CRect body(0, 0, 1000, 1000);
    struct Case {
        const char* what;
        std::vector<int> heights;
        std::vector<int> pages;
        int pageCount;
        int maxPages;
    };
    const Case cases[] = {
        {"exactly fitting object stays", {600, 400}, {1, 1}, 1, 100},
        {"one unit more goes on", {600, 401}, {1, 2}, 2, 100},
        {"a whole page", {1000, 1000}, {1, 2}, 2, 100},
        {"taller than a page gets its own", {200, 1500, 100}, {1, 2, 3}, 3, 100},
        {"page limit", {900, 900, 900, 900}, {1, 2, 3, 0}, 3, 3},
        {"empty objects", {0, 0}, {1, 1}, 1, 100},
    };
    for (const Case& c : cases) {
        CObList objects;
        for (const int h : c.heights) objects.AddTail(new BlockObject(h));
        EXPECT_EQ(CReportPrinter::LayoutPages(&dc, objects, body, CSize(14000, 7000), c.maxPages), c.pageCount) << c.what;
        std::vector<int> pages;
        POSITION pos = objects.GetHeadPosition();
        while (pos != nullptr) {
            auto* object = static_cast<CPrintObject*>(objects.GetNext(pos));
            pages.push_back(object->GetPage());
            delete object;
        }
        EXPECT_EQ(pages, c.pages) << c.what;
    }
}

// A print job of a report the way a device view prints it.
class ReportJob : public CPrintJobClient {
public:
    explicit ReportJob(CReportPrinter::BuildFunction build) : m_build(std::move(build)) {}
    void PrintJobPrepareDC(CDC* pDC, CPrintInfo* pInfo) override { printer.PrepareDC(pDC, pInfo); }
    void PrintJobBegin(CDC* pDC, CPrintInfo* pInfo) override { printer.BeginPrinting(pDC, pInfo, "Sample.kvr", FALSE, m_build); }
    void PrintJobPage(CDC* pDC, CPrintInfo* pInfo) override { printer.PrintPage(pDC, pInfo); }
    void PrintJobEnd(CDC*, CPrintInfo*) override { printer.EndPrinting(); }
    CReportPrinter printer;

private:
    CReportPrinter::BuildFunction m_build;
};

class ReportPdfTest : public DeviceReportTest {
protected:
    // Prints the report on the printer the dialog is set to (a PDF file unless a queue is
    // chosen) and reads the pages back from the PDF that comes out.
    std::vector<std::string> PrintPages(const CReportPrinter::BuildFunction& build, const char* name,
                                        PrintScheduler* scheduler = nullptr)
    {
        std::vector<std::string> pages;
        if (!PdfToolsAvailable()) return pages;
        EXPECT_TRUE(AfxEnsureGuiApplication());
        std::string pdf = (folder.Path() / name).string();
        CPrintInfo info;
        if (scheduler != nullptr) {
            info.m_pPD->SetQueueName("Office");
            pdf = scheduler->OutputPath("Office");
        } else {
            info.m_pPD->SetPathName(pdf.c_str());
        }
        ReportJob job(build);
        CPrintingDialog status;
        EXPECT_EQ(AfxRunPrintJob(job, info, status, nullptr, "Sample.kvr"), PrintJobResult::Printed);
        if (scheduler != nullptr) {
            EXPECT_EQ(scheduler->WaitForLastJob("Office"), IPP_JSTATE_COMPLETED);
            // Kept beside the PDFs for people to look at.
            std::filesystem::copy_file(pdf, folder.Path() / name, std::filesystem::copy_options::overwrite_existing);
        }
        const int count = PdfPageCount(pdf);
        for (int page = 1; page <= count; ++page) pages.push_back(PdfPageText(pdf, page));
        return pages;
    }
    std::vector<std::string> PrintKVR(PrintScheduler* scheduler = nullptr)
    {
        const auto config = SampleKVR();
        return PrintPages(
            [&](CObList& list) { return CKVRReport(list, ReportUnits()).Build(*config, kPrintPlain, "Unit 7", "KVR 1.2"); },
            scheduler != nullptr ? "kvr-queue.pdf" : "kvr.pdf", scheduler);
    }
    std::vector<std::string> PrintZOK(PrintScheduler* scheduler = nullptr)
    {
        const auto config = SampleZOK();
        return PrintPages(
            [&](CObList& list) { return CZOKReport(list, ReportUnits()).Build(*config, kPrintDeviceReport, "Scanner 3", "ZOK 4.0"); },
            scheduler != nullptr ? "zok-queue.pdf" : "zok.pdf", scheduler);
    }
    static void ExpectKVRPages(const std::vector<std::string>& pages)
    {
        ASSERT_EQ(pages.size(), 3u);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            SCOPED_TRACE(pages[i]);
            EXPECT_NE(pages[i].find("Safety Laser Scanner Configuration"), std::string::npos);
            EXPECT_NE(pages[i].find("Page " + std::to_string(i + 1)), std::string::npos);
            EXPECT_NE(pages[i].find("Sample.kvr"), std::string::npos);
        }
        EXPECT_NE(pages[0].find("KVR Unit Configuration"), std::string::npos) << pages[0];
        EXPECT_NE(pages[0].find("Device name: Unit 7"), std::string::npos) << pages[0];
        EXPECT_NE(pages[0].find("Polygon field: 3 vertices on 181 beams"), std::string::npos) << pages[0];
        EXPECT_NE(pages[1].find("Arc field: radius 450"), std::string::npos) << pages[1];
        EXPECT_NE(pages[1].find("Monitoring Case 1"), std::string::npos) << pages[1];
        EXPECT_NE(pages[2].find("Monitoring Case 3"), std::string::npos) << pages[2];
        EXPECT_NE(pages[2].find("Following cases: 1, 2"), std::string::npos) << pages[2];
    }
    static void ExpectZOKPages(const std::vector<std::string>& pages)
    {
        ASSERT_EQ(pages.size(), 2u);
        EXPECT_NE(pages[0].find("Configuration of the ZOK Scanner in the Device"), std::string::npos) << pages[0];
        EXPECT_NE(pages[0].find("Restart: after a delay of 8 s"), std::string::npos) << pages[0];
        EXPECT_NE(pages[1].find("Rectangle field: left 500, front 500, right 500"), std::string::npos) << pages[1];
    }
    ScreenshotFolder folder{"reports"}; // the PDFs stay there when TALISO_SCREENSHOT_DIR is set
    ScriptedUi ui;
};

TEST_F(ReportPdfTest, KVRReportPrintsOnPagesWithFrameAndTexts)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    ExpectKVRPages(PrintKVR());
}

TEST_F(ReportPdfTest, ZOKReportAndAFailedBuildPrintTheirPages)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    ExpectZOKPages(PrintZOK());

    // A builder that throws leaves one page with only the frame.
    const std::vector<std::string> empty = PrintPages(
        [](CObList& list) -> int {
            list.AddTail(new CTextObject("half built"));
            throw CMemoryException();
        },
        "failed.pdf");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].find("half built"), std::string::npos) << empty[0];
    EXPECT_NE(empty[0].find("Page 1"), std::string::npos) << empty[0];
}

// The reports of both families printed to a queue of the print system come out of the
// queue's device with the same pages as the PDF file gets.
TEST_F(ReportPdfTest, ReportsOfBothFamiliesComeOutOfAPrintQueuePageByPage)
{
    ASSERT_TRUE(PdfToolsAvailable()) << "poppler-utils missing (scripts/install-deps.sh installs them)";
    PrintScheduler scheduler({{"Office", true, true, "Room 12"}});
    ASSERT_TRUE(scheduler.Running()) << scheduler.Error();
    ExpectKVRPages(PrintKVR(&scheduler));
    ExpectZOKPages(PrintZOK(&scheduler));
    EXPECT_EQ(scheduler.Jobs("Office").size(), 2u);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

} // namespace
