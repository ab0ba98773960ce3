#include "model/CSensorPoint.h"

#include "LanguageScript.h"
#include "model/DistanceUnit.h"

#include <gtest/gtest.h>

namespace {

struct PolarCase {
    float angle, radius;
    float x, y;
};

TEST(CSensorPointTest, PolarAndCartesianFormsDescribeTheSamePoint)
{
    const PolarCase cases[] = {
        {90, 100, 0, 100},
        {0, 100, 100, 0},
        {180, 50, -50, 0},
        {45, 100, 70.7107f, 70.7107f},
        {135, 200, -141.421f, 141.421f},
        {30, 10, 8.66025f, 5},
    };
    for (const PolarCase& c : cases) {
        CSensorPoint polar(CPolarCoord(c.angle, c.radius));
        EXPECT_NEAR(polar.GetX(), c.x, 1e-3) << c.angle;
        EXPECT_NEAR(polar.GetY(), c.y, 1e-3) << c.angle;

        CSensorPoint cartesian;
        cartesian.SetXY(c.x, c.y);
        EXPECT_NEAR(cartesian.GetAngle(), c.angle, 1e-3) << c.angle;
        EXPECT_NEAR(cartesian.GetRadius(), c.radius, 1e-3) << c.angle;

        const CCartesianCoord xy = CPolarCoord(c.angle, c.radius).ToCartesian();
        const CPolarCoord back = xy.ToPolar();
        EXPECT_NEAR(back.m_fAngle, c.angle, 1e-3) << c.angle;
        EXPECT_NEAR(back.m_fRadius, c.radius, 1e-3) << c.angle;
    }
}

TEST(CSensorPointTest, OriginAndPointsBehindTheScanner)
{
    CSensorPoint point;
    point.SetXY(0, 0);
    EXPECT_FLOAT_EQ(point.GetRadius(), 0);
    EXPECT_FLOAT_EQ(point.GetAngle(), 90);
    EXPECT_FLOAT_EQ(CCartesianCoord(0, 0).ToPolar().m_fAngle, 0);

    // Behind the scanner the angle is that of the mirror image in front.
    point.SetXY(0, -100);
    EXPECT_NEAR(point.GetAngle(), 90, 1e-4);
    EXPECT_FLOAT_EQ(point.GetRadius(), 100);
    point.SetXY(-100, -100);
    EXPECT_NEAR(point.GetAngle(), 135, 1e-3);

    // Every setter of one form recomputes the other.
    point.SetAngleRadius(90, 50);
    point.SetX(50);
    EXPECT_NEAR(point.GetAngle(), 45, 1e-3);
    point.SetRadius(10);
    EXPECT_NEAR(point.GetX(), 7.0711, 1e-3);
    point.SetPoint(CPoint(-3, 4));
    EXPECT_FLOAT_EQ(point.GetRadius(), 5);
    point.Clear();
    EXPECT_EQ(point.GetX() + point.GetY() + point.GetAngle() + point.GetRadius(), 0);
}

TEST(CSensorPointTest, MovingAlongTheBeam)
{
    CSensorPoint point(CPolarCoord(45, 100));
    point.SetXKeepAngle(50);
    EXPECT_NEAR(point.GetY(), 50, 1e-3);
    EXPECT_NEAR(point.GetAngle(), 45, 1e-3);
    point.SetYKeepAngle(20);
    EXPECT_NEAR(point.GetX(), 20, 1e-3);

    // The 90 and 180 degree beams run parallel to an axis: the other coordinate is 0
    // rather than a huge value from a cosine or sine that single precision cannot make 0.
    CSensorPoint ahead(CPolarCoord(90, 100));
    ahead.SetXKeepAngle(10);
    EXPECT_FLOAT_EQ(ahead.GetX(), 10);
    EXPECT_FLOAT_EQ(ahead.GetY(), 0);
    CSensorPoint left(CPolarCoord(180, 100));
    left.SetYKeepAngle(30);
    EXPECT_FLOAT_EQ(left.GetX(), 0);
    EXPECT_FLOAT_EQ(left.GetY(), 30);
}

TEST(CSensorPointTest, RoundingGoesHalfAwayFromZero)
{
    CSensorPoint point;
    point.SetXY(2.5f, -2.5f);
    EXPECT_EQ(point.GetRoundedX(), 3);
    EXPECT_EQ(point.GetRoundedY(), -3);
    EXPECT_EQ(point.GetPoint(), CPoint(3, -3));
    point.SetXY(2.49f, -2.49f);
    EXPECT_EQ(point.GetPoint(), CPoint(2, -2));
    point.SetAngleRadius(44.5f, 99.5f);
    EXPECT_EQ(point.GetRoundedAngle(), 45);
    EXPECT_EQ(point.GetRoundedRadius(), 100);
}

struct TextCase {
    int unit;
    bool inch;
    bool withUnit;
    const char* radius;
    const char* x;
};

TEST(CSensorPointTest, CoordinateTextsInTheChosenUnit)
{
    LanguageScript texts("model2.rc");
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    CSensorPoint point;
    point.SetXY(12.345f, 99.6f); // radius 100.36, rounded 100

    const TextCase cases[] = {
        {kUnitCm, false, false, "100", "12.3"},
        {kUnitCm, false, true, "100cm", "12.3cm"},
        {kUnitCm, true, false, "39.37", "4.86"},
        {kUnitCm, true, true, "39.37in", "4.86in"},
        {kUnitMm, true, false, "3.937", "0.486"},
        {kUnitMm, false, true, "100mm", "12.3mm"},
        {kUnitDm, true, false, "393.7", "48.6"},
        {kUnitDm, false, true, "100dm", "12.3dm"},
        {7, true, true, "100in", "12in"},
        {7, false, true, "100", "12.3"},
    };
    for (const TextCase& c : cases) {
        EXPECT_STREQ(FormatPointRadius(point, c.unit, c.inch, c.withUnit), c.radius) << c.unit << c.inch;
        EXPECT_STREQ(FormatPointX(point, c.unit, c.inch, c.withUnit), c.x) << c.unit << c.inch;
    }
    EXPECT_STREQ(FormatPointY(point, kUnitCm, false, false), "99.6");
    point.SetAngleRadius(45.126f, 10);
    EXPECT_STREQ(FormatPointAngle(point, false), "45.13");
    EXPECT_STREQ(FormatPointAngle(point, true), "45.13\u00B0");
}

// A beam straight ahead has an x a hair below zero; what shows as zero has no sign.
TEST(CSensorPointTest, ValuesThatShowAsZeroHaveNoSign)
{
    LanguageScript texts("model2.rc");
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    struct Case {
        float x, y;
        int unit;
        bool inch;
        const char* xText;
        const char* yText;
    };
    const Case cases[] = {
        {-0.04f, 150.0f, kUnitCm, false, "0.0cm", "150.0cm"},
        {-0.06f, -0.001f, kUnitCm, false, "-0.1cm", "0.0cm"},
        {-0.01f, 150.0f, kUnitCm, true, "0.00in", "59.06in"},
        {-0.0001f, 150.0f, kUnitMm, true, "0.000in", "5.906in"},
        {-0.01f, 150.0f, kUnitDm, true, "0.0in", "590.6in"},
        {-0.4f, 150.0f, kUnitDm, true, "-1.6in", "590.6in"},
    };
    for (const Case& c : cases) {
        CSensorPoint point;
        point.SetXY(c.x, c.y);
        EXPECT_STREQ(FormatPointX(point, c.unit, c.inch, true), c.xText) << c.x;
        EXPECT_STREQ(FormatPointY(point, c.unit, c.inch, true), c.yText) << c.y;
    }
    CSensorPoint beamAhead;
    beamAhead.SetAngleRadius(90.0f, 200.0f);
    EXPECT_STREQ(FormatPointX(beamAhead, kUnitCm, false, true), "0.0cm");

    const std::pair<double, const char*> plain[] = {
        {-0.0, "0.0"}, {-0.049, "0.0"}, {-0.051, "-0.1"}, {0.05, "0.1"}, {-1e-9, "0.0"}, {-12.25, "-12.2"}};
    for (const auto& [value, text] : plain)
        EXPECT_STREQ(FormatDecimal(value, 1), text) << value;
    EXPECT_STREQ(FormatDecimal(-0.4, 0), "0");
    EXPECT_STREQ(FormatDecimal(-0.6, 0), "-1");
}

TEST(DistanceUnitTest, ConversionsBetweenTheUnits)
{
    struct Case {
        int from, to;
        double value, expected;
    };
    const Case cases[] = {
        {kUnitCm, kUnitMm, 12, 120}, {kUnitCm, kUnitDm, 12, 1.2},  {kUnitMm, kUnitCm, 125, 12.5},
        {kUnitMm, kUnitDm, 125, 1.25}, {kUnitDm, kUnitCm, 3, 30}, {kUnitDm, kUnitMm, 3, 300},
        {kUnitCm, kUnitCm, 7, 7},     {kUnitCm, 9, 7, 7},         {9, kUnitMm, 7, 7},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ConvertDistanceUnit(c.value, c.from, c.to), c.expected) << c.from << "->" << c.to;
    EXPECT_DOUBLE_EQ(UnitFromInch(InchFromUnit(254, kUnitMm), kUnitMm), 254);
    EXPECT_EQ(GetUnitPrecision(kUnitCm), 2);
    EXPECT_EQ(GetUnitPrecision(-1), 0);
}

} // namespace
