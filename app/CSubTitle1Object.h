#pragma once
// A section heading: Arial 10 pt bold, 5 pt above and below.
#include "app/CPrintObject.h"

class CSubTitle1Object : public CPrintObject {
    DECLARE_DYNAMIC(CSubTitle1Object)
public:
    explicit CSubTitle1Object(const CString& text);

    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;
    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
};
