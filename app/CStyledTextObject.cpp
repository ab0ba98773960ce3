#include "app/CStyledTextObject.h"

#include "app/CSubTitle1Object.h"
#include "app/CSubTitle2Object.h"
#include "app/CTextObject.h"
#include "app/CTitleObject.h"

#include <array>
#include <cstddef>

IMPLEMENT_DYNAMIC(CStyledTextObject, CPrintObject)
IMPLEMENT_DYNAMIC(CTitleObject, CStyledTextObject)
IMPLEMENT_DYNAMIC(CSubTitle1Object, CStyledTextObject)
IMPLEMENT_DYNAMIC(CSubTitle2Object, CStyledTextObject)
IMPLEMENT_DYNAMIC(CTextObject, CStyledTextObject)

namespace {

struct StyleLook {
    BOOL heading;
    int spaceBefore; // points
    int spaceAfter;
    int points;
    LONG weight;
    BOOL italic;
};

// In the order of TextStyle.
constexpr std::array<StyleLook, 4> kLooks = {{
    {TRUE, 6, 6, 12, FW_BOLD, FALSE},
    {TRUE, 5, 5, 10, FW_BOLD, FALSE},
    {TRUE, 5, 5, 10, FW_BOLD, TRUE},
    {FALSE, 0, 0, 10, FW_NORMAL, FALSE},
}};

const StyleLook& LookOf(TextStyle style) { return kLooks.at(static_cast<std::size_t>(style)); }

CFont& FontOf(TextStyle style)
{
    static std::array<CFont, kLooks.size()> fonts;
    return fonts.at(static_cast<std::size_t>(style));
}

} // namespace

CStyledTextObject::CStyledTextObject(TextStyle style, const CString& text)
    : CPrintObject(LookOf(style).heading, LookOf(style).spaceBefore, LookOf(style).spaceAfter),
      m_style(style), m_strText(text)
{
    const StyleLook& look = LookOf(style);
    CreateClassFont(FontOf(style), look.points, look.weight, look.italic);
}

int CStyledTextObject::Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly)
{
    return PrintText(pDC, rect, bMeasureOnly, m_strText, FontOf(m_style));
}
