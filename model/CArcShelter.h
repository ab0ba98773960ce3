#pragma once
// A field shaped as a half disc of one radius around the scanner, from 0 to 180 degrees.
// Its three handles stand ahead (0, R), to the right (R, 0) and to the left (-R, 0);
// dragging any of them changes the radius. An arc does not snap to the grid.
#include "model/CShelter.h"

class CArcShelter : public CShelter {
    DECLARE_SERIAL(CArcShelter)
public:
    // Radius 0, snapping off, not dragging.
    CArcShelter();
    // The field and its radius; the copy is not dragging.
    CArcShelter(const CArcShelter& other);
    CArcShelter& operator=(const CArcShelter& other);

    // After the field level: version 1 and the radius; any other version is refused.
    void Serialize(CArchive& ar) override;
    std::unique_ptr<CSensorObject> Clone() const override;

    void Initialize(const CSensorType& type, WORD radius, int kind);
    // The type and kind, with the kind's default distance as radius.
    void InitializeDefault(const CSensorType& type, int kind);
    void CopyFrom(const CArcShelter& other);

    WORD GetRadius() const { return m_wRadius; }
    void SetRadius(WORD radius) { m_wRadius = radius; }

    // Nothing for a radius of 0; handles are drawn whatever the size.
    void DrawOutline(CDC* pDC) const override;
    void DrawFilled(CDC* pDC) const override;
    void DrawHandles(CDC* pDC) const override;

    WORD GetMinExtent() const override { return m_wRadius; }
    WORD GetMaxExtent() const override { return m_wRadius; }
    // The point's distance lies within the kind's distance limits; angle and width are free.
    BOOL IsInSensorRange(const CSensorPoint& point) const override;
    BOOL IsSelectedVertex(const CSensorPoint&) const override { return FALSE; }
    // The rounded point is one of the three handle points.
    BOOL HitsVertex(const CSensorPoint& point) const override;
    // The point's rounded distance becomes the radius; a distance beyond 16 bits is refused.
    BOOL SetPoint(const CSensorPoint& point) override;
    BOOL RemovePoint(const CSensorPoint&) override { return FALSE; }
    BOOL HasSelection() const override { return FALSE; }
    BOOL Select(int, const CSensorPoint&) override { return TRUE; }
    BOOL DeleteSelection() override { return TRUE; }
    // The radius dialog on a copy of the field; the copy is taken over on OK.
    BOOL Edit(CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner) override;
    void ResetToDefaults() override;

    WORD HitTest(const CSensorPoint& point) const override;
    CSensorPoint GetDragPosition(WORD hitFlags, const CSensorPoint& current) const override;
    BOOL IsDragging() const override { return (m_wDragFlags & kHitHandle) != 0; }
    BOOL BeginDrag(const CSensorPoint& point) override;
    // Moves the dragged handle within the distance limits, without snapping; TRUE when
    // the radius changed.
    BOOL DragTo(const CSensorPoint& point) override;
    BOOL EndDrag(const CSensorPoint& point) override;

    std::unique_ptr<CPropertyPage> CreatePropertyPage(int polarEntry, BOOL inch, UINT nIDCaption) override;
    // String 968.
    CString GetTypeName() const override;
    // The radius in the unit stays within the device type's general maximum.
    BOOL FitsUnit(int unit) const override;
    // Distances are kept in cm only: any other unit is refused and nothing is rescaled.
    BOOL ChangeUnit(int unit) override;
    // Contours (codes 0, 1, 2) only while the radius keeps within the width limit; never
    // to an arc; nothing outside the codes 0 to 6.
    BOOL CanConvertTo(int code) const override;
    std::unique_ptr<CShelter> ConvertTo(int code) const override;

private:
    POINT FrontHandle() const { return {0, m_wRadius}; }
    POINT RightHandle() const { return {m_wRadius, 0}; }
    POINT LeftHandle() const { return {-LONG(m_wRadius), 0}; }

    WORD m_wRadius = 0;
    WORD m_wDragFlags = 0;
};
