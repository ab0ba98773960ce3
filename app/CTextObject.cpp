#include "app/CTextObject.h"

IMPLEMENT_DYNAMIC(CTextObject, CPrintObject)

namespace {

// Shared by every element of the class for the rest of the program.
CFont& ClassFont()
{
    static CFont font;
    return font;
}

} // namespace

CTextObject::CTextObject(const CString& text) : CPrintObject(FALSE, 0, 0), m_strText(text)
{
    CreateClassFont(ClassFont(), 10, FW_NORMAL, FALSE);
}

int CTextObject::Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly)
{
    return PrintText(pDC, rect, bMeasureOnly, m_strText, ClassFont());
}
