#include "app/settings/CTalisoSetup.h"

#include "device/TestIniFile.h"
#include "framework/core/Profile.h"
#include "framework/ui/CWinApp.h"
#include "model/DistanceUnit.h"
#include "model/settings/ViewMetricSetting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::string FileText(const char* path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Each integer key with its default, an in-range other value and that value's INI text.
struct IntKey {
    const char* key;
    int CTalisoSetup::*member;
    int defaultValue;
    int otherValue;
};

const IntKey kIntKeys[] = {
    {"ShelterSize", &CTalisoSetup::m_nShelterSize, 91, 181},
    {"MarkerSizeUnits", &CTalisoSetup::m_nMarkerSizeUnits, 10, 20},
    {"MaxViewSize", &CTalisoSetup::m_nMaxViewSize, 5000, 12000},
    {"RectGrid", &CTalisoSetup::m_nRectGrid, 100, 250},
    {"RadiusGrid", &CTalisoSetup::m_nRadiusGrid, 100, 3},
    {"AngleGrid", &CTalisoSetup::m_nAngleGrid, 10, 180},
    {"ViewRectGrid", &CTalisoSetup::m_bViewRectGrid, 1, 0},
    {"ViewMetric", &CTalisoSetup::m_bViewMetric, 1, 0},
    {"ViewLineScan", &CTalisoSetup::m_bViewLineScan, 1, 0},
    {"ViewGrid", &CTalisoSetup::m_bViewGrid, 1, 0},
    {"ViewLabels", &CTalisoSetup::m_bViewLabels, 1, 0},
    {"ViewAngle", &CTalisoSetup::m_bViewAngle, 1, 0},
    {"ViewMaximize", &CTalisoSetup::m_bViewMaximize, 1, 0},
    {"DrawOnScreen", &CTalisoSetup::m_bDrawOnScreen, 0, 1},
    {"ViewEditScan", &CTalisoSetup::m_bViewEditScan, 1, 0},
    {"EditScanInterval", &CTalisoSetup::m_nEditScanInterval, 30, 65},
    {"ScanMode", &CTalisoSetup::m_nScanMode, 0, 2},
    {"ScanDivisor", &CTalisoSetup::m_nScanDivisor, 1, 3},
    {"ScanAverage", &CTalisoSetup::m_nScanAverage, 125, 7},
    {"ScanPartFrom", &CTalisoSetup::m_nScanPartFrom, 1, 20},
    {"ScanPartTo", &CTalisoSetup::m_nScanPartTo, 401, 300},
    {"TimerProg", &CTalisoSetup::m_nTimerProg, 250, 100},
    {"TimerScan", &CTalisoSetup::m_nTimerScan, 500, 1000},
};

struct ColorKey {
    const char* key;
    COLORREF CTalisoSetup::*member;
    COLORREF defaultValue;
    const char* defaultText;
};

const ColorKey kColorKeys[] = {
    {"NormalScan", &CTalisoSetup::m_crNormalScan, 0x00FF00, "0,255,0"},
    {"DamageScan", &CTalisoSetup::m_crDamageScan, 0x0000FF, "255,0,0"},
    {"ShelterA", &CTalisoSetup::m_crShelterA, 0xFFFF00, "0,255,255"},
    {"ShelterB", &CTalisoSetup::m_crShelterB, 0xFF0000, "0,0,255"},
    {"ShelterC", &CTalisoSetup::m_crShelterC, 0x800080, "128,0,128"},
    {"Marker", &CTalisoSetup::m_crMarker, 0x80FFFF, "255,255,128"},
    {"Grid", &CTalisoSetup::m_crGrid, 0x808080, "128,128,128"},
    {"Label", &CTalisoSetup::m_crLabel, 0xC0C0C0, "192,192,192"},
};

void ExpectDefaults(const CTalisoSetup& setup)
{
    for (const IntKey& key : kIntKeys) EXPECT_EQ(setup.*key.member, key.defaultValue) << key.key;
    for (const ColorKey& key : kColorKeys) EXPECT_EQ(setup.*key.member, key.defaultValue) << key.key;
}

TEST(CTalisoSetupTest, MissingFileGivesTheDefaultsAndSavingWritesEveryKeyInOrder)
{
    TestIniFile ini("");
    std::remove(ini.Path());
    CTalisoSetup setup;
    setup.m_nRectGrid = 999; // Load must replace it
    setup.Load(ini.Path());
    ExpectDefaults(setup);
    EXPECT_TRUE(setup.IsLoaded());

    ASSERT_TRUE(setup.Save(ini.Path()));
    std::string expected = "[Settings]\n";
    for (const IntKey& key : kIntKeys) {
        if (std::string(key.key) == "TimerProg") break;
        expected += std::string(key.key) + "=" + std::to_string(key.defaultValue) + "\n";
    }
    expected += "TimerProg=250\nTimerScan=500\n";
    std::string colors = "[Colors]\n";
    for (const ColorKey& key : kColorKeys) colors += std::string(key.key) + "=" + key.defaultText + "\n";
    // The timers come last and join the section that already exists.
    const std::string text = FileText(ini.Path());
    EXPECT_NE(text.find(expected), std::string::npos) << text;
    EXPECT_NE(text.find(colors), std::string::npos) << text;
    EXPECT_LT(text.find("[Settings]"), text.find("[Colors]"));
}

TEST(CTalisoSetupTest, EveryKeyRoundTripsThroughTheFile)
{
    TestIniFile ini("");
    CTalisoSetup written;
    for (const IntKey& key : kIntKeys) written.*key.member = key.otherValue;
    COLORREF color = RGB(1, 2, 3);
    for (const ColorKey& key : kColorKeys) {
        written.*key.member = color;
        color += 0x010101;
    }
    ASSERT_TRUE(written.Save(ini.Path()));

    for (const IntKey& key : kIntKeys)
        EXPECT_EQ(ini.Value("Settings", key.key), CString(std::to_string(key.otherValue).c_str())) << key.key;
    EXPECT_EQ(ini.Value("Colors", "NormalScan"), "1,2,3");
    EXPECT_EQ(ini.Value("Colors", "Label"), "8,9,10");

    CTalisoSetup read;
    read.Load(ini.Path());
    for (const IntKey& key : kIntKeys) EXPECT_EQ(read.*key.member, key.otherValue) << key.key;
    for (const ColorKey& key : kColorKeys) EXPECT_EQ(read.*key.member, written.*key.member) << key.key;
}

TEST(CTalisoSetupTest, SaveFailsWhenTheFileCannotBeWritten)
{
    const CTalisoSetup setup;
    EXPECT_FALSE(setup.Save("/nonexistent-folder/Taliso.INI"));
}

// A value that is no number, or lies outside the range of its setting, keeps the default.
TEST(CTalisoSetupTest, BadOrOutOfRangeIntegersGiveTheirDefault)
{
    struct Case {
        const char* key;
        const char* text;
        int CTalisoSetup::*member;
        int expected;
    } const cases[] = {
        {"RectGrid", "abc", &CTalisoSetup::m_nRectGrid, 100},
        {"RectGrid", "12abc", &CTalisoSetup::m_nRectGrid, 100},
        {"RectGrid", " 300 ", &CTalisoSetup::m_nRectGrid, 300},
        {"RectGrid", "2", &CTalisoSetup::m_nRectGrid, 100},
        {"RectGrid", "5001", &CTalisoSetup::m_nRectGrid, 100},
        {"RadiusGrid", "-100", &CTalisoSetup::m_nRadiusGrid, 100},
        {"AngleGrid", "0", &CTalisoSetup::m_nAngleGrid, 10},
        {"AngleGrid", "181", &CTalisoSetup::m_nAngleGrid, 10},
        {"MaxViewSize", "99999999999", &CTalisoSetup::m_nMaxViewSize, 5000},
        {"MaxViewSize", "15000", &CTalisoSetup::m_nMaxViewSize, 15000},
        {"MarkerSizeUnits", "1", &CTalisoSetup::m_nMarkerSizeUnits, 10},
        {"ViewMetric", "2", &CTalisoSetup::m_bViewMetric, 1},
        {"ViewGrid", "-1", &CTalisoSetup::m_bViewGrid, 1},
        {"EditScanInterval", "4", &CTalisoSetup::m_nEditScanInterval, 30},
        {"ScanMode", "3", &CTalisoSetup::m_nScanMode, 0},
        {"ScanDivisor", "0", &CTalisoSetup::m_nScanDivisor, 1},
        {"ScanDivisor", "3", &CTalisoSetup::m_nScanDivisor, 3},
        {"ScanAverage", "0x10", &CTalisoSetup::m_nScanAverage, 16},
        {"TimerProg", "0", &CTalisoSetup::m_nTimerProg, 250},
        {"TimerProg", "-250", &CTalisoSetup::m_nTimerProg, 250},
        {"TimerScan", "9", &CTalisoSetup::m_nTimerScan, 500},
        {"TimerScan", "", &CTalisoSetup::m_nTimerScan, 500},
    };
    for (const Case& c : cases) {
        TestIniFile ini(std::string("[Settings]\n") + c.key + "=" + c.text + "\n");
        CTalisoSetup setup;
        setup.Load(ini.Path());
        EXPECT_EQ(setup.*c.member, c.expected) << c.key << "=" << c.text;
    }
}

TEST(CTalisoSetupTest, PartialScanWithItsEndsSwappedGetsTheDefaultRange)
{
    TestIniFile ini("[Settings]\nScanPartFrom=300\nScanPartTo=200\n");
    CTalisoSetup setup;
    setup.Load(ini.Path());
    EXPECT_EQ(setup.m_nScanPartFrom, 1);
    EXPECT_EQ(setup.m_nScanPartTo, 401);
}

TEST(CTalisoSetupTest, ColoursAreReadAsRedGreenBlueNumbers)
{
    const struct {
        const char* text;
        COLORREF expected;
    } cases[] = {
        {"255", RGB(255, 0, 0)},
        {"1,2,3", RGB(1, 2, 3)},
        {"10, 20, 30", RGB(10, 20, 30)},
        {"10 ,20,30", RGB(10, 0, 0)},
        {"256,-1,0x10", RGB(0, 255, 16)},
        {"010,0,0", RGB(8, 0, 0)},
        {"1,2,3,4", RGB(1, 2, 3)},
        {"7,x,9", RGB(7, 0, 0)},
        {"", 0x808080},
        {"grey", 0x808080},
        {",1,2", 0x808080},
        {"99999999999,1,1", 0x808080},
    };
    for (const auto& c : cases) {
        TestIniFile ini(std::string("[Colors]\nGrid=") + c.text + "\n");
        CTalisoSetup setup;
        setup.Load(ini.Path());
        EXPECT_EQ(setup.m_crGrid, c.expected) << '"' << c.text << '"';
    }
}

TEST(CTalisoSetupTest, LoadAndSaveKeepTheOtherLinesOfTheFile)
{
    TestIniFile ini("; the program's settings\n[SETUP]\nPort=2\n[Settings]\nCalcMode=2\nRectGrid=oops\n"
                    "[DIRECTORY]\nConfigurations=/home/user\n");
    CTalisoSetup setup;
    setup.Load(ini.Path());
    EXPECT_EQ(setup.m_nRectGrid, 100);
    ASSERT_TRUE(setup.Save(ini.Path()));
    const std::string text = FileText(ini.Path());
    EXPECT_NE(text.find("; the program's settings"), std::string::npos);
    EXPECT_EQ(ini.Value("SETUP", "Port"), "2");
    EXPECT_EQ(ini.Value("Settings", "CalcMode"), "2");
    EXPECT_EQ(ini.Value("Settings", "RectGrid"), "100");
    EXPECT_EQ(ini.Value("DIRECTORY", "Configurations"), "/home/user");
}

// A save reaches the file as a whole: a reader never sees some keys of one save
// and some of another.
TEST(CTalisoSetupTest, AReaderSeesEachSaveWholeOrNotAtAll)
{
    TestIniFile ini("");
    CTalisoSetup defaults, others;
    for (const IntKey& key : kIntKeys) others.*key.member = key.otherValue;
    ASSERT_TRUE(defaults.Save(ini.Path()));

    std::atomic<bool> saving{true};
    std::atomic<int> mixed{0};
    std::thread reader([&] {
        while (saving) {
            CTalisoSetup seen;
            seen.Load(ini.Path());
            int fromDefaults = 0, fromOthers = 0;
            for (const IntKey& key : kIntKeys) {
                fromDefaults += seen.*key.member == key.defaultValue;
                fromOthers += seen.*key.member == key.otherValue;
            }
            const int count = int(std::size(kIntKeys));
            if (fromDefaults != count && fromOthers != count) ++mixed;
        }
    });
    bool saved = true;
    for (int i = 0; i < 20; ++i) saved = saved && (i % 2 ? defaults : others).Save(ini.Path());
    saving = false;
    reader.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ(mixed, 0);
}

TEST(CTalisoSetupTest, CopiesTakeEverySettingButNotTheLoadedMark)
{
    TestIniFile ini("");
    CTalisoSetup loaded;
    loaded.Load(ini.Path());
    for (const IntKey& key : kIntKeys) loaded.*key.member = key.otherValue;
    for (const ColorKey& key : kColorKeys) loaded.*key.member = RGB(9, 8, 7);

    const CTalisoSetup copy(loaded);
    CTalisoSetup assigned;
    assigned = loaded;
    for (const CTalisoSetup* target : {&copy, static_cast<const CTalisoSetup*>(&assigned)}) {
        for (const IntKey& key : kIntKeys) EXPECT_EQ(target->*key.member, key.otherValue) << key.key;
        for (const ColorKey& key : kColorKeys) EXPECT_EQ(target->*key.member, RGB(9, 8, 7)) << key.key;
        EXPECT_FALSE(target->IsLoaded());
    }
    // Assigning an edited copy back keeps the loaded object loaded.
    loaded = assigned;
    EXPECT_TRUE(loaded.IsLoaded());
    const CTalisoSetup& self = loaded;
    loaded = self;
    EXPECT_EQ(loaded.m_nMaxViewSize, 12000);

    loaded.SetDefaults();
    ExpectDefaults(loaded);
}

TEST(CTalisoSetupTest, FieldColoursByKind)
{
    CTalisoSetup setup;
    setup.m_crShelterA = RGB(1, 0, 0);
    setup.m_crShelterB = RGB(2, 0, 0);
    setup.m_crShelterC = RGB(3, 0, 0);
    EXPECT_EQ(setup.GetFieldColor(0), RGB(1, 0, 0));
    EXPECT_EQ(setup.GetFieldColor(1), RGB(2, 0, 0));
    EXPECT_EQ(setup.GetFieldColor(2), RGB(3, 0, 0));
    EXPECT_EQ(setup.GetFieldColor(3), COLORREF(0xC0C0C0));
    EXPECT_EQ(setup.GetFieldColor(-1), COLORREF(0xC0C0C0));
}

TEST(CTalisoSetupTest, ViewRangesAndGridsInTheDistanceUnits)
{
    const struct {
        int maxViewSize;
        int grid;
        int unit;
        int maxRange;
        int gridInUnit;
        int minRange;
        int zoomStep;
    } cases[] = {
        {5000, 100, kUnitCm, 5000, 100, 10, 100},
        {9000, 5000, kUnitCm, 8192, 5000, 10, 100},
        {5000, 100, kUnitDm, 500, 10, 1, 10},
        {15000, 5000, kUnitDm, 1500, 500, 1, 10},
        {5000, 5000, kUnitMm, 32767, 32767, 100, 100},
        {100, 3, kUnitMm, 1000, 30, 100, 100},
        {100, 5, kUnitDm, 10, 1, 1, 10}, // 0.5 dm rounds away from zero
    };
    for (const auto& c : cases) {
        CTalisoSetup setup;
        setup.m_nMaxViewSize = c.maxViewSize;
        setup.m_nRectGrid = c.grid;
        setup.m_nRadiusGrid = c.grid;
        EXPECT_EQ(setup.GetMaxViewRange(c.unit), c.maxRange) << c.maxViewSize << " in unit " << c.unit;
        EXPECT_EQ(setup.GetRectGrid(c.unit), c.gridInUnit) << c.grid << " in unit " << c.unit;
        EXPECT_EQ(setup.GetRadiusGrid(c.unit), c.gridInUnit) << c.grid << " in unit " << c.unit;
        EXPECT_EQ(CTalisoSetup::GetMinViewRange(c.unit), c.minRange);
        EXPECT_EQ(CTalisoSetup::GetZoomStep(c.unit), c.zoomStep);
    }
}

// The inch switch of the size dialogs reads the program's one settings object once it is
// loaded, and the INI file before. Start-up tests load that object; every test starts
// with it never loaded, as in a fresh process.
TEST(CTalisoSetupTest, ViewMetricComesFromTheLoadedGlobalSettings)
{
    CWinApp app("Taliso");
    TestIniFile ini("[Settings]\nViewMetric=0\n");
    app.SetProfileName(ini.Path());
    EXPECT_EQ(ReadViewMetric(), 0);

    CTalisoSetup& global = GetTalisoSetup();
    EXPECT_EQ(&global, &GetTalisoSetup());
    ASSERT_FALSE(global.IsLoaded());
    global.Load(ini.Path());
    EXPECT_TRUE(IsInchDisplay());
    // The options sheet assigns its copy back: that counts before anything is saved.
    CTalisoSetup edited(global);
    edited.m_bViewMetric = 1;
    global = edited;
    EXPECT_EQ(ReadViewMetric(), 1);
    EXPECT_FALSE(IsInchDisplay());
    EXPECT_EQ(ini.Value("Settings", "ViewMetric"), "0");
}

} // namespace
