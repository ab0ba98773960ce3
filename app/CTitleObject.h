#pragma once
// The report's title: Arial 12 pt bold, 6 pt above and below.
#include "app/CPrintObject.h"

class CTitleObject : public CPrintObject {
    DECLARE_DYNAMIC(CTitleObject)
public:
    explicit CTitleObject(const CString& text);

    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;
    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
};
