// Archive forms of the device type, beam arrays, word scope arrays and speed ranges.
#include "ArchiveBytes.h"
#include "model/CBeamArray.h"
#include "model/CSensorType.h"
#include "model/CSpeed.h"
#include "model/CWordScopeArray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(SensorTypeArchiveTest, WritesRowIndexAndVariant)
{
    struct {
        UINT code;
        WORD variant;
        Bytes bytes;
    } const cases[] = {
        {4, 0, {0x97, 0x00, 0x00, 0x00, 0x00}},
        {7, 1, {0x97, 0x01, 0x00, 0x01, 0x00}},
        {50, 1, {0x97, 0x02, 0x00, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        CSensorType type(c.code, c.variant);
        EXPECT_EQ(StoreBytes(type), c.bytes) << c.code;
        CSensorType read(4, 0);
        LoadBytes(read, c.bytes);
        EXPECT_TRUE(read == type) << c.code;
    }
}

TEST(SensorTypeArchiveTest, OlderVersionReadsAsVariantZero)
{
    CSensorType type(4, 1);
    LoadBytes(type, {0x96, 0x02, 0x00});
    EXPECT_EQ(type.GetTypeCode(), 50);
    EXPECT_EQ(type.GetVariant(), 0);
}

// A stored variant word counts by its bit 0, as the variant does wherever it enters, so a
// document that kept a whole variant byte of an older file opens again.
TEST(SensorTypeArchiveTest, StoredVariantCountsByBitZero)
{
    const struct {
        Bytes bytes;
        WORD variant;
    } cases[] = {{{0x97, 0x01, 0x00, 0x02, 0x00}, 0}, {{0x97, 0x01, 0x00, 0x03, 0x00}, 1}, {{0x97, 0x01, 0x00, 0xFF, 0xFF}, 1}};
    for (const auto& c : cases) {
        CSensorType type(4, 0);
        LoadBytes(type, c.bytes);
        EXPECT_EQ(type.GetTypeCode(), 7);
        EXPECT_EQ(type.GetVariant(), c.variant);
        EXPECT_EQ(StoreBytes(type), (Bytes{0x97, 0x01, 0x00, BYTE(c.variant), 0x00}));
    }
}

TEST(SensorTypeArchiveTest, RefusesWhatTheTableCannotHoldAndKeepsTheType)
{
    struct {
        const char* what;
        Bytes bytes;
        int cause;
    } const cases[] = {
        {"unknown version", {0x98, 0x00, 0x00, 0x00, 0x00}, CArchiveException::badSchema},
        {"version 0", {0x00, 0x00, 0x00, 0x00, 0x00}, CArchiveException::badSchema},
        {"row past the table", {0x97, 0x03, 0x00, 0x00, 0x00}, CArchiveException::badSchema},
        {"negative row", {0x97, 0xFF, 0xFF, 0x00, 0x00}, CArchiveException::badSchema},
        {"old form, row past the table", {0x96, 0x03, 0x00}, CArchiveException::badSchema},
        {"cut short", {0x97, 0x01, 0x00, 0x01}, CArchiveException::endOfFile},
    };
    for (const auto& c : cases) {
        CSensorType type(7, 1);
        EXPECT_EQ(LoadFailure(type, c.bytes), c.cause) << c.what;
        EXPECT_EQ(type.GetTypeCode(), 7) << c.what;
        EXPECT_EQ(type.GetVariant(), 1) << c.what;
    }
}

TEST(BeamArrayArchiveTest, CurrentVersionGoldenBytes)
{
    const WORD words[] = {0xE005, 0x0010};
    CBeamArray array;
    array.SetWords(words, 2, 13);
    const Bytes expected = {0x03, 0x0D, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00,
                            0x02, 0x00, 0x05, 0xE0, 0x10, 0x00};
    EXPECT_EQ(StoreBytes(array), expected);

    CBeamArray read;
    LoadBytes(read, expected);
    EXPECT_EQ(read.GetType(), 13);
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetWord(0), 0xE005);
    EXPECT_EQ(read.GetWord(1), 0x0010);
    EXPECT_EQ(read.GetFlag13Count(), 1);
}

TEST(BeamArrayArchiveTest, LargestArrayUsesTheLongCountForm)
{
    CBeamArray array;
    array.Fill(CBeamWord(0xC123), 0xFFFF, 14);
    const Bytes bytes = StoreBytes(array);
    ASSERT_EQ(bytes.size(), 9u + 6u + 2u * 0xFFFF);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 15),
              (Bytes{0x03, 0x0E, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    CBeamArray read;
    LoadBytes(read, bytes);
    EXPECT_EQ(read.GetCount(), 0xFFFF);
    EXPECT_EQ(read.GetFlag15Count(), 0xFFFF);
    EXPECT_EQ(read.GetWord(0xFFFE), 0xC123);
}

TEST(BeamArrayArchiveTest, OlderVersionsReadAsTypeThirteen)
{
    // Version 2: three counts, then the words.
    CBeamArray two;
    two.Fill(CBeamWord(0), 3, 15);
    LoadBytes(two, {0x02, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x05, 0xA0, 0x64, 0x00});
    EXPECT_EQ(two.GetType(), 13);
    ASSERT_EQ(two.GetCount(), 2);
    EXPECT_EQ(two.GetDistance(0), 5);
    EXPECT_TRUE(two.GetFlag13(0));
    EXPECT_TRUE(two.GetFlag15(0));
    EXPECT_EQ(two.GetFlag13Count(), 1);
    EXPECT_EQ(two.GetFlag15Count(), 1);

    // Version 1: two skipped words, three counts, and two word arrays of which the
    // second is kept.
    CBeamArray one;
    LoadBytes(one, {0x01, 0x11, 0x11, 0x22, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                    0x01, 0x00, 0x07, 0x00,
                    0x03, 0x00, 0x08, 0x00, 0x09, 0x40, 0x0A, 0x00});
    EXPECT_EQ(one.GetType(), 13);
    ASSERT_EQ(one.GetCount(), 3);
    EXPECT_EQ(one.GetWord(0), 0x0008);
    EXPECT_EQ(one.GetWord(1), 0x4009);
    EXPECT_EQ(one.GetFlag14Count(), 1);
}

TEST(BeamArrayArchiveTest, StoredCountsAreRecountedFromTheWords)
{
    // Claims 9 beams with flag 15 and 7 with flag 13 for two words without flags.
    CBeamArray array;
    LoadBytes(array, {0x03, 0x0D, 0x00, 0x09, 0x00, 0x00, 0x00, 0x07, 0x00, 0x02, 0x00, 0x05, 0x00, 0x06, 0x40});
    EXPECT_EQ(array.GetFlag15Count(), 0);
    EXPECT_EQ(array.GetFlag14Count(), 1);
    EXPECT_EQ(array.GetFlag13Count(), 0);
}

TEST(BeamArrayArchiveTest, RefusesBadDataAndKeepsTheArray)
{
    struct {
        const char* what;
        Bytes bytes;
        int cause;
    } const cases[] = {
        {"version 0", {0x00, 0x0D, 0x00}, CArchiveException::badSchema},
        {"version 4", {0x04, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, CArchiveException::badSchema},
        {"type 12", {0x03, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, CArchiveException::badSchema},
        {"type 16", {0x03, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, CArchiveException::badSchema},
        {"count beyond 16 bits",
         {0x03, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00},
         CArchiveException::badSchema},
        {"huge count", {0x03, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         CArchiveException::badSchema},
        {"fewer words than counted", {0x03, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x05, 0x00},
         CArchiveException::endOfFile},
        {"version 1 without its second array",
         {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07, 0x00},
         CArchiveException::endOfFile},
    };
    for (const auto& c : cases) {
        CBeamArray array;
        array.Fill(CBeamWord(0x8064), 4, 14);
        EXPECT_EQ(LoadFailure(array, c.bytes), c.cause) << c.what;
        EXPECT_EQ(array.GetType(), 14) << c.what;
        EXPECT_EQ(array.GetCount(), 4) << c.what;
        EXPECT_EQ(array.GetFlag15Count(), 4) << c.what;
    }
}

TEST(WordScopeArrayArchiveTest, WritesScopeAndWords)
{
    CWordScopeArray array(5, 9);
    EXPECT_EQ(StoreBytes(array), (Bytes{0x05, 0x00, 0x05, 0x00, 0x09, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    array.SetAt(5, 0x1234);
    array.SetAt(9, 0xABCD);
    CWordScopeArray read;
    LoadBytes(read, StoreBytes(array));
    EXPECT_EQ(read.GetSize(), 5);
    EXPECT_EQ(read.GetLower(), 5);
    EXPECT_EQ(read.GetUpper(), 9);
    EXPECT_EQ(read.GetAt(5), 0x1234);
    EXPECT_EQ(read.GetAt(9), 0xABCD);

    CWordScopeArray empty;
    EXPECT_EQ(StoreBytes(empty), (Bytes{0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF}));
    LoadBytes(read, StoreBytes(empty));
    EXPECT_EQ(read.GetSize(), 0);
    EXPECT_EQ(read.GetUpper(), -1);
}

TEST(WordScopeArrayArchiveTest, RefusesAScopeThatDoesNotCoverTheWords)
{
    struct {
        const char* what;
        Bytes bytes;
        int cause;
    } const cases[] = {
        {"negative size", {0xFF, 0xFF, 0x00, 0x00, 0xFE, 0xFF}, CArchiveException::badSchema},
        {"upper past the words", {0x02, 0x00, 0x00, 0x00, 0x63, 0x00, 0, 0, 0, 0}, CArchiveException::badSchema},
        {"lower below the words", {0x02, 0x00, 0xF6, 0xFF, 0x01, 0x00, 0, 0, 0, 0}, CArchiveException::badSchema},
        {"fewer words than the size", {0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0, 0}, CArchiveException::endOfFile},
    };
    for (const auto& c : cases) {
        CWordScopeArray array(1, 2);
        array.SetAt(2, 77);
        EXPECT_EQ(LoadFailure(array, c.bytes), c.cause) << c.what;
        EXPECT_EQ(array.GetLower(), 1) << c.what;
        EXPECT_EQ(array.GetAt(2), 77) << c.what;
    }
}

TEST(SpeedArchiveTest, BoundsAreSixteenBitAndSignExtended)
{
    CSpeed speed(100, 200);
    EXPECT_EQ(StoreBytes(speed), (Bytes{0x01, 0x64, 0x00, 0xC8, 0x00}));

    CSpeed wide(-2000, 40000);
    const Bytes bytes = StoreBytes(wide);
    EXPECT_EQ(bytes, (Bytes{0x01, 0x30, 0xF8, 0x40, 0x9C}));
    CSpeed read;
    LoadBytes(read, bytes);
    EXPECT_EQ(read.GetLow(), -2000);
    EXPECT_EQ(read.GetHigh(), -25536);

    for (BYTE version : {BYTE(0), BYTE(2)}) {
        CSpeed kept(1, 2);
        EXPECT_EQ(LoadFailure(kept, {version, 0x64, 0x00, 0xC8, 0x00}), CArchiveException::badSchema);
        EXPECT_EQ(kept.GetLow(), 1);
        EXPECT_EQ(kept.GetHigh(), 2);
    }
}

TEST(ModelArchiveTest, ObjectsByPointerCarryClassNameAndSchema)
{
    CSpeed speed(1, 2);
    CSensorType type(7, 0);
    CBeamArray beams;
    CWordScopeArray scope;
    struct {
        CObject* object;
        std::string name;
        WORD schema;
    } const cases[] = {
        {&speed, "CSpeed", 1}, {&type, "CSensorType", 0}, {&beams, "CBeamArray", 0}, {&scope, "CWordScopeArray", 0},
    };
    for (const auto& c : cases) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar.WriteObject(c.object);
            ar.Close();
        }
        const Bytes bytes = file.Detach();
        const Bytes head = Concat({{0xFF, 0xFF, BYTE(c.schema), 0x00, BYTE(c.name.size()), 0x00},
                                   Bytes(c.name.begin(), c.name.end())});
        ASSERT_GE(bytes.size(), head.size());
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(head.size())), head) << c.name;

        CMemFile in(bytes.data(), UINT(bytes.size()));
        CArchive ar(&in, CArchive::load);
        std::unique_ptr<CObject> read(ar.ReadObject(c.object->GetRuntimeClass()));
        ASSERT_TRUE(read) << c.name;
        EXPECT_EQ(read->GetRuntimeClass(), c.object->GetRuntimeClass()) << c.name;
    }
}

} // namespace
