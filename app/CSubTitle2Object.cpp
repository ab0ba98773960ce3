#include "app/CSubTitle2Object.h"

IMPLEMENT_DYNAMIC(CSubTitle2Object, CPrintObject)

namespace {

// Shared by every element of the class for the rest of the program.
CFont& ClassFont()
{
    static CFont font;
    return font;
}

} // namespace

CSubTitle2Object::CSubTitle2Object(const CString& text) : CPrintObject(TRUE, 5, 5), m_strText(text)
{
    CreateClassFont(ClassFont(), 10, FW_BOLD, TRUE);
}

int CSubTitle2Object::Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly)
{
    return PrintText(pDC, rect, bMeasureOnly, m_strText, ClassFont());
}
