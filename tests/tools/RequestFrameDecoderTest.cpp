// Request frames back into records: checked against the driver's own packing, so that a
// record the program fills reaches a device as the same record.
#include "tools/RequestFrameDecoder.h"

#include "driver/internal/TelegramFrame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// A request with every data byte set to a pattern, then the fields its command needs.
SensorRequest PatternRequest(BYTE family, BYTE command, const std::function<void(SensorRequest&)>& fields = {})
{
    SensorRequest request(family, command, 3);
    for (std::size_t i = RequestOffset::Data; i < kRequestRecordSize; ++i)
        request.SetByte(i, BYTE(i * 7 + 1));
    if (fields)
        fields(request);
    return request;
}

void SetName(SensorRequest& request, std::size_t offset, const char* name)
{
    for (std::size_t i = 0; i < 8; ++i)
        request.SetByte(offset + i, 0);
    std::memcpy(request.data() + offset, name, std::strlen(name));
}

Bytes Pack(SensorRequest request)
{
    EXPECT_EQ(PrepareRequest(request.Bytes()), RequestError::None);
    FrameBuffer frame{};
    const std::size_t size = BuildTelegramFrame(request.Bytes(), frame);
    return Bytes(frame.begin(), frame.begin() + std::ptrdiff_t(size));
}

struct RequestCase {
    const char* name;
    SensorRequest request;
};

std::vector<RequestCase> RequestCases()
{
    std::vector<RequestCase> cases;
    for (BYTE family : {kFamilyZOK, kFamilyKVR}) {
        const auto add = [&](const char* name, BYTE command, std::function<void(SensorRequest&)> fields = {}) {
            cases.push_back({name, PatternRequest(family, command, fields)});
        };
        add("connection test", 0x10);
        add("identification", 0x31);
        add("login", 0x20, [](SensorRequest& r) { r.SetByte(9, '1'); });
        add("mode", 0x20, [](SensorRequest& r) { r.SetByte(9, 0x21); });
        for (BYTE kind : {0, 1, 3, 5})
            add("scan", 0x30, [kind](SensorRequest& r) { r.SetByte(10, kind); });
        add("diagnosis 0x34", 0x34);
        add("0x36", 0x36);
        add("0x37", 0x37);
        add("rectangle field", 0x40, [](SensorRequest& r) {
            SetName(r, 10, "F1");
            r.SetByte(19, 0);
            r.SetWord(26, 300);
            r.SetWord(28, 200);
            r.SetWord(30, 400);
        });
        add("arc field", 0x40, [](SensorRequest& r) {
            SetName(r, 10, "");
            r.SetByte(19, 1);
            r.SetWord(26, 400);
        });
        add("polygon field of 360", 0x40, [](SensorRequest& r) {
            SetName(r, 10, "FELD 001");
            r.SetByte(19, 2);
            r.SetWord(26, 360);
            for (std::size_t k = 0; k <= 360; ++k)
                r.SetWord(28 + 2 * k, WORD(100 + k % 7));
        });
        add("0x41", 0x41);
        add("warning contour", 0x43, [](SensorRequest& r) {
            r.SetWord(10, 180);
            for (std::size_t k = 0; k <= 180; ++k)
                r.SetWord(12 + 2 * k, 35);
        });
        add("mode and delay", 0x44, [](SensorRequest& r) { r.SetByte(9, 1); });
        add("field read", 0x45);
        add("teach-in start", 0x46, [](SensorRequest& r) {
            SetName(r, 10, "ABC");
            r.SetByte(20, 0);
        });
        add("teach-in end", 0x46, [](SensorRequest& r) { r.SetByte(20, 1); });
        add("rectangle contour", 0x48, [](SensorRequest& r) {
            SetName(r, 10, "R");
            r.SetWord(25, 300);
            r.SetWord(27, 200);
            r.SetWord(29, 400);
        });
        add("0x49", 0x49);
        add("configuration block", 0x71, [](SensorRequest& r) {
            for (std::size_t i = 0; i < 4; ++i)
                SetName(r, 11 + 9 * i, "ZOK 1");
            for (std::size_t i = 0; i < 8; ++i)
                SetName(r, 57 + 9 * i, "Feld");
        });
        add("case record", 0x73, [](SensorRequest& r) { SetName(r, 10, "Fall 1"); });
        add("case mask", 0x74);
        add("one value", 0x61);
        add("unlisted command, caller's length", 0x5C, [](SensorRequest& r) { r.SetWord(3, 6); });
    }
    return cases;
}

TEST(RequestFrameDecoder, RebuiltRecordsPackToTheSameFrame)
{
    for (const RequestCase& c : RequestCases()) {
        SCOPED_TRACE(std::string(c.name) + " family " + std::to_string(c.request.Family()));
        const Bytes frame = Pack(c.request);
        ASSERT_FALSE(frame.empty());
        const std::optional<SensorRequest> decoded = DecodeRequestFrame(frame, c.request.Family());
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->Marker(), kRequestMarker);
        EXPECT_EQ(decoded->Family(), c.request.Family());
        EXPECT_EQ(decoded->Byte(RequestOffset::Address), 3);
        EXPECT_EQ(decoded->Word(RequestOffset::Length), decoded->Word(RequestOffset::LengthCopy));
        FrameBuffer again{};
        const std::size_t size = BuildTelegramFrame(decoded->Bytes(), again);
        EXPECT_EQ(Bytes(again.begin(), again.begin() + std::ptrdiff_t(size)), frame);
    }
}

TEST(RequestFrameDecoder, FieldsLandWhereTheProgramPutThem)
{
    // A KVR arc field write: names go out padded with blanks and come back with a NUL.
    SensorRequest arc = PatternRequest(kFamilyKVR, 0x40, [](SensorRequest& r) {
        r.SetByte(9, 2);
        SetName(r, 10, "F1");
        r.SetByte(19, 1);
        r.SetWord(26, 400);
    });
    std::optional<SensorRequest> decoded = DecodeRequestFrame(Pack(arc), kFamilyKVR);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Byte(9), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded->data() + 10)), "F1      ");
    EXPECT_EQ(decoded->Byte(19), 1);
    for (std::size_t i = 20; i < 26; ++i)
        EXPECT_EQ(decoded->Byte(i), arc.Byte(i));
    EXPECT_EQ(decoded->Word(26), 400);
    EXPECT_EQ(decoded->Word(RequestOffset::CheckValue), 400) << "the check value of an arc is its radius";
    EXPECT_EQ(decoded->Byte(28), 0) << "bytes the frame does not carry are 0";

    // A count byte 254 stands for 360 values, which come back whole.
    SensorRequest polygon = PatternRequest(kFamilyZOK, 0x40, [](SensorRequest& r) {
        r.SetByte(19, 2);
        r.SetWord(26, 360);
    });
    decoded = DecodeRequestFrame(Pack(polygon), kFamilyZOK);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Word(3), 733);
    EXPECT_EQ(decoded->Word(26), 360);
    EXPECT_EQ(decoded->Word(28 + 2 * 360), polygon.Word(28 + 2 * 360));
}

TEST(RequestFrameDecoder, FramesThatDoNotFillTheirLayoutAreRefused)
{
    const auto frame = [](BYTE command, const Bytes& data) {
        Bytes f{0x02, 0x00, BYTE(data.size() + 1), 0x00, command};
        for (const BYTE b : data)
            f.push_back(b);
        f.push_back(0x00); // the checksum is not looked at here
        f.push_back(0x00);
        return f;
    };
    EXPECT_TRUE(DecodeRequestFrame(frame(0x45, {0x01}), kFamilyZOK));
    EXPECT_FALSE(DecodeRequestFrame(frame(0x45, {0x01}), kFamilyKVR)) << "a unit's field read has two bytes";
    EXPECT_FALSE(DecodeRequestFrame(frame(0x45, {0x01, 0x02}), kFamilyZOK)) << "one byte too many";
    EXPECT_FALSE(DecodeRequestFrame(frame(0x43, {0xFF, 0x01, 0x02}), kFamilyZOK)) << "401 values announced";
    Bytes overlong = frame(0x5C, Bytes(760, 0x11));
    overlong[2] = LOBYTE(WORD(761));
    overlong[3] = HIBYTE(WORD(761));
    EXPECT_FALSE(DecodeRequestFrame(overlong, kFamilyZOK)) << "more data than the record holds";
    EXPECT_FALSE(DecodeRequestFrame(Bytes{0x02, 0x00, 0x05, 0x00, 0x10, 0x00, 0x00}, kFamilyZOK))
        << "length field and frame size disagree";
}

} // namespace
