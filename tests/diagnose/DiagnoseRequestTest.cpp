// The request callback against a fake line: the request records it builds, the texts it
// writes and the parameter dialogs it runs headless.
#include "diagnose/DiagnoseFixture.h"
#include "diagnose/internal/DiagnoseRequest.h"
#include "diagnose/internal/DiagnoseTexts.h"
#include "diagnose/internal/InputDialogs.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Text(UINT id, std::initializer_list<TextArg> args = {}) { return LoadDiagnoseText(id, args); }

class DiagnoseRequestTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxEnsureGuiApplication()); }

    // Runs a request without a parameter dialog; returns the callback's value.
    int Run(int kind, int subKind, void* block = nullptr, int blockSize = 0)
    {
        record = DiagnoseRequestRecord{};
        record.Kind = kind;
        record.SubKind = subKind;
        record.Text = text.data();
        record.TextSize = int(text.size());
        record.Result = 77;
        record.Parameters = block;
        record.ParametersSize = blockSize;
        record.Code = code;
        return DiagnoseRequest(nullptr, &record);
    }
    std::string Answer() const { return text.data(); }

    DiagnoseTexts texts;
    ScriptedUi ui;
    FakeLine line;
    LibraryState state{line, 5, kFamilyZOK};
    std::vector<char> text = std::vector<char>(4096, '\0');
    char code[9] = "ABCDEFGH";
    DiagnoseRequestRecord record;
};

TEST_F(DiagnoseRequestTest, RequestsWithoutParametersCarryTheirCommandAndSubCode)
{
    struct Case {
        int kind, subKind;
        BYTE command;
        int subCode; // -1: byte 9 stays 0
    };
    const Case cases[] = {{10, 0, 0x10, -1},   {11, 23, 0x20, 0x10}, {11, 116, 0x20, 0x25}, {11, 131, 0x20, 0x48},
                          {13, 0, 0x31, -1},   {14, 0, 0x32, -1},    {52, 72, 0x44, 2},     {52, 100, 0x47, 0},
                          {54, 66, 0x50, 1},   {89, 92, 0x61, 1},    {89, 99, 0x61, 0},     {93, 96, 0x62, 2},
                          {107, 108, 0x65, 1}, {118, 120, 0x66, 1},  {123, 129, 0x6A, 0},   {124, 125, 0x68, 1},
                          {155, 157, 0x77, 0}, {11, 24, 0x20, 0x20}, {11, 25, 0x20, 0x21}, {11, 26, 0x20, 0x22},
                          {11, 27, 0x20, 0x23}, {11, 109, 0x20, 0x24}, {11, 70, 0x20, 0x40}, {11, 71, 0x20, 0x41},
                          {11, 74, 0x20, 0x42}, {11, 115, 0x20, 0x43}, {15, 76, 0x33, 0x11}, {52, 60, 0x44, 0},
                          {52, 102, 0x47, 2},  {89, 90, 0x60, 1},    {89, 91, 0x60, 0},     {93, 94, 0x62, 0},
                          {93, 95, 0x62, 1},   {107, 106, 0x65, 0},  {118, 119, 0x66, 0},   {123, 127, 0x69, 0},
                          {123, 128, 0x69, 1}, {123, 130, 0x6A, 1},  {124, 126, 0x68, 0}};
    for (const Case& c : cases) {
        line.requests.clear();
        line.Queue(FakeLine::Answer(BYTE(c.command | 0x80)));
        EXPECT_EQ(Run(c.kind, c.subKind), 1);
        ASSERT_EQ(line.requests.size(), 1u) << c.kind << "/" << c.subKind;
        SensorRequest expected(kFamilyZOK, c.command, 5);
        if (c.subCode >= 0)
            expected.SetByte(9, BYTE(c.subCode));
        EXPECT_EQ(line.requests[0], expected) << c.kind << "/" << c.subKind << ": every other byte 0";
        EXPECT_EQ(record.Result, 0);
    }
}

// Requests that take their bytes from the parameter block: the block's bytes go exactly
// where each action puts them, and every other byte stays 0.
TEST_F(DiagnoseRequestTest, RequestsWithParametersCarryTheBlockWhereTheActionPutsIt)
{
    BYTE block[10] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA};
    struct Case {
        int kind, subKind;
        BYTE command;
        std::vector<std::pair<std::size_t, BYTE>> bytes; // offset, value
    };
    const Case cases[] = {
        {12, 28, 0x30, {{9, 0x33}, {10, 5}, {11, 0x11}}},
        {12, 29, 0x30, {{9, 0x11}, {10, 1}}},
        {12, 73, 0x30, {{9, 0x11}, {10, 1}}},
        {12, 30, 0x30, {{9, 0x11}, {10, 2}, {11, 0x22}}},
        {12, 31, 0x30, {{9, 0x11}, {10, 3}, {11, 0x22}}},
        {12, 32, 0x30, {{9, 0x11}, {10, 4}, {11, 0x22}}},
        {12, 149, 0x30, {{9, 0x11}, {11, 0x22}}},
        {17, 38, 0x45, {{9, 0x11}, {10, 1}}},
        {17, 39, 0x45, {{9, 0x11}}},
        {52, 61, 0x44, {{9, 1}, {10, 0x11}}},
        {52, 101, 0x47, {{9, 1}, {10, 0x11}}},
        {54, 143, 0x50,
         {{9, 3}, {10, 0x11}, {11, 0x22}, {12, 0x33}, {13, 0x44}, {14, 0x55}, {15, 0x66}, {16, 0x77}, {17, 0x88}}},
        {54, 153, 0x50, {{9, 0x11}}},
        {97, 0, 0x36, {{10, 0x11}}},
        {103, 104, 0x63, {{9, 0x11}}},
        {103, 105, 0x64, {{9, 0x11}}},
        {121, 0, 0x67, {{9, 0x11}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << "/" << c.subKind);
        line.requests.clear();
        line.Queue(FakeLine::Answer(BYTE(c.command | 0x80)));
        Run(c.kind, c.subKind, block, int(sizeof block));
        ASSERT_EQ(line.requests.size(), 1u);
        SensorRequest expected(kFamilyZOK, c.command, 5);
        for (const auto& [offset, value] : c.bytes)
            expected.SetByte(offset, value);
        EXPECT_EQ(line.requests[0], expected);
    }
}

// Each action's answer statuses map to their own texts; a status without one is an
// unexpected answer, and some statuses add a text for answer byte 10.
TEST_F(DiagnoseRequestTest, EveryStatusOfAnActionGetsItsOwnText)
{
    std::vector<std::pair<int, int>> ids{{1559, 1}};
    for (int id : {531, 570, 571, 580, 581, 582, 583, 645, 670, 686, 687, 688, 711, 712, 1626, 1627, 1628, 1630, 1631,
                   1632, 1633, 1635, 1669, 1670, 1674, 1675, 1677, 1678, 1688, 1689, 1690, 1691, 1697, 1698})
        ids.emplace_back(id, 0);
    DiagnoseTexts markers(DiagnoseTexts::MarkerScript(ids));
    BYTE block[4] = {9, 0, 0, 0};
    struct Case {
        int kind, subKind;
        BYTE answer, status, byte10;
        std::string text; // before the address line
    };
    const Case cases[] = {
        {11, 23, 0xA0, 0, 0, "<570>"},          {11, 23, 0xA0, 1, 0, "<571>"},
        {11, 20, 0xA0, 0, 0, "<570>"},          {11, 23, 0xB0, 0, 0, "<571>"},
        {11, 70, 0xA0, 0, 0, "<645>"},          {11, 131, 0xA0, 1, 0, "<670>"},
        {11, 115, 0xB0, 0, 0, "<670>"},         {52, 60, 0xC4, 2, 0, "<1626>"},
        {52, 61, 0xC4, 1, 0, "<531>"},          {52, 100, 0xC4, 1, 0, "<580>"},
        {52, 101, 0xC4, 2, 0, "<531>"},         {52, 72, 0xC4, 0, 0, "<581>"},
        {52, 102, 0xC4, 0, 0, "<581>"},         {54, 66, 0xD0, 1, 0, "<582>"},
        {54, 153, 0xD0, 0, 0, "<583>"},         {93, 95, 0xE2, 0, 0, "<1669>"},
        {93, 95, 0xE2, 1, 0, "<1670><688>"},    {93, 95, 0xE2, 1, 1, "<1670><686>"},
        {93, 95, 0xE2, 1, 3, "<1670>"},         {93, 95, 0xE2, 2, 0, "<531>"},
        {103, 104, 0xE4, 0, 0, "<1628>"},       {103, 104, 0xE4, 1, 0, "<1627>"},
        {103, 105, 0xE4, 2, 0, "<1635>"},       {103, 105, 0xE4, 3, 0, "<531>"},
        {107, 106, 0xE5, 0, 0, "<1674>"},       {107, 108, 0xE5, 1, 0, "<1675><1677>"},
        {107, 108, 0xE5, 1, 1, "<1675><1678>"}, {107, 108, 0xE5, 1, 2, "<1675>"},
        {118, 119, 0xE6, 0, 0, "<1633>"},       {118, 120, 0xE6, 1, 0, "<1632>"},
        {118, 120, 0xE6, 2, 0, "<531>"},        {121, 0, 0xE7, 0, 0, "<1631>"},
        {121, 0, 0xE7, 1, 0, "<1630>"},         {123, 127, 0xE9, 0, 0, "<1691>"},
        {123, 128, 0xE9, 1, 0, "<1690>"},       {124, 125, 0xE8, 0, 0, "<1689>"},
        {124, 126, 0xE8, 1, 0, "<1688><712>"},  {124, 126, 0xE8, 1, 1, "<1688><711>"},
        {155, 157, 0xF7, 0, 0, "<1698>"},       {155, 157, 0xF7, 1, 0, "<1697>"},
        {155, 157, 0xF6, 1, 0, "<531>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << "/" << c.subKind << std::hex << " answer " << int(c.answer)
                                        << " status " << int(c.status) << " byte 10 " << int(c.byte10));
        SensorAnswer answer = FakeLine::Answer(c.answer, c.status);
        answer.SetByte(10, c.byte10);
        line.Queue(answer);
        EXPECT_EQ(Run(c.kind, c.subKind, block, int(sizeof block)), 1);
        EXPECT_EQ(Answer(), c.text + "<1559 5>");
    }
}

TEST_F(DiagnoseRequestTest, AnswersBecomeTextsFollowedByTheAddressLine)
{
    line.Queue(FakeLine::Answer(0x91));
    Run(10, 0);
    EXPECT_EQ(Answer(), Text(554) + Text(1559, {5}));
    line.Queue(FakeLine::Answer(0xE9, 2));
    Run(123, 127);
    EXPECT_EQ(Answer(), Text(1692) + Text(1559, {5}));
    line.Queue(FakeLine::Answer(0xE9, 7));
    Run(123, 127);
    EXPECT_EQ(Answer(), Text(531) + Text(1559, {5})) << "an unknown status is an unexpected answer";
    SensorAnswer mode = FakeLine::Answer(0xE2, 1);
    mode.SetByte(10, 2);
    line.Queue(mode);
    Run(93, 94);
    EXPECT_EQ(Answer(), Text(1670) + Text(687) + Text(1559, {5}));
    line.Queue(FakeLine::Answer(0xD0, 2));
    Run(54, 66);
    EXPECT_EQ(record.Result, 255) << "kind 54 counts an unexpected answer as a failure";
}

// Kind 89 has a text for statuses 0 to 2 only; any other status of its answer leaves the
// caller's text as it was, and the address line follows it.
TEST_F(DiagnoseRequestTest, OutputTestKeepsTheTextForAStatusWithoutOne)
{
    const struct {
        BYTE command;
        BYTE status;
        std::string text; // before the address line; "kept" for the caller's text
    } cases[] = {{0xE0, 0, Text(1664)}, {0xE0, 1, Text(1663)}, {0xE0, 2, Text(1665)},
                 {0xE0, 3, "kept"},     {0xE0, 0xFF, "kept"},  {0xE1, 0, Text(531)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.command) << "/" << int(c.status));
        std::fill(text.begin(), text.end(), '\0');
        std::copy_n("kept", 4, text.begin());
        line.Queue(FakeLine::Answer(c.command, c.status));
        EXPECT_EQ(Run(89, 90), 1);
        EXPECT_EQ(Answer(), c.text + Text(1559, {5}));
        EXPECT_EQ(record.Result, 0);
    }
}

TEST_F(DiagnoseRequestTest, FailuresAndRefusedRequestsGive534With255)
{
    line.Queue(std::nullopt);
    EXPECT_EQ(Run(10, 0), 1);
    EXPECT_EQ(Answer(), Text(534) + Text(1559, {5}));
    EXPECT_EQ(record.Result, 255);
    EXPECT_EQ(line.errorFetches, 1) << "the driver's reason is fetched and so cleared";

    line.requests.clear();
    for (const auto& [kind, subKind] : std::vector<std::pair<int, int>>{{16, 0}, {11, 21}, {11, 68}, {15, 77}, {89, 93}}) {
        EXPECT_EQ(Run(kind, subKind), 1);
        EXPECT_EQ(Answer(), Text(534) + Text(1559, {5})) << kind << "/" << subKind;
        EXPECT_EQ(record.Result, 255);
    }
    EXPECT_TRUE(line.requests.empty()) << "nothing with an undefined sub-code goes to the device";

    std::memset(code, 0, sizeof code);
    record = DiagnoseRequestRecord{};
    record.Kind = 11;
    record.SubKind = 20;
    record.Text = text.data();
    record.TextSize = int(text.size());
    EXPECT_EQ(DiagnoseRequest(nullptr, &record), 1);
    EXPECT_EQ(record.Result, 255) << "no access code";
    EXPECT_EQ(Run(97, 0), 1);
    EXPECT_EQ(record.Result, 255) << "no parameter block";
    EXPECT_TRUE(line.requests.empty());
}

TEST_F(DiagnoseRequestTest, LoginCarriesTheCodeAndItsZero)
{
    line.Queue(FakeLine::Answer(0xA0, 0));
    Run(11, 20);
    ASSERT_EQ(line.requests.size(), 1u);
    EXPECT_EQ(line.requests[0].Byte(9), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(line.requests[0].data() + 10)), "ABCDEFGH");
    EXPECT_EQ(line.requests[0].Byte(18), 0);
    EXPECT_EQ(Answer(), Text(570) + Text(1559, {5}));
}

TEST_F(DiagnoseRequestTest, TheAnswerTextIsCutToTheCallersBufferWhichIsToldTheWholeSize)
{
    SensorAnswer values = FakeLine::Answer(0xB0);
    values.SetWord(10, 300);
    line.Queue(values);
    BYTE block[4] = {1, 0, 0, 0};
    record = DiagnoseRequestRecord{};
    std::vector<char> small(40, '\x7F');
    record.Kind = 12;
    record.SubKind = 29;
    record.Text = small.data();
    record.TextSize = 32;
    record.Parameters = block;
    record.ParametersSize = 4;
    EXPECT_EQ(DiagnoseRequest(nullptr, &record), 1);
    EXPECT_EQ(std::string(small.data()).size(), 31u);
    EXPECT_EQ(small[32], '\x7F') << "nothing written past the buffer";
    const std::int32_t needed = record.TextSize;

    line.Queue(values);
    record.Text = text.data();
    record.TextSize = int(text.size());
    EXPECT_EQ(DiagnoseRequest(nullptr, &record), 1);
    EXPECT_EQ(needed, std::int32_t(Answer().size() + 1)) << "the record named the size of the whole answer";
    EXPECT_EQ(record.TextSize, int(text.size())) << "an answer that fits leaves the size";
}

TEST_F(DiagnoseRequestTest, StatusReportOfAKVRUnitAtAddress127AsksAddress0)
{
    LibraryState kvr(line, 127, kFamilyKVR);
    line.Queue(FakeLine::Answer(0xB1));
    line.Queue(FakeLine::Answer(0xB4));
    Run(162, 0);
    ASSERT_EQ(line.requests.size(), 2u);
    EXPECT_EQ(line.requests[0].Byte(5), 0);
    EXPECT_EQ(line.requests[0].Command(), 0x31);
    const SensorRequest& ring = line.requests[1];
    EXPECT_EQ(ring.Byte(5), 127);
    EXPECT_EQ(ring.Command(), 0x34);
    EXPECT_EQ((std::vector<BYTE>{ring.Byte(9), ring.Byte(10), ring.Byte(11), ring.Byte(12), ring.Byte(13)}),
              (std::vector<BYTE>{0x00, 0x7F, 0x01, 0x00, 0x7A}));
    EXPECT_EQ(Answer(), Text(546) + Text(1560, {127})) << "an empty ring replaces the head";
}

TEST_F(DiagnoseRequestTest, StatusReportOfAZOKScannerStopsForFirmwareWithMinor20)
{
    for (const char* version : {"03.20", "02.15"}) {
        line.requests.clear();
        SensorAnswer identity = FakeLine::Answer(0xB1);
        std::copy(version, version + 5, identity.data() + 9);
        line.Queue(identity);
        Run(162, 0);
        EXPECT_EQ(line.requests.size(), 1u) << version;
        EXPECT_EQ(Answer(), "V=" + std::string(version) + " N=" + Text(654) + Text(1559, {5}));
    }
    SensorAnswer identity = FakeLine::Answer(0xB1);
    std::copy("03.21", "03.21" + 5, identity.data() + 9);
    line.Queue(identity);
    line.Queue(FakeLine::Answer(0xB4));
    line.requests.clear();
    Run(162, 0);
    ASSERT_EQ(line.requests.size(), 2u);
    EXPECT_EQ(line.requests[1].Byte(9), 0x34);
    EXPECT_EQ(line.requests[1].Byte(10), 0xC6);
}

TEST_F(DiagnoseRequestTest, FieldRecordNeedsAFieldAnswerAndStartsOnItsFirstLine)
{
    BYTE block[4] = {3, 0, 0, 0};
    line.Queue(FakeLine::Answer(0xB0));
    Run(17, 39, block, 4);
    EXPECT_EQ(Answer(), Text(531) + Text(1559, {5}));
    EXPECT_EQ(line.requests[0].Byte(9), 3);

    SensorAnswer field = FakeLine::Answer(0xC5, 3);
    field.SetByte(19, 1);
    field.SetWord(27, 250);
    field.SetByte(21, 7);
    field.SetByte(22, 9);
    field.SetByte(23, 2);
    field.SetByte(24, 0);
    field.SetWord(25, 124);
    line.Queue(field);
    Run(17, 39, block, 4);
    // A scanner's record starts with its field kind, on the first line.
    const std::string kind = Text(553).substr(Text(553).find_first_not_of('\n'));
    EXPECT_EQ(Answer(), kind + Text(1598, {"02", "01", 2024, "09", "07"}) + Text(550, {250}) + Text(1559, {5}));
    line.Queue(field);
    Run(17, 38, block, 4);
    EXPECT_EQ(line.requests.back().Byte(10), 1);
    EXPECT_EQ(Answer(), kind + Text(1598, {"02", "01", 2024, "09", "07"}) + Text(550, {250}) + Text(1559, {5}))
        << "the other record shows its time as well";

    // A unit's record: the field head, then the field kind on a line of its own.
    LibraryState kvr(line, 5, kFamilyKVR);
    std::copy_n("Front", 5, field.data() + 10);
    line.Queue(field);
    Run(17, 38, block, 4);
    EXPECT_EQ(Answer(), Text(1701, {3}) + Text(1702, {"Front"}) + Text(553) +
                            Text(1598, {"02", "01", 2024, "09", "07"}) + Text(550, {250}) + Text(1560, {5}));
}

// Asks for the parameters as the dialog library does, with the script driving the dialog.
class ParameterRequest : public DiagnoseRequestTest {
protected:
    int Ask(int kind, int subKind, ScriptedUi::ModalScript script)
    {
        ui.QueueModal(std::move(script));
        record = DiagnoseRequestRecord{};
        record.Kind = kind;
        record.SubKind = subKind;
        record.AskParameters = 1;
        record.Text = text.data();
        record.TextSize = int(text.size());
        const int result = DiagnoseRequest(nullptr, &record);
        blocks.push_back(record.Parameters);
        return result;
    }
    int Send()
    {
        record.AskParameters = 0;
        return DiagnoseRequest(nullptr, &record);
    }
    void TearDown() override
    {
        for (void* block : blocks)
            std::free(block);
    }
    std::vector<void*> blocks;
};

TEST_F(ParameterRequest, ContourOf180SegmentsSends181ClampedValuesWithBit15)
{
    ASSERT_EQ(Ask(18, 45,
                  [](CWnd& dialog) {
                      DialogDriver driver(dialog);
                      driver.SetText(2261, "2");
                      driver.SetText(2257, "180");
                      driver.SetText(2258, "3 6000 0x20");
                      driver.Click(IDOK);
                  }),
              1);
    EXPECT_EQ(record.ParametersSize, 1464);
    EXPECT_TRUE(line.requests.empty());
    line.Queue(FakeLine::Answer(0xC3, 1));
    EXPECT_EQ(Send(), 1);
    ASSERT_EQ(line.requests.size(), 1u);
    const SensorRequest& sent = line.requests[0];
    EXPECT_EQ(sent.Command(), 0x43);
    EXPECT_EQ(sent.Byte(9), 2);
    EXPECT_EQ(sent.Word(10), 180);
    EXPECT_EQ(sent.Word(12), 0x8000 | 5);
    EXPECT_EQ(sent.Word(14), 0x8000 | 5000);
    EXPECT_EQ(sent.Word(16), 0x8000 | 0x20);
    EXPECT_EQ(sent.Word(12 + 2 * 180), 0x8000 | 60);
    EXPECT_EQ(sent.Word(12 + 2 * 181), 0) << "181 values";
    const BYTE* block = static_cast<const BYTE*>(record.Parameters);
    EXPECT_EQ(block[16], 5) << "clamped values go back into the block";
}

TEST_F(ParameterRequest, EachActionOpensItsDialogWithABlockOfItsSize)
{
    const struct {
        int kind, subKind;
        UINT templateId;
        int blockSize;
    } cases[] = {
        {12, 28, IDD_SEGMENT_COUNT, 4}, {12, 29, IDD_ZOK_NR, 4},         {12, 73, IDD_ZOK_NR, 4},
        {12, 30, IDD_ZOK_FIELD_NR, 2},  {12, 31, IDD_ZOK_FIELD_NR, 2},   {12, 32, IDD_ZOK_FIELD_NR, 2},
        {12, 149, IDD_ZOK_FIELD_NR, 2}, {12, 117, IDD_MV_PARTIAL, 10},   {17, 38, IDD_FIELD_NR, 4},
        {17, 39, IDD_FIELD_NR, 4},      {18, 45, IDD_SF_KFG_SEGMENT, 1464}, {52, 61, IDD_WA_TIME, 4},
        {52, 101, IDD_WA_TIME, 4},      {54, 143, IDD_HCODE, 9},         {54, 153, IDD_AGL_MODE, 4},
        {97, 0, IDD_AVERAGE_MV, 4},     {103, 104, IDD_RSP_TIME, 4},     {103, 105, IDD_RSP_TIME, 4},
        {121, 0, IDD_SENSOR_ADR, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << "/" << c.subKind);
        const std::size_t runs = ui.ModalRuns().size();
        EXPECT_EQ(Ask(c.kind, c.subKind, [](CWnd& dialog) { DialogDriver(dialog).Cancel(); }), 0);
        ASSERT_EQ(ui.ModalRuns().size(), runs + 1);
        EXPECT_EQ(ui.ModalRuns().back().templateId, c.templateId);
        EXPECT_EQ(record.ParametersSize, c.blockSize);
    }
    EXPECT_TRUE(line.requests.empty());
}

TEST_F(ParameterRequest, CancelledDialogsSendNothing)
{
    EXPECT_EQ(Ask(18, 45, [](CWnd& dialog) { DialogDriver(dialog).Cancel(); }), 0);
    EXPECT_EQ(Ask(54, 143, [](CWnd& dialog) { DialogDriver(dialog).Cancel(); }), 0);
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, CString(Text(1721).c_str()));
    EXPECT_EQ(ui.MessageBoxes()[1].text, CString(Text(537).c_str()));
    EXPECT_EQ(ui.MessageBoxes()[1].caption, CString(Text(502).c_str()));
    EXPECT_TRUE(line.requests.empty());
}

TEST_F(ParameterRequest, PartialValuesAndTheirAnswers)
{
    ASSERT_EQ(Ask(12, 117,
                  [](CWnd& dialog) {
                      DialogDriver driver(dialog);
                      driver.SetText(2268, "1");
                      driver.SetText(2273, "180");
                      driver.SetText(2259, "181");
                      driver.Click(IDOK);
                  }),
              1);
    SensorAnswer partial = FakeLine::Answer(0xB7);
    partial.SetWord(10, 180);
    partial.SetWord(12, 181);
    partial.SetWord(14, 1);
    partial.SetWord(16, 42);
    line.Queue(partial);
    Send();
    const SensorRequest& sent = line.requests.at(0);
    EXPECT_EQ(sent.Command(), 0x37);
    EXPECT_EQ(sent.Byte(9), 1);
    EXPECT_EQ(sent.Word(10), 180);
    EXPECT_EQ(sent.Word(12), 181);
    EXPECT_EQ(Answer(), Text(1586, {180, 181}) + Text(547, {1}) + "   " + Text(555, {42}) + Text(1559, {5}));
}

TEST_F(ParameterRequest, ChoosingTheDeviceFallsBackToUnitAddress0OnCancel)
{
    record = DiagnoseRequestRecord{};
    ui.QueueModal([](CWnd& dialog) {
        DialogDriver driver(dialog);
        EXPECT_EQ(driver.Text(2139), "ZOK") << "preset from the family in use";
        driver.SetText(2277, "9");
        driver.SetText(2139, "kvr");
        driver.Click(IDOK);
    });
    EXPECT_EQ(Run(152, 0), 1);
    EXPECT_EQ(TheDiagnoseState().address, 9);
    EXPECT_EQ(TheDiagnoseState().family, kFamilyKVR);
    EXPECT_EQ(Answer(), Text(1560, {9}));
    EXPECT_TRUE(line.requests.empty());

    // Cancelled while a scanner is in use: the next request goes to address 0 of a unit.
    TheDiagnoseState().address = 9;
    TheDiagnoseState().family = kFamilyZOK;
    ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Cancel(); });
    EXPECT_EQ(Run(152, 0), 1);
    EXPECT_EQ(Answer(), Text(1560, {0}));
    EXPECT_TRUE(line.requests.empty());
    line.Queue(FakeLine::Answer(0x91));
    Run(10, 0);
    ASSERT_EQ(line.requests.size(), 1u);
    EXPECT_EQ(line.requests[0], SensorRequest(kFamilyKVR, 0x10, 0));
    EXPECT_EQ(Answer(), Text(554) + Text(1560, {0}));
}

} // namespace
