#include "app/CTitleObject.h"

IMPLEMENT_DYNAMIC(CTitleObject, CPrintObject)

namespace {

// Shared by every element of the class for the rest of the program.
CFont& ClassFont()
{
    static CFont font;
    return font;
}

} // namespace

CTitleObject::CTitleObject(const CString& text) : CPrintObject(TRUE, 6, 6), m_strText(text)
{
    CreateClassFont(ClassFont(), 12, FW_BOLD, FALSE);
}

int CTitleObject::Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly)
{
    return PrintText(pDC, rect, bMeasureOnly, m_strText, ClassFont());
}
