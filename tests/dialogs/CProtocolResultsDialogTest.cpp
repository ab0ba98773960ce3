// The protocol-results recording: result texts of each kind, start and stop with the
// buttons, polls driven through the timer message, the log file and its failures, the
// contour settings with their refusals.
#include "ShippedLanguage.h"

#include "device/CSensorErrorList.h"
#include "dialogs/CProtocolResultsDialog.h"
#include "dialogs/CProtocolSettingsDialog.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

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
constexpr int IDC_RESULT_VIEW = 2035;
constexpr int IDC_LOG_PATH = 2036;
constexpr int IDC_SETTINGS_SUMMARY = 2037;
constexpr int IDC_SETTINGS_BUTTON = 2062;
constexpr int IDC_DEFAULTS_BUTTON = 2072;
constexpr int IDC_FIRST_ANGLE = 2106;
constexpr int IDC_LAST_ANGLE = 2107;
constexpr int IDC_ANGLE_STEP = 2109;

SensorAnswer TextAnswer(const char* text)
{
    SensorAnswer answer;
    auto bytes = answer.Bytes();
    bytes[AnswerOffset::Command] = 0x90;
    for (std::size_t i = 0; text[i] != 0; ++i) bytes[AnswerOffset::Data + i] = BYTE(text[i]);
    return answer;
}

// A contour whose beam i lies at 100 + i cm; beam 20 carries the first flag.
SensorAnswer ContourAnswer(int count, int declared = -1)
{
    SensorAnswer answer;
    auto bytes = answer.Bytes();
    bytes[AnswerOffset::Command] = 0xB0;
    const int shown = declared < 0 ? count : declared;
    bytes[10] = BYTE(shown);
    bytes[11] = BYTE(shown >> 8);
    for (int i = 0; i < count; ++i) {
        const WORD word = WORD(100 + i) | (i == 20 ? 0x8000 : 0);
        bytes[12 + 2 * std::size_t(i)] = BYTE(word);
        bytes[13 + 2 * std::size_t(i)] = BYTE(word >> 8);
    }
    return answer;
}

SensorAnswer ErrorAnswer(std::initializer_list<std::pair<BYTE, BYTE>> entries, int declared = -1)
{
    SensorAnswer answer;
    auto bytes = answer.Bytes();
    bytes[AnswerOffset::Command] = 0xB2;
    bytes[9] = BYTE(declared < 0 ? int(entries.size()) : declared);
    std::size_t at = 10;
    for (auto [errorClass, code] : entries) {
        bytes[at++] = errorClass;
        bytes[at++] = code;
    }
    return answer;
}

int CountLines(const CString& text, const char* prefix)
{
    std::istringstream lines(text.c_str());
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0) ++count;
    return count;
}

// Replaces the device session by a queue of answers.
class ScriptedProtocolDialog : public CProtocolResultsDialog {
public:
    BOOL StartProtocol() override
    {
        ++starts;
        return startResult;
    }
    void StopProtocol() override { ++stops; }
    BOOL QueryResult(AnswerSpan answer) override
    {
        ++queries;
        if (onQuery) onQuery();
        if (answers.empty()) return FALSE;
        std::ranges::copy(answers.front().Bytes(), answer.begin());
        answers.pop_front();
        return TRUE;
    }
    void Poll() { SendMessage(WM_TIMER, kPollTimer); }
    int TimerInterval() const
    {
        const auto found = m_hWnd->timers.find(kPollTimer);
        return found == m_hWnd->timers.end() ? 0 : found->second.timer->interval();
    }

    BOOL startResult = TRUE;
    int starts = 0;
    int stops = 0;
    int queries = 0;
    std::deque<SensorAnswer> answers;
    std::function<void()> onQuery;
};

class ProtocolResultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        folder = fs::temp_directory_path() / ("protocolresults-" + std::to_string(::getpid()));
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

    // Runs the dialog with the script, which must leave it stopped so that Cancel closes it.
    static void Run(CDialog& dialog, const std::function<void(DialogDriver&)>& script, ScriptedUi& ui)
    {
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            script(driver);
            driver.Click(IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }

    ShippedLanguage language;
    fs::path folder;
    const CTime time{2024, 3, 5, 14, 7, 9};
    const CProtocolResultsDialog::ContourFilter filter{10, 20, 0.5f};
};

TEST_F(ProtocolResultsTest, ResultTextsOfEachKind)
{
    const CString heading = CProtocolResultsDialog::FormatHeading(time);
    EXPECT_STREQ(heading, time.Format("%x") + " - 14:07:09\r\n" + CString('-', 90) + "\r\n\r\n");

    BOOL broken = TRUE;
    EXPECT_STREQ(CProtocolResultsDialog::FormatResult(TextAnswer("Door open").Bytes(), filter, time, broken),
                 heading + "   Door open\r\n\r\n");
    EXPECT_FALSE(broken);
    // An empty text still gives the heading and the blank lines.
    EXPECT_STREQ(CProtocolResultsDialog::FormatResult(TextAnswer("").Bytes(), filter, time, broken),
                 heading + "   \r\n\r\n");

    SensorAnswer other;
    other.Bytes()[AnswerOffset::Command] = 0xA0;
    EXPECT_STREQ(CProtocolResultsDialog::FormatResult(other.Bytes(), filter, time, broken), "");
    EXPECT_FALSE(broken);

    const CString errors =
        CProtocolResultsDialog::FormatResult(ErrorAnswer({{1, 7}, {2, 12}}).Bytes(), filter, time, broken);
    EXPECT_FALSE(broken);
    ASSERT_EQ(errors.Left(heading.GetLength()), heading);
    CSensorErrorList list;
    ASSERT_TRUE(list.Parse(ErrorAnswer({{1, 7}, {2, 12}}).Bytes()));
    EXPECT_STREQ(errors.Mid(heading.GetLength()), "   (ERR07) " + list.GetClassText(0) + "; " + list.GetCodeText(0) +
                                                       "\r\n   (ERR12) " + list.GetClassText(1) + "; " +
                                                       list.GetCodeText(1) + "\r\n\r\n");
}

TEST_F(ProtocolResultsTest, ContourRowsFollowTheAngleFilter)
{
    BOOL broken = TRUE;
    const CString text = CProtocolResultsDialog::FormatResult(ContourAnswer(361).Bytes(), filter, time, broken);
    EXPECT_FALSE(broken);
    const CString table = text.Mid(CProtocolResultsDialog::FormatHeading(time).GetLength());
    EXPECT_EQ(table.Left(language.Text(1161).GetLength() + 2), language.Text(1161) + "\r\n");
    // 10.0 to 20.0 degrees in half degrees: beams 20 to 40.
    std::istringstream lines(table.c_str());
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) rows.push_back(line);
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(rows.front(), "20\t10.0°\t120cm\t118.2cm\t20.8cm\tBL    \r");
    EXPECT_EQ(rows.back().rfind("40\t20.0°\t", 0), 0u);
    EXPECT_EQ(table.Right(6), CString("\r\n\r\n\r\n"));

    // A step of 2 degrees keeps every fourth beam of the range: 10, 12 ... 20 degrees.
    const CString coarse =
        CProtocolResultsDialog::FormatResult(ContourAnswer(361).Bytes(), {10, 20, 2.0f}, time, broken);
    EXPECT_EQ(CountLines(coarse, "2") + CountLines(coarse, "3") + CountLines(coarse, "4"), 6);
    EXPECT_EQ(CountLines(coarse, "24\t12.0°"), 1);
    EXPECT_EQ(CountLines(coarse, "22\t"), 0);

    // Straight ahead the x is a hair below zero: it shows as zero, without a sign.
    const CString ahead =
        CProtocolResultsDialog::FormatResult(ContourAnswer(361).Bytes(), {90, 90, 0.5f}, time, broken);
    EXPECT_EQ(CountLines(ahead, "180\t90.0°\t280cm\t0.0cm\t280.0cm\t"), 1) << ahead;
}

// Counts that do not fit the record are broken telegrams, never read beyond it.
TEST_F(ProtocolResultsTest, OversizedCountsAreBrokenResults)
{
    BOOL broken = FALSE;
    EXPECT_STREQ(CProtocolResultsDialog::FormatResult(ContourAnswer(10, 362).Bytes(), filter, time, broken), "");
    EXPECT_TRUE(broken);
    broken = FALSE;
    EXPECT_STREQ(CProtocolResultsDialog::FormatResult(ContourAnswer(10, 0xFFFF).Bytes(), filter, time, broken), "");
    EXPECT_TRUE(broken);
    broken = FALSE;
    EXPECT_STREQ(CProtocolResultsDialog::FormatResult(ErrorAnswer({}, 49).Bytes(), filter, time, broken), "");
    EXPECT_TRUE(broken);
}

TEST_F(ProtocolResultsTest, StartPollAndStopWithALogFile)
{
    ScriptedUi ui;
    ScriptedProtocolDialog dialog;
    const fs::path log = folder / "results.txt";
    std::ofstream(log, std::ios::binary) << "earlier\r\n";
    dialog.m_strLogPath = log.string().c_str();
    dialog.answers = {TextAnswer("first"), TextAnswer("second")};
    Run(dialog,
        [&](DialogDriver& driver) {
            EXPECT_STREQ(driver.Text(IDOK), "&Start");
            EXPECT_STREQ(driver.Text(IDC_LOG_PATH), log.string().c_str());
            EXPECT_STREQ(driver.Text(IDC_SETTINGS_SUMMARY), "Contour rows from 0° to 180° in steps of 0.5°");

            driver.Click(IDOK);
            EXPECT_TRUE(dialog.IsRunning());
            EXPECT_STREQ(driver.Text(IDOK), "&Stop");
            EXPECT_FALSE(driver.IsEnabled(IDCANCEL));
            EXPECT_FALSE(driver.IsEnabled(IDC_LOG_CHOOSE));
            EXPECT_FALSE(driver.IsEnabled(IDC_SETTINGS_BUTTON));
            EXPECT_EQ(dialog.TimerInterval(), 1000);

            dialog.Poll();
            dialog.Poll();
            // Only the newest result shows.
            EXPECT_EQ(driver.Text(IDC_RESULT_VIEW).Find("first"), -1);
            EXPECT_GE(driver.Text(IDC_RESULT_VIEW).Find("   second\r\n"), 0);
            // Escape does not close a running recording.
            driver.Escape();
            EXPECT_FALSE(dialog.IsEnded());

            driver.Click(IDOK);
            EXPECT_FALSE(dialog.IsRunning());
            EXPECT_EQ(dialog.TimerInterval(), 0);
            EXPECT_STREQ(driver.Text(IDOK), "&Start");
            EXPECT_TRUE(driver.IsEnabled(IDCANCEL));
            EXPECT_TRUE(driver.IsEnabled(IDC_SETTINGS_BUTTON));
        },
        ui);
    EXPECT_EQ(dialog.starts, 1);
    EXPECT_EQ(dialog.stops, 1);
    const std::string text = FileText(log);
    EXPECT_EQ(text.rfind("earlier\r\n", 0), 0u);
    EXPECT_NE(text.find("   first\r\n\r\n"), std::string::npos);
    EXPECT_NE(text.find("   second\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ProtocolResultsTest, FailuresStopTheRecording)
{
    // The session does not start: nothing runs.
    {
        ScriptedUi ui;
        ScriptedProtocolDialog dialog;
        dialog.startResult = FALSE;
        Run(dialog,
            [&](DialogDriver& driver) {
                driver.Click(IDOK);
                EXPECT_FALSE(dialog.IsRunning());
                EXPECT_STREQ(driver.Text(IDOK), "&Start");
                EXPECT_EQ(dialog.TimerInterval(), 0);
            },
            ui);
    }
    // A silent device, then a broken contour: each poll ends the recording, and kinds
    // without text keep it running.
    for (bool silent : {true, false}) {
        ScriptedUi ui;
        ScriptedProtocolDialog dialog;
        SensorAnswer quiet;
        quiet.Bytes()[AnswerOffset::Command] = 0x10;
        dialog.answers = {TextAnswer("kept"), quiet};
        if (!silent) dialog.answers.push_back(ContourAnswer(5, 400));
        Run(dialog,
            [&](DialogDriver& driver) {
                driver.Click(IDOK);
                dialog.Poll();
                dialog.Poll();
                EXPECT_TRUE(dialog.IsRunning());
                dialog.Poll();
                EXPECT_FALSE(dialog.IsRunning()) << silent;
                EXPECT_EQ(dialog.stops, 1);
                EXPECT_GE(driver.Text(IDC_RESULT_VIEW).Find("kept"), 0);
                // A late timer message does nothing once stopped.
                dialog.Poll();
                EXPECT_EQ(dialog.queries, 3);
            },
            ui);
    }
}

// A log file that cannot be made is reported at start; the first result's write then
// fails as well, is reported and stops the recording.
TEST_F(ProtocolResultsTest, UnusableLogFileIsReportedAndStopsAtTheFirstWrite)
{
    ScriptedUi ui;
    ScriptedProtocolDialog dialog;
    dialog.m_strLogPath = (folder / "missing" / "results.txt").string().c_str();
    dialog.answers = {TextAnswer("one"), TextAnswer("two")};
    Run(dialog,
        [&](DialogDriver& driver) {
            driver.Click(IDOK);
            EXPECT_TRUE(dialog.IsRunning());
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            dialog.Poll();
            EXPECT_FALSE(dialog.IsRunning());
            ASSERT_EQ(ui.MessageBoxes().size(), 2u);
            EXPECT_GE(driver.Text(IDC_RESULT_VIEW).Find("one"), 0);
        },
        ui);
    for (const MessageBoxRecord& box : ui.MessageBoxes()) {
        EXPECT_NE(box.text.Find("results.txt"), -1) << box.text;
        EXPECT_EQ(box.flags & MB_ICONEXCLAMATION, UINT(MB_ICONEXCLAMATION));
    }
}

// The re-entry guard: a timer message that arrives during a device exchange is dropped.
TEST_F(ProtocolResultsTest, NestedPollReturnsAtOnce)
{
    ScriptedUi ui;
    ScriptedProtocolDialog dialog;
    dialog.answers = {TextAnswer("a"), TextAnswer("b")};
    dialog.onQuery = [&] { dialog.Poll(); };
    Run(dialog,
        [&](DialogDriver& driver) {
            driver.Click(IDOK);
            dialog.Poll();
            EXPECT_EQ(dialog.queries, 1);
            dialog.onQuery = nullptr;
            dialog.Poll();
            EXPECT_EQ(dialog.queries, 2);
            driver.Click(IDOK);
        },
        ui);
}

TEST_F(ProtocolResultsTest, LogFileChoiceAndContourSettings)
{
    ScriptedUi ui;
    ScriptedProtocolDialog dialog;
    const CString chosen = (folder / "chosen.txt").string().c_str();
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.Click(IDC_LOG_CHOOSE);
        EXPECT_STREQ(driver.Text(IDC_LOG_PATH), chosen);
        driver.Click(IDC_SETTINGS_BUTTON);
        EXPECT_STREQ(driver.Text(IDC_SETTINGS_SUMMARY), "Contour rows from 10° to 20° in steps of 1.5°");
        driver.Click(IDCANCEL);
    });
    ui.QueueModal([&](CWnd& dlg) {
        auto& files = static_cast<CFileDialog&>(dlg);
        EXPECT_FALSE(files.IsOpenDialog());
        EXPECT_STREQ(files.GetDefExt(), "txt");
        EXPECT_EQ(files.m_ofn.Flags, 0x80Cu);
        files.ChooseFile(chosen.c_str());
    });
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver settings(dlg);
        EXPECT_STREQ(settings.Text(IDC_ANGLE_STEP), "0.50 °");
        settings.SetText(IDC_FIRST_ANGLE, "10");
        settings.SetText(IDC_LAST_ANGLE, "20 °");
        settings.SetText(IDC_ANGLE_STEP, "1.5");
        settings.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_STREQ(dialog.m_strLogPath, chosen);
    EXPECT_EQ(dialog.m_nFirstAngle, 10);
    EXPECT_EQ(dialog.m_nLastAngle, 20);
    EXPECT_FLOAT_EQ(dialog.m_fAngleStep, 1.5f);
}

TEST_F(ProtocolResultsTest, SettingsRefuseBadValuesAndRestoreDefaults)
{
    struct Case {
        const char* first;
        const char* last;
        const char* step;
        UINT message;
    };
    for (const Case& c : {Case{"10", "20", "0.7", 447}, Case{"180", "180", "0.5", 61714},
                          Case{"10", "10", "0.5", 61714}, Case{"0", "181", "0.5", 61714},
                          Case{"0", "180", "0", 61715}, Case{"0", "180", "-0.5", 61715}}) {
        ScriptedUi ui;
        CProtocolSettingsDialog dialog;
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            driver.SetText(IDC_FIRST_ANGLE, c.first);
            driver.SetText(IDC_LAST_ANGLE, c.last);
            driver.SetText(IDC_ANGLE_STEP, c.step);
            driver.Ok();
            EXPECT_FALSE(dialog.IsEnded()) << c.step;
            driver.Cancel();
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u) << c.first << " " << c.last << " " << c.step;
        const MessageBoxRecord& box = ui.MessageBoxes().front();
        EXPECT_EQ(box.id != 0 ? box.id : box.helpId, c.message) << c.step;
        EXPECT_EQ(dialog.m_nFirstAngle, 0);
        EXPECT_FLOAT_EQ(dialog.m_fAngleStep, 0.5f);
    }

    ScriptedUi ui;
    CProtocolSettingsDialog dialog;
    dialog.m_nFirstAngle = 30;
    dialog.m_nLastAngle = 40;
    dialog.m_fAngleStep = 2.0f;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_STREQ(driver.Text(IDC_FIRST_ANGLE), "30 °");
        driver.Click(IDC_DEFAULTS_BUTTON);
        EXPECT_STREQ(driver.Text(IDC_FIRST_ANGLE), "0 °");
        EXPECT_STREQ(driver.Text(IDC_LAST_ANGLE), "180 °");
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nLastAngle, 180);
    EXPECT_FLOAT_EQ(dialog.m_fAngleStep, 0.5f);
}

} // namespace
