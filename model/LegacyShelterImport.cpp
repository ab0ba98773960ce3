#include "model/LegacyShelterImport.h"

#include "framework/core/CArchive.h"
#include "model/ArchiveOwnership.h"
#include "model/CBShelter.h"
#include "model/CCShelter.h"
#include "model/CEditShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"

#include <cstdint>

namespace {

[[noreturn]] void Fail(CArchive& ar, int cause) { AfxThrowArchiveException(cause, ar.m_strFileName); }

// The legacy version for the one CEditShelter read, put back afterwards.
class LegacyVersionScope {
public:
    explicit LegacyVersionScope(int version) : m_previous(CEditShelter::GetLegacyVersion())
    {
        CEditShelter::SetLegacyVersion(version);
    }
    ~LegacyVersionScope() { CEditShelter::SetLegacyVersion(m_previous); }
    LegacyVersionScope(const LegacyVersionScope&) = delete;
    LegacyVersionScope& operator=(const LegacyVersionScope&) = delete;

private:
    int m_previous;
};

// pClass is T's run-time class.
template <class T>
std::unique_ptr<T> ReadRecordByPointer(CArchive& ar, const CRuntimeClass* pClass)
{
    std::unique_ptr<CObject> object = ReadOwnedObject(ar, nullptr);
    if (!object) Fail(ar, CArchiveException::badIndex);
    if (!object->IsKindOf(pClass)) Fail(ar, CArchiveException::badClass);
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

template <class T>
std::unique_ptr<T> ReadRecord(CArchive& ar, const CRuntimeClass* pClass, BOOL withClassHeader)
{
    if (withClassHeader) return ReadRecordByPointer<T>(ar, pClass);
    auto record = std::make_unique<T>();
    record->Serialize(ar);
    return record;
}

// A contour field of every beam word, flags included. Contours have 91, 181 or 361 beams;
// any other count would put the beams at other angles than the record had them.
std::unique_ptr<CShelter> ContourFrom(CArchive& ar, const CTalsData& record, int kind)
{
    const int count = record.GetBeamCount();
    if (count != 91 && count != 181 && count != 361) Fail(ar, CArchiveException::badIndex);
    const std::vector<WORD> words = record.GetBeams();
    auto contour = std::make_unique<CPolyShelter>();
    contour->InitializeFromDistances(CSensorType(), words.data(), count, kind);
    return contour;
}

std::unique_ptr<CShelter> RectangleFrom(int left, int front, int right)
{
    auto rectangle = std::make_unique<CRectShelter>();
    rectangle->Initialize(CSensorType(), WORD(left), WORD(front), WORD(right), kProtectiveField);
    return rectangle;
}

bool FitsExtent(std::int64_t value) { return value >= 0 && value <= 0xFFFF; }

// The time of a version 3 record in local time; a time the bytes cannot describe (or that
// a 32-bit file time cannot hold) gives the current time.
CTime TimeFromBytes(const CEditShelter& record)
{
    const int minute = record.GetTimeByte(CEditShelter::kMinute);
    const int hour = record.GetTimeByte(CEditShelter::kHour);
    const int day = record.GetTimeByte(CEditShelter::kDay);
    const int month = record.GetTimeByte(CEditShelter::kMonthFromZero) + 1;
    const int year = record.GetTimeByte(CEditShelter::kYearFrom1900) + 1900;
    const bool valid = minute < 60 && hour < 24 && day >= 1 && day <= 31 && month <= 12 && year >= 1970 &&
                       year <= 2105;
    return valid ? CTime(year, month, day, hour, minute, 0, -1) : CTime::GetCurrentTime();
}

std::unique_ptr<CShelter> ImportEditRecord(CArchive& ar, int legacyVersion, bool keepsTime)
{
    std::unique_ptr<CEditShelter> record;
    {
        LegacyVersionScope scope(legacyVersion);
        record = ReadRecordByPointer<CEditShelter>(ar, RUNTIME_CLASS(CEditShelter));
    }
    const int selector = record->GetKindSelector();
    const int shape = record->GetShape();
    std::unique_ptr<CShelter> field;
    bool protective = true;
    if (selector == CEditShelter::kProtective && shape == CEditShelter::kContour) {
        field = ContourFrom(ar, *record, kProtectiveField);
    } else if (selector == CEditShelter::kProtective && shape == CEditShelter::kRectangle) {
        field = RectangleFrom(record->GetLeft(), record->GetFront(), record->GetRight());
    } else if (selector == CEditShelter::kWarning && shape == CEditShelter::kContour) {
        field = ContourFrom(ar, *record, kWarningField);
        protective = false;
    } else {
        Fail(ar, CArchiveException::badIndex);
    }
    field->SetTime(keepsTime && protective ? TimeFromBytes(*record) : CTime::GetCurrentTime());
    return field;
}

} // namespace

std::unique_ptr<CShelter> ImportEditShelter(CArchive& ar) { return ImportEditRecord(ar, 2, false); }

std::unique_ptr<CShelter> ImportEditShelterWithTime(CArchive& ar) { return ImportEditRecord(ar, 3, true); }

std::unique_ptr<CShelter> ImportBShelter(CArchive& ar, BOOL withClassHeader)
{
    const std::unique_ptr<CBShelter> record = ReadRecord<CBShelter>(ar, RUNTIME_CLASS(CBShelter), withClassHeader);
    if (record->HasSeveralRectangles()) Fail(ar, CArchiveException::badIndex);
    std::unique_ptr<CShelter> field;
    LegacyRectangle rectangle;
    if (record->GetRectangle(0, rectangle)) {
        // The record's sides are 32-bit values; an extent must fit the field's word.
        const std::int64_t front = std::int64_t(rectangle.bottom) - rectangle.top;
        if (!FitsExtent(rectangle.left) || !FitsExtent(front) || !FitsExtent(rectangle.right))
            Fail(ar, CArchiveException::badIndex);
        field = RectangleFrom(rectangle.left, int(front), rectangle.right);
    } else {
        field = ContourFrom(ar, *record, kProtectiveField);
    }
    field->SetTime(record->GetTimeStamp());
    return field;
}

std::unique_ptr<CShelter> ImportCShelter(CArchive& ar, BOOL withClassHeader)
{
    const std::unique_ptr<CCShelter> record = ReadRecord<CCShelter>(ar, RUNTIME_CLASS(CCShelter), withClassHeader);
    std::unique_ptr<CShelter> field = ContourFrom(ar, *record, kWarningField);
    field->SetTime(CTime::GetCurrentTime());
    return field;
}
