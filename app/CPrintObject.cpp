#include "app/CPrintObject.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CPrintObject, CObject)

namespace {

constexpr UINT kTextFormat = DT_WORDBREAK | DT_EXTERNALLEADING;

} // namespace

int PointsToPageUnits(int points) { return MulDiv(points, 2540, 72); }

CPrintObject::CPrintObject(BOOL heading, int spaceBefore, int spaceAfter)
    : m_bHeading(heading), m_nSpaceBefore(spaceBefore), m_nSpaceAfter(spaceAfter)
{
}

void CPrintObject::CreateClassFont(CFont& font, int points, LONG weight, BOOL italic)
{
    if (font.GetSafeHandle()) return;
    LOGFONT lf;
    lf.lfHeight = -PointsToPageUnits(points);
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(lf.lfFaceName, "Arial");
    font.CreateFontIndirect(&lf);
}

int CPrintObject::PrintText(CDC* pDC, const CRect& rect, BOOL bMeasureOnly, const CString& text, CFont& font) const
{
    if (text.IsEmpty()) return 0;
    CFont* oldFont = font.GetSafeHandle() ? pDC->SelectObject(&font) : nullptr;
    int height = PointsToPageUnits(m_nSpaceBefore);
    CRect box(rect);
    box.top += height;
    height += pDC->DrawText(text, &box, bMeasureOnly ? kTextFormat | DT_CALCRECT : kTextFormat);
    height += PointsToPageUnits(m_nSpaceAfter);
    if (oldFont) pDC->SelectObject(oldFont);
    return height;
}
