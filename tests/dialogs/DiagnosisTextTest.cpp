// The diagnosis report texts, built with marker texts ("<id conversions>") as the
// language library so every line shows which string and values made it.
#include "ShippedLanguage.h"
#include "device/CSensorErrorList.h"
#include "device/SensorHelpers.h"
#include "dialogs/DiagnosisText.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "model/CKVRIdentity.h"
#include "model/CZOKIdentity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The conversions each string carries; the rest are plain markers.
const std::vector<std::pair<int, const char*>> kFormats = {
    {892, "%4u %4u"},  {1015, "%d"},      {1017, "%d %d"},    {1065, "%s"},      {1066, "%s"},
    {1077, "%4u %4u"}, {1078, "%4u %4u"}, {1079, "%4u %4u"},  {1080, "%4u %4u"}, {1081, "%4u %4u"},
    {1082, "%4u %4u"}, {1083, "%4u %4u"}, {1084, "%4u %4u"},  {1085, "%5u"},     {1086, "%5u"},
    {1087, "%u %3u"},  {1088, "%3u %3u"}, {1089, "%3u"},      {1090, "%3u %4u"}, {1091, "%3u %4u"},
    {1094, "%4u %4u"}, {1095, "%4u %4u"}, {1096, "%4u %4u"},  {1097, "%4u"},     {1098, "%4.0f %4.0f"},
    {1099, "%4.0f %4.0f"}, {1100, "%2.4f"}, {1105, "%2u %2u"}, {1106, "%2u %2u"}, {1107, "%2u %2u"},
    {1108, "%2u %2u"}, {1110, "%5d %5d"}, {1112, "%4.0f"},    {1113, "%2u"},     {1114, "%3u %3u"},
    {1115, "%3u"},     {1215, "%d"}};
const std::vector<int> kPlain = {1013, 1014, 1016, 1018, 1019, 1036, 1037, 1045, 1046, 1047, 1072,
                                 1102, 1103, 1104, 1111, 1216, 1217};

class MarkerTexts {
public:
    MarkerTexts()
    {
        std::string script = "STRINGTABLE\nBEGIN\n";
        for (const auto& [id, format] : kFormats)
            script += "    " + std::to_string(id) + " \"<" + std::to_string(id) + " " + format + ">\"\n";
        for (int id : kPlain)
            script += "    " + std::to_string(id) + " \"<" + std::to_string(id) + ">\"\n";
        script += "END\n";
        m_module = CreateResourceModule("markers.rc", script, nullptr, m_error);
        m_previous = AfxGetResourceHandle();
        if (m_module) AfxSetResourceHandle(m_module);
    }
    ~MarkerTexts()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
    std::string m_error;
};

template <class Record>
Record MakeRecord(const std::vector<std::pair<int, int>>& bytes, const char* identification = "",
                  const char* name = "")
{
    std::array<BYTE, Record::kSize> data{};
    data[8] = data[9] = 0xFF;
    std::memcpy(data.data(), identification, std::min<std::size_t>(8, std::strlen(identification)));
    std::memcpy(data.data() + 10, name, std::min<std::size_t>(9, std::strlen(name)));
    for (const auto& [offset, value] : bytes) data[std::size_t(offset)] = BYTE(value);
    Record record;
    record.SetData(data.data(), data.size());
    return record;
}

void SetWord(std::vector<std::pair<int, int>>& bytes, int offset, int value)
{
    bytes.emplace_back(offset, value & 0xFF);
    bytes.emplace_back(offset + 1, (value >> 8) & 0xFF);
}

CSensorErrorList Errors(std::initializer_list<std::pair<int, int>> entries, bool kvr = false)
{
    std::array<BYTE, kAnswerRecordSize> answer{};
    answer[7] = kvr ? 0x08 : 0x00;
    answer[9] = BYTE(entries.size());
    std::size_t at = 10;
    for (const auto& [cls, code] : entries) {
        answer[at++] = BYTE(cls);
        answer[at++] = BYTE(code);
    }
    CSensorErrorList list;
    EXPECT_TRUE(list.Parse(answer));
    return list;
}

std::vector<std::string> Lines(const CString& text)
{
    std::vector<std::string> lines;
    const std::string all = text.c_str();
    std::size_t start = 0;
    for (std::size_t end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(all.substr(start, end - start));
    EXPECT_EQ(start, all.size()) << "text after the last line end";
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const std::string kStars(80, '*');
const std::string kDashes(80, '-');

class DiagnosisTextTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(texts.Loaded()) << texts.Error(); }
    MarkerTexts texts;
    DiagnosisTextOptions noStatistics{"01.02.2026 - 10:11:12", false};
};

TEST_F(DiagnosisTextTest, ErrorListNamesEachEntryAndEndsWithTheClosingText)
{
    const CString text = ErrorListText(Errors({{1, 7}, {2, 42}}));
    const std::string expected = "(ERR07) " + std::string(SensorText(3, 1, 0).c_str()) + "! " +
                                 DeviceErrorText(0, 7).c_str() + "\r\n(ERR42) " + SensorText(3, 2, 0).c_str() +
                                 "! " + DeviceErrorText(0, 42).c_str() + "\r\n\r\n<1102>";
    EXPECT_EQ(std::string(text.c_str()), expected);
}

// A scanner report of its own: the time stamp replaces what was there; without errors
// the state text stands in for the list; the choice bytes pick their strings.
TEST_F(DiagnosisTextTest, ScannerReportWithoutErrorsShowsTheState)
{
    std::vector<std::pair<int, int>> bytes = {{8, 3}, {9, 5}, {19, 1}, {20, 1}, {23, 0}, {24, 2}, {25, 3}, {29, 0}};
    SetWord(bytes, 21, 2000); // 10 s restart delay
    const auto identity = MakeRecord<CZOKIdentity>(bytes, "03.05", "SCANNER1");
    CString text = "old report";
    ZOKText(identity, Errors({}), text, false, noStatistics);
    const std::vector<std::string> expected = {
        "01.02.2026 - 10:11:12", kStars, "<1066 03.05>", "<1065 SCANNER1>", kStars,
        std::string("<1072>") + SensorText(3, 5, 0).c_str(), kStars, SensorText(1, 3, 0).c_str(), "<1014>",
        "<1016>", "<1017 4 160>", "<1215 10>", "<1019>", "<1047>", SensorText(21, 0, 0).c_str(),
        SensorText(25, 0, 0).c_str(), kStars};
    EXPECT_EQ(Lines(text), expected);
}

// The variant line and the class 28/29 texts (three lines) appear only inside the
// firmware windows.
TEST_F(DiagnosisTextTest, FirmwareWindowsGateTheVariantLines)
{
    const struct {
        const char* version;
        bool shown;
    } cases[] = {{"03.05", false}, {"03.06", true}, {"04.05", false}, {"04.06", true}, {"15.99", true}, {"16.00", false}};
    for (const auto& c : cases) {
        const auto identity = MakeRecord<CZOKIdentity>({{30, 1}, {31, 4}, {32, 6}}, c.version);
        CString text;
        ZOKText(identity, Errors({}), text, false, noStatistics);
        const auto lines = Lines(text);
        EXPECT_EQ(Contains(lines, "<1037>"), c.shown) << c.version;
        EXPECT_EQ(lines.size(), c.shown ? 20u : 17u) << c.version;
    }
}

// Inside a KVR report the section is appended and leaves out the time stamp and the
// lines the unit's section already gives.
TEST_F(DiagnosisTextTest, ScannerSectionInsideAKVRReportIsAppendedAndShorter)
{
    const auto identity = MakeRecord<CZOKIdentity>({{29, 2}}, "04.06", "S2");
    CString text = "head\r\n";
    ZOKText(identity, Errors({{1, 9}}), text, true, noStatistics);
    const auto lines = Lines(text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "head");
    EXPECT_EQ(lines[1], kStars);
    EXPECT_TRUE(Contains(lines, "<1015 2>"));
    EXPECT_TRUE(Contains(lines, "<1102>"));
    for (const char* absent : {"<1017", "<1215", "<1217", "<1019>", "<1045>", "01.02.2026"})
        for (const auto& line : lines) EXPECT_EQ(line.find(absent), std::string::npos) << absent;
}

// The statistics of a real device, with the quotients in double precision; a zero
// divisor shows "-" instead of a number and never fails.
TEST_F(DiagnosisTextTest, StatisticsComputeTheQuotientsAndShowDashesForZeroDivisors)
{
    std::vector<std::pair<int, int>> bytes;
    SetWord(bytes, 33 + 0, 50);   // array 33 words 0, 2, 4, 6
    SetWord(bytes, 33 + 4, 100);
    SetWord(bytes, 33 + 8, 150);
    SetWord(bytes, 33 + 12, 200);
    SetWord(bytes, 49 + 0, 300);  // array 49 words 0 and 2
    SetWord(bytes, 49 + 4, 500);
    SetWord(bytes, 113 + 0, 100); // array 113 words 0 and 2: a = 3, b = 5, mean = 4
    SetWord(bytes, 113 + 4, 100);
    for (int k = 0; k < 8; k += 2) SetWord(bytes, 97 + 2 * k, 100);
    SetWord(bytes, 57, 10);
    SetWord(bytes, 59, 4096);
    SetWord(bytes, 61, 7);
    SetWord(bytes, 67, 9);
    SetWord(bytes, 77, 30);
    SetWord(bytes, 123, 120);
    CString text;
    ZOKText(MakeRecord<CZOKIdentity>(bytes), Errors({}), text, false, DiagnosisTextOptions{"t", true});
    auto lines = Lines(text);
    EXPECT_TRUE(Contains(lines, "<1087 1   7><1088   0   0>"));
    EXPECT_TRUE(Contains(lines, "<1087 2   9><1088   0   0>"));
    EXPECT_TRUE(Contains(lines, "<1098   12   25><1099   38   50>"));
    EXPECT_TRUE(Contains(lines, "<1100 4.0000>"));
    EXPECT_TRUE(Contains(lines, "<1085   900>"));
    EXPECT_TRUE(Contains(lines, "<1086   256>"));
    EXPECT_TRUE(Contains(lines, "<1112   25>"));
    EXPECT_TRUE(Contains(lines, kDashes));
    EXPECT_EQ(lines.back(), kStars);

    CString zeros;
    ZOKText(MakeRecord<CZOKIdentity>({}), Errors({}), zeros, false, DiagnosisTextOptions{"t", true});
    lines = Lines(zeros);
    EXPECT_TRUE(Contains(lines, "<1098    -    -><1099    -    ->"));
    EXPECT_TRUE(Contains(lines, "<1100  ->"));
    EXPECT_TRUE(Contains(lines, "<1086     ->"));
    EXPECT_TRUE(Contains(lines, "<1112    ->"));
    for (const auto& line : lines) {
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
    }

    CString simulated;
    ZOKText(MakeRecord<CZOKIdentity>(bytes), Errors({}), simulated, false, noStatistics);
    EXPECT_EQ(std::string(simulated.c_str()).find("<1077"), std::string::npos);
}

// The shipped text names each window by its number.
TEST(DiagnosisShippedTextTest, WindowLinesNameTheirWindow)
{
    ShippedLanguage language;
    ASSERT_TRUE(language.Loaded()) << language.Error();
    CString text;
    ZOKText(MakeRecord<CZOKIdentity>({}), Errors({}), text, false, DiagnosisTextOptions{"t", true});
    int windows = 0;
    for (const std::string& line : Lines(text))
        if (line.rfind("Window ", 0) == 0) EXPECT_EQ(line.substr(0, 9), "Window " + std::to_string(++windows) + ":");
    EXPECT_EQ(windows, 2);
}

TEST_F(DiagnosisTextTest, KVRReportShowsBitsNibblesAndSignedSpeeds)
{
    std::vector<std::pair<int, int>> bytes = {{8, 2}, {19, 3}, {22, 4}, {23, 0}, {24, 5}, {25, 0x21},
                                              {26, 0x05}, {27, 0x0A}, {32, 1}};
    SetWord(bytes, 20, 7);
    SetWord(bytes, 28, -20);
    SetWord(bytes, 30, 35);
    CString text = "old";
    KVRText(MakeRecord<CKVRIdentity>(bytes, "KVR01", "UNIT"), Errors({{3, 4}}, true), text, noStatistics);
    const auto lines = Lines(text);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "01.02.2026 - 10:11:12");
    EXPECT_EQ(lines[2], "<1066 KVR01>");
    EXPECT_EQ(lines[5], "(ERR04) " + std::string(SensorText(3, 3, 0).c_str()) + "! " + DeviceErrorText(1, 4).c_str());
    for (const char* line : {"<1016>", "<1114   1   2>", "<1115   3>", "<1103>", "<1107  0  1><1108  0  1>", "<1111>",
                             "<1110   -20    35>", "<1104>", "<1105  1  1>", "<1106  0  0>", "<1113  1>"})
        EXPECT_TRUE(Contains(lines, line)) << line;
    EXPECT_EQ(lines.back(), kStars);
}

// The pages split the lines; each page starts one line from the top, and the page and
// document calls are left to the print loop.
TEST(DiagnosisPrintTest, PagesSplitTheLinesAndLeaveThePageCallsToTheLoop)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(800, 300, 300, 300, TRUE));
    TEXTMETRIC metrics{};
    ASSERT_TRUE(dc.GetTextMetrics(&metrics));
    const int height = metrics.tmHeight + metrics.tmExternalLeading;
    const int perPage = DiagnosisLinesPerPage(&dc);
    ASSERT_EQ(perPage, std::max(1, 300 / height - 2));

    CString text;
    for (int i = 0; i < perPage + 2; ++i) text.AppendFormat("line %d\r\n", i);
    text += "rest";
    EXPECT_EQ(DiagnosisPageCount(&dc, text), 2);
    EXPECT_EQ(DiagnosisPageCount(&dc, ""), 1);

    dc.ClearRecording();
    PrintDiagnosisPage(&dc, text, 2);
    const std::vector<CString> calls = dc.GetRecording();
    ASSERT_EQ(calls.size(), 3u);
    CString first;
    first.Format("TextOut L[%d,%d]", int(metrics.tmAveCharWidth), height);
    EXPECT_EQ(calls[0].Find(first.c_str()), 0) << calls[0].c_str();
    CString firstText;
    firstText.Format("\"line %d\"", perPage);
    EXPECT_GT(calls[0].Find(firstText.c_str()), 0) << calls[0].c_str();
    EXPECT_GT(calls[2].Find("\"rest\""), 0) << calls[2].c_str();
}

} // namespace
