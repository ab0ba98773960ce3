// Answer records into frames, checked against the driver's unpacking: what an answerer
// writes into a record is what the program reads from the driver.
#include "tools/AnswerFrameEncoder.h"

#include "driver/internal/TelegramFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

SensorAnswer PatternAnswer(BYTE command, BYTE status, const std::function<void(SensorAnswer&)>& fields = {})
{
    SensorAnswer answer;
    for (std::size_t i = AnswerOffset::Data; i < kAnswerRecordSize; ++i)
        answer.SetByte(i, BYTE(i * 5 + 3));
    answer.SetByte(AnswerOffset::Status, status);
    answer.SetByte(AnswerOffset::Command, command);
    if (fields)
        fields(answer);
    return answer;
}

WORD FrameLength(const Bytes& frame)
{
    return frame.size() >= 4 ? WORD(frame[2] | (frame[3] << 8)) : 0;
}

struct AnswerCase {
    const char* name;
    BYTE family;
    BYTE requestSubCode;
    SensorAnswer answer;
    WORD length; // L of the frame; 0 when not checked
};

std::vector<AnswerCase> AnswerCases()
{
    std::vector<AnswerCase> cases;
    for (BYTE family : {kFamilyZOK, kFamilyKVR}) {
        const BYTE status = family == kFamilyKVR ? 0x08 : 0x00;
        const bool kvr = family == kFamilyKVR;
        const auto add = [&](const char* name, BYTE command, WORD length, std::function<void(SensorAnswer&)> fields = {},
                             BYTE subCode = 0) {
            cases.push_back({name, family, subCode, PatternAnswer(command, status, fields), length});
        };
        add("connection", 0x91, 2);
        add("identification", 0xB1, kvr ? 33 : 125);
        add("error list of three", 0xB2, 8, [](SensorAnswer& a) { a.SetByte(9, 3); });
        add("empty error list", 0xB2, 2, [](SensorAnswer& a) { a.SetByte(9, 0); });
        add("scan of 361", 0xB0, kvr ? 727 : 726, [](SensorAnswer& a) { a.SetWord(10, 361); });
        add("0xB4", 0xB4, kvr ? 7 : 6);
        add("configuration block", 0xB8, 128);
        add("case record", 0xB9, 27);
        add("rectangle field read", 0xC0, kvr ? 27 : 18, [](SensorAnswer& a) { a.SetByte(20, 0); });
        add("arc field read", 0xC0, kvr ? 23 : 14, [](SensorAnswer& a) { a.SetByte(20, 1); });
        add("polygon field read of 361", 0xC0, kvr ? 744 : 735, [](SensorAnswer& a) {
            a.SetByte(20, 2);
            a.SetWord(27, 360);
        });
        add("0xC1", 0xC1, kvr ? 5 : 3);
        add("0xC3", 0xC3, kvr ? 4 : 3);
        add("stored arc", 0xC5, kvr ? 21 : 11, [](SensorAnswer& a) { a.SetByte(19, 1); }, 0);
        add("stored polygon of 181", 0xC5, 0, [](SensorAnswer& a) {
            a.SetByte(19, 2);
            a.SetWord(27, 180);
        }, 0);
        add("warning contour of 181", 0xC5, kvr ? 375 : 366, [](SensorAnswer& a) {
            a.SetByte(19, 3);
            a.SetWord(27, 180);
        }, 1);
        add("locked contour", 0xC5, kvr ? 741 : 731, [](SensorAnswer& a) { a.SetByte(19, 4); }, 0);
        add("rectangle contour", 0xC8, 0);
        add("two-step answer", 0xE0, 4);
        add("block write answer", 0xF0, 129);
        add("case write answer", 0xF2, 28);
        add("0xF4", 0xF4, 5);
        add("not served", 0x92, 2);
    }
    return cases;
}

TEST(AnswerFrameEncoder, TheDriverReadsBackWhatTheRecordHeld)
{
    for (const AnswerCase& c : AnswerCases()) {
        SCOPED_TRACE(std::string(c.name) + " family " + std::to_string(c.family));
        SensorRequest request(c.family, 0x00, 5);
        request.SetByte(10, c.requestSubCode);
        const Bytes frame = EncodeAnswerFrame(request.Bytes(), c.answer.Bytes());
        ASSERT_FALSE(frame.empty());
        EXPECT_EQ(frame[1], 0x85) << "the request's address with bit 7";
        if (c.length) {
            EXPECT_EQ(FrameLength(frame), c.length);
        }

        SensorAnswer parsed;
        ASSERT_EQ(ParseAnswerFrame(frame, request.Bytes(), parsed.Bytes()), AnswerError::None);
        EXPECT_EQ(parsed.Status(), c.answer.Status());
        EXPECT_EQ(parsed.Command(), c.answer.Command());
        // Every byte the driver filled holds the answerer's value, apart from the bytes
        // the driver writes itself (header, NULs after names and texts, counts).
        std::size_t compared = 0;
        for (std::size_t i = AnswerOffset::Data; i < kAnswerRecordSize; ++i) {
            if (parsed.Byte(i) != 0 && parsed.Byte(i) == c.answer.Byte(i))
                ++compared;
        }
        EXPECT_GE(compared + 8, std::size_t(FrameLength(frame)) - 2) << "data lost between record and frame";
        // And the record the driver built goes out as the same frame.
        EXPECT_EQ(EncodeAnswerFrame(request.Bytes(), parsed.Bytes()), frame);
    }
}

TEST(AnswerFrameEncoder, GoldenFrames)
{
    SensorRequest request(kFamilyZOK, 0x10);
    EXPECT_EQ(EncodeAnswerFrame(request.Bytes(), PatternAnswer(0x91, 0x00).Bytes()),
              (Bytes{0x02, 0x80, 0x02, 0x00, 0x91, 0x00, 0x69, 0x30}));
    EXPECT_EQ(EncodeAnswerFrame(request.Bytes(), PatternAnswer(0x91, 0x08).Bytes()),
              (Bytes{0x02, 0x80, 0x02, 0x00, 0x91, 0x08, 0x61, 0x30}));
    const SensorAnswer twoStep = PatternAnswer(0xE0, 0x00, [](SensorAnswer& a) {
        a.SetByte(9, 2);
        a.SetByte(10, 1);
    });
    EXPECT_EQ(EncodeAnswerFrame(request.Bytes(), twoStep.Bytes()),
              (Bytes{0x02, 0x80, 0x04, 0x00, 0xE0, 0x02, 0x01, 0x00, 0xE3, 0xE3}));
}

TEST(AnswerFrameEncoder, DeclaredLengthSizesTheRest)
{
    SensorRequest request(kFamilyZOK, 0x36);
    // 0xB6: byte 10, a word, then the rest: 7 more bytes when 11 data bytes are declared.
    SensorAnswer answer = PatternAnswer(0xB6, 0x00, [](SensorAnswer& a) { a.SetWord(AnswerOffset::DataLength, 11); });
    Bytes frame = EncodeAnswerFrame(request.Bytes(), answer.Bytes());
    EXPECT_EQ(FrameLength(frame), 12);
    // Without a declaration the rest of 0xB6 is empty.
    answer.SetWord(AnswerOffset::DataLength, 0);
    frame = EncodeAnswerFrame(request.Bytes(), answer.Bytes());
    EXPECT_EQ(FrameLength(frame), 5);
    // A declaration beyond the record is bounded by it.
    answer = PatternAnswer(0x99, 0x00, [](SensorAnswer& a) { a.SetWord(AnswerOffset::DataLength, 2000); });
    frame = EncodeAnswerFrame(request.Bytes(), answer.Bytes());
    EXPECT_EQ(FrameLength(frame), 2 + kAnswerRecordSize - AnswerOffset::Data);
    SensorAnswer parsed;
    EXPECT_EQ(ParseAnswerFrame(frame, request.Bytes(), parsed.Bytes()), AnswerError::None);
}

// A device that counts more polygon beams than it sends: the frame stops where the
// declared length ends, and the driver keeps the count that shows the words missing.
TEST(AnswerFrameEncoder, DeclaredLengthCutsAWrittenPolygonShort)
{
    SensorRequest request(kFamilyZOK, 0x40);
    const SensorAnswer answer = PatternAnswer(0xC0, 0x00, [](SensorAnswer& a) {
        a.SetByte(20, 2);
        a.SetWord(27, 180);
        a.SetWord(AnswerOffset::DataLength, 16); // status, shape, time, word 25, count, 3 words
    });
    const Bytes frame = EncodeAnswerFrame(request.Bytes(), answer.Bytes());
    EXPECT_EQ(FrameLength(frame), 17);
    SensorAnswer parsed;
    ASSERT_EQ(ParseAnswerFrame(frame, request.Bytes(), parsed.Bytes()), AnswerError::None);
    EXPECT_EQ(parsed.Word(27), 180);
    EXPECT_EQ(parsed.Byte(AnswerOffset::Data), answer.Byte(AnswerOffset::Data));
    EXPECT_EQ(parsed.Word(29), 0) << "no beam word is taken from a cut polygon";
}

} // namespace
