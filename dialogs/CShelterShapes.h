#pragma once
// The shapes and sizes chosen for a new protective and warning field, as the field
// wizard and the ZOK configuration wizard ask for them, and the two fields built from
// them. Shape values (the entries of the shape combo boxes, texts 997 to 1001):
//   0 rectangle: protective rectangle; warning contour of the rectangle
//   1 arc: protective arc; warning contour with every beam at the radius
//   2, 3, 4: contours of 91, 181 or 361 beams holding a rectangle of the kind's default
//            distance, for both kinds
// Every size is in whole cm.
#include "framework/core/WinTypes.h"
#include "model/CSensorType.h"

#include <memory>

class CDataExchange;
class CPolyShelter;
class CShelter;
class CWnd;

class CShelterShapes {
public:
    static constexpr int kShapeRectangle = 0;
    static constexpr int kShapeArc = 1;
    static constexpr int kShapeCount = 5;
    static constexpr UINT IDS_FIRST_SHAPE = 997;

    // The controls of a page that asks for both shapes: two shape combo boxes and the
    // two sizes buttons.
    static constexpr int IDC_PROTECTIVE_SHAPE = 2122;
    static constexpr int IDC_WARNING_SHAPE = 2124;
    static constexpr int IDC_PROTECTIVE_SIZES = 2103;
    static constexpr int IDC_WARNING_SIZES = 2104;

    // Shapes 0, beam counts 181 and every size the default distance of type code 4.
    CShelterShapes();

    // Shapes 0, both beam counts 181 and every size the default distance of the kind.
    void SetDefaults(const CSensorType& type);

    // Only rectangles and arcs have sizes to ask for.
    static bool HasSizes(int shape) { return shape == kShapeRectangle || shape == kShapeArc; }

    // The kinds of the two fields, as the fields built carry them.
    static constexpr int kProtectiveKind = 1;
    static constexpr int kWarningKind = 2;

    // The rectangle or arc dialog for the field of the kind, in the unit of the settings
    // (inches when "ViewMetric" is 0), within the kind's limits of the type. The
    // protective field is asked without the beam-count choice; for the warning field the
    // maximum distance also bounds the width, and OK also takes the beam count. The sizes
    // change only on OK; TRUE then.
    BOOL EditSizes(int kind, CWnd* pParentWnd, const CSensorType& type);

    // New fields of kind 1 and 2 on the type by the shapes, owned by the caller; null for
    // a shape outside 0..4. The warning field is always a contour.
    std::unique_ptr<CShelter> CreateProtectiveField(const CSensorType& type) const;
    std::unique_ptr<CPolyShelter> CreateWarningField(const CSensorType& type) const;

    int m_nProtectiveShape = kShapeRectangle;
    int m_nProtectiveBeamCount = 181; // kept; the protective field does not use it
    int m_nProtectiveRadius = 0;
    int m_nProtectiveLeft = 0;
    int m_nProtectiveRight = 0;
    int m_nProtectiveFront = 0;
    int m_nWarningShape = kShapeRectangle;
    int m_nWarningBeamCount = 181;
    int m_nWarningRadius = 0;
    int m_nWarningLeft = 0;
    int m_nWarningRight = 0;
    int m_nWarningFront = 0;
};

// A shape combo box: the five shapes (texts 997 to 1001) with the shape value as item
// data. Loading fills it when it does not hold five items and selects the value's item;
// saving takes the selected item's value and leaves the value as it is when nothing is
// selected.
void DDX_ShelterShapeCombo(CDataExchange* pDX, int nIDC, int& shape);
// Both shape combo boxes of a shapes page.
void DDX_ShelterShapes(CDataExchange* pDX, CShelterShapes& shapes);
// Each sizes button of a shapes page enabled only while its shape has sizes.
void EnableShelterSizeButtons(CWnd& page, const CShelterShapes& shapes);
