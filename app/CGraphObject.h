#pragma once
// A field diagram in a report: up to three fields or scans drawn together. The element
// itself takes no height; the page layout gives it a fixed box and the view draws the
// objects into it.
#include "app/CPrintObject.h"
#include "model/CSensorObject.h"

#include <memory>

class CGraphObject : public CPrintObject {
    DECLARE_DYNAMIC(CGraphObject)
public:
    // Keeps a copy of each object given; the caller keeps its own. Any may be null.
    CGraphObject(const CSensorObject* pFirst, const CSensorObject* pSecond, const CSensorObject* pThird);

    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;

    const CSensorObject* GetFirst() const { return m_pFirst.get(); }
    const CSensorObject* GetSecond() const { return m_pSecond.get(); }
    const CSensorObject* GetThird() const { return m_pThird.get(); }

private:
    std::unique_ptr<CSensorObject> m_pFirst;
    std::unique_ptr<CSensorObject> m_pSecond;
    std::unique_ptr<CSensorObject> m_pThird;
};
