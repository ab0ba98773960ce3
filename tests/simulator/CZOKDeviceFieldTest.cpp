// The field requests of the simulated scanner: a field written as the pending field,
// previewed as the current contour and stored; the warning contour; the teach-in.
#include "simulator/internal/CZOKDevice.h"

#include "ScriptedRandom.h"
#include "SimRecords.h"
#include "framework/core/CTime.h"
#include "simulator/internal/ContourBuilders.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr BYTE kTime[] = {30, 14, 25, 11}; // 14:30 on 25 December
constexpr WORD kYear = 125;

class CZOKDeviceFieldTest : public ::testing::Test {
protected:
    SensorAnswer Ask(const SensorRequest& request)
    {
        SensorAnswer answer;
        EXPECT_EQ(device.Telegram(request.Bytes(), answer.Bytes()), 1);
        return answer;
    }
    // 0x40 with the shape code, the time above and the words from byte 26.
    SensorAnswer WriteField(BYTE shape, const std::vector<WORD>& words)
    {
        SensorRequest request = SimRequest(kFamilyZOK, 0x40, {{19, shape}});
        for (std::size_t i = 0; i < 4; ++i)
            request.SetByte(20 + i, kTime[i]);
        request.SetWord(24, kYear);
        for (std::size_t i = 0; i < words.size(); ++i)
            request.SetWord(26 + 2 * i, words[i]);
        return Ask(request);
    }
    // A segment list of count points of distance, as 0x40 shape 2 carries it.
    SensorAnswer WritePolygon(std::size_t count, WORD distance)
    {
        std::vector<WORD> words(count + 1, distance);
        words[0] = WORD(count - 1);
        return WriteField(2, words);
    }
    BYTE Pending(BYTE subCode) { return Ask(SimRequest(kFamilyZOK, 0x41, {{9, subCode}})).Byte(9); }
    SensorAnswer ReadField(BYTE subCode) { return Ask(SimRequest(kFamilyZOK, 0x45, {{10, subCode}})); }
    SensorAnswer TeachIn(BYTE subCode)
    {
        SensorRequest request = SimRequest(kFamilyZOK, 0x46, {{20, subCode}});
        for (std::size_t i = 0; i < 4; ++i)
            request.SetByte(21 + i, kTime[i]);
        request.SetWord(25, kYear);
        return Ask(request);
    }
    SensorAnswer WriteWarningContour(WORD countMinusOne, WORD distance)
    {
        SensorRequest request = SimRequest(kFamilyZOK, 0x43);
        request.SetWord(10, countMinusOne);
        for (std::size_t i = 0; i <= countMinusOne && 12 + 2 * i + 1 < kRequestRecordSize; ++i)
            request.SetWord(12 + 2 * i, distance);
        return Ask(request);
    }
    const SimContour& CurrentContour() { return device.MeasuredValues().CurrentContour(); }

    static void ExpectRequestTime(const SensorAnswer& answer)
    {
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(answer.Byte(21 + i), kTime[i]) << i;
        EXPECT_EQ(answer.Word(25), kYear);
    }

    CZOKDevice device;
};

TEST_F(CZOKDeviceFieldTest, RectangleIsPendingUntilPreviewedAndStored)
{
    const SimFieldRecord storedBefore = device.StoredField();
    const SensorAnswer written = WriteField(0, {100, 200, 150});
    EXPECT_EQ(written.Command(), 0xC0);
    EXPECT_EQ(written.Byte(9), 1);
    EXPECT_EQ(written.Byte(20), 0);
    ExpectRequestTime(written);
    EXPECT_EQ(written.Word(27), 100);
    EXPECT_EQ(written.Word(29), 200);
    EXPECT_EQ(written.Word(31), 150);
    EXPECT_EQ(device.StoredField(), storedBefore);

    SimContour expected = CurrentContour();
    ASSERT_TRUE(FillRectangleContour(100, 200, 150, expected));
    EXPECT_EQ(Pending(1), 3);
    EXPECT_EQ(CurrentContour(), expected);
    EXPECT_EQ(device.StoredField(), storedBefore);

    EXPECT_EQ(Pending(2), 1);
    const SensorAnswer read = ReadField(0);
    EXPECT_EQ(read.Command(), 0xC5);
    EXPECT_EQ(read.Byte(19), 0);
    EXPECT_EQ(read.Byte(20), 1); // defined
    EXPECT_EQ(read.Word(27), 100);
    EXPECT_EQ(read.Word(29), 200);
    EXPECT_EQ(read.Word(31), 150);
}

TEST_F(CZOKDeviceFieldTest, StoredFieldIsStampedWithTheTimeOfTheStore)
{
    WriteField(1, {300});
    const CTime before = CTime::GetCurrentTime() - CTimeSpan(60);
    ASSERT_EQ(Pending(2), 1);
    const CTime after = CTime::GetCurrentTime();
    const SimFieldRecord& stored = device.StoredField();
    const CTime stamped(stored.year + 1900, stored.month + 1, stored.day, stored.hour, stored.minute, 0);
    EXPECT_LE(before, stamped);
    EXPECT_LE(stamped, after);
    EXPECT_EQ(stored.shape, SIM_SHAPE_CONSTANT);
    EXPECT_EQ(stored.parameter, 300);
    EXPECT_EQ(ReadField(0).Word(27), 300);
}

TEST_F(CZOKDeviceFieldTest, PolygonRoundTripsWithItsCountMinusOne)
{
    for (std::size_t count : {std::size_t(3), std::size_t(181), std::size_t(361)}) {
        const SensorAnswer written = WritePolygon(count, 250);
        EXPECT_EQ(written.Byte(9), 1);
        EXPECT_EQ(written.Byte(20), 2);
        EXPECT_EQ(written.Word(27), count - 1);
        EXPECT_EQ(written.Word(29 + 2 * (count - 1)), 250);
        EXPECT_EQ(Pending(1), 3);
        EXPECT_EQ(CurrentContour(), SimContour::Filled(361, 250)) << count;
        EXPECT_EQ(Pending(2), 1);

        const SensorAnswer read = ReadField(0);
        EXPECT_EQ(read.Byte(19), 2);
        EXPECT_EQ(read.Word(27), count - 1);
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(read.Word(29 + 2 * i), 250) << i;
        if (count < 361) {
            EXPECT_EQ(read.Word(29 + 2 * count), 0);
        }
    }
}

TEST_F(CZOKDeviceFieldTest, UnknownShapeCodeKeepsTheShapeButTakesTheTime)
{
    WriteField(0, {100, 200, 150});
    const SensorAnswer answer = WriteField(7, {999, 999, 999});
    EXPECT_EQ(answer.Byte(9), 1);
    EXPECT_EQ(answer.Byte(20), 0);
    EXPECT_EQ(answer.Word(27), 100);
    const SimFieldRecord& pending = device.PendingField();
    EXPECT_EQ(pending.shape, SIM_SHAPE_RECTANGLE);
    EXPECT_EQ(pending.values[1], 150);
    EXPECT_EQ(pending.minute, kTime[0]);
}

TEST_F(CZOKDeviceFieldTest, DiscardAnswersStatusZero)
{
    WriteField(1, {300});
    const SensorAnswer answer = Ask(SimRequest(kFamilyZOK, 0x41, {{9, 0}}));
    EXPECT_EQ(answer.Command(), 0xC1);
    EXPECT_EQ(answer.Byte(9), 0);
    EXPECT_EQ(device.PendingField().defined, 0);
}

TEST_F(CZOKDeviceFieldTest, WarningContourIsReadBackAsShapeThree)
{
    const SensorAnswer stored = WriteWarningContour(90, 77);
    EXPECT_EQ(stored.Command(), 0xC3);
    EXPECT_EQ(stored.Byte(9), 1);
    const SensorAnswer read = ReadField(1);
    EXPECT_EQ(read.Byte(19), 3);
    EXPECT_EQ(read.Word(27), 90);
    for (std::size_t i = 0; i <= 90; ++i)
        ASSERT_EQ(read.Word(29 + 2 * i), 77) << i;
    EXPECT_EQ(read.Word(29 + 2 * 91), 0);

    EXPECT_EQ(WriteWarningContour(360, 55).Byte(9), 1);
    EXPECT_EQ(ReadField(1).Word(27), 360);
}

// Teach-in: a scan record of 400 cm, replaced by measured scans, accepted as the pending
// field, previewed and stored as a beam contour.
TEST_F(CZOKDeviceFieldTest, TaughtContourIsPreviewedAndStoredAsBeamWords)
{
    const SensorAnswer started = TeachIn(0);
    EXPECT_EQ(started.Command(), 0xC6);
    EXPECT_EQ(started.Byte(9), 3);
    const SimFieldRecord& scan = device.MeasuredValues().ScanRecord();
    EXPECT_EQ(scan.shape, SIM_SHAPE_BEAMS);
    EXPECT_EQ(scan.parameter, 361);
    EXPECT_EQ(scan.values[360], 400);
    EXPECT_EQ(scan.minute, kTime[0]);
    EXPECT_EQ(scan.year, kYear);

    {
        ScriptedRandom random({10});
        Ask(SimRequest(kFamilyZOK, 0x30, {{10, 3}}));
    }
    EXPECT_EQ(scan.values[0], 385);
    EXPECT_EQ(TeachIn(1).Byte(9), 1);
    EXPECT_EQ(device.PendingField(), scan);

    device.MeasuredValues().CurrentContour().words[5] = WORD(0x2000 | 0xC000 | 999);
    EXPECT_EQ(Pending(1), 3);
    EXPECT_EQ(CurrentContour().words[5], 0x2000 | 375);
    EXPECT_EQ(CurrentContour().words[0], 385);

    EXPECT_EQ(Pending(2), 1);
    const SensorAnswer read = ReadField(0);
    EXPECT_EQ(read.Byte(19), 4);
    EXPECT_EQ(read.Word(27), 0x8000 | 385);
    EXPECT_EQ(read.Word(27 + 2 * 360), 0x8000 | 375);

    // A later teach-in scan changes the scan record, not the stored field.
    {
        ScriptedRandom random({20});
        Ask(SimRequest(kFamilyZOK, 0x30, {{10, 3}}));
    }
    EXPECT_EQ(ReadField(0), read);
    EXPECT_EQ(TeachIn(2).Byte(9), 0);
}

TEST_F(CZOKDeviceFieldTest, PreviewClearsTheVerificationMarks)
{
    const SensorRequest verify = SimRequest(kFamilyZOK, 0x30, {{10, 4}});
    for (int i = 0; i < 11; ++i)
        Ask(verify);
    EXPECT_EQ(CurrentContour().words[360] & 0xC000, 0xC000);

    WriteField(1, {250});
    EXPECT_EQ(Pending(1), 3);
    EXPECT_EQ(CurrentContour(), SimContour::Filled(361, 250));
    const SensorAnswer marked = Ask(verify);
    EXPECT_EQ(marked.Word(12 + 2 * 35), 0xC000 | 250);
    EXPECT_EQ(marked.Word(12 + 2 * 36), 250);
}

// Requests whose counts, shapes or sub-codes the scanner cannot serve change nothing.
TEST_F(CZOKDeviceFieldTest, UnfitFieldRequestsAreRefusedAndChangeNothing)
{
    struct Case {
        const char* what;
        SensorRequest request;
        BYTE answerCommand;
    };
    auto withWord = [](BYTE command, std::size_t offset, WORD value, std::initializer_list<std::pair<std::size_t, BYTE>> bytes) {
        SensorRequest request = SimRequest(kFamilyZOK, command, bytes);
        request.SetWord(offset, value);
        return request;
    };
    const Case cases[] = {
        {"polygon of 362 points", withWord(0x40, 26, 361, {{19, 2}}), 0xC0},
        {"polygon count wrapping", withWord(0x40, 26, 0xFFFF, {{19, 2}}), 0xC0},
        {"warning contour of 362", withWord(0x43, 10, 361, {}), 0xC3},
        {"warning count wrapping", withWord(0x43, 10, 0xFFFF, {}), 0xC3},
        {"preview of an empty rectangle", SimRequest(kFamilyZOK, 0x41, {{9, 1}}), 0xC1},
        {"pending sub-code 3", SimRequest(kFamilyZOK, 0x41, {{9, 3}}), 0xC1},
        {"teach-in sub-code 2", SimRequest(kFamilyZOK, 0x46, {{20, 2}}), 0xC6},
    };
    const SimFieldRecord stored = device.StoredField();
    const SimFieldRecord pending = device.PendingField();
    const SimContour warning = device.WarningContour();
    const SimContour contour = CurrentContour();
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(c.request);
        EXPECT_EQ(answer.Command(), c.answerCommand) << c.what;
        EXPECT_EQ(answer.Byte(9), 0) << c.what;
        EXPECT_EQ(device.StoredField(), stored) << c.what;
        EXPECT_EQ(device.PendingField(), pending) << c.what;
        EXPECT_EQ(device.WarningContour(), warning) << c.what;
        EXPECT_EQ(CurrentContour(), contour) << c.what;
    }
    const SensorAnswer unserved = ReadField(2);
    EXPECT_EQ(unserved.Command(), 0x92);
    EXPECT_EQ(unserved.Byte(19), 0);
}

} // namespace
