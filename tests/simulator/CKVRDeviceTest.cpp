#include "simulator/internal/CKVRDevice.h"

#include "KVRRequests.h"
#include "ScriptedRandom.h"
#include "SimRecords.h"
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"
#include "simulator/internal/SimFieldSteps.h"
#include "simulator/orusim.h"

#include <gtest/gtest.h>

namespace {

class CKVRDeviceTest : public ::testing::Test {
protected:
    SensorAnswer Ask(const SensorRequest& request)
    {
        SensorAnswer answer;
        EXPECT_EQ(device.Telegram(request.Bytes(), answer.Bytes()), 1);
        return answer;
    }

    CKVRDevice device;
};

TEST_F(CKVRDeviceTest, AnswersCarryTheFamilyBitAndOnlyFamilyOneIsServed)
{
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x10)).Status(), 0x08);
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x32)).Status(), 0x08);
    SensorAnswer answer;
    EXPECT_EQ(device.Telegram(SimRequest(kFamilyZOK, 0x10).Bytes(), answer.Bytes()), 0);
    for (BYTE command : {0x44, 0x47, 0x50, 0x60, 0x65, 0x68, 0x6A, 0x77})
        EXPECT_EQ(device.Telegram(SimRequest(kFamilyKVR, command).Bytes(), answer.Bytes()), 0) << int(command);
}

TEST_F(CKVRDeviceTest, IdentificationReportsTheUnit)
{
    ScriptedRandom random({1, 0});
    const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x31));
    EXPECT_EQ(answer.Command(), 0xB1);
    EXPECT_EQ(AnswerText(answer, 9, 8), "03.11");
    EXPECT_EQ(answer.Byte(17), 0x23);
    EXPECT_EQ(AnswerText(answer, 19, 9), "PC - SIM");
    EXPECT_EQ(answer.Byte(28), 4); // scanner type behind the unit
    EXPECT_EQ(answer.Word(29), 66);
    EXPECT_EQ(answer.Byte(34), 0x01);
    const std::pair<std::size_t, BYTE> bytes[] = {{31, 0}, {32, 0}, {33, 0}, {35, 1}, {36, 1}, {41, 2}, {42, 0}};
    for (const auto& [offset, value] : bytes)
        EXPECT_EQ(answer.Byte(offset), value) << offset;
    EXPECT_EQ(answer.Word(37), 0);
    EXPECT_EQ(answer.Word(39), 0);
}

TEST_F(CKVRDeviceTest, IdentificationDrawsTheActiveCases)
{
    struct Case {
        std::vector<DWORD> draws;
        BYTE activeCases;
    };
    // One case: each draw is 0 or 1; the second is drawn only after a first case.
    const Case cases[] = {{{0, 1}, 0x00}, {{1, 0}, 0x01}, {{1, 1}, 0x11}, {{3, 5}, 0x11}, {{2, 4}, 0x00}};
    for (const Case& c : cases) {
        ScriptedRandom random(c.draws);
        EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x31)).Byte(34), c.activeCases);
        EXPECT_EQ(device.GetActiveCases(), c.activeCases);
    }
}

TEST_F(CKVRDeviceTest, MeasuredValuesNameTheActiveCasesSensor)
{
    {
        ScriptedRandom random({1, 1});
        Ask(SimRequest(kFamilyKVR, 0x31)); // both outputs on case 1
    }
    struct Case {
        BYTE requested;
        BYTE kind;
        BYTE selector;
    };
    const Case cases[] = {{0, 1, 1}, {5, 1, 1}, {3, 1, 3}, {0, 3, 1}, {5, 4, 1}, {2, 4, 2}};
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x30, {{9, c.requested}, {10, c.kind}}));
        EXPECT_EQ(answer.Command(), 0xB0);
        EXPECT_EQ(answer.Byte(9), c.selector) << int(c.requested) << " kind " << int(c.kind);
        EXPECT_EQ(answer.Word(10), 361);
    }

    ScriptedRandom none({0});
    Ask(SimRequest(kFamilyKVR, 0x31));
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x30, {{9, 0}, {10, 1}})).Byte(9), 0);
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x30, {{9, 5}, {10, 1}})).Byte(9), 5);
}

TEST_F(CKVRDeviceTest, VerificationMarksThirtySixBeamsAndOtherKindsAreNotServed)
{
    const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x30, {{10, 4}}));
    EXPECT_EQ(answer.Word(12 + 2 * 35), 0xC000 | 400);
    EXPECT_EQ(answer.Word(12 + 2 * 36), 400);
    const SensorAnswer refused = Ask(SimRequest(kFamilyKVR, 0x30, {{9, 1}, {10, 2}}));
    EXPECT_EQ(refused.Command(), 0x92);
    EXPECT_EQ(refused.Byte(9), 0);
}

TEST_F(CKVRDeviceTest, AccessCodesWorkAsTheScanners)
{
    SensorRequest login = SimRequest(kFamilyKVR, 0x20, {{9, '1'}});
    PutText(login, 10, "MIRTOVAL");
    EXPECT_EQ(Ask(login).Byte(9), 0);
    SensorRequest change = SimRequest(kFamilyKVR, 0x42, {{9, 0}, {10, 0}});
    PutText(change, 11, "UNITCODE");
    EXPECT_EQ(Ask(change).Byte(9), 2);
    change.SetByte(9, 1);
    EXPECT_EQ(Ask(change).Byte(9), 1);
    EXPECT_EQ(device.AccessCodes().Code(0), CString("UNITCODE"));
}

TEST_F(CKVRDeviceTest, FirstCaseAfterConstruction)
{
    const SimCaseRecord& first = device.CaseRecord(1);
    EXPECT_EQ(first.sensor, 1);
    EXPECT_EQ(first.fieldPair, 1);
    EXPECT_EQ(first.control, 255);
    EXPECT_EQ(first.outputs, 1);
    EXPECT_EQ(first.scans, 2);
    EXPECT_EQ(first.nextCase1, 255);
    EXPECT_EQ(first.nextCase2, 255);
    EXPECT_EQ(first.highSpeed, -2000);
    EXPECT_EQ(first.lowSpeed, 2000);
}

// The answer header of the unit, every data byte 0.
SensorAnswer UnitAnswer(BYTE command)
{
    SensorAnswer answer;
    answer.SetWord(0, kAnswerMarker);
    answer.SetByte(7, 0x08);
    answer.SetByte(8, command);
    return answer;
}

void PutAnswerText(SensorAnswer& answer, std::size_t offset, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        answer.SetByte(offset + i, BYTE(text[i]));
}

SensorAnswer AskLibrary(const SensorRequest& request)
{
    SensorAnswer answer;
    EXPECT_EQ(SimTelegram(request.data(), answer.data()), 1);
    return answer;
}

// Reads only: the library's unit keeps its defaults for the other tests.
TEST(CKVRDeviceLibraryTest, DefaultUnitReadsCommandByCommand)
{
    SensorAnswer block = UnitAnswer(0xB8);
    block.SetByte(9, 4);
    block.SetByte(10, 1);
    PutAnswerText(block, 11, "ZOK 1");
    for (const auto& [offset, value] : {std::pair{52, 1}, {53, 1}, {56, 1}, {130, 1}, {141, 2}, {143, 2}, {144, 1}})
        block.SetByte(std::size_t(offset), BYTE(value));
    PutAnswerText(block, 57, "Feld 1");
    block.SetWord(131, 50);
    block.SetWord(133, 50);
    block.SetWord(135, 25);
    EXPECT_EQ(AskLibrary(SensorRequest(kFamilyKVR, 0x38)), block);

    SensorAnswer firstCase = UnitAnswer(0xB9);
    firstCase.SetByte(9, 1);
    PutAnswerText(firstCase, 10, "Fall 1");
    firstCase.SetWord(19, 255);
    for (const auto& [offset, value] : {std::pair{21, 1}, {22, 1}, {24, 1}, {28, 2}, {29, 255}, {30, 255}})
        firstCase.SetByte(std::size_t(offset), BYTE(value));
    firstCase.SetWord(31, WORD(-2000));
    firstCase.SetWord(33, 2000);
    EXPECT_EQ(AskLibrary(SimRequest(kFamilyKVR, 0x39, {{9, 1}})), firstCase);
    EXPECT_EQ(AskLibrary(SimRequest(kFamilyKVR, 0x39, {{9, 2}})), UnitAnswer(0x92));

    SensorAnswer arc = UnitAnswer(0xC5);
    arc.SetByte(9, 1);
    PutAnswerText(arc, 10, "Feld 1");
    for (const auto& [offset, value] : {std::pair{19, 1}, {20, 1}, {22, 12}, {23, 1}, {24, 1}})
        arc.SetByte(std::size_t(offset), BYTE(value));
    arc.SetWord(25, 98);
    arc.SetWord(27, 400);
    EXPECT_EQ(AskLibrary(FieldReadRequest(1, 0)), arc);

    SensorAnswer warning = UnitAnswer(0xC5);
    warning.SetByte(9, 1);
    PutAnswerText(warning, 10, "Feld 1");
    warning.SetByte(19, 3);
    warning.SetWord(27, 180);
    for (std::size_t i = 0; i < 181; ++i)
        warning.SetWord(29 + 2 * i, 35);
    EXPECT_EQ(AskLibrary(FieldReadRequest(1, 1)), warning);
    EXPECT_EQ(AskLibrary(FieldReadRequest(2, 0)), UnitAnswer(0x92));
}

TEST_F(CKVRDeviceTest, SingleValuesAreTakenInTheirRangesAndEchoed)
{
    struct Case {
        BYTE command;
        BYTE value;
        BYTE status;
    };
    const Case cases[] = {{0x66, 1, 1}, {0x66, 2, 0}, {0x67, 0, 1}, {0x67, 127, 1}, {0x67, 128, 0}};
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, c.command, {{9, c.value}}));
        EXPECT_EQ(answer.Command(), c.command | 0x80);
        EXPECT_EQ(answer.Byte(9), c.status) << int(c.command) << " " << int(c.value);
        EXPECT_EQ(answer.Byte(10), c.value);
    }
    ScriptedRandom random({0});
    const SensorAnswer identity = Ask(SimRequest(kFamilyKVR, 0x31));
    EXPECT_EQ(identity.Byte(31), 1);   // 0x66 kept 1, refused 2
    EXPECT_EQ(identity.Byte(32), 127); // 0x67 kept 127, refused 128
    EXPECT_EQ(Ask(SensorRequest(kFamilyKVR, 0x38)).Byte(9 + 130), 127);

    const SensorAnswer mask = Ask(SimRequest(kFamilyKVR, 0x74, {{9, 0x0F}, {10, 0x80}}));
    EXPECT_EQ(mask.Command(), 0xF4);
    EXPECT_EQ(mask.Byte(9), 1);
    EXPECT_EQ(mask.Word(10), 0x800F);
}

std::vector<BYTE> Range(std::span<const BYTE> record, std::size_t from, std::size_t to)
{
    return {record.begin() + from, record.begin() + to + 1};
}

KVRCase NumberedCase(BYTE n)
{
    return {n, "Fall " + std::to_string(n), WORD(0x0C00 | n), BYTE(n % 3 + 1), BYTE(n % 4 + 1), BYTE(n & 3),
            BYTE(n + 1), BYTE(n % 5 + 1), 255, std::int16_t(1000 + n), std::int16_t(-500 - n)};
}

// The device layer's whole write: each block checked (status 2) and then committed
// (status 1), the case mask, and for each field pair the field write, the preview, the
// store and the warning contour; a read afterwards returns what was written.
TEST_F(CKVRDeviceTest, TwoStepWriteThenReadReturnsWhatWasWritten)
{
    KVRBlock block;
    block.typeCode = 50;
    block.sensors = {"Links", "Rechts", "Mitte"};
    block.fieldPairs = {"Feld A", "Feld B", "Feld C", "Feld D"};
    block.caseCount = 5;
    const BYTE bytes42to45[] = {1, 0x5F, 3, 2};
    std::copy(std::begin(bytes42to45), std::end(bytes42to45), block.bytes42to45);
    block.words[0] = 100;
    block.words[1] = 120;
    block.words[2] = 30;
    const BYTE bytes130to135[] = {9, 1, 10, 0, 2, 1};
    std::copy(std::begin(bytes130to135), std::end(bytes130to135), block.bytes130to135);

    const SensorRequest check = BlockRequest(0x70, block);
    const SensorAnswer checked = Ask(check);
    EXPECT_EQ(checked.Command(), 0xF0);
    EXPECT_EQ(checked.Byte(9), 2);
    EXPECT_EQ(Range(checked.Bytes(), 10, 147), Range(check.Bytes(), 9, 146));
    EXPECT_EQ(Ask(SensorRequest(kFamilyKVR, 0x38)).Byte(10), 1) << "a check stores nothing";

    const SensorRequest commit = BlockRequest(0x71, block);
    const SensorAnswer committed = Ask(commit);
    EXPECT_EQ(committed.Command(), 0xF0);
    EXPECT_EQ(committed.Byte(9), 1);
    EXPECT_EQ(Range(committed.Bytes(), 10, 147), Range(commit.Bytes(), 9, 146));

    for (BYTE n = 1; n <= 5; ++n) {
        const SensorAnswer caseChecked = Ask(CaseRequest(0x72, NumberedCase(n)));
        EXPECT_EQ(caseChecked.Command(), 0xF2);
        EXPECT_EQ(caseChecked.Byte(9), 2);
        EXPECT_EQ(Range(caseChecked.Bytes(), 10, 35), Range(CaseRequest(0x72, NumberedCase(n)).Bytes(), 9, 34));
        const SensorAnswer caseCommitted = Ask(CaseRequest(0x73, NumberedCase(n)));
        EXPECT_EQ(caseCommitted.Command(), 0xF2);
        EXPECT_EQ(caseCommitted.Byte(9), 1);
    }
    EXPECT_EQ(Ask(SimRequest(kFamilyKVR, 0x74, {{9, 0x3F}})).Byte(9), 1);

    std::vector<WORD> polygon(181);
    for (std::size_t i = 0; i < polygon.size(); ++i)
        polygon[i] = WORD(200 + i);
    const SensorRequest fields[] = {FieldWriteRequest(1, "Feld A", 0, {100, 150, 200}),
                                    FieldWriteRequest(2, "Feld B", 1, {300}), PolygonWriteRequest(3, "Feld C", polygon),
                                    PolygonWriteRequest(4, "Feld D", {100, 200, 100})};
    const SimDeviceTime before = SimLocalTimeNow();
    for (BYTE n = 1; n <= 4; ++n) {
        const SensorAnswer written = Ask(fields[n - 1]);
        EXPECT_EQ(written.Command(), 0xC0);
        EXPECT_EQ(written.Byte(9), 1);
        EXPECT_EQ(written.Byte(10), n);
        EXPECT_EQ(AnswerText(written, 11, 9), PaddedName(block.fieldPairs[n - 1]));
        EXPECT_EQ(written.Byte(20), fields[n - 1].Byte(19));
        EXPECT_EQ(Ask(PendingFieldRequest(1, n)).Byte(9), 3);
        EXPECT_EQ(Ask(PendingFieldRequest(2, n)).Byte(9), 1);
        const SensorAnswer contour = Ask(WarningContourRequest(n, std::vector<WORD>(91, WORD(10 * n))));
        EXPECT_EQ(contour.Command(), 0xC3);
        EXPECT_EQ(contour.Byte(9), 1);
        EXPECT_EQ(contour.Byte(10), n);
    }
    const SimDeviceTime after = SimLocalTimeNow();

    const SensorAnswer readBlock = Ask(SensorRequest(kFamilyKVR, 0x38));
    EXPECT_EQ(Range(readBlock.Bytes(), 9, 146), Range(commit.Bytes(), 9, 146));
    EXPECT_EQ(device.GetTypeCode(), 50);
    for (BYTE n = 1; n <= 5; ++n) {
        const SensorAnswer readCase = Ask(SimRequest(kFamilyKVR, 0x39, {{9, n}}));
        EXPECT_EQ(readCase.Command(), 0xB9);
        EXPECT_EQ(Range(readCase.Bytes(), 9, 34), Range(CaseRequest(0x73, NumberedCase(n)).Bytes(), 9, 34)) << int(n);
    }

    auto stampedNow = [&](const SensorAnswer& answer) {
        auto stamp = [](const SimDeviceTime& t) { return std::vector<int>{t.minute, t.hour, t.day, t.month, t.year}; };
        const std::vector<int> read{answer.Byte(21), answer.Byte(22), answer.Byte(23), answer.Byte(24), answer.Word(25)};
        return read == stamp(before) || read == stamp(after);
    };
    for (BYTE n = 1; n <= 4; ++n) {
        const SensorAnswer field = Ask(FieldReadRequest(n, 0));
        EXPECT_EQ(field.Byte(9), n);
        EXPECT_EQ(AnswerText(field, 10, 9), PaddedName(block.fieldPairs[n - 1]));
        EXPECT_EQ(field.Byte(19), fields[n - 1].Byte(19));
        EXPECT_EQ(field.Byte(20), 1);
        EXPECT_TRUE(stampedNow(field)) << int(n);
        const std::size_t dataWords = n == 3 ? 182 : n == 4 ? 4 : n == 1 ? 3 : 1;
        EXPECT_EQ(Range(field.Bytes(), 27, 26 + 2 * dataWords), Range(fields[n - 1].Bytes(), 26, 25 + 2 * dataWords));

        const SensorAnswer warning = Ask(FieldReadRequest(n, 1));
        EXPECT_EQ(warning.Byte(19), 3);
        EXPECT_EQ(warning.Word(27), 90);
        EXPECT_EQ(warning.Word(29 + 2 * 90), 10 * n);
        EXPECT_EQ(warning.Word(29 + 2 * 91), 0);
    }
}

// A shorter list changes the count and the names within it; the unit answers the slots
// behind it as they were.
TEST_F(CKVRDeviceTest, NamesBehindACountKeepTheirContents)
{
    KVRBlock block;
    block.sensors = {"A", "B", "C"};
    block.fieldPairs = {"F1", "F2"};
    Ask(BlockRequest(0x71, block));
    block.sensors = {"X"};
    block.fieldPairs = {"G1"};
    Ask(BlockRequest(0x71, block));
    const SensorAnswer answer = Ask(SensorRequest(kFamilyKVR, 0x38));
    EXPECT_EQ(answer.Byte(10), 1);
    EXPECT_EQ(AnswerText(answer, 11, 9), PaddedName("X"));
    EXPECT_EQ(AnswerText(answer, 20, 9), PaddedName("B"));
    EXPECT_EQ(AnswerText(answer, 29, 9), PaddedName("C"));
    EXPECT_EQ(answer.Byte(56), 1);
    EXPECT_EQ(AnswerText(answer, 57, 9), PaddedName("G1"));
    EXPECT_EQ(AnswerText(answer, 66, 9), PaddedName("F2"));
}

// Everything the unit answers about its configuration and fields, and what a field
// write, a preview or a teach-in would change.
std::vector<SensorAnswer> UnitState(CKVRDevice& device)
{
    std::vector<SensorAnswer> state;
    auto ask = [&](const SensorRequest& request) {
        state.emplace_back();
        device.Telegram(request.Bytes(), state.back().Bytes());
    };
    ask(SensorRequest(kFamilyKVR, 0x38));
    for (BYTE n = 1; n <= 15; ++n)
        ask(SimRequest(kFamilyKVR, 0x39, {{9, n}}));
    for (BYTE n = 1; n <= 8; ++n) {
        ask(FieldReadRequest(n, 0));
        ask(FieldReadRequest(n, 1));
    }
    ask(SimRequest(kFamilyKVR, 0x30, {{10, 4}})); // marks the next beams alike in both states
    return state;
}

// Names the first answer and byte in which two states differ.
::testing::AssertionResult SameState(const std::vector<SensorAnswer>& actual, const std::vector<SensorAnswer>& expected)
{
    for (std::size_t i = 0; i < expected.size(); ++i) {
        for (std::size_t offset = 0; offset < SensorAnswer::Size; ++offset) {
            if (actual.at(i).Byte(offset) != expected[i].Byte(offset))
                return ::testing::AssertionFailure() << "state answer " << i << " (command 0x" << std::hex
                                                     << int(expected[i].Command()) << std::dec << ") differs at byte "
                                                     << offset;
        }
    }
    return ::testing::AssertionSuccess();
}

SensorRequest WithWord(SensorRequest request, std::size_t offset, WORD value)
{
    request.SetWord(offset, value);
    return request;
}

KVRBlock BlockWithCounts(std::size_t sensors, std::size_t fieldPairs, BYTE cases)
{
    KVRBlock block;
    block.sensors = std::vector<std::string>(sensors, "ZOK");
    block.fieldPairs = std::vector<std::string>(fieldPairs, "Feld");
    block.caseCount = cases;
    return block;
}

// Numbers of cases and field pairs outside 1 to their count, counts beyond the unit's
// tables, contours of more than 361 beams and unknown steps are refused; the unit keeps
// everything as it was.
TEST_F(CKVRDeviceTest, RefusedRequestsStoreNothing)
{
    struct Case {
        const char* what;
        SensorRequest request;
        BYTE command;
        std::vector<std::pair<std::size_t, BYTE>> bytes; // status at 9 and the echoes
    };
    KVRCase case0 = NumberedCase(1);
    case0.number = 0;
    KVRCase case16 = NumberedCase(1);
    case16.number = 16;
    const Case cases[] = {
        {"case 0", SimRequest(kFamilyKVR, 0x39, {{9, 0}}), 0x92, {}},
        {"case above the count", SimRequest(kFamilyKVR, 0x39, {{9, 2}}), 0x92, {}},
        {"field write to pair 0", FieldWriteRequest(0, "Null", 1, {250}), 0xC0, {{9, 0}, {10, 0}, {11, 'N'}}},
        {"field write above the count", FieldWriteRequest(2, "Zwei", 1, {250}), 0xC0, {{9, 0}, {10, 2}, {11, 'Z'}}},
        {"polygon of 362 points", PolygonWriteRequest(1, "Feld 1", std::vector<WORD>(362, 250)), 0xC0, {{9, 0}}},
        {"polygon count word 65535", WithWord(PolygonWriteRequest(1, "Feld 1", {250, 250}), 26, 0xFFFF), 0xC0, {{9, 0}}},
        {"store into pair 0", PendingFieldRequest(2, 0), 0xC1, {{9, 0}, {10, 0}, {11, 1}}},
        {"store above the count", PendingFieldRequest(2, 2, 7), 0xC1, {{9, 0}, {10, 2}, {11, 7}}},
        {"unknown pending step", PendingFieldRequest(3, 1), 0xC1, {{9, 0}, {10, 1}}},
        {"preview of an empty pending field", PendingFieldRequest(1, 1), 0xC1, {{9, 0}}},
        {"warning contour of pair 0", WarningContourRequest(0, {80, 80}), 0xC3, {{9, 0}, {10, 0}}},
        {"warning contour above the count", WarningContourRequest(2, {80, 80}), 0xC3, {{9, 0}, {10, 2}}},
        {"warning contour of 362 beams", WarningContourRequest(1, std::vector<WORD>(362, 80)), 0xC3, {{9, 0}, {10, 1}}},
        {"warning contour count word 65535", WithWord(WarningContourRequest(1, {80}), 10, 0xFFFF), 0xC3, {{9, 0}}},
        {"field read of pair 0", FieldReadRequest(0, 0), 0x92, {}},
        {"field read above the count", FieldReadRequest(2, 1), 0x92, {}},
        {"unknown field read", FieldReadRequest(1, 2), 0x92, {}},
        {"teach-in for pair 0", TeachInRequest(0, 1, 0), 0xC6, {{9, 0}, {10, 1}}},
        {"teach-in above the pair count", TeachInRequest(2, 1, 1), 0xC6, {{9, 0}, {10, 1}}},
        {"teach-in above the sensor count", TeachInRequest(1, 2, 0), 0xC6, {{9, 0}, {10, 2}}},
        {"unknown teach-in step", TeachInRequest(1, 1, 2), 0xC6, {{9, 0}, {10, 1}}},
        {"0x67 of 128", SimRequest(kFamilyKVR, 0x67, {{9, 128}}), 0xE7, {{9, 0}, {10, 128}}},
        {"check of 5 sensors", BlockRequest(0x70, BlockWithCounts(5, 1, 1)), 0xF0, {{9, 0}, {11, 5}}},
        {"store of 5 sensors", BlockRequest(0x71, BlockWithCounts(5, 1, 1)), 0xF0, {{9, 0}, {11, 5}}},
        {"store of 9 field pairs", BlockRequest(0x71, BlockWithCounts(1, 9, 1)), 0xF0, {{9, 0}, {57, 9}}},
        {"store of 16 cases", BlockRequest(0x71, BlockWithCounts(1, 1, 16)), 0xF0, {{9, 0}, {131, 16}}},
        {"check of case 0", CaseRequest(0x72, case0), 0xF2, {{9, 0}, {10, 0}}},
        {"store of case 0", CaseRequest(0x73, case0), 0xF2, {{9, 0}, {10, 0}}},
        {"store of case 16", CaseRequest(0x73, case16), 0xF2, {{9, 0}, {10, 16}}},
    };
    const std::vector<SensorAnswer> before = UnitState(device);
    const SimFieldRecord pending = device.PendingField();
    for (const Case& c : cases) {
        CKVRDevice fresh;
        const SensorAnswer answer = [&] {
            SensorAnswer a;
            EXPECT_EQ(fresh.Telegram(c.request.Bytes(), a.Bytes()), 1) << c.what;
            return a;
        }();
        EXPECT_EQ(answer.Command(), c.command) << c.what;
        if (c.command == 0x92) {
            EXPECT_EQ(answer, UnitAnswer(0x92)) << c.what;
        }
        for (const auto& [offset, value] : c.bytes)
            EXPECT_EQ(answer.Byte(offset), value) << c.what << " at " << offset;
        EXPECT_TRUE(SameState(UnitState(fresh), before)) << c.what;
        EXPECT_EQ(fresh.PendingField(), pending) << c.what;
    }
}

TEST(CKVRDeviceArchiveTest, ArchiveFormIsTheVersionByte)
{
    const std::unique_ptr<CObject> created = CRuntimeClass::CreateObject("CKVRDevice");
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsSerializable());

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKVRDevice().Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    EXPECT_EQ(bytes, std::vector<BYTE>{1});
    bytes[0] = 3;
    CMemFile input(bytes.data(), UINT(bytes.size()));
    CArchive ar(&input, CArchive::load);
    CKVRDevice device;
    EXPECT_THROW(device.Serialize(ar), CArchiveException);
}

} // namespace
