// The readable texts of the longer device answers, with marker language texts and
// driver texts "T<class>:<code>".
#include "diagnose/internal/AnswerFormatting.h"
#include "diagnose/DiagnoseFixture.h"
#include "diagnose/internal/DiagnoseTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const std::string kMarkers = DiagnoseTexts::MarkerScript(
    {{546, 0}, {555, 1}, {562, 0}, {563, 0}, {564, 0}, {565, 0}, {566, 0}, {543, 1}, {1557, 0}, {1605, 0}});

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class AnswerFormatting : public ::testing::Test {
protected:
    DiagnoseTexts texts{kMarkers};
    FakeLine line;
    SensorAnswer answer;
};

TEST_F(AnswerFormatting, ErrorListTakesOneMoreEntryPerTwoLengthUnitsAboveThree)
{
    struct Case {
        WORD length;
        std::string text;
    };
    answer.SetByte(10, 2);
    answer.SetByte(11, 7);
    answer.SetByte(12, 3);
    answer.SetByte(13, 41);
    for (const Case& c : {Case{3, "\n(ERR07) T3:2T4:7"}, Case{4, "\n(ERR07) T3:2T4:7\n(ERR41) T3:3T4:41"},
                          Case{5, "\n(ERR07) T3:2T4:7\n(ERR41) T3:3T4:41"}}) {
        answer.SetWord(AnswerOffset::DataLength, c.length);
        std::string text = "replaced";
        FormatErrorList(text, answer.Bytes(), kFamilyZOK, line);
        EXPECT_EQ(text, c.text) << "length " << c.length;
    }
    answer.SetWord(AnswerOffset::DataLength, 3);
    std::string kvr;
    FormatErrorList(kvr, answer.Bytes(), kFamilyKVR, line);
    EXPECT_EQ(kvr, "\n(ERR07) T3:2T55:7");
}

TEST_F(AnswerFormatting, ErrorListLengthFromTheWireStaysInsideTheRecord)
{
    answer.SetWord(AnswerOffset::DataLength, 0xFFFF);
    std::string text;
    FormatErrorList(text, answer.Bytes(), kFamilyZOK, line);
    EXPECT_EQ(Count(text, "(ERR"), (kAnswerRecordSize - 10) / 2);
}

TEST_F(AnswerFormatting, ErrorRingStartsAtTheDeviceIndexAndSkipsLeadingEmptyEntries)
{
    std::string empty = "head";
    FormatErrorRing(empty, answer.Bytes(), kFamilyZOK, line);
    EXPECT_EQ(empty, "<546>");

    // Index 3: the walk starts at position 8; the entry at position 10 is the first taken.
    answer.SetWord(14, 3);
    answer.SetByte(10 + 14, 5);
    answer.SetByte(10 + 15, 12);
    SetRecordWord(answer.Bytes(), 2 * 10 + 52, WORD(2160000 & 0xFFFF));
    SetRecordWord(answer.Bytes(), 2 * 10 + 54, WORD(2160000 >> 16));
    std::string text = "head";
    FormatErrorRing(text, answer.Bytes(), kFamilyZOK, line);
    EXPECT_EQ(text.rfind("head\n(ERR12) T3:5T4:12 1 d 0 h 0 m 0 s", 0), 0u) << text;
    EXPECT_EQ(Count(text, "(ERR"), 19u) << "from position 10 up to 40, then 2 to 6";

    // An index far beyond the ring is taken modulo its 20 entries.
    answer.SetWord(14, 60003);
    std::string wrapped = "head";
    FormatErrorRing(wrapped, answer.Bytes(), kFamilyKVR, line);
    EXPECT_EQ(wrapped.rfind("head\n(ERR12) T3:5T55:12", 0), 0u) << wrapped;
}

TEST(OperatingTime, SplitsTheCounterByTheFamilysTicks)
{
    struct Case {
        DWORD counter;
        int mode;
        OperatingTime time;
    };
    for (const Case& c : {Case{2160000, 1, {1, 0, 0, 0}}, Case{2081928, 0, {1, 0, 0, 0}},
                          Case{2160000 + 90000 * 2 + 1500 * 3 + 25 * 4 + 24, 1, {1, 2, 3, 4}},
                          Case{1445, 0, {0, 0, 0, 60}}}) {
        const OperatingTime t = SplitOperatingTime(c.counter, c.mode);
        EXPECT_EQ(t.days, c.time.days) << c.counter;
        EXPECT_EQ(t.hours, c.time.hours) << c.counter;
        EXPECT_EQ(t.minutes, c.time.minutes) << c.counter;
        EXPECT_EQ(t.seconds, c.time.seconds) << c.counter << ": a KVR minute has 1446 ticks";
    }
}

TEST(VersionNumber, TakesTheDigitsOfTheFirstEightCharacters)
{
    EXPECT_EQ(DeviceVersionNumber("03.12"), 0x3000Cu);
    EXPECT_EQ(DeviceVersionNumber("V03.20"), 0x30014u);
    EXPECT_EQ(DeviceVersionNumber("0305"), 0x30005u);
    EXPECT_EQ(DeviceVersionNumber("abcdefgh9"), 0u);
    EXPECT_EQ(DeviceVersionNumber(""), 0u);
}

TEST_F(AnswerFormatting, ValueTableFlagsEachValueAndBreaksAfterEveryEighth)
{
    answer.SetWord(10, 17);
    for (int i = 0; i < 17; ++i)
        answer.SetWord(12 + 2 * std::size_t(i), WORD(100 + i));
    answer.SetWord(12, 0x8000 | 0x4000 | 5);
    answer.SetWord(14, 0x2000 | 7);
    std::string text;
    FormatValueTable(text, answer.Bytes());
    EXPECT_EQ(text.rfind("<562><563><555 5><564><555 7>   <555 102>", 0), 0u) << text;
    EXPECT_EQ(Count(text, "\n"), 2u);
    EXPECT_EQ(text.substr(text.size() - 13), "\n   <555 116>") << "the last short line has no break";

    std::string segments;
    FormatSegmentTable(segments, answer.Bytes());
    EXPECT_EQ(segments.rfind("<565><555 5>   <555 7>", 0), 0u) << segments;
}

TEST_F(AnswerFormatting, CountsFromTheWireStayInsideTheRecord)
{
    answer.SetWord(10, 0xFFFF);
    answer.SetWord(11, 0xFFFF);
    answer.SetWord(14, 0xFFFF);
    std::string values;
    FormatValueTable(values, answer.Bytes());
    EXPECT_EQ(Count(values, "<555"), (kAnswerRecordSize - 12) / 2);
    std::string partial;
    FormatPartialValues(partial, answer.Bytes());
    EXPECT_EQ(Count(partial, "<555"), (kAnswerRecordSize - 16) / 2);
    std::string averaged;
    FormatAveragedValues(averaged, answer.Bytes());
    EXPECT_EQ(Count(averaged, "<555"), (kAnswerRecordSize - 13) / 2);

    SensorAnswer contour;
    contour.SetByte(19, 2);
    contour.SetWord(27, 400);
    std::string field;
    FormatFieldContour(field, contour.Bytes());
    EXPECT_EQ(Count(field, "<543"), (kAnswerRecordSize - 29) / 2);
    contour.SetByte(19, 4);
    field.clear();
    FormatFieldContour(field, contour.Bytes());
    EXPECT_EQ(Count(field, "<543"), 361u);
}

TEST_F(AnswerFormatting, BarChartLineHasPolarAndCartesianColumns)
{
    answer.SetWord(10, 181);
    answer.SetWord(12 + 2 * 180, 0x8000 | 0x2000 | 200);
    std::string text;
    FormatBarChart(text, answer.Bytes());
    EXPECT_EQ(text.rfind("<1605>\n  0        0.0          0          0.0         0.0   \n", 0), 0u) << text;
    EXPECT_NE(text.find("\n180        90.0        200         -0.0       200.0   BLSF\n"), std::string::npos) << text;
}

TEST_F(AnswerFormatting, StatusReportsListTheFamilysItems)
{
    const char version[] = "03.06";
    std::copy(version, version + 5, answer.data() + 9);
    const char name[] = "DEVICE1";
    std::copy(name, name + 7, answer.data() + 19);
    answer.SetByte(29, 1);
    answer.SetByte(39, 1);
    std::string zok;
    FormatStatusReport(zok, answer.Bytes(), kFamilyZOK, line);
    EXPECT_EQ(zok.rfind("V=03.06 N=DEVICE1\n<1557>\nT1:0\n<1557>\nT6:1T22:0\nT20:0\n", 0), 0u) << zok;
    EXPECT_NE(zok.find("T2:0\nT30:1\nT28:0\nT29:0\n<1557>\nT3:0\n"), std::string::npos) << "3.06 has the extra items";

    std::copy(version, version + 5, answer.data() + 9);
    answer.SetByte(13, '5');
    std::string old;
    FormatStatusReport(old, answer.Bytes(), kFamilyZOK, line);
    EXPECT_EQ(old.find("T30:"), std::string::npos) << "3.05 has none";

    answer.SetWord(37, WORD(-20));
    std::string kvr;
    FormatStatusReport(kvr, answer.Bytes(), kFamilyKVR, line);
    EXPECT_NE(kvr.find("T59:65516\n"), std::string::npos) << "the speed word goes to its text class as sent";
    EXPECT_EQ(kvr.substr(kvr.size() - 6), "T63:0\n");
}

TEST(DiagnoseTextFormats, DriverFormatsAreAppliedOnlyWhenTheirConversionsMatch)
{
    EXPECT_STREQ(FormatDiagnoseText("%u days, %u h", {1u, 2u}), "1 days, 2 h");
    EXPECT_STREQ(FormatDiagnoseText("Version %s, name %-4s|", {"1.0", "AB"}), "Version 1.0, name AB  |");
    EXPECT_STREQ(FormatDiagnoseText("%s %s %s", {"a", "b"}), "a b") << "a missing argument is never read";
    EXPECT_STREQ(FormatDiagnoseText("%n%s", {"a"}), "a") << "unknown conversions are not passed on";
    EXPECT_STREQ(FormatDiagnoseText("%u", {"text"}), "text") << "a text for a number";
    EXPECT_STREQ(FormatDiagnoseText("100%% %u", {5u}), "100% 5");
    const std::string longText(3000, 'x');
    EXPECT_EQ(std::string(FormatDiagnoseText("%s", {longText})).size(), std::size_t(kDiagnoseTextSize - 1));
}

} // namespace
