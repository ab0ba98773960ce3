#include "simulator/orusim.h"

#include "shared/SensorTelegram.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(OrusimExportsTest, ConnectionTestIsAnsweredWithTheFamilysStatusBit)
{
    for (BYTE family : {kFamilyZOK, kFamilyKVR}) {
        const SensorRequest request(family, 0x10);
        SensorAnswer answer;
        ASSERT_EQ(SimTelegram(request.data(), answer.data()), 1);
        EXPECT_EQ(answer.Marker(), kAnswerMarker);
        EXPECT_EQ(answer.Command(), 0x91);
        EXPECT_EQ(answer.Status(), family == kFamilyKVR ? 0x08 : 0x00);
    }
}

TEST(OrusimExportsTest, ForeignFamiliesAndUnservedCommandsLeaveTheAnswerUntouched)
{
    SensorAnswer untouched;
    std::fill(untouched.Bytes().begin(), untouched.Bytes().end(), BYTE(0xAB));
    const SensorRequest requests[] = {SensorRequest(2, 0x10), SensorRequest(255, 0x31), SensorRequest(kFamilyZOK, 0x7F),
                                      SensorRequest(kFamilyKVR, 0x44)};
    for (const SensorRequest& request : requests) {
        SensorAnswer answer = untouched;
        EXPECT_EQ(SimTelegram(request.data(), answer.data()), 0);
        EXPECT_EQ(answer, untouched);
    }
    SensorAnswer answer;
    const SensorRequest request(kFamilyZOK, 0x10);
    EXPECT_EQ(SimTelegram(nullptr, answer.data()), 0);
    EXPECT_EQ(SimTelegram(request.data(), nullptr), 0);
}

TEST(OrusimExportsTest, TypesAndResourceHandle)
{
    EXPECT_EQ(SimSensorType(0), 4);
    EXPECT_EQ(SimSensorType(1), 4);
    EXPECT_EQ(SimSensorType(2), 0);
    EXPECT_EQ(SimSensorType(-1), 0);
    int module = 0;
    const intptr_t handle = reinterpret_cast<intptr_t>(&module);
    EXPECT_EQ(OruSimSetResourceHandle(handle), handle);
    EXPECT_EQ(OruSimSetResourceHandle(0), 0);
}

} // namespace
