#include "app/CDeviceReport.h"

#include "app/CGraphObject.h"
#include "app/CSubTitle1Object.h"
#include "app/CSubTitle2Object.h"
#include "app/CTableObject.h"
#include "app/settings/CTalisoSetup.h"
#include "app/CTextObject.h"
#include "app/CTitleObject.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/DistanceUnit.h"

#include <cstdarg>
#include <memory>

namespace {

constexpr UINT kLinePrefix = 1227;
constexpr UINT kTaughtAt = 1076;
constexpr UINT kPolygonShape = 1052;
constexpr UINT kRectangleShape = 1055;
constexpr UINT kArcShape = 1058;
constexpr UINT kProtectiveHeading = 1057;
constexpr UINT kWarningHeading = 1056;

CString Length(WORD value, BOOL metric)
{
    CString text;
    if (metric) text.Format("%d", int(value));
    else text = FormatDecimal(InchFromUnit(double(value), 0), 2);
    return text;
}

} // namespace

ReportUnits ReportUnits::FromSettings()
{
    const CTalisoSetup& setup = GetTalisoSetup();
    ReportUnits units;
    units.metric = setup.m_bViewMetric;
    units.rectGrid = setup.m_bViewRectGrid;
    return units;
}

CString CDeviceReport::Text(UINT id, ...)
{
    CString format;
    if (!format.LoadString(id)) return CString();
    va_list args;
    va_start(args, id);
    CString text;
    text.FormatV(format.c_str(), args);
    va_end(args);
    return text;
}

CString CDeviceReport::DescribeShelter(const CShelter& field, BOOL metric)
{
    const CString prefix = Text(kLinePrefix);
    CString shape;
    if (const auto* polygon = dynamic_cast<const CPolyShelter*>(&field))
        shape = Text(kPolygonShape, polygon->GetVertexCount(), polygon->GetBeamCount());
    else if (const auto* rectangle = dynamic_cast<const CRectShelter*>(&field))
        shape = Text(kRectangleShape, Length(rectangle->GetLeft(), metric).c_str(),
                     Length(rectangle->GetFront(), metric).c_str(), Length(rectangle->GetRight(), metric).c_str());
    else if (const auto* arc = dynamic_cast<const CArcShelter*>(&field))
        shape = Text(kArcShape, Length(arc->GetRadius(), metric).c_str());
    else
        return CString();

    CString description;
    if (field.GetFieldKind() == kProtectiveField) {
        const CTime time = field.GetTime();
        description += prefix + Text(kTaughtAt, time.Format("%x").c_str(), time.Format("%H:%M").c_str()) + "\n";
    }
    description += prefix + shape + "\n";
    return description;
}

void CDeviceReport::Add(CPrintObject* object)
{
    std::unique_ptr<CPrintObject> owned(object);
    m_list.AddTail(owned.get());
    owned.release();
}

void CDeviceReport::Title(const CString& text) { Add(new CTitleObject(text)); }
void CDeviceReport::Sub1(const CString& text) { Add(new CSubTitle1Object(text)); }
void CDeviceReport::Sub2(const CString& text) { Add(new CSubTitle2Object(text)); }
void CDeviceReport::Body(const CString& text) { Add(new CTextObject(text)); }
void CDeviceReport::Line(const CString& text) { Body(Text(kLinePrefix) + text); }

void CDeviceReport::FieldBlock(const CShelter* field)
{
    if (field == nullptr) return;
    const bool protective = field->GetFieldKind() == kProtectiveField;
    Sub2(Text(protective ? kProtectiveHeading : kWarningHeading));
    Add(protective ? new CGraphObject(nullptr, field, nullptr) : new CGraphObject(nullptr, nullptr, field));
    Body(DescribeShelter(*field, m_units.metric));
    if (const auto* polygon = dynamic_cast<const CPolyShelter*>(field))
        Add(new CTableObject(polygon, !m_units.rectGrid, !m_units.metric));
}
