// Text elements and the field diagram element of printed reports.
#include "PrintTestSupport.h"
#include "app/CGraphObject.h"
#include "app/CSubTitle1Object.h"
#include "app/CSubTitle2Object.h"
#include "app/CTextObject.h"
#include "app/CTitleObject.h"
#include "model/CArcShelter.h"
#include "model/CScan.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(PrintObject, PointSizesBecomeHundredthsOfMillimetre)
{
    const struct {
        int points;
        int units;
    } cases[] = {{12, 423}, {10, 353}, {8, 282}, {6, 212}, {5, 176}};
    for (const auto& c : cases) EXPECT_EQ(PointsToPageUnits(c.points), c.units) << c.points << " pt";
}

struct TextElementCase {
    const char* name;
    std::function<std::unique_ptr<CPrintObject>(const CString&)> make;
    BOOL heading;
    int spaceBefore; // points
    int spaceAfter;
    int points;
    LONG weight;
    BYTE italic;
};

const TextElementCase kTextElements[] = {
    {"title", [](const CString& t) { return std::make_unique<CTitleObject>(t); }, TRUE, 6, 6, 12, FW_BOLD, 0},
    {"subtitle 1", [](const CString& t) { return std::make_unique<CSubTitle1Object>(t); }, TRUE, 5, 5, 10, FW_BOLD, 0},
    {"subtitle 2", [](const CString& t) { return std::make_unique<CSubTitle2Object>(t); }, TRUE, 5, 5, 10, FW_BOLD, 1},
    {"text", [](const CString& t) { return std::make_unique<CTextObject>(t); }, FALSE, 0, 0, 10, FW_NORMAL, 0},
};

const char* const kLongText =
    "The protective field of the scanner reaches four metres ahead and two metres to either side of the vehicle.";

// Height of the text wrapped at the width in the font the element should use.
int ExpectedTextHeight(CDC& dc, const TextElementCase& c, const char* text, int width)
{
    CFont font;
    const LOGFONT lf = ReportFont(c.points, c.weight, c.italic);
    EXPECT_TRUE(font.CreateFontIndirect(&lf));
    CFont* old = dc.SelectObject(&font);
    CRect box(0, 0, width, 0);
    const int height = dc.DrawText(CString(text), &box, DT_WORDBREAK | DT_EXTERNALLEADING | DT_CALCRECT);
    dc.SelectObject(old);
    return height;
}

TEST(PrintObject, TextElementsTakeTheirFontHeightAndSpacing)
{
    for (const TextElementCase& c : kTextElements) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<CPrintObject> element = c.make(kLongText);
        EXPECT_EQ(element->IsHeading(), c.heading);
        EXPECT_EQ(element->GetSpaceBefore(), c.spaceBefore);
        EXPECT_EQ(element->GetSpaceAfter(), c.spaceAfter);
        EXPECT_EQ(element->GetPage(), 0);

        CDC dc;
        ASSERT_TRUE(CreatePrintRecorder(dc));
        const int before = PointsToPageUnits(c.spaceBefore);
        const int after = PointsToPageUnits(c.spaceAfter);
        // Wide enough for one line, and narrow enough to wrap into several.
        for (const int width : {18000, 3000}) {
            const CRect rect(1000, 2000, 1000 + width, 27000);
            const int textHeight = ExpectedTextHeight(dc, c, kLongText, width);
            dc.ClearRecording();
            const int measured = element->Print(&dc, rect, TRUE);
            EXPECT_EQ(measured, before + textHeight + after) << "width " << width;
            // Measuring draws nothing but asks for the wrapped size below the spacing.
            const std::vector<CString> measuring = CallsNamed(dc.GetRecording(), "DrawText");
            ASSERT_EQ(measuring.size(), 1u);
            EXPECT_NE(measuring[0].Find(FormatText("L[1000,%d,", 2000 + before).c_str()), -1) << measuring[0];
            EXPECT_NE(measuring[0].Find("format=0x610"), -1) << measuring[0];

            dc.ClearRecording();
            EXPECT_EQ(element->Print(&dc, rect, FALSE), measured);
            const std::vector<CString> drawing = CallsNamed(dc.GetRecording(), "DrawText");
            ASSERT_EQ(drawing.size(), 1u);
            EXPECT_NE(drawing[0].Find("format=0x210"), -1) << drawing[0];
        }
        EXPECT_GT(ExpectedTextHeight(dc, c, kLongText, 3000), ExpectedTextHeight(dc, c, kLongText, 18000));
    }
}

TEST(PrintObject, EmptyTextTakesNoSpaceAndLineBreaksAddLines)
{
    CDC dc;
    ASSERT_TRUE(CreatePrintRecorder(dc));
    const CRect rect(0, 0, 18000, 27000);
    for (const TextElementCase& c : kTextElements) {
        SCOPED_TRACE(c.name);
        dc.ClearRecording();
        EXPECT_EQ(c.make("")->Print(&dc, rect, TRUE), 0);
        EXPECT_EQ(c.make("")->Print(&dc, rect, FALSE), 0);
        EXPECT_TRUE(dc.GetRecording().empty());

        const int spacing = PointsToPageUnits(c.spaceBefore) + PointsToPageUnits(c.spaceAfter);
        const int oneLine = c.make("Warning field")->Print(&dc, rect, TRUE) - spacing;
        EXPECT_GT(oneLine, 0);
        EXPECT_EQ(c.make("Warning field\nProtective field\nCase 3")->Print(&dc, rect, TRUE), spacing + 3 * oneLine);
    }
}

TEST(PrintObject, ElementLeavesTheContextsFontAsItWas)
{
    CDC dc;
    ASSERT_TRUE(CreatePrintRecorder(dc));
    CFont own;
    const LOGFONT lf = ReportFont(20, FW_NORMAL, 0);
    ASSERT_TRUE(own.CreateFontIndirect(&lf));
    dc.SelectObject(&own);
    CTitleObject title("Configuration report");
    title.Print(&dc, CRect(0, 0, 18000, 27000), FALSE);
    EXPECT_EQ(dc.GetCurrentFont()->GetSafeHandle(), own.GetSafeHandle());
}

TEST(PrintObject, GraphKeepsItsOwnCopiesAndTakesNoHeight)
{
    auto arc = std::make_unique<CArcShelter>();
    arc->Initialize(CSensorType(), 300, 1);
    CScan scan;
    CGraphObject graph(arc.get(), nullptr, &scan);
    ASSERT_NE(graph.GetFirst(), nullptr);
    EXPECT_NE(graph.GetFirst(), arc.get());
    EXPECT_EQ(graph.GetSecond(), nullptr);
    ASSERT_NE(graph.GetThird(), nullptr);
    EXPECT_TRUE(graph.GetThird()->IsKindOf(RUNTIME_CLASS(CScan)));
    arc.reset(); // the graph's copy outlives the caller's object
    const auto* copy = dynamic_cast<const CArcShelter*>(graph.GetFirst());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetRadius(), 300);

    CDC dc;
    ASSERT_TRUE(CreatePrintRecorder(dc));
    EXPECT_EQ(graph.Print(&dc, CRect(0, 0, 18000, 27000), FALSE), 0);
    EXPECT_TRUE(dc.GetRecording().empty());
    EXPECT_FALSE(graph.IsHeading());

    // The page layout tells the diagram from the other elements by its class.
    EXPECT_TRUE(graph.IsKindOf(RUNTIME_CLASS(CPrintObject)));
    EXPECT_FALSE(CTextObject("x").IsKindOf(RUNTIME_CLASS(CGraphObject)));
}

} // namespace
