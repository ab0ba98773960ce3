// The monitor: reading lines for the list and the log, the reading taken from the
// identification record, polls driven through the timer message with lamps, speed texts
// and the 20-line list, the log file, and the interval dialog's range.
#include "ShippedLanguage.h"

#include "dialogs/CMonitorDialog.h"
#include "dialogs/CMonitorIntervalDialog.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CKVRIdentity.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int IDC_LOG_CHOOSE = 2034;
constexpr int IDC_READING_LIST = 2035;
constexpr int IDC_LOG_PATH = 2036;
constexpr int IDC_INTERVAL_BUTTON = 2062;
constexpr int IDC_DEFAULTS_BUTTON = 2072;
constexpr int IDC_INTERVAL = 2108;
constexpr int IDC_SPEED_1 = 2116;
constexpr int IDC_SPEED_2 = 2117;
constexpr int IDC_SPEED_DIFFERENCE = 2118;

CMonitorReading Reading(std::int32_t speed1, std::int32_t speed2, std::uint32_t case1, std::uint32_t case2,
                        const CTime& time)
{
    CMonitorReading reading;
    reading.inputA = 1;
    reading.inputD = 1;
    reading.outputA = 1;
    reading.speed1 = speed1;
    reading.speed2 = speed2;
    reading.case1 = case1;
    reading.case2 = case2;
    reading.time = time;
    return reading;
}

class ScriptedMonitorDialog : public CMonitorDialog {
public:
    BOOL StartMonitor() override
    {
        ++starts;
        return TRUE;
    }
    void StopMonitor() override { ++stops; }
    BOOL QueryMonitor(CMonitorReading& reading) override
    {
        ++queries;
        if (onQuery) onQuery();
        if (readings.empty()) return FALSE;
        reading = readings.front();
        readings.pop_front();
        return TRUE;
    }
    void Poll() { SendMessage(WM_TIMER, kPollTimer); }
    int TimerInterval() const
    {
        const auto found = m_hWnd->timers.find(kPollTimer);
        return found == m_hWnd->timers.end() ? 0 : found->second.timer->interval();
    }

    int starts = 0;
    int stops = 0;
    int queries = 0;
    std::deque<CMonitorReading> readings;
    std::function<void()> onQuery;
};

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        folder = fs::temp_directory_path() / ("monitor-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string FileText(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    CString Stamp() const { return time.Format("%x") + " 09:05:01"; }

    ShippedLanguage language;
    fs::path folder;
    const CTime time{2024, 11, 30, 9, 5, 1};
};

TEST_F(MonitorTest, ListAndLogLines)
{
    struct Case {
        CMonitorReading reading;
        CString list;
        CString log;
    };
    const Case cases[] = {
        {Reading(120, 100, 3, 0, time),
         "Inputs: A(1)  B(0)  C(0)  D(1)\tSpeeds: C(  120)\tD(  100)\tDifference(  20)\tOutputs: A(1)  B(0)\tCases(3) / (-)\t" +
             Stamp(),
         "1\t0\t0\t1\t120\t100\t-20\t1\t0\t3\t-\t" + Stamp() + "\r\n"},
        {Reading(-5, 1000, 0, 15, time),
         "Inputs: A(1)  B(0)  C(0)  D(1)\tSpeeds: C(   -5)\tD( 1000)\tDifference(1005)\tOutputs: A(1)  B(0)\tCases(-) / (15)\t" +
             Stamp(),
         "1\t0\t0\t1\t-5\t1000\t1005\t1\t0\t-\t15\t" + Stamp() + "\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(CMonitorDialog::FormatListLine(c.reading), c.list);
        EXPECT_STREQ(CMonitorDialog::FormatLogLine(c.reading), c.log);
    }
}

TEST_F(MonitorTest, ReadingComesFromTheIdentificationRecord)
{
    std::array<BYTE, CKVRIdentity::kSize> bytes{};
    bytes[25] = 0x4B;         // case 1 = 11, case 2 = 4
    bytes[26] = 0x02 | 0x04;  // output B set, bit 2 ignored
    bytes[27] = 0x05 | 0x10;  // inputs A and C, bit 4 ignored
    bytes[28] = 0x88;         // speed 1 = -120
    bytes[29] = 0xFF;
    bytes[30] = 100;          // speed 2 = 100
    CKVRIdentity identity;
    ASSERT_TRUE(identity.SetData(bytes.data(), bytes.size()));
    CMonitorReading reading;
    CKVRMonitorDialog::FillReading(identity, reading);
    EXPECT_EQ(reading.inputA, 1);
    EXPECT_EQ(reading.inputB, 0);
    EXPECT_EQ(reading.inputC, 1);
    EXPECT_EQ(reading.inputD, 0);
    EXPECT_EQ(reading.outputA, 0);
    EXPECT_EQ(reading.outputB, 1);
    EXPECT_EQ(reading.speed1, -120);
    EXPECT_EQ(reading.speed2, 100);
    EXPECT_EQ(reading.case1, 11u);
    EXPECT_EQ(reading.case2, 4u);
}

TEST_F(MonitorTest, PollsShowLampsSpeedsAndTheLastTwentyReadings)
{
    ScriptedUi ui;
    ScriptedMonitorDialog dialog;
    const fs::path log = folder / "monitor.txt";
    dialog.m_strLogPath = log.string().c_str();
    dialog.m_nInterval = 250;
    for (int i = 0; i < 25; ++i) dialog.readings.push_back(Reading(120, 100 + i, 0, 0, time));
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_STREQ(driver.Text(IDOK), "&Start");
        EXPECT_STREQ(driver.Text(IDC_INTERVAL), "250ms");
        EXPECT_STREQ(driver.Text(IDC_SPEED_1), "");
        EXPECT_EQ(dialog.m_lamps[0].GetImageCount(), 3);

        driver.Click(IDOK);
        EXPECT_TRUE(dialog.IsRunning());
        EXPECT_STREQ(driver.Text(IDOK), "&Stop");
        EXPECT_EQ(dialog.TimerInterval(), 250);
        for (int id : {IDCANCEL, IDC_LOG_CHOOSE, IDC_INTERVAL_BUTTON}) EXPECT_FALSE(driver.IsEnabled(id)) << id;

        for (int i = 0; i < 25; ++i) dialog.Poll();
        EXPECT_EQ(driver.Count(IDC_READING_LIST), 20);
        EXPECT_EQ(driver.Selection(IDC_READING_LIST), 19);
        EXPECT_NE(driver.ItemText(IDC_READING_LIST, 0).Find("D(  105)"), -1);
        EXPECT_NE(driver.ItemText(IDC_READING_LIST, 19).Find("D(  124)"), -1);
        EXPECT_STREQ(driver.Text(IDC_SPEED_1), "120cm/s");
        EXPECT_STREQ(driver.Text(IDC_SPEED_2), "124cm/s");
        EXPECT_STREQ(driver.Text(IDC_SPEED_DIFFERENCE), "4cm/s");
        const int lamps[] = {2, 0, 0, 2, 2, 1};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(dialog.m_lamps[std::size_t(i)].GetState(), lamps[i]) << i;

        driver.Escape();
        EXPECT_FALSE(dialog.IsEnded());
        // The next poll finds no reading: the monitor stops by itself.
        dialog.Poll();
        EXPECT_FALSE(dialog.IsRunning());
        EXPECT_EQ(dialog.TimerInterval(), 0);
        EXPECT_TRUE(driver.IsEnabled(IDCANCEL));
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.stops, 1);
    const std::string text = FileText(log);
    EXPECT_EQ(text.rfind(language.Text(1165).c_str(), 0), 0u);
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);) ++count;
    EXPECT_EQ(count, 26);
    EXPECT_NE(text.find(std::string("1\t0\t0\t1\t120\t124\t4\t1\t0\t-\t-\t") + Stamp().c_str() + "\r\n"),
              std::string::npos);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(MonitorTest, LogFailureStopsAndNestedPollsAreDropped)
{
    ScriptedUi ui;
    ScriptedMonitorDialog dialog;
    dialog.m_strLogPath = (folder / "missing" / "monitor.txt").string().c_str();
    dialog.readings = {Reading(1, 2, 1, 1, time), Reading(1, 2, 1, 1, time)};
    dialog.onQuery = [&] { dialog.Poll(); };
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.Click(IDOK);
        EXPECT_TRUE(dialog.IsRunning());
        ASSERT_EQ(ui.MessageBoxes().size(), 1u); // the file cannot be made; no heading
        dialog.Poll();
        EXPECT_EQ(dialog.queries, 1);
        EXPECT_FALSE(dialog.IsRunning());
        EXPECT_EQ(ui.MessageBoxes().size(), 2u);
        EXPECT_EQ(driver.Count(IDC_READING_LIST), 1);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MonitorTest, IntervalDialogRangeAndDefaults)
{
    struct Case {
        const char* text;
        bool accepted;
        int value;
    };
    for (const Case& c : {Case{"99", false, 0}, Case{"5001 ms", false, 0}, Case{"100", true, 100},
                          Case{"5000ms", true, 5000}}) {
        ScriptedUi ui;
        ScriptedMonitorDialog dialog;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            driver.Click(IDC_INTERVAL_BUTTON);
            if (c.accepted) {
                EXPECT_STREQ(driver.Text(IDC_INTERVAL), std::to_string(c.value).append("ms").c_str());
            }
            driver.Click(IDCANCEL);
        });
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            EXPECT_STREQ(driver.Text(IDC_INTERVAL), "500 ms");
            driver.SetText(IDC_INTERVAL, c.text);
            driver.Ok();
            if (!c.accepted) driver.Cancel();
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.m_nInterval, c.accepted ? c.value : 500) << c.text;
        EXPECT_EQ(ui.MessageBoxes().size(), c.accepted ? 0u : 1u) << c.text;
    }

    ScriptedUi ui;
    CMonitorIntervalDialog dialog;
    dialog.m_nInterval = 2000;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.Click(IDC_DEFAULTS_BUTTON);
        EXPECT_STREQ(driver.Text(IDC_INTERVAL), "500 ms");
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nInterval, 500);
}

TEST_F(MonitorTest, LogFileChoice)
{
    ScriptedUi ui;
    ScriptedMonitorDialog dialog;
    const CString chosen = (folder / "chosen.txt").string().c_str();
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_STREQ(driver.Text(IDC_LOG_PATH), language.Text(1162));
        driver.Click(IDC_LOG_CHOOSE);
        EXPECT_STREQ(driver.Text(IDC_LOG_PATH), chosen);
        driver.Click(IDCANCEL);
    });
    ui.QueueModal([&](CWnd& dlg) {
        auto& files = static_cast<CFileDialog&>(dlg);
        EXPECT_EQ(files.m_ofn.Flags, 0x80Eu);
        EXPECT_STREQ(files.GetDefExt(), "txt");
        files.ChooseFile(chosen.c_str());
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_STREQ(dialog.m_strLogPath, chosen);
}

// The reading list reads as columns: every field of the widest lines ends at least a
// character before the next tab stop, and a whole line fits the list without scrolling.
TEST_F(MonitorTest, ReadingListShowsEachFieldInItsOwnColumn)
{
    ScriptedUi ui;
    ScriptedMonitorDialog dialog;
    ui.QueueModal([&](CWnd& dlg) {
        CExtentListBox& list = dialog.m_listReadings;
        const std::vector<int>& stops = list.GetTabStopPixels();
        const std::vector<CString> lines = CMonitorDialog::WidestListLines();
        ASSERT_FALSE(lines.empty());
        for (const CString& line : lines) {
            const std::vector<int> fields = list.MeasureFields(line);
            ASSERT_EQ(stops.size() + 1, fields.size()) << line.c_str();
            int start = 0;
            for (std::size_t i = 0; i < stops.size(); ++i) {
                EXPECT_GE(stops[i] - (start + fields[i]), 4) << "field " << i << " of " << line.c_str();
                start = stops[i];
            }
            list.AddString(line.c_str());
        }
        CRect client;
        list.GetClientRect(&client);
        EXPECT_LE(list.GetExtent(), client.Width()) << "a reading runs out of sight";
        DialogDriver(dlg).Click(IDCANCEL);
    });
    dialog.DoModal();
}

} // namespace
