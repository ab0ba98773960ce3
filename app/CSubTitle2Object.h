#pragma once
// A subsection heading: Arial 10 pt bold italic, 5 pt above and below.
#include "app/CPrintObject.h"

class CSubTitle2Object : public CPrintObject {
    DECLARE_DYNAMIC(CSubTitle2Object)
public:
    explicit CSubTitle2Object(const CString& text);

    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;
    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
};
