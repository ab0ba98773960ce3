#include "model/CAngle.h"

#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct DmsCase {
    double degrees;
    int d, m, s;
    const char* text;
};

TEST(CAngleTest, DegreesSplitIntoDegreesMinutesAndSeconds)
{
    const DmsCase cases[] = {
        {10.9999999, 11, 0, 0, "11\u00B0  0'  0''"}, // both carries
        {-0.5, 0, 30, 0, " 0\u00B0 30'  0''"},       // no sign left to show
        {45.2625, 45, 15, 45, "45\u00B0 15' 45''"},
        {-45.2625, -45, 15, 45, "-45\u00B0 15' 45''"},
        {0.0, 0, 0, 0, " 0\u00B0  0'  0''"},
        {179.99999, 180, 0, 0, "180\u00B0  0'  0''"},
        {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, " 0\u00B0  0'  0''"},
    };
    for (const DmsCase& c : cases) {
        int d = -1, m = -1, s = -1;
        DegreesToDMS(c.degrees, d, m, s);
        EXPECT_EQ(d, c.d) << c.degrees;
        EXPECT_EQ(m, c.m) << c.degrees;
        EXPECT_EQ(s, c.s) << c.degrees;
        CAngle angle;
        angle.SetDegrees(c.degrees);
        EXPECT_STREQ(angle.FormatDMS(), c.text) << c.degrees;
    }
}

TEST(CAngleTest, EverySetterKeepsBothMeasures)
{
    CAngle fromDms(0, 30, 0);
    EXPECT_DOUBLE_EQ(fromDms.GetDegrees(), 0.5);
    EXPECT_DOUBLE_EQ(fromDms.GetRadians(), 0.5 * 0.017453292);

    CAngle fromRadians(1.0);
    EXPECT_DOUBLE_EQ(fromRadians.GetDegrees(), 57.29577951);
    EXPECT_STREQ(fromRadians.FormatRadians(), "1.00000");
    EXPECT_STREQ(fromRadians.FormatDegrees(), "57.29578");

    fromRadians = 2.0;
    EXPECT_DOUBLE_EQ(fromRadians.GetDegrees(), 2 * 57.29577951);
    EXPECT_DOUBLE_EQ(DMSToDegrees(45, 15, 45), 45.2625);
}

TEST(CAngleTest, SumsAndDifferencesStayWithinOneTurnAndKeepTheirSign)
{
    EXPECT_NEAR((CAngle(5.0) + CAngle(2.0)).GetRadians(), 0.716814692, 1e-9);
    EXPECT_NEAR((CAngle(2.0) - CAngle(5.0)).GetRadians(), -3.0, 1e-12);
    EXPECT_NEAR((CAngle(1.0) + 0.5).GetRadians(), 1.5, 1e-12);
    EXPECT_NEAR((0.5 - CAngle(7.0)).GetRadians(), std::fmod(-6.5, 6.283185308), 1e-12);
    // Degrees follow the reduced radians.
    EXPECT_NEAR((CAngle(5.0) + CAngle(2.0)).GetDegrees(), 0.716814692 * 57.29577951, 1e-6);

    EXPECT_TRUE(CAngle(1.5) == 1.5);
    EXPECT_TRUE(CAngle(1.5) != CAngle(1.5 + 1e-15));
}

TEST(CAngleTest, ArchiveHoldsTheRadiansOnly)
{
    CAngle angle(1.0);
    const std::vector<BYTE> bytes = StoreBytes(angle);
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}));

    CAngle loaded;
    LoadBytes(loaded, bytes);
    EXPECT_EQ(loaded, angle);
    EXPECT_DOUBLE_EQ(loaded.GetDegrees(), 57.29577951);
    EXPECT_EQ(LoadFailure(loaded, {0x00, 0x00, 0x00}), CArchiveException::endOfFile);
}

TEST(CAngleTest, ArchivedByPointerUnderItsClassName)
{
    CMemFile file;
    CAngle angle(0.25);
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(&angle);
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    const std::vector<BYTE> head = {0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00, 'C', 'A', 'n', 'g', 'l', 'e'};
    ASSERT_EQ(bytes.size(), head.size() + 8);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive ar(&in, CArchive::load);
    CObject* object = nullptr;
    ar >> object;
    std::unique_ptr<CObject> owner(object);
    ASSERT_TRUE(object && object->IsKindOf(RUNTIME_CLASS(CAngle)));
    EXPECT_EQ(*static_cast<CAngle*>(object), angle);
}

} // namespace
