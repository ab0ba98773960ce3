#include "model/CScan.h"

#include "ArchiveBytes.h"
#include "LanguageScript.h"
#include "framework/core/CFile.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const CSensorType kType(4, 0);

// A scan of the case with count beams of distance 100 and no flags.
CScan MakeScan(int evalCase, WORD count)
{
    CScan scan;
    scan.SetEvalCase(evalCase);
    scan.SetScanFill(kType, CBeamWord(100), count, evalCase);
    return scan;
}

// Which operation of which case touches which bit of beam 1, read back through its Get
// and its count; outside its cases it changes nothing and reads 0.
TEST(CScanTest, FlagOperationsByCase)
{
    struct Operation {
        const char* name;
        void (*set)(CScan&);
        BOOL (*get)(const CScan&);
        WORD (*count)(const CScan&);
    };
    const Operation operations[] = {
        {"FA", [](CScan& s) { s.SetFA(1, TRUE); }, [](const CScan& s) { return s.GetFA(1); },
         [](const CScan& s) { return s.GetFACount(); }},
        {"FB", [](CScan& s) { s.SetFB(1, TRUE); }, [](const CScan& s) { return s.GetFB(1); },
         [](const CScan& s) { return s.GetFBCount(); }},
        {"FC", [](CScan& s) { s.SetFC(1, TRUE); }, [](const CScan& s) { return s.GetFC(1); },
         [](const CScan& s) { return s.GetFCCount(); }},
        {"Flag1", [](CScan& s) { s.SetFlag1(1, TRUE); }, [](const CScan& s) { return s.GetFlag1(1); }, nullptr},
        {"Flag2", [](CScan& s) { s.SetFlag2(1, TRUE); }, [](const CScan& s) { return s.GetFlag2(1); }, nullptr},
        {"Flag3", [](CScan& s) { s.SetFlag3(1, TRUE); }, [](const CScan& s) { return s.GetFlag3(1); },
         [](const CScan& s) { return s.CountFlag3(); }},
        {"RE", [](CScan& s) { s.SetRE(1, 1); }, [](const CScan& s) { return BOOL(s.GetRE(1) == 1); },
         [](const CScan& s) { return s.GetRECount(); }},
    };
    // The word of beam 1 (distance 100) after each operation, per case; 100 = untouched.
    const WORD expected[7][7] = {
        //  FA      FB      FC      Flag1   Flag2   Flag3   RE
        {0x8064, 0x4064, 100, 0x8064, 0x4064, 0x2064, 100},  // 0 FA_FB_BL
        {100, 100, 100, 100, 100, 100, 0x2064},               // 1 RE_RE_RE
        {0x8064, 0x4064, 0x2064, 100, 100, 100, 100},         // 2 FA_FB_FC
        {100, 100, 100, 100, 100, 100, 0x4064},               // 3 RE_RE
        {0x8064, 0x4064, 100, 100, 100, 100, 100},            // 4 FA_FB
        {100, 100, 100, 100, 100, 100, 0x8064},               // 5 RE
        {0x8064, 100, 100, 100, 100, 100, 100},               // 6 FA
    };
    for (int evalCase = 0; evalCase < 7; ++evalCase) {
        for (int op = 0; op < 7; ++op) {
            const Operation& operation = operations[op];
            CScan scan = MakeScan(evalCase, 4);
            operation.set(scan);
            const bool applies = expected[evalCase][op] != 100;
            SCOPED_TRACE(testing::Message() << "case " << evalCase << " " << operation.name);
            EXPECT_EQ(scan.GetBeams().GetWord(1), expected[evalCase][op]);
            EXPECT_EQ(operation.get(scan) != FALSE, applies);
            if (operation.count) {
                EXPECT_EQ(operation.count(scan), applies ? 1 : 0);
            }
            EXPECT_EQ(scan.IsBeamFlagged(1) != FALSE, applies);
            EXPECT_EQ(scan.IsFlagged() != FALSE, applies);
            EXPECT_FALSE(scan.IsBeamFlagged(0));
        }
    }
}

TEST(CScanTest, WholeScanFlagsAndResultValues)
{
    CScan re = MakeScan(1, 3);
    re.SetFA(-1, TRUE);
    EXPECT_EQ(re.GetBeams().GetWord(0), 100);
    re.SetRE(2, 5);
    EXPECT_EQ(re.GetBeams().GetWord(2), 0xA064);
    EXPECT_EQ(re.GetRE(2), 5);
    EXPECT_EQ(re.FormatBeam(2), "RE(5)  100");
    re.SetRE(-1, 2);
    EXPECT_EQ(re.GetRECount(), 3);
    re.ClearFlags();
    EXPECT_EQ(re.GetRECount(), 0);
    EXPECT_EQ(re.GetBeams().GetWord(2), 100);

    CScan fa = MakeScan(0, 3);
    fa.SetFA(-1, TRUE);
    fa.SetFlag3(1, TRUE);
    EXPECT_EQ(fa.GetFACount(), 3);
    EXPECT_EQ(fa.CountFlag3(), 1);
    fa.ClearFlags();
    EXPECT_FALSE(fa.IsFlagged());
}

// Changing the case reinterprets the words: BL bits of case 0 become distance bits of a
// case-4 scan, FA and FB are counted again.
TEST(CScanTest, ChangingTheCaseRecountsUnderTheNewResolution)
{
    const WORD words[] = {0xE064, 0x2064, 0x8064, 0x4064};
    CScan scan;
    scan.SetScanData(kType, words, 4);
    EXPECT_EQ(scan.CountFlag3(), 2);
    EXPECT_EQ(scan.GetFACount(), 2);
    EXPECT_EQ(scan.GetFBCount(), 2);

    scan.SetEvalCase(4);
    EXPECT_EQ(scan.GetEvalCase(), 4);
    EXPECT_EQ(scan.GetBeams().GetType(), 14);
    EXPECT_EQ(scan.GetBeams().GetFlag13Count(), 0);
    EXPECT_EQ(scan.CountFlag3(), 0);
    EXPECT_EQ(scan.GetFACount(), 2);
    EXPECT_EQ(scan.GetFBCount(), 2);
    EXPECT_EQ(scan.GetDistance(1), 0x2064);
    EXPECT_EQ(scan.GetBeams().GetWord(0), 0xE064);

    // Not a case: nothing changes.
    for (const int bad : {-1, 7}) {
        scan.SetEvalCase(bad);
        EXPECT_EQ(scan.GetEvalCase(), 4);
        EXPECT_EQ(scan.GetBeams().GetType(), 14);
    }
    // The fill's case picks only the resolution; the scan's own case stays.
    scan.SetScanData(kType, words, 4, 6);
    EXPECT_EQ(scan.GetEvalCase(), 4);
    EXPECT_EQ(scan.GetBeams().GetType(), 15);
}

TEST(CScanTest, ResolutionAndNameOfEachCase)
{
    const std::vector<std::tuple<int, int, const char*>> rows = {
        {0, 13, "FA_FB_BL"}, {1, 13, "RE_RE_RE"}, {2, 13, "FA_FB_FC"}, {3, 14, "RE_RE"}, {4, 14, "FA_FB"},
        {5, 15, "RE"},       {6, 15, "FA"},       {7, 13, ""},         {-1, 13, ""}};
    for (const auto& [evalCase, resolution, name] : rows) {
        EXPECT_EQ(ResolutionFromEvalCase(evalCase), resolution) << evalCase;
        EXPECT_EQ(GetEvalCaseName(evalCase), name) << evalCase;
    }
}

TEST(CScanTest, AngularStepAndBeamAngles)
{
    const std::vector<std::pair<WORD, float>> steps = {{0, 0.0f},  {1, 0.0f},    {91, 2.0f},
                                                       {181, 1.0f}, {360, 0.5f}, {361, 0.5f}};
    for (const auto& [count, step] : steps) EXPECT_FLOAT_EQ(MakeScan(0, count).GetAngularStep(), step) << count;

    const CScan scan = MakeScan(0, 181);
    EXPECT_FLOAT_EQ(scan.GetBeamAngle(45), 45.0f);
    const CSensorPoint ahead = scan.GetBeamPoint(90);
    EXPECT_EQ(ahead.GetPoint(), CPoint(0, 100));
    EXPECT_EQ(scan.GetBeamPoint(0).GetPoint(), CPoint(100, 0));
}

TEST(CScanTest, BeamIndexOfAnAngle)
{
    struct Case {
        WORD count;
        float angle;
        int beam;
    };
    const Case cases[] = {
        {361, 180.2f, -1}, {361, -0.1f, -1}, {361, 90.2f, 180}, {361, 0.0f, 0}, {361, 180.0f, 360},
        {181, 90.5f, 91},  {91, 89.0f, 45},  // halves go away from zero
        {360, 180.0f, 359},                  // no beam at 180: the last one
        {0, 90.0f, -1},    {1, 90.0f, -1},   // no step to divide by
    };
    for (const Case& c : cases) EXPECT_EQ(MakeScan(0, c.count).GetBeamIndex(c.angle), c.beam) << c.count << " " << c.angle;
}

TEST(CScanTest, CopiesCarryEverythingAndMarkTheCopy)
{
    CScan scan = MakeScan(4, 5);
    scan.SetFB(3, TRUE);
    scan.SetNormalColor(0x123456);
    scan.SetFlaggedColor(0x654321);
    scan.SetTime(CTime(1000000));
    const std::unique_ptr<CSensorObject> clone = scan.Clone();
    const auto* copy = dynamic_cast<const CScan*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetEvalCase(), 4);
    EXPECT_EQ(copy->GetNormalColor(), 0x123456u);
    EXPECT_EQ(copy->GetFlaggedColor(), 0x654321u);
    EXPECT_EQ(copy->GetBeams().GetWord(3), scan.GetBeams().GetWord(3));
    EXPECT_EQ(copy->GetFBCount(), 1);
    EXPECT_EQ(copy->GetTime(), scan.GetTime());
    EXPECT_EQ(copy->GetModified(), 1);

    CScan assigned;
    assigned = scan;
    assigned = assigned;
    EXPECT_EQ(assigned.GetBeamCount(), 5);
    EXPECT_EQ(assigned.GetFBCount(), 1);
}

// --- archive ---

std::vector<BYTE> Concat(std::initializer_list<std::vector<BYTE>> parts)
{
    std::vector<BYTE> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Type code 4 variant 0, time 1000 (stored + 32400 = 0x00008278), mark 0.
const std::vector<BYTE> kObjectPart = {0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0x78, 0x82, 0x00, 0x00, 0x00, 0x00};
// Version 3, type 13, counts 1/1/1, two words 0xE005 and 0x0010.
const std::vector<BYTE> kBeamPart = {0x03, 0x0D, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00,
                                     0x02, 0x00, 0x05, 0xE0, 0x10, 0x00};

void MakeArchivedScan(CScan& scan)
{
    const WORD words[] = {0xE005, 0x0010};
    scan.SetScanData(kType, words, 2);
    scan.SetEvalCase(2);
    scan.SetNormalColor(0x00112233);
    scan.SetTime(CTime(1000));
    scan.SetModified(0);
}

TEST(CScanTest, ArchiveBytesOfVersionTwo)
{
    CScan scan;
    MakeArchivedScan(scan);
    const std::vector<BYTE> expected = Concat({kObjectPart,
                                               {0x02, 0x33, 0x22, 0x11, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x02, 0x00},
                                               kBeamPart});
    EXPECT_EQ(StoreBytes(scan), expected);

    CScan loaded;
    LoadBytes(loaded, expected);
    EXPECT_EQ(loaded.GetEvalCase(), 2);
    EXPECT_EQ(loaded.GetNormalColor(), 0x00112233u);
    EXPECT_EQ(loaded.GetFlaggedColor(), 0x000000FFu);
    EXPECT_EQ(loaded.GetBeamCount(), 2);
    EXPECT_EQ(loaded.GetFCCount(), 1);
    EXPECT_EQ(loaded.GetDistance(1), 16);
    EXPECT_EQ(loaded.GetTime(), CTime(1000));
}

TEST(CScanTest, VersionOneHasNoCaseAndBadInputIsRefused)
{
    CScan loaded;
    loaded.SetEvalCase(5);
    LoadBytes(loaded, Concat({kObjectPart, {0x01, 0x33, 0x22, 0x11, 0x00, 0xFF, 0x00, 0x00, 0x00}, kBeamPart}));
    EXPECT_EQ(loaded.GetEvalCase(), 0);
    EXPECT_EQ(loaded.GetNormalColor(), 0x00112233u);
    EXPECT_EQ(loaded.CountFlag3(), 1);

    struct Bad {
        const char* what;
        std::vector<BYTE> scanPart;
        int cause;
    };
    const Bad bad[] = {
        {"version 3", {0x03, 0x33, 0x22, 0x11, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x02, 0x00}, CArchiveException::badSchema},
        {"case 7", {0x02, 0x33, 0x22, 0x11, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x07, 0x00}, CArchiveException::badSchema},
        {"short", {0x02, 0x33, 0x22}, CArchiveException::endOfFile},
    };
    for (const Bad& b : bad) {
        CScan untouched = MakeScan(6, 3);
        const std::vector<BYTE> bytes = b.cause == CArchiveException::endOfFile
                                            ? Concat({kObjectPart, b.scanPart})
                                            : Concat({kObjectPart, b.scanPart, kBeamPart});
        EXPECT_EQ(LoadFailure(untouched, bytes), b.cause) << b.what;
        EXPECT_EQ(untouched.GetEvalCase(), 6) << b.what;
        EXPECT_EQ(untouched.GetBeamCount(), 3) << b.what;
    }
}

TEST(CScanTest, HeldByPointerUnderItsClassName)
{
    CScan scan;
    MakeArchivedScan(scan);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(&scan);
        ar.Close();
    }
    const std::vector<BYTE> bytes = file.Detach();
    const std::vector<BYTE> head = {0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00, 'C', 'S', 'c', 'a', 'n'};
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + long(head.size())), head);

    CMemFile input(bytes.data(), UINT(bytes.size()));
    CArchive ar(&input, CArchive::load);
    CObject* object = nullptr;
    ar >> object;
    std::unique_ptr<CObject> owner(object);
    auto* loaded = dynamic_cast<CScan*>(object);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetEvalCase(), 2);
}

// --- drawing ---

// Beams at 0, 60 and 120 degrees, 100 cm; beam 2 carries FA.
std::vector<CString> DrawThreeBeams(bool filled, bool flagged)
{
    CScan scan = MakeScan(6, 3);
    if (flagged) scan.SetFA(2, TRUE);
    CDC dc;
    EXPECT_TRUE(dc.CreateRecordingDC(800, 600));
    dc.ClearRecording();
    if (filled)
        scan.DrawFilled(&dc);
    else
        scan.DrawOutline(&dc);
    return dc.GetRecording();
}

const CString kNormalPen = "SelectObject pen style=6 width=3 color=#00FF00";
const CString kNormalBrush = "SelectObject brush style=0 color=#00FF00";
const CString kFlaggedPen = "SelectObject pen style=6 width=3 color=#FF0000";
const CString kFlaggedBrush = "SelectObject brush style=0 color=#FF0000";
const CString kRestorePen = "SelectObject pen style=0 width=0 color=#000000";
const CString kRestoreBrush = "SelectObject brush style=0 color=#FFFFFF";

TEST(CScanTest, OutlineSegmentsTakeTheColourOfTheBeamTheyEndOn)
{
    const std::vector<CString> expected = {
        "MoveTo L[100,0] D[100,0]",
        kNormalPen, kNormalBrush, "LineTo L[50,87] D[50,87]",
        kFlaggedPen, kFlaggedBrush, "LineTo L[-50,87] D[-50,87]",
        kRestorePen, kRestoreBrush,
    };
    EXPECT_EQ(DrawThreeBeams(false, true), expected);
}

TEST(CScanTest, FilledAreaInTheColourOfTheWholeScan)
{
    for (const bool flagged : {false, true}) {
        const std::vector<CString> expected = {
            flagged ? kFlaggedPen : kNormalPen,
            flagged ? kFlaggedBrush : kNormalBrush,
            "SetPolyFillMode 2",
            "Polygon L[(0,0) (100,0) (50,87) (-50,87)] D[(0,0) (100,0) (50,87) (-50,87)]",
            "SetPolyFillMode 1",
            kRestorePen,
            kRestoreBrush,
        };
        EXPECT_EQ(DrawThreeBeams(true, flagged), expected) << flagged;
    }
}

TEST(CScanTest, AScanWithoutBeamsDrawsNothing)
{
    const CScan scan;
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(800, 600));
    dc.ClearRecording();
    scan.DrawOutline(&dc);
    scan.DrawFilled(&dc);
    scan.DrawHandles(&dc);
    scan.DrawBeams(&dc);
    EXPECT_TRUE(dc.GetRecording().empty());
    EXPECT_FLOAT_EQ(scan.GetAngularStep(), 0.0f);
}

// --- text ---

TEST(CScanTest, BeamTextsByCase)
{
    struct Row {
        int evalCase;
        WORD word;
        const char* text;
    };
    const Row rows[] = {
        {0, 0x807B, "FA      123"}, {0, 0xE07B, "FAFBBL  123"}, {2, 0x607B, "  FBFC  123"},
        {4, 0xC07B, "FAFB  123"},   {6, 0x007B, "    123"},     {3, 0xC07B, "RE(3)  123"},
        {5, 0x807B, "RE(1)  123"},
    };
    for (const Row& row : rows) {
        CScan scan;
        scan.SetEvalCase(row.evalCase);
        scan.SetScanData(kType, &row.word, 1, row.evalCase);
        EXPECT_EQ(scan.FormatBeam(0), row.text) << row.evalCase;
    }
}

class ScanExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/scanexportXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::remove(Path().c_str());
        rmdir(m_dir.c_str());
    }
    std::string Path() const { return m_dir + "/scan.txt"; }
    std::string Contents() const
    {
        std::ifstream file(Path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string m_dir;
};

TEST_F(ScanExportTest, EightItemsToALineAndABlankLineAfterTheScan)
{
    CScan scan = MakeScan(6, 10);
    scan.SetFA(0, TRUE);
    ASSERT_TRUE(scan.ExportText(Path().c_str(), FALSE));
    const std::string line = "      100;";
    const std::string expected = "FA    100;" + line + line + line + line + line + line + "      100\r\n" + line +
                                 "      100\r\n\r\n";
    EXPECT_EQ(Contents(), expected);

    // Created anew: the old text goes.
    ASSERT_TRUE(MakeScan(6, 1).ExportText(Path().c_str(), FALSE));
    EXPECT_EQ(Contents(), "      100\r\n\r\n");
}

TEST_F(ScanExportTest, MarksByCase)
{
    struct Row {
        int evalCase;
        WORD word;
        const char* text;
    };
    const Row rows[] = {
        {0, 0xE005, "BLFAFB5\r\n\r\n"}, {0, 0x2005, "BL    5\r\n\r\n"}, {2, 0xA005, "FCFA  5\r\n\r\n"},
        {4, 0x4005, "  FB  5\r\n\r\n"},  {1, 0xA005, "R0  R25\r\n\r\n"}, {3, 0x4005, "R0    5\r\n\r\n"},
        {5, 0x8005, "R0    5\r\n\r\n"},
    };
    for (const Row& row : rows) {
        CScan scan;
        scan.SetEvalCase(row.evalCase);
        scan.SetScanData(kType, &row.word, 1, row.evalCase);
        ASSERT_TRUE(scan.ExportText(Path().c_str(), FALSE));
        EXPECT_EQ(Contents(), row.text) << row.evalCase;
    }
}

TEST_F(ScanExportTest, AppendingNeedsAnExistingFile)
{
    const CScan scan = MakeScan(6, 2);
    EXPECT_FALSE(scan.ExportText(Path().c_str(), TRUE));
    EXPECT_FALSE(std::ifstream(Path()).good());

    { std::ofstream(Path(), std::ios::binary) << "head\r\n"; }
    ASSERT_TRUE(scan.ExportText(Path().c_str(), TRUE));
    ASSERT_TRUE(scan.ExportText(Path().c_str(), TRUE));
    EXPECT_EQ(Contents(), "head\r\n      100;      100\r\n\r\n      100;      100\r\n\r\n");

    EXPECT_FALSE(scan.ExportText((m_dir + "/missing/scan.txt").c_str(), FALSE));
}

// --- combo box ---

class EvalCaseComboTest : public ::testing::Test {
protected:
    static constexpr int kComboId = 2040;

    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_language.Loaded()) << m_language.Error();
        ASSERT_TRUE(m_dialog.CreateEx(0, nullptr, "cases", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_combo.Create("COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT,
                                   CRect(10, 10, 200, 150), &m_dialog, kComboId));
    }
    void TearDown() override
    {
        m_combo.DestroyWindow();
        m_dialog.DestroyWindow();
    }
    void Exchange(BOOL saving, int& evalCase)
    {
        CDataExchange dx(&m_dialog, saving);
        DDX_EvalCase(&dx, kComboId, evalCase);
    }
    std::vector<std::string> Items()
    {
        std::vector<std::string> items;
        const int count = int(m_combo.SendMessage(CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            m_combo.SendMessage(CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            items.emplace_back(text);
        }
        return items;
    }
    int Selection() { return int(m_combo.SendMessage(CB_GETCURSEL)); }

    LanguageScript m_language{"scan.rc"};
    CWnd m_dialog;
    CWnd m_combo;
};

// Entry i is case i even in a sorting combo; loading twice keeps seven entries; a combo
// holding other entries is refilled; saving takes the index, and no selection keeps the case.
TEST_F(EvalCaseComboTest, EntriesInCaseOrderAndTheSelectedIndexSaved)
{
    const std::vector<std::string> texts = {"FA, FB and BL flags",   "Result value (3 bits)", "FA, FB and FC flags",
                                            "Result value (2 bits)", "FA and FB flags",       "Result value (1 bit)",
                                            "FA flag"};
    m_combo.SendMessage(CB_ADDSTRING, 0, LPARAM("other"));
    int evalCase = 3;
    Exchange(FALSE, evalCase);
    EXPECT_EQ(Items(), texts);
    EXPECT_EQ(Selection(), 3);
    evalCase = 6;
    Exchange(FALSE, evalCase);
    EXPECT_EQ(Items(), texts);
    EXPECT_EQ(Selection(), 6);

    m_combo.SendMessage(CB_SETCURSEL, 4);
    Exchange(TRUE, evalCase);
    EXPECT_EQ(evalCase, 4);
    m_combo.SendMessage(CB_SETCURSEL, WPARAM(-1));
    Exchange(TRUE, evalCase);
    EXPECT_EQ(evalCase, 4);
}

} // namespace
