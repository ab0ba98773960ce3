#include "device/FieldRecords.h"

#include "device/SensorHelpers.h"
#include "model/CSensorType.h"

BOOL IsFieldBeamCount(int count)
{
    return count >= 1 && count <= FieldRecord::kMaxBeams;
}

void PutCurrentTime(SensorRequest& request, std::size_t offset)
{
    const CTime now = CTime::GetCurrentTime();
    request.SetByte(offset, BYTE(now.GetMinute()));
    request.SetByte(offset + 1, BYTE(now.GetHour()));
    request.SetByte(offset + 2, BYTE(now.GetDay()));
    request.SetByte(offset + 3, BYTE(now.GetMonth() - 1));
    request.SetWord(offset + 4, WORD(now.GetYear() - 1900));
}

CTime GetDeviceTime(const SensorAnswer& answer, std::size_t offset)
{
    return DeviceTimeToCTime(answer.Byte(offset + 2), answer.Byte(offset + 3), answer.Word(offset + 4),
                             answer.Byte(offset + 1), answer.Byte(offset));
}

std::vector<WORD> GetWords(const SensorAnswer& answer, std::size_t offset, int count)
{
    std::vector<WORD> words(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        words[std::size_t(i)] = answer.Word(offset + 2 * std::size_t(i));
    return words;
}

int GetPolyCount(const SensorAnswer& answer)
{
    const int count = int(answer.Word(FieldAnswer::Value1)) + 1;
    return IsFieldBeamCount(count) ? count : 0;
}

BOOL CarriesWords(const SensorAnswer& answer, std::size_t lead, int count, std::size_t trailing)
{
    const std::size_t declared = answer.Word(AnswerOffset::DataLength);
    if (declared == 0)
        return TRUE;
    const std::size_t data = declared - 1; // the status byte closes every frame
    return count >= 0 && data >= lead + trailing && (data - lead - trailing) / 2 >= std::size_t(count);
}

std::unique_ptr<CRectShelter> MakeRect(const CSensorType& type, const SensorAnswer& answer)
{
    auto field = std::make_unique<CRectShelter>();
    field->Initialize(type, answer.Word(FieldAnswer::Value1), answer.Word(FieldAnswer::Value3),
                      answer.Word(FieldAnswer::Value2), kProtectiveField);
    return field;
}

std::unique_ptr<CArcShelter> MakeArc(const CSensorType& type, const SensorAnswer& answer)
{
    auto field = std::make_unique<CArcShelter>();
    field->Initialize(type, answer.Word(FieldAnswer::Value1), kProtectiveField);
    return field;
}

std::unique_ptr<CPolyShelter> MakePoly(const CSensorType& type, const SensorAnswer& answer, std::size_t offset,
                                       int count, int kind)
{
    const std::vector<WORD> words = GetWords(answer, offset, count);
    auto field = std::make_unique<CPolyShelter>();
    field->InitializeFromDistances(type, words.data(), count, kind);
    return field;
}

BOOL IsReadableProtectiveField(const SensorAnswer& answer, std::size_t lead)
{
    using namespace FieldRecord;
    switch (answer.Byte(FieldAnswer::ReadShape)) {
    case kShapeRect:
    case kShapeArc: return TRUE;
    case kShapePoly: {
        const int count = GetPolyCount(answer);
        return count != 0 && CarriesWords(answer, lead + kCountByteSize, count);
    }
    case kShapeBeamContour: return CarriesWords(answer, lead, kMaxBeams);
    default: return FALSE;
    }
}

std::unique_ptr<CShelter> BuildReadProtectiveField(const CSensorType& type, const SensorAnswer& answer)
{
    using namespace FieldRecord;
    std::unique_ptr<CShelter> field;
    switch (answer.Byte(FieldAnswer::ReadShape)) {
    case kShapeRect: field = MakeRect(type, answer); break;
    case kShapeArc: field = MakeArc(type, answer); break;
    case kShapePoly:
        field = MakePoly(type, answer, FieldAnswer::Value2, GetPolyCount(answer), kProtectiveField);
        break;
    default:
        field = MakePoly(type, answer, FieldAnswer::Value1, kMaxBeams, kProtectiveField);
        field->SetLocked(1);
        break;
    }
    field->SetProtectiveInDevice(1);
    field->SetWarningInDevice(1);
    field->SetTime(GetDeviceTime(answer, FieldAnswer::Time));
    return field;
}
