#include "simulator/internal/CKVRDevice.h"

#include "KVRRequests.h"
#include "ScriptedRandom.h"
#include "SimRecords.h"

#include <gtest/gtest.h>

namespace {

class KVRFieldCommandsTest : public ::testing::Test {
protected:
    SensorAnswer Ask(const SensorRequest& request)
    {
        SensorAnswer answer;
        EXPECT_EQ(device.Telegram(request.Bytes(), answer.Bytes()), 1);
        return answer;
    }

    // The current contour as the verification (0x30 kind 4) answers it, marks removed.
    std::vector<WORD> CurrentDistances()
    {
        const SensorAnswer answer = Ask(SimRequest(kFamilyKVR, 0x30, {{9, 1}, {10, 4}}));
        std::vector<WORD> words;
        for (std::size_t i = 0; i < answer.Word(10); ++i)
            words.push_back(WORD(answer.Word(12 + 2 * i) & 0x3FFF));
        return words;
    }

    CKVRDevice device;
};

// The write answer repeats the shape, the request's time and the shape's data; the
// pair takes the name that came with it.
TEST_F(KVRFieldCommandsTest, FieldWriteAnswersWhatThePendingFieldHolds)
{
    struct Case {
        std::string name;
        SensorRequest request;
        std::vector<std::pair<std::size_t, WORD>> words;
    };
    const Case cases[] = {
        {"Rechteck", FieldWriteRequest(1, "Rechteck", 0, {120, 130, 140}), {{27, 120}, {29, 130}, {31, 140}, {33, 0}}},
        {"Bogen", FieldWriteRequest(1, "Bogen", 1, {333, 444}), {{27, 333}, {29, 0}}},
        {"Polygon", PolygonWriteRequest(1, "Polygon", {300, 310, 320}), {{27, 2}, {29, 300}, {31, 310}, {33, 320}, {35, 0}}},
    };
    for (const Case& c : cases) {
        const SensorAnswer answer = Ask(c.request);
        EXPECT_EQ(answer.Command(), 0xC0);
        EXPECT_EQ(answer.Byte(9), 1);
        EXPECT_EQ(answer.Byte(10), 1);
        EXPECT_EQ(AnswerText(answer, 11, 9), PaddedName(c.name));
        EXPECT_EQ(answer.Byte(19), 0);
        EXPECT_EQ(answer.Byte(20), c.request.Byte(19));
        for (std::size_t offset = 21; offset <= 26; ++offset)
            EXPECT_EQ(answer.Byte(offset), c.request.Byte(offset - 1)) << offset;
        for (const auto& [offset, value] : c.words)
            EXPECT_EQ(answer.Word(offset), value) << "shape " << int(c.request.Byte(19)) << " at " << offset;
        EXPECT_EQ(device.PendingField().defined, 0);
    }
    const SensorAnswer block = Ask(SensorRequest(kFamilyKVR, 0x38));
    EXPECT_EQ(AnswerText(block, 9 + 48, 9), "Polygon ");
}

TEST_F(KVRFieldCommandsTest, PreviewBuildsTheCurrentContourOfThePendingShape)
{
    struct Case {
        SensorRequest request;
        std::vector<std::pair<std::size_t, WORD>> beams;
    };
    const Case cases[] = {
        {FieldWriteRequest(1, "Feld 1", 0, {100, 100, 100}), {{0, 100}, {90, 141}, {180, 100}, {270, 141}, {360, 100}}},
        {FieldWriteRequest(1, "Feld 1", 1, {250}), {{0, 250}, {180, 250}, {360, 250}}},
        {PolygonWriteRequest(1, "Feld 1", {100, 200, 100}), {{0, 100}, {90, 147}, {180, 200}, {270, 153}, {360, 100}}},
    };
    for (const Case& c : cases) {
        Ask(c.request);
        const SensorAnswer preview = Ask(PendingFieldRequest(1, 1));
        EXPECT_EQ(preview.Command(), 0xC1);
        EXPECT_EQ(preview.Byte(9), 3);
        const std::vector<WORD> contour = CurrentDistances();
        ASSERT_EQ(contour.size(), 361u);
        for (const auto& [beam, distance] : c.beams)
            EXPECT_EQ(contour[beam], distance) << "shape " << int(c.request.Byte(19)) << " beam " << beam;
    }
    // A discarded field answers 0 and leaves the contour as it is.
    EXPECT_EQ(Ask(PendingFieldRequest(0, 1)).Byte(9), 0);
    EXPECT_EQ(CurrentDistances()[90], 147);
}

// A taught contour: the teach-in restarts the scan record, the measured scans fill it,
// accepting it makes it the pending field, and storing it keeps the taught distances as
// vertices, however the scans change afterwards.
TEST_F(KVRFieldCommandsTest, TaughtContourIsStoredAsBeamWords)
{
    const SensorAnswer started = Ask(TeachInRequest(1, 1, 0));
    EXPECT_EQ(started.Command(), 0xC6);
    EXPECT_EQ(started.Byte(9), 3);
    EXPECT_EQ(started.Byte(10), 1);
    {
        std::vector<DWORD> noise(361);
        for (std::size_t i = 0; i < noise.size(); ++i)
            noise[i] = DWORD(i % 26);
        ScriptedRandom random(noise);
        Ask(SimRequest(kFamilyKVR, 0x30, {{9, 1}, {10, 3}}));
    }
    EXPECT_EQ(Ask(TeachInRequest(1, 1, 1)).Byte(9), 1);
    EXPECT_EQ(device.PendingField().shape, 4);
    EXPECT_EQ(Ask(PendingFieldRequest(1, 1)).Byte(9), 3);
    EXPECT_EQ(CurrentDistances()[27], 375 + 1);
    EXPECT_EQ(Ask(PendingFieldRequest(2, 1)).Byte(9), 1);

    ScriptedRandom later({25});
    Ask(SimRequest(kFamilyKVR, 0x30, {{9, 1}, {10, 3}})); // a new scan must not change the stored field
    const SensorAnswer field = Ask(FieldReadRequest(1, 0));
    EXPECT_EQ(field.Byte(19), 4);
    EXPECT_EQ(field.Byte(20), 1);
    for (std::size_t beam : {0u, 1u, 25u, 360u})
        EXPECT_EQ(field.Word(27 + 2 * beam), 0x8000 | (375 + beam % 26)) << beam;
}

TEST_F(KVRFieldCommandsTest, WarningContourIsStoredPerFieldPair)
{
    KVRBlock block;
    block.fieldPairs = {"Feld 1", "Feld 2"};
    EXPECT_EQ(Ask(BlockRequest(0x71, block)).Byte(9), 1);
    std::vector<WORD> distances(361);
    for (std::size_t i = 0; i < distances.size(); ++i)
        distances[i] = WORD(i);
    EXPECT_EQ(Ask(WarningContourRequest(2, distances)).Byte(9), 1);

    const SensorAnswer second = Ask(FieldReadRequest(2, 1));
    EXPECT_EQ(second.Byte(9), 2);
    EXPECT_EQ(AnswerText(second, 10, 9), "Feld 2  ");
    EXPECT_EQ(second.Byte(19), 3);
    EXPECT_EQ(second.Word(27), 360);
    EXPECT_EQ(second.Word(29 + 2 * 360), 360);
    EXPECT_EQ(Ask(FieldReadRequest(1, 1)).Word(27), 180) << "the first pair keeps its contour";
}

} // namespace
