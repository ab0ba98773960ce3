#include "model/ShelterConversions.h"

#include "ShelterSamples.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ShelterConversionsTest, EachShapeOffersItsCodesAndNothingOutsideZeroToSix)
{
    const CArcShelter arc = MakeArc(300);
    const CArcShelter wideArc = MakeArc(500, kProtectiveField); // beyond the 400 cm protective width
    const CRectShelter rect = MakeRect(100, 200, 150);
    const CPolyShelter contour181 = MakeContour(181);
    const CPolyShelter contour91 = MakeContour(91);
    const CPolyShelter warning361 = MakeContour(361, kWarningField);
    struct Case {
        const char* name;
        const CShelter* field;
        const char* offered; // one character per code -1 to 7
    };
    const Case cases[] = {
        {"arc", &arc, "-YYYY-YY-"},
        {"arc wider than the width limit", &wideArc, "----Y-YY-"},
        {"rectangle", &rect, "-YYY-YYY-"},
        {"contour of 181 beams", &contour181, "-Y-YYYYY-"},
        {"contour of 91 beams", &contour91, "--YYYYYY-"},
        {"warning contour of 361 beams", &warning361, "-YY---YY-"},
    };
    ScriptedUi ui; // a refused code must not open a dialog
    for (const Case& c : cases) {
        for (int code = -1; code <= 7; ++code) {
            const bool offered = c.offered[code + 1] == 'Y';
            EXPECT_EQ(c.field->CanConvertTo(code) != FALSE, offered) << c.name << ", code " << code;
            if (!offered) {
                EXPECT_EQ(c.field->ConvertTo(code), nullptr) << c.name << ", code " << code;
            }
        }
    }
    EXPECT_TRUE(ui.ModalRuns().empty());
}

TEST(ShelterConversionsTest, ArcBecomesAContourOfItsRadius)
{
    const CArcShelter arc = MakeArc(300, kProtectiveField);
    const std::pair<int, int> codes[] = {{kConvertToContour91, 91}, {kConvertToContour181, 181},
                                         {kConvertToContour361, 361}};
    for (const auto& [code, beams] : codes) {
        const auto field = arc.ConvertTo(code);
        const CPolyShelter& contour = AsContour(field);
        ASSERT_EQ(contour.GetBeamCount(), beams);
        EXPECT_EQ(contour.GetMinExtent(), 300);
        EXPECT_EQ(contour.GetMaxExtent(), 300);
        EXPECT_EQ(contour.GetVertexCount(), beams);
        EXPECT_EQ(contour.GetFieldKind(), kProtectiveField);
        EXPECT_TRUE(contour.GetSensorType() == kType);
    }
}

TEST(ShelterConversionsTest, RectangleBecomesAContourThroughItsCorners)
{
    // Corners at 45 and 135 degrees, 283 cm away.
    const CRectShelter rect = MakeRect(200, 200, 200, kWarningField);
    const auto field = rect.ConvertTo(kConvertToContour181);
    const CPolyShelter& contour = AsContour(field);
    ASSERT_EQ(contour.GetBeamCount(), 181);
    EXPECT_EQ(contour.GetFieldKind(), kWarningField);
    EXPECT_TRUE(contour.GetSensorType() == kType);
    EXPECT_EQ(contour.GetVertexCount(), 4);
    for (const int beam : {0, 45, 135, 180}) EXPECT_TRUE(contour.IsVertex(beam)) << beam;
    struct Beam {
        int beam;
        int distance;
    };
    for (const Beam& b : {Beam{0, 200}, Beam{180, 200}, Beam{45, 283}, Beam{135, 283}, Beam{90, 200},
                          Beam{20, 213}, Beam{160, 213}}) { // 200 / cos 20 degrees on the sides
        EXPECT_NEAR(contour.GetBeamDistance(b.beam), b.distance, 1) << "beam " << b.beam;
    }
    EXPECT_EQ(AsContour(rect.ConvertTo(kConvertToContour91)).GetBeamCount(), 91);
    EXPECT_EQ(AsContour(rect.ConvertTo(kConvertToContour361)).GetBeamCount(), 361);
}

TEST(ShelterConversionsTest, RectangleBeyondItsLimitsGivesNoContour)
{
    // Loaded from an old file: the front reaches past the protective range of 400 cm, so a
    // contour could not hold the front corners and would silently lose them.
    const CRectShelter rect = MakeRect(100, 500, 100, kProtectiveField);
    EXPECT_TRUE(rect.CanConvertTo(kConvertToContour181));
    EXPECT_EQ(rect.ConvertTo(kConvertToContour181), nullptr);
}

TEST(ShelterConversionsTest, ContourIsResampledToTheOtherBeamCounts)
{
    CPolyShelter source = MakeContour(181, kProtectiveField);
    source.SetFillColor(0x123456);
    source.SetModified(0);
    struct Case {
        int code;
        int beams;
        int frontBeam;  // the beam straight ahead
        int cornerBeam; // the beam of the right corner at 45 degrees
    };
    for (const Case& c : {Case{kConvertToContour91, 91, 45, -1}, Case{kConvertToContour361, 361, 180, 90}}) {
        const auto field = source.ConvertTo(c.code);
        const CPolyShelter& contour = AsContour(field);
        ASSERT_EQ(contour.GetBeamCount(), c.beams);
        EXPECT_EQ(contour.GetModified(), 1);
        EXPECT_EQ(contour.GetFieldKind(), kProtectiveField);
        EXPECT_EQ(contour.GetFillColor(), 0x123456u);
        EXPECT_NEAR(contour.GetBeamDistance(c.frontBeam), 200, 1);
        EXPECT_EQ(contour.GetBeamDistance(0), 200);
        EXPECT_EQ(contour.GetBeamDistance(c.beams - 1), 200);
        if (c.cornerBeam >= 0) {
            EXPECT_TRUE(contour.IsVertex(c.cornerBeam));
            EXPECT_EQ(contour.GetBeamDistance(c.cornerBeam), 283);
        }
    }
    EXPECT_EQ(source.GetBeamCount(), 181); // the source stays as it was
}

TEST(ShelterConversionsTest, ContourWithoutBeamsGivesNoResampledCopy)
{
    const CPolyShelter empty;
    EXPECT_TRUE(empty.CanConvertTo(kConvertToContour181));
    EXPECT_EQ(empty.ConvertTo(kConvertToContour181), nullptr);
}

} // namespace
