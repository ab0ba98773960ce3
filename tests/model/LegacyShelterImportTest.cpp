#include "model/LegacyShelterImport.h"

#include "ArchiveBytes.h"
#include "LegacyRecordBytes.h"
#include "model/CBShelter.h"
#include "model/CCShelter.h"
#include "model/CEditShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using Importer = std::function<std::unique_ptr<CShelter>(CArchive&)>;

const Importer kEdit = [](CArchive& ar) { return ImportEditShelter(ar); };
const Importer kEditWithTime = [](CArchive& ar) { return ImportEditShelterWithTime(ar); };
const Importer kBByPointer = [](CArchive& ar) { return ImportBShelter(ar, TRUE); };
const Importer kBEmbedded = [](CArchive& ar) { return ImportBShelter(ar, FALSE); };
const Importer kCByPointer = [](CArchive& ar) { return ImportCShelter(ar, TRUE); };
const Importer kCEmbedded = [](CArchive& ar) { return ImportCShelter(ar, FALSE); };

std::unique_ptr<CShelter> Import(const std::vector<BYTE>& bytes, const Importer& importer)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return importer(ar);
}

// The cause of the archive exception of the import; none when it delivers a field.
int ImportFailure(const std::vector<BYTE>& bytes, const Importer& importer)
{
    try {
        EXPECT_NE(Import(bytes, importer), nullptr);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

struct TimeBytes {
    WORD minute, hour, day, monthFromZero, yearFrom1900;
};

// A CEditShelter by pointer; with time bytes in the form with a time.
std::vector<BYTE> EditShelterObject(int kind, int shape, const std::vector<WORD>& beams,
                                    std::optional<TimeBytes> time = std::nullopt, WORD schema = 1)
{
    ByteBuilder bytes;
    bytes.NewClass("CEditShelter", schema);
    AppendTalsData(bytes, beams);
    bytes.Word(WORD(kind)).Dword(1).Dword(2).Dword(3).Dword(4).Word(WORD(shape));
    bytes.Words({300, 100, 150}); // front, left, right
    // The first word of the time is not used; only the low bytes count.
    if (time) bytes.Words({0xAB, time->minute, time->hour, time->day, WORD(0xFF00 | time->monthFromZero),
                           time->yearFrom1900});
    return bytes.Bytes();
}

std::vector<BYTE> WithHeader(const char* className, const std::vector<BYTE>& record)
{
    return ByteBuilder().NewClass(className, 1).Append(record).Bytes();
}

void ExpectRectangle(const CShelter* field, WORD left, WORD front, WORD right)
{
    const auto* rect = dynamic_cast<const CRectShelter*>(field);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetFieldKind(), kProtectiveField);
    EXPECT_EQ(rect->GetSensorType(), CSensorType());
    EXPECT_EQ(rect->GetLeft(), left);
    EXPECT_EQ(rect->GetFront(), front);
    EXPECT_EQ(rect->GetRight(), right);
}

// The contour holds every beam word: distances and the vertex flag of beam 0.
void ExpectContour(const CShelter* field, int kind, int beams, WORD distance)
{
    const auto* contour = dynamic_cast<const CPolyShelter*>(field);
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->GetFieldKind(), kind);
    EXPECT_EQ(contour->GetSensorType(), CSensorType());
    ASSERT_EQ(contour->GetBeamCount(), beams);
    EXPECT_EQ(contour->GetBeamDistance(0), distance);
    EXPECT_EQ(contour->GetBeamDistance(beams - 1), distance);
    EXPECT_TRUE(contour->IsVertex(0));
}

const TimeBytes kMarch1998{30, 12, 5, 2, 98};

} // namespace

TEST(LegacyShelterImportTest, EditShelterByKindAndShape)
{
    const std::vector<WORD> beams = LegacyBeams(181, 250, true);
    enum Expect { kProtectiveContour, kRectangle, kWarningContour, kRefused };
    const struct {
        const char* name;
        int kind;
        int shape;
        Expect expect;
    } table[] = {
        {"protective contour", 0, 1, kProtectiveContour},
        {"protective rectangle", 0, 0, kRectangle},
        {"warning contour", 1, 1, kWarningContour},
        {"warning rectangle", 1, 0, kRefused},
        {"unknown kind", 2, 1, kRefused},
        {"unknown shape", 0, 2, kRefused},
    };
    for (bool withTime : {false, true}) {
        for (const auto& row : table) {
            SCOPED_TRACE(std::string(row.name) + (withTime ? " with time" : ""));
            const std::vector<BYTE> bytes =
                EditShelterObject(row.kind, row.shape, beams, withTime ? std::optional(kMarch1998) : std::nullopt);
            const Importer& importer = withTime ? kEditWithTime : kEdit;
            if (row.expect == kRefused) {
                EXPECT_EQ(ImportFailure(bytes, importer), CArchiveException::badIndex);
                continue;
            }
            const std::unique_ptr<CShelter> field = Import(bytes, importer);
            if (row.expect == kRectangle)
                ExpectRectangle(field.get(), 100, 300, 150);
            else
                ExpectContour(field.get(), row.expect == kWarningContour ? kWarningField : kProtectiveField, 181, 250);
        }
    }
}

TEST(LegacyShelterImportTest, EditShelterTimes)
{
    const std::vector<WORD> beams = LegacyBeams(181, 250);
    const CTime march1998(1998, 3, 5, 12, 30, 0, -1);
    const CTime before = CTime::GetCurrentTime();
    // The protective fields of the form with a time take it over; the rest are made now.
    EXPECT_EQ(Import(EditShelterObject(0, 0, beams, kMarch1998), kEditWithTime)->GetTime(), march1998);
    EXPECT_EQ(Import(EditShelterObject(0, 1, beams, kMarch1998), kEditWithTime)->GetTime(), march1998);
    EXPECT_GE(Import(EditShelterObject(1, 1, beams, kMarch1998), kEditWithTime)->GetTime(), before);
    EXPECT_GE(Import(EditShelterObject(0, 0, beams), kEdit)->GetTime(), before);
    // Bytes that name no real time give the current time, not a shifted one.
    for (TimeBytes bad : {TimeBytes{30, 12, 5, 12, 98}, TimeBytes{60, 12, 5, 2, 98}, TimeBytes{30, 24, 5, 2, 98},
                          TimeBytes{30, 12, 0, 2, 98}, TimeBytes{30, 12, 5, 2, 60}})
        EXPECT_GE(Import(EditShelterObject(0, 0, beams, bad), kEditWithTime)->GetTime(), before);
}

TEST(LegacyShelterImportTest, EditShelterRecordErrors)
{
    const std::vector<WORD> beams = LegacyBeams(181, 250);
    std::vector<BYTE> cutShort = EditShelterObject(0, 1, beams);
    cutShort.resize(cutShort.size() - 2);
    const struct {
        const char* name;
        std::vector<BYTE> bytes;
        int cause;
    } table[] = {
        {"no record", ByteBuilder().Word(0).Bytes(), CArchiveException::badIndex},
        {"another record", WithHeader("CCShelter", CShelterBytes(beams)), CArchiveException::badClass},
        {"another schema", EditShelterObject(0, 1, beams, std::nullopt, 2), CArchiveException::badSchema},
        {"100 beams", EditShelterObject(0, 1, LegacyBeams(100, 250)), CArchiveException::badIndex},
        {"cut short", cutShort,
         CArchiveException::endOfFile},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ImportFailure(row.bytes, kEdit), row.cause);
    }
    // The record has no version of its own: read outside an importer it knows no form.
    EXPECT_EQ(CEditShelter::GetLegacyVersion(), 0);
    CEditShelter record;
    ByteBuilder data;
    AppendTalsData(data, beams);
    EXPECT_EQ(LoadFailure(record, data.Bytes()), CArchiveException::badSchema);
}

TEST(LegacyShelterImportTest, BShelterRectangleOrContour)
{
    const std::vector<WORD> beams = LegacyBeams(361, 400, true);
    const std::vector<BYTE> oneRect = BShelterBytes(beams, {{100, 0, 150, 300}});
    for (const std::vector<BYTE>& bytes : {oneRect, WithHeader("CBShelter", oneRect)}) {
        const std::unique_ptr<CShelter> field = Import(bytes, bytes == oneRect ? kBEmbedded : kBByPointer);
        ExpectRectangle(field.get(), 100, 300, 150);
        EXPECT_EQ(field->GetTime(), CTime(900000000));
    }
    const std::unique_ptr<CShelter> contour = Import(BShelterBytes(beams, {}), kBEmbedded);
    ExpectContour(contour.get(), kProtectiveField, 361, 400);
    EXPECT_EQ(contour->GetTime(), CTime(900000000));

    const struct {
        const char* name;
        std::vector<BYTE> bytes;
        const Importer& importer;
        int cause;
    } refused[] = {
        {"two rectangles", BShelterBytes(beams, {{100, 0, 150, 300}, {0, 0, 10, 10}}), kBEmbedded,
         CArchiveException::badIndex},
        {"negative left", BShelterBytes(beams, {{-100, 0, 150, 300}}), kBEmbedded, CArchiveException::badIndex},
        {"bottom above top", BShelterBytes(beams, {{100, 300, 150, 0}}), kBEmbedded, CArchiveException::badIndex},
        {"right beyond a word", BShelterBytes(beams, {{100, 0, 70000, 300}}), kBEmbedded,
         CArchiveException::badIndex},
        {"no record", ByteBuilder().Word(0).Bytes(), kBByPointer, CArchiveException::badIndex},
        {"a warning record", WithHeader("CCShelter", CShelterBytes(beams)), kBByPointer, CArchiveException::badClass},
        {"100 beams", BShelterBytes(LegacyBeams(100, 400), {}), kBEmbedded, CArchiveException::badIndex},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ImportFailure(row.bytes, row.importer), row.cause);
    }
}

TEST(LegacyShelterImportTest, BShelterVersions)
{
    // Base version 2: minimum, maximum and step, then the low words of maximum and step.
    ByteBuilder v2;
    AppendTalsData(v2, LegacyBeams(181, 100));
    v2.Byte(2).Dword(0x123456).Dword(0x654321).Long(3).Long(4).Words({5, 700, 5, 900, 10});
    v2.Byte(2).Dword(1000).Word(1).Long(1).Long(2).Long(3).Long(4).Long(5).Word(1);
    CBShelter record;
    LoadBytes(record, v2.Bytes());
    EXPECT_EQ(record.GetMinDistanceLimit(), 5);
    EXPECT_EQ(record.GetMaxDistanceLimit(), 900);
    EXPECT_EQ(record.GetDistanceStep(), 10);
    EXPECT_EQ(record.GetFillColor(), 0x123456u);
    EXPECT_EQ(record.GetHandleColor(), 0x654321u);
    EXPECT_EQ(record.GetHandleSize(), CSize(3, 4));
    EXPECT_EQ(record.GetTimeStamp(), CTime(1000));
    EXPECT_TRUE(record.IsFineResolution()); // stored, though there are 181 beams
    EXPECT_EQ(record.GetReserved(), 0);
    LegacyRectangle rectangle;
    ASSERT_TRUE(record.GetRectangle(0, rectangle));
    EXPECT_EQ(rectangle.bottom, 4);
    EXPECT_FALSE(record.GetRectangle(1, rectangle));
    CRect first;
    EXPECT_TRUE(record.GetFirstRectangle(first));
    EXPECT_EQ(first, CRect(1, 2, 3, 4));

    // Version 1 derives the flag from 361 beams and keeps the defaults of its limits.
    for (int beams : {361, 181}) {
        CBShelter old;
        LoadBytes(old, BShelterBytes(LegacyBeams(beams, 100), {}));
        EXPECT_EQ(old.IsFineResolution(), beams == 361);
        EXPECT_EQ(old.GetMaxDistanceLimit(), 700);
        EXPECT_FALSE(old.GetFirstRectangle(first));
        EXPECT_TRUE(first.IsRectNull());
    }

    // The version bytes of the CBaseShelter and the CBShelter level.
    ByteBuilder talsData;
    AppendTalsData(talsData, LegacyBeams(181, 100));
    ByteBuilder base;
    AppendBaseShelter(base, LegacyBeams(181, 100));
    std::vector<BYTE> version3 = BShelterBytes(LegacyBeams(181, 100), {});
    version3[base.Bytes().size()] = 3;
    EXPECT_EQ(LoadFailure(record, version3), CArchiveException::badSchema);
    std::vector<BYTE> baseVersion3 = BShelterBytes(LegacyBeams(181, 100), {});
    baseVersion3[talsData.Bytes().size()] = 3;
    EXPECT_EQ(LoadFailure(record, baseVersion3), CArchiveException::badSchema);
}

TEST(LegacyShelterImportTest, CShelterWarningContour)
{
    const std::vector<BYTE> record = CShelterBytes(LegacyBeams(91, 800, true));
    const CTime before = CTime::GetCurrentTime();
    for (const std::vector<BYTE>& bytes : {record, WithHeader("CCShelter", record)}) {
        const std::unique_ptr<CShelter> field = Import(bytes, bytes == record ? kCEmbedded : kCByPointer);
        ExpectContour(field.get(), kWarningField, 91, 800);
        EXPECT_GE(field->GetTime(), before);
    }
    std::vector<BYTE> version2 = record;
    version2.back() = 2;
    EXPECT_EQ(ImportFailure(version2, kCEmbedded), CArchiveException::badSchema);
    EXPECT_EQ(ImportFailure(WithHeader("CBShelter", BShelterBytes(LegacyBeams(91, 800), {})), kCByPointer),
              CArchiveException::badClass);
}

TEST(LegacyShelterImportTest, RecordsStoreNothing)
{
    CEditShelter edit;
    CBaseShelter base;
    CBShelter b;
    CCShelter c;
    for (CObject* record : std::initializer_list<CObject*>{&edit, &base, &b, &c})
        EXPECT_TRUE(StoreBytes(*record).empty()) << record->GetRuntimeClass()->m_lpszClassName;
}
