#pragma once
// The base of every editable field (general, protective or warning field): drawing
// attributes, the flags that say whether the field agrees with the device, the field
// kind that picks the distance limits of the device type, snapping to the angle and
// distance grid, and the operations through which the views hit-test, drag, edit,
// rescale and convert a shape. The shapes (arc, rectangle, contour) supply the geometry.
#include "framework/core/CPoint.h"
#include "framework/core/CRect.h"
#include "model/CSensorObject.h"
#include "model/CSensorPoint.h"

#include <memory>

class CObject;
class CPropertyPage;
class CWnd;

// Field kinds.
constexpr int kGeneralField = 0;
constexpr int kProtectiveField = 1;
constexpr int kWarningField = 2;

// Hit flags: inside or outside the shape, a handle, and which handle.
constexpr WORD kHitInside = 0x01;
constexpr WORD kHitOutside = 0x02;
constexpr WORD kHitHandle = 0x04;
constexpr WORD kHitFrontHandle = 0x14;
constexpr WORD kHitRightHandle = 0x44;
constexpr WORD kHitLeftHandle = 0x84;

// Conversion codes: contours of the field with 91, 181 or 361 beams; rectangle; arc;
// contour of a rectangle or of an arc entered in a dialog.
constexpr int kConvertToContour91 = 0;
constexpr int kConvertToContour181 = 1;
constexpr int kConvertToContour361 = 2;
constexpr int kConvertToRectangle = 3;
constexpr int kConvertToArc = 4;
constexpr int kConvertToRectangleContour = 5;
constexpr int kConvertToArcContour = 6;

// Snap modes of SnapPoint: the grid, or a point on a neighbouring beam that keeps the
// point's y (a front edge) or its x (a side edge).
constexpr int kSnapToGrid = 0;
constexpr int kSnapKeepY = 1;
constexpr int kSnapKeepX = 2;

class CShelter : public CSensorObject {
    DECLARE_DYNAMIC(CShelter)
public:
    ~CShelter() override = default;

    // Version 3 written; versions 2 and 1 read. A loaded field never counts as agreeing
    // with a device: both in-device flags are 0 after reading.
    void Serialize(CArchive& ar) override;

    // Stores the mark; any edit makes the field differ from the device, so the locked
    // and both in-device flags become 0.
    void SetModified(int mark) override;

    // A full copy of the same shape, owned by the caller.
    std::unique_ptr<CShelter> CloneShelter() const;

    // Limits of the field's device type; the distance limits by field kind.
    virtual WORD GetMinAngle() const;
    virtual WORD GetMaxAngle() const;
    virtual float GetAngleStep() const;
    virtual WORD GetMinDistance() const;
    virtual WORD GetMaxDistance() const;
    virtual WORD GetDistanceStep() const;
    virtual WORD GetDefaultDistance() const;
    // Limit of the lateral extent abs(x).
    virtual WORD GetMaxWidth() const;

    // Smallest and largest distance of the shape.
    virtual WORD GetMinExtent() const = 0;
    virtual WORD GetMaxExtent() const = 0;

    virtual BOOL IsInSensorRange(const CSensorPoint& point) const = 0;
    virtual BOOL IsSelectedVertex(const CSensorPoint& point) const = 0;
    virtual BOOL HitsVertex(const CSensorPoint& point) const = 0;
    // TRUE when the shape took the point; FALSE leaves the shape as it was.
    virtual BOOL SetPoint(const CSensorPoint& point) = 0;
    virtual BOOL RemovePoint(const CSensorPoint& point) = 0;
    virtual BOOL IsBeamContour() const { return FALSE; }
    virtual BOOL HasSelection() const = 0;
    // Modes: 0 clear, 1 all, 2 invert, 3 only the point's, 4 toggle the point's, 5 range to it.
    virtual BOOL Select(int mode, const CSensorPoint& point) = 0;
    virtual BOOL DeleteSelection() = 0;
    // The shape's modal edit dialog; TRUE when the user confirmed and the shape may have
    // changed. pOwner is the document the field belongs to. The shapes reach their dialogs
    // and pages through the installed shelter editor (model/ShelterEditor.h).
    virtual BOOL Edit(CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner) = 0;
    // The shape back to the default size of its type and kind.
    virtual void ResetToDefaults() = 0;

    // The drag protocol of the views: HitTest on a press; BeginDrag with the point of the
    // handle hit; DragTo for each move while IsDragging (TRUE when the shape changed);
    // EndDrag on release. GetDragPosition gives the exact point of a hit handle. A
    // BeginDrag that returns TRUE has lifted the point off for EndDrag to place: EndDrag
    // then returns FALSE when the shape refuses the drop point and is back as it was.
    virtual WORD HitTest(const CSensorPoint& point) const;
    virtual CSensorPoint GetDragPosition(WORD hitFlags, const CSensorPoint& current) const;
    virtual BOOL IsDragging() const;
    virtual BOOL BeginDrag(const CSensorPoint& point);
    virtual BOOL DragTo(const CSensorPoint& point);
    virtual BOOL EndDrag(const CSensorPoint& point);

    // A new page that shows the field (the caller owns it), or null.
    virtual std::unique_ptr<CPropertyPage> CreatePropertyPage(int polarEntry, BOOL inch, UINT nIDCaption);
    virtual CString GetTypeName() const;
    // Whether the shape fits the device type's range in the distance unit, and the change to it.
    virtual BOOL FitsUnit(int unit) const;
    virtual BOOL ChangeUnit(int unit);
    virtual BOOL CanConvertTo(int code) const;
    // A new field of another shape (the caller owns it), or null.
    virtual std::unique_ptr<CShelter> ConvertTo(int code) const;

    // Type, time stamp and mark 1 from CSensorObject, then every field of this level.
    void CopyFrom(const CShelter& other);
    // Sets the device type and the kind; the field no longer agrees with the device.
    void SetSensorType(const CSensorType& type, int kind);
    // A plain copy of the type (a configuration passing on its variant): kind, device
    // flags and mark stay as they are.
    void ReplaceSensorType(const CSensorType& type) { AssignSensorType(type); }

    int SetLocked(int locked);
    int SetProtectiveInDevice(int inDevice);
    int SetWarningInDevice(int inDevice);
    int IsLocked() const { return m_bLocked; }
    int IsProtectiveInDevice() const { return m_bProtectiveInDevice; }
    int IsWarningInDevice() const { return m_bWarningInDevice; }
    int GetFieldKind() const { return m_nFieldKind; }
    // String id naming the field by kind; 0 for a general field.
    UINT GetKindTextId() const;

    int SetSnap(int snap);
    int GetSnap() const { return m_nSnap; }
    COLORREF SetFillColor(COLORREF color);
    COLORREF GetFillColor() const { return m_crFill; }
    COLORREF GetHandleColor() const { return m_crHandle; }
    CSize SetHandleSize(CSize size);
    CSize SetHandleSize(int cx, int cy) { return SetHandleSize(CSize(cx, cy)); }
    CSize GetHandleSize() const { return m_handleSize; }

    // Grid snapping; with the snap switch 0 each returns its input.
    WORD SnapDistance(int distance) const;
    float SnapAngle(float angle) const;
    BOOL IsOnGrid(float angle, int distance) const;
    BOOL IsPointOnGrid(const CSensorPoint& point) const;
    CSensorPoint SnapPolar(float angle, int distance) const;
    // The two points next to (x, y) on beams of the angle grid: first on the beam nearer
    // to 90 degrees at the point's x, second on the other beam at the point's y.
    void PolarFromPoint(double x, double y, CSensorPoint& first, CSensorPoint& second) const;
    CSensorPoint SnapPoint(const CSensorPoint& point, int mode) const;

    // A point placed by the user (a double click): the point is snapped by the mode and
    // handed to SetPoint, and the field is marked modified. A point outside the sensor
    // range or one the shape refuses changes nothing and gives FALSE; the caller then
    // reports it (message 308) and records no undo step.
    BOOL PlacePoint(const CSensorPoint& point, int snapMode);

protected:
    // Defaults: snap on, fill 0xC0C0C0, handles 0x0080FFFF of 10 x 10 cm, no flags, kind 0.
    CShelter() = default;
    CShelter(const CShelter& other);
    CShelter& operator=(const CShelter&) = delete;

    void AssignSensorType(const CSensorType& type) { m_sensorType = type; }

    // Drawing shared by the shapes. Outlines are drawn with a solid pen of width 0, white
    // on the black screen and black on paper.
    static COLORREF GetOutlineColor(const CDC* pDC);
    void DrawOutlinePolyline(CDC* pDC, const POINT* points, int count) const;
    // The outline pen, a brush of the fill colour and the winding fill mode.
    void DrawFilledPolygon(CDC* pDC, const POINT* points, int count) const;
    // A square of the handle size in the handle colour around each point, black frame,
    // mix copy-pen. Pen, brush and mix are restored.
    void DrawHandleSquares(CDC* pDC, const POINT* points, int count) const;
    // The square of a handle at the point: integer halves of the handle size either side.
    CRect GetHandleRect(POINT center) const;
    // The point, rounded, lies in the closed handle square.
    BOOL IsOnHandle(const CSensorPoint& point, POINT center) const;

private:
    int m_nSnap = 1;
    COLORREF m_crFill = 0xC0C0C0;
    COLORREF m_crHandle = 0x0080FFFF;
    CSize m_handleSize{10, 10};
    int m_bLocked = 0;
    int m_bProtectiveInDevice = 0;
    int m_bWarningInDevice = 0;
    int m_nFieldKind = kGeneralField;
};
