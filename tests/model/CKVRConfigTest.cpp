#include "model/CKVRConfig.h"

#include "ArchiveBytes.h"
#include "KVRFieldStub.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<CKVRControlConfig> Case(int s1, int s2, int s3, int s4, int low = 0, int high = 0)
{
    auto control = std::make_unique<CKVRControlConfig>();
    const int states[] = {s1, s2, s3, s4};
    for (int k = 1; k <= 4; ++k) control->SetInputState(k, states[k - 1]);
    control->SetSpeed(CSpeed(low, high));
    return control;
}

std::unique_ptr<CKVRShelterConfig> Pair(WORD protective, WORD warning)
{
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(1, std::make_unique<KVRFieldStub>(CSensorType(7, 0), 1, protective));
    pair->SetShelter(2, std::make_unique<KVRFieldStub>(CSensorType(7, 0), 2, warning));
    return pair;
}

// Two sensors, two field pairs and two cases that use sensor 1 and pair 1.
CKVRConfig FilledConfig()
{
    CKVRConfig config;
    config.SetSensorType(CSensorType(7, 0));
    config.SetUsedFlags(0x73);
    config.SetOssdB(1);
    config.SetSpeedScale1(100);
    config.SetValueV2(20);
    config.SetDeviceBitV3(1);
    config.GetModeDelay1().Set(1, 30);
    config.SetValueV5(7);
    config.AddSensorConfig("Front", std::make_unique<CKVRSensorConfig>());
    config.AddSensorConfig("Rear", std::make_unique<CKVRSensorConfig>());
    config.AddShelterConfig("Slow", Pair(100, 200));
    config.AddShelterConfig("Fast", Pair(300, 400));
    for (const char* name : {"Start", "Drive"}) {
        std::unique_ptr<CKVRControlConfig> control = Case(1, 2, 0, 0, 0, 100);
        control->SetSensorIndex(1);
        control->SetShelterIndex(1);
        config.AddControlConfig(name, std::move(control));
    }
    return config;
}

TEST(CKVRConfigTest, DefaultValuesAndBytes)
{
    CKVRConfig config;
    EXPECT_EQ(config.GetSensorType(), CSensorType(4, 0));
    EXPECT_EQ(config.GetUsedFlags(), 0x21);
    EXPECT_EQ(config.GetSpeedScale1(), 50u);
    EXPECT_EQ(config.GetSpeedScale2(), 50u);
    EXPECT_EQ(config.GetValueV1(), 25u);
    EXPECT_EQ(config.GetValueV2(), 0);
    EXPECT_EQ(config.GetModeDelay1(), CModeDelay(0, 2));
    EXPECT_EQ(config.GetModeDelay2(), CModeDelay(0, 2));
    EXPECT_EQ(config.GetOptionV4(), 1);
    EXPECT_EQ(config.GetValueV5(), 66);
    EXPECT_EQ(config.GetSensorConfigCount() + config.GetShelterConfigCount() + config.GetControlConfigCount(), 0);
    EXPECT_EQ(config.GetMinSpeed(), 10);
    EXPECT_EQ(config.GetMaxSpeed(), 2000);
    EXPECT_EQ(StoreBytes(config),
              (std::vector<BYTE>{0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0x21, 0x32, 0x00, 0x32, 0x00, 0x19, 0x00, 0x00, 0x02,
                                 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x42, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST(CKVRConfigTest, ArchiveRoundTripAndVersions)
{
    CKVRConfig config = FilledConfig();
    const std::vector<BYTE> bytes = StoreBytes(config);
    CKVRConfig loaded;
    LoadBytes(loaded, bytes);
    EXPECT_EQ(StoreBytes(loaded), bytes);
    EXPECT_EQ(loaded.GetModeDelay1(), CModeDelay(1, 30));
    EXPECT_STREQ(loaded.GetShelterConfigName(1), "Fast");
    EXPECT_EQ(loaded.GetShelterConfig(1)->GetShelter(2)->GetMaxExtent(), 400);

    for (const BYTE version : {BYTE(0), BYTE(3), BYTE(0x97)}) {
        std::vector<BYTE> other = bytes;
        other[0] = version;
        CKVRConfig refused;
        EXPECT_EQ(LoadFailure(refused, other), CArchiveException::badSchema) << int(version);
    }
    CKVRConfig truncated;
    EXPECT_EQ(LoadFailure(truncated, std::vector<BYTE>(bytes.begin(), bytes.end() - 3)), CArchiveException::endOfFile);
}

TEST(CKVRConfigTest, VersionOnePassesItsVariantToTheFields)
{
    CKVRConfig config = FilledConfig();
    config.GetShelterConfig(0)->GetShelter(1)->SetModified(5);
    std::vector<BYTE> bytes = StoreBytes(config);
    // Version 1 holds the variant between value V2 (offset 20) and device bit V3.
    bytes[0] = 1;
    bytes.insert(bytes.begin() + 21, BYTE(1));
    CKVRConfig loaded;
    LoadBytes(loaded, bytes);
    EXPECT_EQ(loaded.GetSensorType(), CSensorType(7, 1));
    EXPECT_EQ(loaded.GetValueV2(), 20);
    EXPECT_EQ(loaded.GetDeviceBitV3(), 1);
    EXPECT_EQ(loaded.GetValueV5(), 7);
    for (int n = 0; n < 2; ++n) {
        for (int kind = 1; kind <= 2; ++kind) {
            const CShelter* field = loaded.GetShelterConfig(n)->GetShelter(kind);
            EXPECT_EQ(field->GetSensorType(), CSensorType(7, 1));
            EXPECT_EQ(field->GetFieldKind(), kind);
        }
    }
    EXPECT_EQ(loaded.GetShelterConfig(0)->GetShelter(1)->GetModified(), 5);

    // Written back it is version 2 again.
    EXPECT_EQ(StoreBytes(loaded)[0], 2);
}

// The variant byte of a version 1 file is the device's byte, whose bit 1 means something
// else: only bit 0 reaches the type, and what is written back reads again.
TEST(CKVRConfigTest, VersionOneVariantByteCountsByBitZeroAndSavesReadably)
{
    for (const BYTE stored : {BYTE(2), BYTE(3), BYTE(0xFF)}) {
        SCOPED_TRACE(int(stored));
        CKVRConfig config = FilledConfig();
        std::vector<BYTE> bytes = StoreBytes(config);
        bytes[0] = 1;
        bytes.insert(bytes.begin() + 21, stored);
        CKVRConfig loaded;
        LoadBytes(loaded, bytes);
        const CSensorType expected(7, WORD(stored & 1));
        EXPECT_EQ(loaded.GetSensorType(), expected);
        EXPECT_EQ(loaded.GetDeviceBitV3(), 1);
        EXPECT_EQ(loaded.GetShelterConfig(1)->GetShelter(1)->GetSensorType(), expected);

        CKVRConfig reread;
        EXPECT_EQ(LoadFailure(reread, StoreBytes(loaded)), CArchiveException::none);
        EXPECT_EQ(reread.GetSensorType(), expected);
        EXPECT_EQ(reread.GetShelterConfig(1)->GetShelter(2)->GetSensorType(), expected);
    }
}

TEST(CKVRConfigTest, CopiesAreDeep)
{
    const CKVRConfig source = FilledConfig();
    CKVRConfig copy(source);
    // The values before the lists, the names and the cases are equal; the fields are
    // clones (which count as modified copies) of the same shapes.
    const std::vector<BYTE> copied = StoreBytes(copy);
    const std::vector<BYTE> original = StoreBytes(const_cast<CKVRConfig&>(source));
    EXPECT_EQ(std::vector<BYTE>(copied.begin(), copied.begin() + 24), std::vector<BYTE>(original.begin(), original.begin() + 24));
    ASSERT_EQ(copy.GetShelterConfigCount(), 2);
    ASSERT_EQ(copy.GetControlConfigCount(), 2);
    for (int n = 0; n < 2; ++n) {
        EXPECT_STREQ(copy.GetSensorConfigName(n), source.GetSensorConfigName(n));
        EXPECT_STREQ(copy.GetShelterConfigName(n), source.GetShelterConfigName(n));
        EXPECT_EQ(copy.GetShelterConfig(n)->GetShelter(2)->GetMaxExtent(),
                  source.GetShelterConfig(n)->GetShelter(2)->GetMaxExtent());
        EXPECT_EQ(StoreBytes(*copy.GetControlConfig(n)), StoreBytes(*source.GetControlConfig(n)));
    }
    EXPECT_NE(copy.GetShelterConfig(0), source.GetShelterConfig(0));
    EXPECT_NE(copy.GetShelterConfig(0)->GetShelter(1), source.GetShelterConfig(0)->GetShelter(1));
    copy.GetControlConfig(0)->SetSensorIndex(0);
    EXPECT_EQ(source.GetControlConfig(0)->GetSensorIndex(), 1);

    // Assignment replaces the lists rather than appending to them; self-assignment keeps all.
    CKVRConfig target = FilledConfig();
    target.AddSensorConfig("Extra", std::make_unique<CKVRSensorConfig>());
    target = source;
    EXPECT_EQ(target.GetSensorConfigCount(), 2);
    const std::vector<BYTE> before = StoreBytes(target);
    target = target;
    EXPECT_EQ(StoreBytes(target), before);
}

TEST(CKVRConfigTest, MatchingCasesByInputsAndSpeed)
{
    struct Query {
        BYTE flags;
        int s1, s2, s3, s4, speed;
        int first, second;
    };
    // Case 0: input 1 low; case 1: input 2 high, speed [-100, 200); case 2: all don't care.
    const Query queries[] = {
        {0x23, 1, 1, 0, 0, 0, 0, 2},
        {0x23, 1, 2, 1, 2, 0, 0, 1},
        {0x23, 2, 1, 0, 0, 0, 2, -1},
        {0x22, 2, 1, 0, 0, 0, 0, 2},      // input 1 not used: case 0 matches any state of it
        {0x33, 2, 2, 0, 0, -100, 1, 2},   // speed used: the low bound belongs to the range
        {0x33, 2, 2, 0, 0, 200, 2, -1},   // and the high bound does not
        {0x23, 2, 2, 0, 0, 5000, 1, 2},   // speed not used: the range is ignored
        {0x20, 0, 0, 0, 0, 0, 0, 1},      // no input used: every case matches, the third is ignored
    };
    CKVRConfig config;
    config.AddControlConfig("low 1", Case(1, 0, 0, 0));
    config.AddControlConfig("high 2", Case(0, 2, 0, 0, -100, 200));
    config.AddControlConfig("any", Case(0, 0, 0, 0));
    for (const Query& q : queries) {
        config.SetUsedFlags(q.flags);
        int first = 7, second = 7;
        const BOOL found = config.FindControlConfig(q.s1, q.s2, q.s3, q.s4, q.speed, first, second);
        EXPECT_EQ(first, q.first) << int(q.flags) << ": " << q.s1 << q.s2 << q.s3 << q.s4 << " " << q.speed;
        EXPECT_EQ(second, q.second) << int(q.flags) << ": " << q.s1 << q.s2 << q.s3 << q.s4 << " " << q.speed;
        EXPECT_EQ(found, q.first >= 0);
    }
    CKVRConfig single;
    single.SetUsedFlags(0x21);
    single.AddControlConfig("low 1", Case(1, 0, 0, 0));
    int first = 7, second = 7;
    EXPECT_FALSE(single.FindControlConfig(2, 0, 0, 0, 0, first, second));
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);
}

TEST(CKVRConfigTest, UsedInputsSummary)
{
    CKVRConfig config;
    EXPECT_EQ(config.GetUsedInputs().bits, 0);
    config.AddControlConfig("a", Case(0, 1, 0, 0, 50, 300));
    config.AddControlConfig("b", Case(0, 0, 0, 2, -20, 100));
    std::unique_ptr<CKVRControlConfig> flagged = Case(0, 0, 0, 0, 900, 900); // a range not in use
    flagged->SetOutputB(1);
    config.AddControlConfig("c", std::move(flagged));
    const KVRUsedInputs used = config.GetUsedInputs();
    EXPECT_EQ(used.bits, 0x02 | 0x08 | kUsesSpeed | kUsesOssdB);
    EXPECT_EQ(used.speedLow, -20);
    EXPECT_EQ(used.speedHigh, 300);

    CKVRConfig positive;
    positive.AddControlConfig("a", Case(0, 0, 0, 0, 50, 300));
    EXPECT_EQ(positive.GetUsedInputs().speedLow, 0); // the minimum starts at 0
}

TEST(CKVRConfigTest, RemovingKeepsTheCasesOnTheirRecords)
{
    CKVRConfig config = FilledConfig();
    config.AddSensorConfig("Third", std::make_unique<CKVRSensorConfig>());
    config.GetControlConfig(1)->SetSensorIndex(2);
    config.GetControlConfig(1)->SetFollowCount(1);
    config.GetControlConfig(1)->SetFollow1(0);
    config.GetControlConfig(0)->SetFollow1(1);

    EXPECT_EQ(config.RemoveSensorConfig(1), 0); // case 0 uses it
    EXPECT_EQ(config.RemoveShelterConfig(1), 0);
    EXPECT_TRUE(config.IsSensorConfigUsed(1));
    EXPECT_FALSE(config.IsSensorConfigUsed(0));
    EXPECT_EQ(config.RemoveSensorConfig(5), 0);

    EXPECT_EQ(config.RemoveSensorConfig(0), 1);
    EXPECT_EQ(config.GetSensorConfigCount(), 2);
    EXPECT_STREQ(config.GetSensorConfigName(config.GetControlConfig(0)->GetSensorIndex()), "Rear");
    EXPECT_STREQ(config.GetSensorConfigName(config.GetControlConfig(1)->GetSensorIndex()), "Third");

    EXPECT_EQ(config.RemoveShelterConfig(0), 1);
    EXPECT_STREQ(config.GetShelterConfigName(config.GetControlConfig(0)->GetShelterIndex()), "Fast");

    // A following case that goes away is no longer referred to; later ones move down.
    config.AddControlConfig("Stop", Case(0, 0, 0, 0));
    config.GetControlConfig(2)->SetFollow1(1);
    EXPECT_EQ(config.RemoveControlConfig(0), 1);
    EXPECT_EQ(config.GetControlConfig(0)->GetFollow1(), -1);
    EXPECT_EQ(config.GetControlConfig(1)->GetFollow1(), 0);
    EXPECT_STREQ(config.GetControlConfigName(config.GetControlConfig(1)->GetFollow1()), "Drive");
    EXPECT_EQ(config.RemoveControlConfig(2), 0);
}

TEST(CKVRConfigTest, ListAccessByPositionAndName)
{
    CKVRConfig config = FilledConfig();
    EXPECT_EQ(config.FindShelterConfig("Fast"), 1);
    EXPECT_EQ(config.FindControlConfigByName("drive"), -1);
    EXPECT_EQ(config.RenameControlConfig(1, "Park"), 1);
    EXPECT_EQ(config.FindControlConfigByName("Park"), 1);
    EXPECT_EQ(config.RenameSensorConfig(2, "x"), 0);
    EXPECT_EQ(config.GetShelterConfig(2), nullptr);
    EXPECT_STREQ(config.GetSensorConfigName(-1), "");

    int s1 = 9, s2 = 9, s3 = 9, s4 = 9;
    EXPECT_EQ(config.GetControlInputs(0, s1, s2, s3, s4), 1);
    EXPECT_EQ(std::vector<int>({s1, s2, s3, s4}), std::vector<int>({1, 2, 0, 0}));
    CSpeed speed;
    EXPECT_EQ(config.GetControlInputsAndSpeed(1, s1, s2, speed), 1);
    EXPECT_EQ(speed.GetHigh(), 100);
    // No such case: nothing is read and nothing changes.
    s1 = 9;
    EXPECT_EQ(config.GetControlInputs(2, s1, s2, s3, s4), 0);
    EXPECT_EQ(config.GetControlInputsAndSpeed(-1, s1, s2, speed), 0);
    EXPECT_EQ(s1, 9);

    config.RemoveAll();
    EXPECT_EQ(config.GetSensorConfigCount() + config.GetShelterConfigCount() + config.GetControlConfigCount(), 0);
    EXPECT_EQ(config.GetValueV5(), 7);
}

} // namespace
