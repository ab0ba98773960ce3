#include "model/CKVRShelterConfig.h"

#include "ArchiveBytes.h"
#include "KVRFieldStub.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<CShelter> Field(int kind, WORD radius)
{
    return std::make_unique<KVRFieldStub>(CSensorType(7, 0), kind, radius);
}

WORD RadiusOf(const CShelter* field) { return static_cast<const KVRFieldStub*>(field)->m_radius; }

TEST(CKVRShelterConfigTest, FieldsByKind)
{
    CKVRShelterConfig pair;
    EXPECT_EQ(pair.GetShelter(1), nullptr);
    EXPECT_EQ(pair.GetShelter(2), nullptr);
    EXPECT_TRUE(pair.SetShelter(1, Field(1, 100)));
    EXPECT_TRUE(pair.SetShelter(2, Field(2, 200)));
    EXPECT_EQ(RadiusOf(pair.GetShelter(1)), 100);
    EXPECT_EQ(RadiusOf(pair.GetShelter(2)), 200);
    EXPECT_TRUE(pair.SetShelter(1, Field(1, 150)));
    EXPECT_EQ(RadiusOf(pair.GetShelter(1)), 150);

    // Another kind changes nothing and the caller keeps the field.
    std::unique_ptr<CShelter> other = Field(0, 300);
    EXPECT_FALSE(pair.SetShelter(3, std::move(other)));
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(pair.SetShelter(0, std::move(other)));
    EXPECT_NE(other, nullptr);
    EXPECT_EQ(pair.GetShelter(0), nullptr);
    EXPECT_EQ(pair.GetShelter(3), nullptr);

    std::unique_ptr<CShelter> detached = pair.DetachShelter(2);
    EXPECT_EQ(RadiusOf(detached.get()), 200);
    EXPECT_EQ(pair.GetShelter(2), nullptr);
}

TEST(CKVRShelterConfigTest, CopiesCloneTheFields)
{
    CKVRShelterConfig pair;
    pair.SetShelter(1, Field(1, 100));
    const CKVRShelterConfig copy(pair);
    ASSERT_NE(copy.GetShelter(1), nullptr);
    EXPECT_NE(copy.GetShelter(1), pair.GetShelter(1));
    EXPECT_EQ(RadiusOf(copy.GetShelter(1)), 100);
    EXPECT_EQ(copy.GetShelter(2), nullptr);

    CKVRShelterConfig assigned;
    assigned.SetShelter(2, Field(2, 50));
    assigned = pair;
    EXPECT_EQ(RadiusOf(assigned.GetShelter(1)), 100);
    EXPECT_EQ(assigned.GetShelter(2), nullptr);
    const CShelter* before = assigned.GetShelter(1);
    assigned = assigned;
    EXPECT_EQ(assigned.GetShelter(1), before);
    EXPECT_EQ(RadiusOf(assigned.GetShelter(1)), 100);
}

TEST(CKVRShelterConfigTest, ArchiveRoundTripAndRefusals)
{
    CKVRShelterConfig pair;
    pair.SetShelter(2, Field(2, 250));
    const std::vector<BYTE> bytes = StoreBytes(pair);
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0); // no protective field
    EXPECT_EQ(bytes[2], 0);
    CKVRShelterConfig loaded;
    LoadBytes(loaded, bytes);
    EXPECT_EQ(loaded.GetShelter(1), nullptr);
    ASSERT_NE(loaded.GetShelter(2), nullptr);
    EXPECT_EQ(loaded.GetShelter(2)->GetFieldKind(), 2);
    EXPECT_EQ(RadiusOf(loaded.GetShelter(2)), 250);

    std::vector<BYTE> wrongVersion = bytes;
    wrongVersion[0] = 2;
    EXPECT_EQ(LoadFailure(loaded, wrongVersion), CArchiveException::badSchema);

    // The warning field refers back to the protective one: refused, not owned twice.
    CKVRShelterConfig one;
    one.SetShelter(1, Field(1, 100));
    std::vector<BYTE> shared = StoreBytes(one);
    shared.resize(shared.size() - 2);          // drop the null warning field
    shared.insert(shared.end(), {0x02, 0x00}); // object index 2: the protective field
    CKVRShelterConfig refused;
    EXPECT_EQ(LoadFailure(refused, shared), CArchiveException::badIndex);

    // A field of no shape class is refused.
    std::vector<BYTE> notAField = {0x01, 0xFF, 0xFF, 0x01, 0x00, 0x10, 0x00};
    const std::string name = "CKVRSensorConfig";
    notAField.insert(notAField.end(), name.begin(), name.end());
    notAField.push_back(0x01);
    EXPECT_EQ(LoadFailure(refused, notAField), CArchiveException::badClass);
}

TEST(CKVRShelterConfigTest, TypeCopyKeepsKindFlagsAndMark)
{
    CKVRShelterConfig pair;
    std::unique_ptr<CShelter> field = Field(1, 100);
    field->SetProtectiveInDevice(1);
    field->SetModified(0);
    field->SetProtectiveInDevice(1);
    pair.SetShelter(1, std::move(field));
    pair.CopySensorTypeToFields(CSensorType(50, 1));
    const CShelter* copied = pair.GetShelter(1);
    EXPECT_EQ(copied->GetSensorType(), CSensorType(50, 1));
    EXPECT_EQ(copied->GetFieldKind(), 1);
    EXPECT_EQ(copied->IsProtectiveInDevice(), 1);
    EXPECT_EQ(copied->GetModified(), 0);
}

} // namespace
