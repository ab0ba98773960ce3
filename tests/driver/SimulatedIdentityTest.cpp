#include "driver/internal/SimulatedIdentity.h"
#include "driver/orudrv.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr BYTE UNTOUCHED = 0xEE;

template <std::size_t N>
std::array<BYTE, N> Untouched()
{
    std::array<BYTE, N> record;
    record.fill(UNTOUCHED);
    return record;
}

// Byte ranges written as they must read; every byte not listed must be untouched.
template <std::size_t N>
void ExpectRecord(const std::array<BYTE, N>& record, const std::map<std::size_t, BYTE>& expected)
{
    for (std::size_t i = 0; i < N; ++i) {
        const auto found = expected.find(i);
        EXPECT_EQ(record[i], found != expected.end() ? found->second : UNTOUCHED) << "byte " << i;
    }
}

void Put(std::map<std::size_t, BYTE>& bytes, std::size_t offset, const std::string& textWithNul)
{
    for (std::size_t i = 0; i <= textWithNul.size(); ++i)
        bytes[offset + i] = i < textWithNul.size() ? BYTE(textWithNul[i]) : 0;
}

void Zero(std::map<std::size_t, BYTE>& bytes, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i <= last; ++i)
        bytes[i] = 0;
}

TEST(SimulatedIdentity, ScannerRecord)
{
    auto record = Untouched<kZOKSimDataSize + 8>();
    EXPECT_EQ(GetZOKSimData(1, 2, record.data()), 0);

    std::map<std::size_t, BYTE> expected;
    for (auto [first, last] : {std::pair{22, 23}, {26, 27}, {29, 35}, {36, 127}})
        Zero(expected, std::size_t(first), std::size_t(last));
    expected[0] = 4;
    expected[1] = 0;
    expected[2] = 0;
    Put(expected, 3, "V99.99");
    Put(expected, 11, "!");
    Put(expected, 13, "58302714");
    expected[24] = 2;
    expected[25] = 0;
    expected[28] = 2;
    Put(expected, 128, "0");
    for (std::size_t i = 0; i < 48; ++i) {
        expected[129 + 2 * i] = 4;
        expected[130 + 2 * i] = BYTE(i);
    }
    ExpectRecord(record, expected);
}

TEST(SimulatedIdentity, UnitRecord)
{
    auto record = Untouched<kKVRSimDataSize + 8>();
    EXPECT_EQ(GetKVRSimData(0, 0, record.data()), 0);

    std::map<std::size_t, BYTE> expected;
    for (auto [first, last] : {std::pair{23, 35}, {175, 178}, {255, 260}, {263, 271}, {281, 284}, {286, 286}, {290, 296}})
        Zero(expected, std::size_t(first), std::size_t(last));
    expected[0] = 4;
    expected[1] = 0;
    expected[2] = 0;
    Put(expected, 3, "V99.99");
    Put(expected, 11, " ");
    Put(expected, 13, "58302714");
    expected[22] = 4;
    Put(expected, 36, "0");
    for (std::size_t i = 0; i < 48; ++i) {
        expected[37 + 2 * i] = 4;
        expected[38 + 2 * i] = BYTE(i);
    }
    expected[133] = 4;
    expected[134] = 4;
    Put(expected, 135, "ZOK1");
    Put(expected, 144, "ZOK2");
    Put(expected, 153, "ZOK3");
    Put(expected, 162, "ZOK4");
    expected[180] = 2;
    Put(expected, 181, "F1");
    Put(expected, 190, "F2");
    expected[254] = 1;
    Put(expected, 272, "SIMUWF");
    ExpectRecord(record, expected);
}

TEST(SimulatedIdentity, NoRecordIsNoFault)
{
    EXPECT_EQ(GetZOKSimData(0, 0, nullptr), 0);
    EXPECT_EQ(GetKVRSimData(0, 0, nullptr), 0);
}

} // namespace
