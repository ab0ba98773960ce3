#include "model/CIdentityRecord.h"

#include "model/CKVRIdentity.h"
#include "model/CZOKIdentity.h"
#include "model/CZOKParameters.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

// Byte i holds the value i, so that every accessor shows the offset it reads.
template <class Record>
Record CountingRecord()
{
    std::vector<BYTE> bytes(Record::kSize);
    std::iota(bytes.begin(), bytes.end(), BYTE(0));
    Record record;
    EXPECT_TRUE(record.SetData(bytes.data(), bytes.size()));
    return record;
}

WORD WordAt(int offset) { return WORD(offset | (offset + 1) << 8); }

TEST(CIdentityRecordTest, NewRecords)
{
    const CZOKIdentity zok;
    EXPECT_EQ(zok.GetByte8(), 255);
    EXPECT_EQ(zok.GetByte9(), 255);
    EXPECT_EQ(zok.GetByte19(), 255);
    EXPECT_STREQ(zok.GetName(), "");
    EXPECT_STREQ(zok.GetIdentification(), "");
    const CKVRIdentity kvr;
    EXPECT_EQ(kvr.GetByte8(), 255);
    EXPECT_EQ(kvr.GetByte9(), 255);
    EXPECT_EQ(kvr.GetByte19(), 0);
    EXPECT_STREQ(kvr.GetName(), "");
}

TEST(CIdentityRecordTest, ZOKFieldsAtTheirOffsets)
{
    const CZOKIdentity id = CountingRecord<CZOKIdentity>();
    const std::vector<std::pair<int, int>> bytes = {
        {id.GetByte8(), 8},   {id.GetByte9(), 9},   {id.GetByte19(), 19}, {id.GetByte20(), 20}, {id.GetByte23(), 23},
        {id.GetByte24(), 24}, {id.GetByte28(), 28}, {id.GetByte29(), 29}, {id.GetByte30(), 30}, {id.GetByte31(), 31},
        {id.GetByte32(), 32}};
    for (const auto& [value, offset] : bytes) EXPECT_EQ(value, offset);
    const std::vector<std::pair<WORD, int>> words = {
        {id.GetWord21(), 21},  {id.GetWord26(), 26},  {id.GetWord33(0), 33}, {id.GetWord33(7), 47},
        {id.GetWord49(3), 55}, {id.GetWord57(), 57},  {id.GetWord59(), 59},  {id.GetWord61(), 61},
        {id.GetWord63(), 63},  {id.GetWord65(), 65},  {id.GetWord67(), 67},  {id.GetWord69(), 69},
        {id.GetWord71(), 71},  {id.GetWord73(), 73},  {id.GetWord75(), 75},  {id.GetWord77(), 77},
        {id.GetWord79(), 79},  {id.GetWord81(), 81},  {id.GetWord83(4), 91}, {id.GetWord93(), 93},
        {id.GetWord95(), 95},  {id.GetWord97(7), 111}, {id.GetWord113(3), 119}, {id.GetWord121(), 121},
        {id.GetWord123(), 123}};
    for (const auto& [value, offset] : words) EXPECT_EQ(value, WordAt(offset)) << offset;
    EXPECT_EQ(id.GetScanCount(), 26);
    EXPECT_EQ(id.GetResponseTime(), 26 * 40);

    // Indexes outside an array read 0 instead of the bytes beyond it.
    EXPECT_EQ(id.GetWord33(8), 0);
    EXPECT_EQ(id.GetWord113(4), 0);
    EXPECT_EQ(id.GetWord83(-1), 0);
}

TEST(CIdentityRecordTest, KVRFieldsNibblesBitsAndSignedWords)
{
    std::vector<BYTE> bytes(CKVRIdentity::kSize, 0);
    const char ident[] = "KVR 1.02";
    std::copy(ident, ident + 8, bytes.begin());
    bytes[20] = 0x34;
    bytes[21] = 0x12;
    bytes[25] = 0xA3;
    bytes[26] = 0x05;
    bytes[27] = 0x0A;
    bytes[28] = bytes[29] = 0xFF;
    bytes[30] = 0x00;
    bytes[31] = 0x80;
    bytes[32] = 77;
    CKVRIdentity id;
    ASSERT_TRUE(id.SetData(bytes.data(), bytes.size()));
    EXPECT_STREQ(id.GetIdentification(), "KVR 1.02");
    EXPECT_EQ(id.GetWord20(), 0x1234);
    EXPECT_EQ(id.GetLowNibble25(), 3);
    EXPECT_EQ(id.GetHighNibble25(), 10);
    EXPECT_EQ(std::vector<BOOL>({id.GetBit26(), id.GetBit26_1(), id.GetBit26_2(), id.GetBit26_3()}),
              std::vector<BOOL>({1, 0, 1, 0}));
    EXPECT_EQ(std::vector<BOOL>({id.GetBit27(), id.GetBit27_1(), id.GetBit27_2(), id.GetBit27_3()}),
              std::vector<BOOL>({0, 1, 0, 1}));
    EXPECT_EQ(id.GetWord28(), -1);
    EXPECT_EQ(id.GetWord30(), -32768);
    EXPECT_EQ(id.GetByte32(), 77);
}

TEST(CIdentityRecordTest, NamesEndAtTheirNulOrTheirField)
{
    struct Case {
        const char* field; // 9 bytes
        const char* name;
    };
    const Case cases[] = {
        {"ABC\0\0\0\0\0\0", "ABC"},
        {"FRONT   \0", "FRONT   "},
        {"NINECHARS", "NINECHARS"}, // no NUL: byte 19 is not part of the name
        {"\0XYZ\0\0\0\0\0", ""},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes(CKVRIdentity::kSize, 'Q');
        std::copy(c.field, c.field + 9, bytes.begin() + 10);
        CKVRIdentity id;
        ASSERT_TRUE(id.SetData(bytes.data(), bytes.size()));
        EXPECT_STREQ(id.GetName(), c.name);
    }
}

TEST(CIdentityRecordTest, ShortDataIsRefused)
{
    CZOKIdentity id;
    const std::vector<BYTE> bytes(124, 7);
    EXPECT_FALSE(id.SetData(bytes.data(), bytes.size()));
    EXPECT_FALSE(id.SetData(nullptr, 125));
    EXPECT_EQ(id.GetByte8(), 255);
    // Longer data: the record takes its own size.
    const std::vector<BYTE> longer(200, 7);
    EXPECT_TRUE(id.SetData(longer.data(), longer.size()));
    EXPECT_EQ(id.GetWord123(), 0x0707);
}

TEST(CIdentityRecordTest, ZOKParameters)
{
    const CZOKParameters defaults;
    EXPECT_EQ(std::vector<BYTE>(defaults.GetData(), defaults.GetData() + 10),
              (std::vector<BYTE>{1, 0, 0x90, 0x01, 1, 0, 2, 0, 0, 0}));
    EXPECT_EQ(defaults.GetScans(), 2);
    EXPECT_EQ(defaults.GetResponseTime(), 80);
    const CZOKParameters counted = CountingRecord<CZOKParameters>();
    EXPECT_EQ(counted.GetByte4(), 4);
    EXPECT_EQ(counted.GetByte5(), 5);
    EXPECT_EQ(counted.GetScans(), 6);
    EXPECT_EQ(counted.GetByte7(), 7);
    EXPECT_EQ(counted.GetResponseTime(), 240);
}

} // namespace
