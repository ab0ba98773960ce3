#pragma once
// A text element of a printed report drawn in one of four styles. Each style has its own
// spacing and font; all elements of a style share that font for the rest of the program.
// The thin classes below name the styles the report builder uses.
#include "app/CPrintObject.h"

enum class TextStyle {
    Title,     // Arial 12 pt bold, 6 pt above and below
    SubTitle1, // Arial 10 pt bold, 5 pt above and below
    SubTitle2, // Arial 10 pt bold italic, 5 pt above and below
    Body,      // Arial 10 pt, no spacing; wrapped at the page width, may hold line breaks
};

class CStyledTextObject : public CPrintObject {
    DECLARE_DYNAMIC(CStyledTextObject)
public:
    CStyledTextObject(TextStyle style, const CString& text);

    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;
    const CString& GetText() const { return m_strText; }
    TextStyle GetStyle() const { return m_style; }

private:
    TextStyle m_style;
    CString m_strText;
};
