#pragma once
// One element of a printed report. The report builder creates the elements, the view
// lays them out on pages by their measured heights and then lets each one draw itself.
// Printing uses 0.01 mm per logical unit with y growing downwards.
#include "framework/core/CObject.h"
#include "framework/core/CRect.h"
#include "framework/core/CString.h"
#include "framework/gdi/CDC.h"

// Page units (0.01 mm) of a point size: 12 pt = 423, 10 pt = 353, 8 pt = 282.
int PointsToPageUnits(int points);

class CPrintObject : public CObject {
    DECLARE_DYNAMIC(CPrintObject)
public:
    ~CPrintObject() override = default;
    CPrintObject(const CPrintObject&) = delete;
    CPrintObject& operator=(const CPrintObject&) = delete;

    // Draws the element at the top of the rectangle, or only measures it, and returns
    // the height it takes in page units, its spacing included.
    virtual int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) = 0;

    // The page the layout put the element on; 0 until laid out.
    int GetPage() const { return m_nPage; }
    void SetPage(int page) { m_nPage = page; }
    BOOL IsHeading() const { return m_bHeading; }
    // Spacing in points.
    int GetSpaceBefore() const { return m_nSpaceBefore; }
    int GetSpaceAfter() const { return m_nSpaceAfter; }

protected:
    CPrintObject(BOOL heading, int spaceBefore, int spaceAfter);

    // Makes the shared font of a class once: Arial of the point size, variable pitch,
    // Swiss family. A font that cannot be made stays without a handle.
    static void CreateClassFont(CFont& font, int points, LONG weight, BOOL italic);

    // The common text element: nothing for an empty text; else the spacing before, the
    // text wrapped at the rectangle's width in the font (when it has a handle), and the
    // spacing after.
    int PrintText(CDC* pDC, const CRect& rect, BOOL bMeasureOnly, const CString& text, CFont& font) const;

private:
    int m_nPage = 0;
    BOOL m_bHeading;
    int m_nSpaceBefore;
    int m_nSpaceAfter;
};
