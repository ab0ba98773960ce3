// Identification and parameter commands of a ZOK scanner against scripted answers.
#include "RecordingZOKSensor.h"
#include "model/CSensorType.h"
#include "model/CZOKParameters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Operation = std::function<BOOL(CZOKSensor&)>;

// The value bytes of a parameter request.
std::pair<BYTE, BYTE> ValueBytes(const SensorRequest& request)
{
    return {request.Byte(9), request.Byte(10)};
}

struct RequestCase {
    const char* name;
    Operation operation;
    SensorAnswer answer;
    SensorRequest expected;
};

// Every request is compared byte for byte: only the named bytes may be set.
TEST(CZOKSensorTest, EachCommandSendsExactlyItsRequestAndAcceptsItsAnswer)
{
    BYTE mode = 1, delay = 5, v60 = 3, v63 = 4, v69 = 1;
    const RequestCase cases[] = {
        {"62", [](CZOKSensor& s) { return s.SendCommand62(7); }, EchoAnswer(0xE2, 1, 7), ExpectedRequest(0x62, {{9, 7}})},
        {"65", [](CZOKSensor& s) { return s.SendCommand65(9); }, EchoAnswer(0xE5, 1, 9), ExpectedRequest(0x65, {{9, 9}})},
        {"66", [](CZOKSensor& s) { return s.SendCommand66(2); }, EchoAnswer(0xE6, 1, 2), ExpectedRequest(0x66, {{9, 2}})},
        {"67", [](CZOKSensor& s) { return s.SendCommand67(127); }, EchoAnswer(0xE7, 1, 127),
         ExpectedRequest(0x67, {{9, 127}})},
        {"50", [](CZOKSensor& s) { return s.SendCommand50(); }, DeviceAnswer(0xD0, 1), ExpectedRequest(0x50, {{9, 1}})},
        {"50At", [](CZOKSensor& s) { return s.SendCommand50At(3); }, DeviceAnswer(0xD0, 1),
         ExpectedRequest(0x50, {{5, 3}, {9, 1}})},
        {"77", [](CZOKSensor& s) { return s.SendCommand77(5, 2); }, EchoAnswer(0xF7, 1, 5),
         ExpectedRequest(0x77, {{5, 2}, {9, 5}})},
        {"31", [](CZOKSensor& s) { CZOKIdentity id; return s.ReadIdentity(id); }, IdentityAnswer(),
         ExpectedRequest(0x31)},
        {"31At", [](CZOKSensor& s) { CZOKIdentity id; return s.ReadIdentityAt(id, 4); }, IdentityAnswer(),
         ExpectedRequest(0x31, {{5, 4}})},
        {"44", [&](CZOKSensor& s) { return s.CheckCommand44(mode, delay); }, EchoAnswer(0xC4, 2, 1),
         ExpectedRequest(0x44, {{9, 1}, {10, 5}})},
        {"47", [](CZOKSensor& s) { return s.CommitCommand47(1, 5); }, DeviceAnswer(0xC4, 1),
         ExpectedRequest(0x47, {{9, 1}, {10, 5}})},
        {"60", [&](CZOKSensor& s) { return s.CheckCommand60(v60); }, EchoAnswer(0xE0, 2, 3), ExpectedRequest(0x60, {{9, 3}})},
        {"61", [](CZOKSensor& s) { return s.CommitCommand61(3); }, EchoAnswer(0xE0, 1, 3), ExpectedRequest(0x61, {{9, 3}})},
        {"63", [&](CZOKSensor& s) { return s.CheckCommand63(v63); }, EchoAnswer(0xE4, 2, 4), ExpectedRequest(0x63, {{9, 4}})},
        {"64", [](CZOKSensor& s) { return s.CommitCommand64(4); }, EchoAnswer(0xE4, 1, 4), ExpectedRequest(0x64, {{9, 4}})},
        {"69", [&](CZOKSensor& s) { return s.CheckCommand69(v69); }, EchoAnswer(0xE9, 2, 1), ExpectedRequest(0x69, {{9, 1}})},
        {"6A", [](CZOKSensor& s) { return s.CommitCommand6A(1); }, EchoAnswer(0xE9, 1, 1), ExpectedRequest(0x6A, {{9, 1}})},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingZOKSensor sensor;
        sensor.script.push_back(c.answer);
        EXPECT_TRUE(c.operation(sensor));
        ASSERT_EQ(sensor.requests.size(), 1u);
        EXPECT_TRUE(sensor.requests[0] == c.expected);
        // These commands leave the session's last status alone.
        EXPECT_EQ(sensor.GetLastStatus(), 0);
    }
}

struct RefusalCase {
    const char* name;
    Operation operation;
    std::optional<SensorAnswer> answer;
};

TEST(CZOKSensorTest, WrongCodeStatusOrEchoFailsTheCommand)
{
    BYTE a = 1, b = 5;
    const RefusalCase cases[] = {
        {"65 status 0, echo matching", [](CZOKSensor& s) { return s.SendCommand65(1); }, EchoAnswer(0xE5, 0, 1)},
        {"65 wrong echo", [](CZOKSensor& s) { return s.SendCommand65(1); }, EchoAnswer(0xE5, 1, 2)},
        {"62 wrong code", [](CZOKSensor& s) { return s.SendCommand62(1); }, EchoAnswer(0xE5, 1, 1)},
        {"67 no answer", [](CZOKSensor& s) { return s.SendCommand67(1); }, std::nullopt},
        {"77 wrong echo", [](CZOKSensor& s) { return s.SendCommand77(5, 1); }, EchoAnswer(0xF7, 1, 1)},
        {"50 status 2", [](CZOKSensor& s) { return s.SendCommand50(); }, DeviceAnswer(0xD0, 2)},
        {"31 wrong code", [](CZOKSensor& s) { CZOKIdentity id; return s.ReadIdentity(id); }, DeviceAnswer(0xB2, 0)},
        {"44 status 1", [&](CZOKSensor& s) { return s.CheckCommand44(a, b); }, EchoAnswer(0xC4, 1, 1)},
        {"44 other mode echoed", [&](CZOKSensor& s) { return s.CheckCommand44(a, b); }, EchoAnswer(0xC4, 2, 0)},
        {"47 status 2", [](CZOKSensor& s) { return s.CommitCommand47(1, 5); }, DeviceAnswer(0xC4, 2)},
        {"47 own code", [](CZOKSensor& s) { return s.CommitCommand47(1, 5); }, DeviceAnswer(0xC7, 1)},
        {"60 wrong echo", [&](CZOKSensor& s) { return s.CheckCommand60(a); }, EchoAnswer(0xE0, 2, 2)},
        {"61 own code", [](CZOKSensor& s) { return s.CommitCommand61(1); }, EchoAnswer(0xE1, 1, 1)},
        {"63 status 1", [&](CZOKSensor& s) { return s.CheckCommand63(a); }, EchoAnswer(0xE4, 1, 1)},
        {"64 corrected echo", [](CZOKSensor& s) { return s.CommitCommand64(2); }, EchoAnswer(0xE4, 1, 3)},
        {"69 wrong echo", [&](CZOKSensor& s) { return s.CheckCommand69(a); }, EchoAnswer(0xE9, 2, 0)},
        {"6A status 2", [](CZOKSensor& s) { return s.CommitCommand6A(1); }, EchoAnswer(0xE9, 2, 1)},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        a = 1;
        RecordingZOKSensor sensor;
        sensor.script.push_back(c.answer);
        EXPECT_FALSE(c.operation(sensor));
        EXPECT_EQ(a, 1); // a refused check hands nothing back
    }
}

TEST(CZOKSensorTest, ChecksHandBackTheScannersValues)
{
    RecordingZOKSensor sensor;
    SensorAnswer modeDelay = EchoAnswer(0xC4, 2, 1);
    modeDelay.SetByte(11, 61);
    sensor.script = {modeDelay, EchoAnswer(0xE4, 2, 3), EchoAnswer(0xE0, 2, 4), EchoAnswer(0xE9, 2, 0)};

    BYTE mode = 1, delay = 5;
    ASSERT_TRUE(sensor.CheckCommand44(mode, delay));
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(delay, 61); // clamping is the caller's business
    BYTE scans = 2;
    ASSERT_TRUE(sensor.CheckCommand63(scans)); // corrected value accepted without echo
    EXPECT_EQ(scans, 3);
    BYTE value = 4;
    ASSERT_TRUE(sensor.CheckCommand60(value));
    EXPECT_EQ(value, 4);
    // The variant must come back as sent; a different echo is a refusal.
    BYTE variant = 1;
    EXPECT_FALSE(sensor.CheckCommand69(variant));
    EXPECT_EQ(variant, 1);
}

struct WriteCase {
    const char* name;
    Operation write;
    BYTE first, second, answerCode;
};

TEST(CZOKSensorTest, WriteSendsBothStepsOnlyAfterAnAcceptedFirstStep)
{
    const WriteCase cases[] = {
        {"44/47", [](CZOKSensor& s) { return s.WriteCommand44(1, 7); }, 0x44, 0x47, 0xC4},
        {"60/61", [](CZOKSensor& s) { return s.WriteCommand60(1); }, 0x60, 0x61, 0xE0},
        {"63/64", [](CZOKSensor& s) { return s.WriteCommand63(1); }, 0x63, 0x64, 0xE4},
        {"69/6A", [](CZOKSensor& s) { return s.WriteCommand69(1); }, 0x69, 0x6A, 0xE9},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingZOKSensor both;
        both.script = {EchoAnswer(c.answerCode, 2, 1), EchoAnswer(c.answerCode, 1, 1)};
        EXPECT_TRUE(c.write(both));
        ASSERT_EQ(both.requests.size(), 2u);
        EXPECT_EQ(both.requests[0].Command(), c.first);
        EXPECT_EQ(both.requests[1].Command(), c.second);
        EXPECT_EQ(ValueBytes(both.requests[0]), ValueBytes(both.requests[1]));

        RecordingZOKSensor refused;
        refused.script = {EchoAnswer(c.answerCode, 0, 1)};
        EXPECT_FALSE(c.write(refused));
        EXPECT_EQ(refused.requests.size(), 1u);

        RecordingZOKSensor notCommitted;
        notCommitted.script = {EchoAnswer(c.answerCode, 2, 1), EchoAnswer(c.answerCode, 2, 1)};
        EXPECT_FALSE(c.write(notCommitted));
    }
}

TEST(CZOKSensorTest, CombinedScanWriteCommitsTheCallersValueDespiteACorrection)
{
    RecordingZOKSensor sensor;
    sensor.script = {EchoAnswer(0xE4, 2, 3), EchoAnswer(0xE4, 1, 3)};
    // The scanner corrected 2 to 3 and then echoes 3 for the committed 2: refused.
    EXPECT_FALSE(sensor.WriteCommand63(2));
    ASSERT_EQ(sensor.requests.size(), 2u);
    EXPECT_EQ(sensor.requests[1].Byte(9), 2);
}

struct WindowCase {
    const char* version;
    bool inside;
};

TEST(CZOKSensorTest, IdentificationOutsideTheFirmwareWindowReadsFixedOptionBytes)
{
    const WindowCase cases[] = {
        {"03.05   ", false}, {"03.06   ", true}, {"03.20   ", true}, {"04.00   ", false}, {"04.05   ", false},
        {"04.06   ", true},  {"15.99   ", true}, {"16.00   ", false}, {"V02.10  ", false}, {"        ", false},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.version);
        RecordingZOKSensor sensor;
        sensor.script.push_back(IdentityAnswer(c.version, {{10, 'S'}, {30, 7}, {31, 8}, {32, 9}, {124, 0x5A}}));
        CZOKIdentity identity;
        ASSERT_TRUE(sensor.ReadIdentity(identity));
        EXPECT_EQ(IsInFirmwareWindow(identity.GetFirmwareVersion()), c.inside);
        EXPECT_EQ(identity.GetByte30(), c.inside ? 7 : 0);
        EXPECT_EQ(identity.GetByte31(), c.inside ? 8 : 1);
        EXPECT_EQ(identity.GetByte32(), c.inside ? 9 : 1);
        EXPECT_EQ(identity.GetByteAt(10), 'S');
        EXPECT_EQ(identity.GetByteAt(124), 0x5A); // all 125 bytes taken
    }
}

TEST(CZOKSensorTest, FailedIdentificationLeavesTheRecordAsItWas)
{
    RecordingZOKSensor sensor;
    sensor.script.push_back(std::nullopt);
    CZOKIdentity identity;
    EXPECT_FALSE(sensor.ReadIdentity(identity));
    EXPECT_EQ(identity.GetByte19(), 0xFF);
    EXPECT_EQ(identity.GetByte8(), 0xFF);
}

TEST(CZOKSensorTest, SensorTypeTakesTheTypeCodeAndTheIdentificationVariant)
{
    for (int code : {4, 7, 50, 132 /* a unit's code, read as its scanner's type 4 */}) {
        SCOPED_TRACE(code);
        RecordingZOKSensor sensor;
        sensor.typeCode = code;
        sensor.script.push_back(IdentityAnswer("03.20   ", {{30, 1}}));
        CSensorType type;
        ASSERT_TRUE(sensor.ReadSensorType(type));
        EXPECT_EQ(type.GetTypeCode(), code == 132 ? 4 : code);
        EXPECT_EQ(type.GetVariant(), 1);
    }
    for (int code : {0, 5, 255}) {
        SCOPED_TRACE(code);
        RecordingZOKSensor sensor;
        sensor.typeCode = code;
        CSensorType type;
        EXPECT_FALSE(sensor.ReadSensorType(type));
        EXPECT_TRUE(sensor.requests.empty());
    }
    // Only bit 0 of identification byte 30 is the variant.
    for (const auto& [byte30, variant] : {std::pair<BYTE, WORD>{2, 0}, {3, 1}, {0xFE, 0}, {0xFF, 1}}) {
        SCOPED_TRACE(int(byte30));
        RecordingZOKSensor sensor;
        sensor.script.push_back(IdentityAnswer("03.20   ", {{30, byte30}}));
        CSensorType type;
        ASSERT_TRUE(sensor.ReadSensorType(type));
        EXPECT_EQ(type.GetVariant(), variant);
    }
    RecordingZOKSensor silent;
    silent.script.push_back(std::nullopt);
    CSensorType type;
    EXPECT_FALSE(silent.ReadSensorType(type));
}

TEST(CZOKSensorTest, DelayWordScalesToWholeSecondsWithinTwoToSixty)
{
    const std::pair<WORD, BYTE> cases[] = {{0, 2},     {199, 2},    {300, 2},  {400, 2},
                                           {1000, 5},  {1199, 5},   {11999, 59}, {12000, 60},
                                           {12200, 60}, {65535, 60}};
    for (const auto& [word, seconds] : cases) {
        SCOPED_TRACE(word);
        EXPECT_EQ(ScaleDelayWord(word), seconds);
    }
}

TEST(CZOKSensorTest, ParametersTakeTheirValuesFromTheIdentification)
{
    RecordingZOKSensor sensor;
    sensor.script.push_back(IdentityAnswer("03.20   ", {{19, 11}, {20, 1}, {21, 0xE8}, {22, 0x03}, // delay word 1000
                                                          {23, 13}, {24, 14}, {25, 3}, {28, 18}, {29, 19}, {30, 1}}));
    CZOKIdentity identity;
    ASSERT_TRUE(sensor.ReadIdentity(identity));
    EXPECT_EQ(identity.GetScaledValue(), 5);

    CZOKParameters parameters;
    parameters.SetFromIdentity(identity);
    const BYTE expected[CZOKParameters::kSize] = {11, 1, 0xE8, 0x03, 13, 14, 4, 19, 18, 1};
    for (std::size_t i = 0; i < CZOKParameters::kSize; ++i)
        EXPECT_EQ(parameters.GetByteAt(i), expected[i]) << "byte " << i;
}

TEST(CZOKSensorTest, TypeCodesOfTheScanner)
{
    for (int code : {4, 7, 50, 0x104, 0x132})
        EXPECT_TRUE(IsZOKTypeCode(code)) << code;
    for (int code : {0, 5, 132, 135, 178})
        EXPECT_FALSE(IsZOKTypeCode(code)) << code;
}

} // namespace
