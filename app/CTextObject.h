#pragma once
// Body text: Arial 10 pt, wrapped at the page width; it may hold line breaks.
#include "app/CPrintObject.h"

class CTextObject : public CPrintObject {
    DECLARE_DYNAMIC(CTextObject)
public:
    explicit CTextObject(const CString& text);

    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;
    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
};
