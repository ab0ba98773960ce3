#include "simulator/internal/ContourBuilders.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SimContour PointList(std::initializer_list<WORD> points)
{
    SimContour list;
    list.count = WORD(points.size());
    std::copy(points.begin(), points.end(), list.words.begin());
    return list;
}

TEST(ContourBuildersTest, TablesHoldTheRoundedCosineAndTangent)
{
    EXPECT_EQ(kSimCosineTable[0], 4096u);
    EXPECT_EQ(kSimCosineTable[90], 2896u); // 45 degrees
    EXPECT_EQ(kSimCosineTable[179], 36u);
    EXPECT_EQ(kSimCosineTable[180], 0u);
    const std::vector<DWORD> tangentStart(kSimTangentTable.begin(), kSimTangentTable.begin() + 4);
    EXPECT_EQ(tangentStart, (std::vector<DWORD>{0, 4, 9, 13}));
    EXPECT_EQ(kSimTangentTable[90], 512u);
    EXPECT_EQ(kSimTangentTable[178], 29332u);
    EXPECT_EQ(kSimTangentTable[179], 58669u);
    EXPECT_EQ(kSimTangentTable[180], 65535u);
}

TEST(ContourBuildersTest, SquareRectangleMeetsItsCornersAtFortyFiveDegrees)
{
    SimContour contour = SimContour::Filled(5, 0xFFFF);
    ASSERT_TRUE(FillRectangleContour(100, 100, 100, contour));
    EXPECT_EQ(contour.count, 361);
    const std::pair<int, WORD> expected[] = {{0, 100}, {90, 141}, {180, 100}, {270, 141}, {360, 100}};
    for (const auto& [beam, distance] : expected)
        EXPECT_EQ(contour.words[beam], distance) << "beam " << beam;
    for (WORD word : contour.words)
        ASSERT_EQ(word & kBeamMarkFlags, 0);
}

TEST(ContourBuildersTest, RectangleSidesFollowTheirOwnExtents)
{
    std::array<WORD, kContourBeams> values{};
    ASSERT_TRUE(ComputeRectangleContour(150, 200, 300, values));
    EXPECT_EQ(values[0], 200);   // 0-degree side
    EXPECT_EQ(values[180], 300); // straight ahead
    EXPECT_EQ(values[360], 150); // 180-degree side
    // Every beam reaches the nearer edge, so no distance exceeds the far corners.
    for (std::size_t k = 0; k <= 180; ++k)
        ASSERT_LE(values[k], 361) << k; // sqrt(200^2 + 300^2) = 360.6
    for (std::size_t k = 180; k <= 360; ++k)
        ASSERT_LE(values[k], 336) << k; // sqrt(150^2 + 300^2) = 335.4
}

// A front edge far beyond the side edges puts the crossing beam where the cosine is 0.
TEST(ContourBuildersTest, DegenerateRectanglesAreRefusedOrStayFinite)
{
    SimContour contour = SimContour::Filled(361, 7);
    EXPECT_FALSE(FillRectangleContour(0, 100, 100, contour));
    EXPECT_FALSE(FillRectangleContour(100, 0, 100, contour));
    EXPECT_FALSE(FillRectangleContour(100, 100, 0, contour));
    EXPECT_EQ(contour, SimContour::Filled(361, 7));

    ASSERT_TRUE(FillRectangleContour(1, 1, 200, contour));
    EXPECT_EQ(contour.words[0], 1);
    EXPECT_EQ(contour.words[180], 200);
    EXPECT_EQ(contour.words[360], 1);

    ASSERT_TRUE(FillRectangleContour(5000, 5000, 1, contour));
    EXPECT_EQ(contour.words[0], 5000);
    EXPECT_EQ(contour.words[180], 1);
    EXPECT_EQ(contour.words[360], 5000);
}

TEST(ContourBuildersTest, ThreePointsInterpolateWithATruncatedSlope)
{
    SimContour contour;
    ASSERT_TRUE(FillContourFromList(PointList({100, 200, 100}), contour));
    EXPECT_EQ(contour.count, 361);
    const std::pair<int, WORD> expected[] = {{0, 100}, {90, 147}, {179, 195}, {180, 200}, {270, 153}, {360, 100}};
    for (const auto& [beam, distance] : expected)
        EXPECT_EQ(contour.words[beam], distance) << "beam " << beam;
}

TEST(ContourBuildersTest, PointFlagsSurviveExceptTheMarks)
{
    SimContour contour;
    const WORD flagged = WORD(300 | kBeamFlag13 | kBeamFlag15);
    ASSERT_TRUE(FillContourFromList(PointList({flagged, 300, flagged}), contour));
    EXPECT_EQ(contour.words[0], 300 | kBeamFlag13);
    EXPECT_EQ(contour.words[1], 300);
    EXPECT_EQ(contour.words[360], 300 | kBeamFlag13);
}

TEST(ContourBuildersTest, SegmentCountsThatDoNotDivide360LeaveTheTail)
{
    SimContour contour = SimContour::Filled(361, 0x4000 | 77);
    ASSERT_TRUE(FillContourFromList(PointList({10, 20, 30, 40, 50, 60, 70, 80}), contour));
    // 7 segments of 51 beams fill 358 words; the other 3 keep their distance.
    EXPECT_EQ(contour.words[357], 80);
    for (int beam : {358, 359, 360})
        EXPECT_EQ(contour.words[beam], 77) << beam;
}

TEST(ContourBuildersTest, LongListsCopyTheirDistancesAndKeepTheContourFlags)
{
    SimContour list;
    list.count = 200;
    for (std::size_t i = 0; i < 200; ++i)
        list.words[i] = WORD(kBeamFlag14 | (1000 + i));
    SimContour contour = SimContour::Filled(361, kBeamFlag13 | kBeamFlag15 | 55);
    ASSERT_TRUE(FillContourFromList(list, contour));
    EXPECT_EQ(contour.words[0], kBeamFlag13 | 1000);
    EXPECT_EQ(contour.words[199], kBeamFlag13 | 1199);
    EXPECT_EQ(contour.words[200], kBeamFlag13 | 55);
    EXPECT_EQ(contour.words[360], kBeamFlag13 | 55);
}

TEST(ContourBuildersTest, ListsWithTooFewOrTooManyPointsAreRefused)
{
    const SimContour before = SimContour::Filled(361, 9);
    SimContour contour = before;
    EXPECT_FALSE(FillContourFromList(PointList({}), contour));
    EXPECT_FALSE(FillContourFromList(PointList({100}), contour));
    SimContour tooLong;
    tooLong.count = 362;
    EXPECT_FALSE(FillContourFromList(tooLong, contour));
    EXPECT_EQ(contour, before);
}

TEST(ContourBuildersTest, SegmentBuilderStaysInsideItsBuffers)
{
    std::array<WORD, kContourBeams> values{};
    // No segments, and a buffer that names more points than it holds.
    EXPECT_EQ(FillContourFromSegments(std::vector<BYTE>{}, values), 0u);
    EXPECT_EQ(FillContourFromSegments(std::vector<BYTE>{0, 100, 0}, values), 0u);
    EXPECT_EQ(FillContourFromSegments(std::vector<BYTE>{2, 100, 0, 200, 0}, values), 0u);

    // 255 segments of one beam each fill 256 words.
    std::vector<WORD> points(256, 42);
    EXPECT_EQ(FillContourFromSegments(MakeSegmentBuffer(points), values), 256u);

    // A short destination takes only what fits.
    std::array<WORD, 10> shortValues{};
    const std::vector<WORD> twoPoints{100, 200};
    EXPECT_EQ(FillContourFromSegments(MakeSegmentBuffer(twoPoints), shortValues), 10u);
    EXPECT_EQ(shortValues[9], 102);
}

TEST(ContourBuildersTest, ConstantContourKeepsBit13AndTheCount)
{
    SimContour contour = SimContour::Filled(181, kBeamFlag13 | kBeamFlag14 | 12);
    contour.words[300] = kBeamFlag15 | 8;
    FillConstantContour(300, contour);
    EXPECT_EQ(contour.count, 181);
    EXPECT_EQ(contour.words[0], kBeamFlag13 | 300);
    EXPECT_EQ(contour.words[300], 300);
}

} // namespace
