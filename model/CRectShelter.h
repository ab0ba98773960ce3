#pragma once
// A field shaped as a rectangle in front of the scanner, open toward it: a left extent to
// one side, a right extent to the other and a front extent straight ahead. Corners
// (-left, 0), (-left, front), (right, front), (right, 0); handles at the middle of each
// side (-left, front / 2), (right, front / 2) and ahead (0, front). It does not snap.
#include "model/CShelter.h"

class CRectShelter : public CShelter {
    DECLARE_SERIAL(CRectShelter)
public:
    // All extents 0, snapping off, not dragging.
    CRectShelter();
    // The field and its extents; the copy is not dragging.
    CRectShelter(const CRectShelter& other);
    CRectShelter& operator=(const CRectShelter& other);

    // After the field level: version 1, left, front, right; any other version is refused.
    void Serialize(CArchive& ar) override;
    std::unique_ptr<CSensorObject> Clone() const override;

    void Initialize(const CSensorType& type, WORD left, WORD front, WORD right, int kind);
    // The type and kind, with every extent at the kind's default distance.
    void InitializeDefault(const CSensorType& type, int kind);
    void CopyFrom(const CRectShelter& other);

    void SetExtents(WORD left, WORD front, WORD right);
    void GetExtents(WORD& left, WORD& front, WORD& right) const;
    WORD GetLeft() const { return m_wLeft; }
    WORD GetFront() const { return m_wFront; }
    WORD GetRight() const { return m_wRight; }

    // Nothing when every extent is 0; handles are drawn whatever the size.
    void DrawOutline(CDC* pDC) const override;
    void DrawFilled(CDC* pDC) const override;
    void DrawHandles(CDC* pDC) const override;

    // The nearer and the farther of the two far corners (rounded distances).
    WORD GetMinExtent() const override;
    WORD GetMaxExtent() const override;
    // The point lies ahead within the kind's distance limits, within the width limit
    // sideways, and so does the far corner of the other side at the point's depth.
    BOOL IsInSensorRange(const CSensorPoint& point) const override;
    BOOL IsSelectedVertex(const CSensorPoint&) const override { return FALSE; }
    // The rounded point is a corner ahead or a handle point.
    BOOL HitsVertex(const CSensorPoint& point) const override;
    // The rounded point gives the side extent of its side and the front; a point straight
    // ahead (x = 0), behind the scanner or beyond 16 bits is refused.
    BOOL SetPoint(const CSensorPoint& point) override;
    BOOL RemovePoint(const CSensorPoint&) override { return FALSE; }
    BOOL HasSelection() const override { return FALSE; }
    BOOL Select(int, const CSensorPoint&) override { return TRUE; }
    BOOL DeleteSelection() override { return TRUE; }
    // The extents dialog on a copy of the field; the copy is taken over on OK.
    BOOL Edit(CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner) override;
    void ResetToDefaults() override;

    WORD HitTest(const CSensorPoint& point) const override;
    CSensorPoint GetDragPosition(WORD hitFlags, const CSensorPoint& current) const override;
    BOOL IsDragging() const override { return (m_wDragFlags & kHitHandle) != 0; }
    BOOL BeginDrag(const CSensorPoint& point) override;
    // Moves the dragged handle without snapping; neither far corner goes beyond the
    // maximum distance and no side beyond the width limit. TRUE when an extent changed.
    BOOL DragTo(const CSensorPoint& point) override;
    BOOL EndDrag(const CSensorPoint& point) override;

    std::unique_ptr<CPropertyPage> CreatePropertyPage(int polarEntry, BOOL inch, UINT nIDCaption) override;
    // String 965.
    CString GetTypeName() const override;
    // The farther far corner in the unit stays within the device type's general maximum.
    BOOL FitsUnit(int unit) const override;
    // Distances are kept in cm only: any other unit is refused and nothing is rescaled.
    BOOL ChangeUnit(int unit) override;
    // Every code but the rectangle's own (3); nothing outside the codes 0 to 6.
    BOOL CanConvertTo(int code) const override;
    // A contour of the rectangle (codes 0, 1, 2) is null when a corner lies beyond the
    // limits, as the contour could not follow it.
    std::unique_ptr<CShelter> ConvertTo(int code) const override;

    // Distance of the far corner of a side extent: sqrt(side² + front²), rounded.
    static int FarCornerDistance(int side, int front);

private:
    POINT LeftHandle() const { return {-LONG(m_wLeft), m_wFront / 2}; }
    POINT FrontHandle() const { return {0, m_wFront}; }
    POINT RightHandle() const { return {m_wRight, m_wFront / 2}; }

    WORD m_wLeft = 0;
    WORD m_wFront = 0;
    WORD m_wRight = 0;
    WORD m_wDragFlags = 0;
};
