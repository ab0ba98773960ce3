#pragma once
// What the printed reports of both device families share: the texts by string id, the
// line prefix, the field description and the block that prints one field of a field
// pair. A report appends print objects to a list that owns them; when building throws,
// what was appended stays in the list for its owner to delete.
#include "framework/core/CList.h"
#include "framework/core/CString.h"
#include "model/CShelter.h"

class CPrintObject;

// How lengths and point tables are shown: the settings' ViewMetric and ViewRectGrid.
struct ReportUnits {
    BOOL metric = TRUE;   // cm, else inch
    BOOL rectGrid = TRUE; // point tables in x and y, else in angle and radius
    // The program's settings.
    static ReportUnits FromSettings();
};

// The kinds of print run a report is built for.
constexpr int kPrintPlain = 0;        // printed directly
constexpr int kPrintConfirmation = 1; // shown before a transfer is committed
constexpr int kPrintDeviceReport = 2; // the configuration held by the device

class CDeviceReport {
public:
    CDeviceReport(CObList& list, const ReportUnits& units) : m_list(list), m_units(units) {}
    virtual ~CDeviceReport() = default;
    CDeviceReport(const CDeviceReport&) = delete;
    CDeviceReport& operator=(const CDeviceReport&) = delete;

    // The text of a string id with printf-style arguments; empty when the id is unknown.
    static CString Text(UINT id, ...);
    // The one or two lines describing a field (date line for a protective field, shape
    // line); empty for a shape without a description.
    static CString DescribeShelter(const CShelter& field, BOOL metric);

protected:
    void Title(const CString& text);
    void Sub1(const CString& text);
    void Sub2(const CString& text);
    void Body(const CString& text);
    // The line prefix (string 1227) and the text.
    void Line(const CString& text);
    // The sub-title, diagram, description and (for a polygon) point table of a field.
    void FieldBlock(const CShelter* field);

    const ReportUnits& Units() const { return m_units; }

private:
    void Add(CPrintObject* object);

    CObList& m_list;
    ReportUnits m_units;
};
