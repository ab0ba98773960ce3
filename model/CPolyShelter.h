#pragma once
// The contour field: one distance per scanner beam. The user places corner points
// (vertices) on beams; every beam between two neighbouring vertices takes the distance at
// which it crosses the straight edge between them. Each beam word carries three flags:
// vertex (bit 15), mark (bit 14, drawn green) and selection (bit 13).
#include "model/CBeamArray.h"
#include "model/CShelter.h"

class CPolyShelter : public CShelter {
    DECLARE_SERIAL(CPolyShelter)
public:
    CPolyShelter();
    CPolyShelter(const CPolyShelter& other);
    ~CPolyShelter() override = default;

    // The CShelter level, a version byte 1, then the contour. A contour that is not of
    // resolution type 13 has no room for the three flags and is refused as bad schema.
    void Serialize(CArchive& ar) override;
    std::unique_ptr<CSensorObject> Clone() const override;

    // Initialisers; each first sets the sensor type and the kind (CShelter::SetSensorType).
    // The words as given, flags included; with no vertex among them every beam becomes one,
    // else the first and the last beam are made vertices.
    void InitializeFromDistances(const CSensorType& type, const WORD* distances, int count, int kind);
    // Beam 0 at the right extent, the last beam at the left extent, corner vertices at
    // (right, front) and (-left, front). FALSE when a corner lies outside the sensor range
    // and was left out (the contour then follows the corners that fit).
    BOOL InitializeFromRectangle(const CSensorType& type, int beamCount, int left, int front, int right, int kind);
    void InitializeConstant(const CSensorType& type, int distance, int beamCount, int kind);
    void InitializeWithBeamCount(const CSensorType& type, int beamCount, int kind);

    int GetBeamCount() const { return m_contour.GetCount(); }
    const CBeamArray& GetContour() const { return m_contour; }
    // The CShelter level and the contour; nothing when other is this field.
    void CopyFrom(const CPolyShelter& other);

    WORD GetBeamDistance(int beam) const { return m_contour.GetDistance(beam); }
    // Keeps the beam's flags.
    void SetBeamDistance(int beam, WORD distance) { m_contour.SetDistance(beam, distance); }
    float GetBeamAngle(int beam) const;
    CSensorPoint GetBeamPoint(int beam) const;
    // -1 outside the angle range of the type or when the contour has fewer than two beams.
    int BeamIndexFromAngle(float angle) const;
    // The beam at the angle when its distance is the given one, else -1.
    int FindBeamAt(float angle, int distance) const;
    BOOL IsVertexAt(float angle, int distance) const;

    // beam -1: every beam.
    void SetBeamSelection(int beam, BOOL on) { m_contour.SetFlag13(beam, on); }
    void SetBeamMarks(int beam, BOOL on) { m_contour.SetFlag14(beam, on); }
    void SetVertexFlags(int beam, BOOL on) { m_contour.SetFlag15(beam, on); }
    BOOL IsBeamSelected(int beam) const { return m_contour.GetFlag13(beam); }
    BOOL IsBeamMarked(int beam) const { return m_contour.GetFlag14(beam); }
    BOOL IsVertex(int beam) const { return m_contour.GetFlag15(beam); }
    int GetSelectedBeamCount() const { return m_contour.GetFlag13Count(); }
    int GetMarkedBeamCount() const { return m_contour.GetFlag14Count(); }
    int GetVertexCount() const { return m_contour.GetFlag15Count(); }

    // Recomputes the beams between the beam and its neighbouring vertices.
    void RebuildContour(int beam);
    // A new beam count; FALSE (nothing changes) when n is not larger (smaller) than the
    // count, and for fewer than two beams.
    BOOL ResampleUp(int n);
    BOOL ResampleDown(int n);

    // Overrides of the field base.
    void DrawOutline(CDC* pDC) const override;
    void DrawFilled(CDC* pDC) const override;
    void DrawHandles(CDC* pDC) const override;
    void DrawBeams(CDC* pDC) const override;
    float GetAngleStep() const override;
    WORD GetMinExtent() const override { return m_contour.GetMinDistance(); }
    WORD GetMaxExtent() const override { return m_contour.GetMaxDistance(); }
    // Within the angle, distance and width limits and ahead of the scanner.
    BOOL IsInSensorRange(const CSensorPoint& point) const override;
    BOOL IsSelectedVertex(const CSensorPoint& point) const override;
    BOOL HitsVertex(const CSensorPoint& point) const override;
    BOOL SetPoint(const CSensorPoint& point) override;
    // The first and last beam stay vertices at the minimum distance instead.
    BOOL RemovePoint(const CSensorPoint& point) override;
    BOOL IsBeamContour() const override { return TRUE; }
    BOOL HasSelection() const override { return GetSelectedBeamCount() != 0; }
    BOOL Select(int mode, const CSensorPoint& point) override;
    // Removes the selected vertices; afterwards nothing is selected.
    BOOL DeleteSelection() override;
    // The vertex table dialog on this field, with lengths in cm or inch. pOwner, when it
    // is a window, is redrawn after each change. The changes stay whether the user closes
    // it with OK or Cancel, so the result is TRUE.
    BOOL Edit(CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner) override;
    void ResetToDefaults() override;
    WORD HitTest(const CSensorPoint& point) const override;
    CSensorPoint GetDragPosition(WORD hitFlags, const CSensorPoint& current) const override;
    BOOL IsDragging() const override { return m_nDragBeam != -1; }
    BOOL BeginDrag(const CSensorPoint& point) override;
    BOOL DragTo(const CSensorPoint& point) override;
    // A vertex dropped outside the sensor range goes back where it was; the result is FALSE.
    BOOL EndDrag(const CSensorPoint& point) override;
    // The read-only page (polar or Cartesian vertex list, lengths in cm or inch).
    std::unique_ptr<CPropertyPage> CreatePropertyPage(int polarEntry, BOOL inch, UINT nIDCaption) override;
    CString GetTypeName() const override;
    BOOL FitsUnit(int unit) const override;
    // Distances stay in cm: only the current unit is accepted, and nothing changes.
    BOOL ChangeUnit(int unit) override;
    // Another beam count (codes 0, 1, 2) than its own; a rectangle or arc (3, 4) unless it
    // is a warning field; the dialog contours (5, 6) always.
    BOOL CanConvertTo(int code) const override;
    // Codes 0, 1, 2: a resampled copy marked modified.
    std::unique_ptr<CShelter> ConvertTo(int code) const override;

private:
    // The contour holds count beams of that distance, no flags.
    void RefillContour(int count, WORD distance);
    // Beam k strictly between first and last takes its crossing with the edge through
    // 'through' of the slope from 'from' to 'through'.
    void FollowEdge(const CSensorPoint& from, const CSensorPoint& through, int first, int last);
    int NextVertexAfter(int beam) const;
    int PreviousVertexBefore(int beam) const;
    // The beam d, d - 1 or d + 1 that is a vertex within the distance step of the radius.
    int FindHandleBeam(const CSensorPoint& point) const;
    int BeamUnder(const CSensorPoint& point) const;

    CBeamArray m_contour;
    int m_nDragBeam = -1;
    CSensorPoint m_dragPoint;
    int m_bMoveSelection = 0;
    // The contour before a single vertex was lifted, to put back when the drop is refused.
    CBeamArray m_dragOrigin;
};
