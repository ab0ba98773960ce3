// The request callback against a fake line: the request records it builds, the texts it
// writes and the parameter dialogs it runs headless.
#include "diagnose/DiagnoseFixture.h"
#include "diagnose/DiagnoseRequest.h"
#include "diagnose/DiagnoseTexts.h"
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
                          {155, 157, 0x77, 0}};
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
    EXPECT_EQ(Answer(), kind + Text(550, {250}) + Text(1559, {5})) << "this record carries no time";

    // A unit's record: the field head, then the field kind on a line of its own.
    LibraryState kvr(line, 5, kFamilyKVR);
    std::copy_n("Front", 5, field.data() + 10);
    line.Queue(field);
    Run(17, 38, block, 4);
    EXPECT_EQ(Answer(), Text(1701, {3}) + Text(1702, {"Front"}) + Text(553) + Text(550, {250}) + Text(1560, {5}));
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

TEST_F(ParameterRequest, ChoosingTheDeviceKeepsItOnCancel)
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
    ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Cancel(); });
    Run(152, 0);
    EXPECT_EQ(TheDiagnoseState().address, 9);
    EXPECT_EQ(TheDiagnoseState().family, kFamilyKVR);
    EXPECT_TRUE(line.requests.empty());
}

} // namespace
