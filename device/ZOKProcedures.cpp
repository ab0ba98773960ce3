#include "device/ZOKProcedures.h"

#include "device/CZOKSensor.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"
#include "model/CZOKIdentity.h"
#include "model/CZOKParameters.h"

#include <algorithm>

using namespace ProcedureSteps;

namespace {

constexpr BYTE kStatusPending = 2;
constexpr BYTE kStatusRefused = 4;
constexpr int kSingleTries = 1;
constexpr int kProtectiveKind = 1;
constexpr int kWarningKind = 2;
constexpr int kDefaultContourBeams = 91;
constexpr int kDefaultContourDistance = 35;
constexpr WORD kDelayTicksPerSecond = 200;

// Offsets in the parameter record.
namespace Param {
constexpr std::size_t Value65 = 0;
constexpr std::size_t Mode = 1;
constexpr std::size_t Delay = 2;
constexpr std::size_t Value60 = 4;
constexpr std::size_t Value62 = 5;
constexpr std::size_t Scans = 6;
constexpr std::size_t Value67 = 7;
constexpr std::size_t Value66 = 8;
constexpr std::size_t Variant = 9;
} // namespace Param

// The delay word of the record (1/200 s) in whole seconds.
unsigned FileDelaySeconds(const CZOKParameters& parameters)
{
    return parameters.GetWordAt(Param::Delay) / kDelayTicksPerSecond;
}

// The delay as the command carries it: a delay beyond one byte of seconds is held at 255
// (the scanner refuses it) instead of wrapping to a small, acceptable delay.
BYTE DelaySeconds(const CZOKParameters& parameters)
{
    return BYTE(std::min(FileDelaySeconds(parameters), 0xFFU));
}

CString Decimal(unsigned value)
{
    CString text;
    text.Format("%u", value);
    return text;
}

BOOL Confirmed(UINT id, LPCTSTR text1 = nullptr)
{
    return ConfirmMessageBox(id, text1) == IDYES;
}

// The question before the mode/delay pair. Mode 1 names the delay of the record, and
// says so when the command can only carry less.
BOOL ConfirmedMode(BYTE mode, unsigned fileDelay, BYTE sentDelay)
{
    if (mode == 0) return Confirmed(kConfirmMode0);
    if (mode == 2) return Confirmed(kConfirmMode2);
    if (fileDelay > sentDelay)
        return ConfirmMessageBox(kConfirmMode1Limited, Decimal(fileDelay), Decimal(sentDelay)) == IDYES;
    return Confirmed(kConfirmMode1, Decimal(fileDelay));
}

// A parameter command in its Retry loop (387); Cancel only marks the result.
void SendParameter(BOOL& result, const std::function<BOOL()>& command)
{
    if (!RetrySingle(command, kParameterRetry, TRUE)) result = FALSE;
}

// TRUE when the scanner answers its identification (one try, no prompt) from firmware
// that knows the variant commands.
BOOL KnowsVariant(CZOKSensor& sensor)
{
    CZOKIdentity identity;
    return sensor.ReadIdentity(identity) && IsInFirmwareWindow(identity.GetFirmwareVersion());
}

std::unique_ptr<CPolyShelter> DefaultWarningContour(const CSensorType& type)
{
    auto contour = std::make_unique<CPolyShelter>();
    contour->InitializeConstant(type, kDefaultContourDistance, kDefaultContourBeams, kWarningKind);
    return contour;
}

} // namespace

BOOL ReadZOKIdentification(CZOKSensor& sensor, CZOKIdentity& identity, BOOL prompt)
{
    return RunProcedureStep(kIdentification, [&] { return sensor.ReadIdentity(identity); }, prompt);
}

BOOL ReadZOKIdentificationAt(CZOKSensor& sensor, CZOKIdentity& identity, BYTE device, BOOL prompt)
{
    return RunProcedureStep(kIdentification, [&] { return sensor.ReadIdentityAt(identity, device); }, prompt);
}

BOOL ReadZOKSensorType(CZOKSensor& sensor, CSensorType& type, BOOL prompt)
{
    return RunProcedureStep(kType, [&] { return sensor.ReadSensorType(type); }, prompt);
}

std::unique_ptr<CScan> ReadZOKScan(CZOKSensor& sensor, int count, BOOL prompt)
{
    return RunProcedureStep(kScan, [&] { return sensor.ReadScan(count); }, prompt);
}

std::unique_ptr<CShelter> ReadZOKField(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kReadField, [&] { return sensor.ReadProtectiveField(); }, prompt);
}

std::unique_ptr<CPolyShelter> ReadZOKFieldSub1(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kReadWarningField, [&] { return sensor.ReadWarningField(); }, prompt);
}

std::unique_ptr<CPolyShelter> RunZOKCommand43(CZOKSensor& sensor, const CShelter* field, BOOL prompt)
{
    return RunProcedureStep(kContour, [&] { return sensor.ExchangeContour(field); }, prompt);
}

std::unique_ptr<CPolyShelter> ReadZOKScanSub3(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kContourRead, [&] { return sensor.ReadScanContour(); }, prompt);
}

std::unique_ptr<CPolyShelter> ReadZOKScanSub4(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kLockedContour, [&] { return sensor.ReadScanContourLocked(); }, prompt);
}

BOOL RunZOKCommand46Sub0(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kTeachStart, [&] { return sensor.StartTeachIn(); }, prompt);
}

BOOL RunZOKCommand46Sub2(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kTeachEnd, [&] { return sensor.EndTeachIn(); }, prompt);
}

BOOL RunZOKCommand41Sub0(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kDiscard, [&] { return sensor.DiscardPendingField(); }, prompt);
}

BOOL RunZOKCommand41Sub1(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kPreview, [&] { return sensor.PreviewPendingField(); }, prompt,
                            AskRetryPreview(sensor, kPreviewRetry));
}

BOOL SendZOKCommand67(CZOKSensor& sensor, BYTE value, BOOL prompt)
{
    return RunProcedureStep(kParameter, [&] { return sensor.SendCommand67(value); }, prompt);
}

BOOL RunCommand50(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kScannerSession, [&] { return sensor.SendCommand50(); }, prompt);
}

BOOL RunCommand50At(CZOKSensor& sensor, BYTE device, BOOL prompt)
{
    return RunProcedureStep(kScannerSession, [&] { return sensor.SendCommand50At(device); }, prompt);
}

BOOL SetIndexedValue(CZOKSensor& sensor, BYTE value, BYTE device, BOOL prompt)
{
    return RunProcedureStep(kIndexedValue, [&] { return sensor.SendCommand77(value, device); }, prompt);
}

BOOL RunZOKCommand46Sub1(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kTeachAccept, [&] { return sensor.AcceptTeachIn(); }, prompt);
}

BOOL RunZOKCommand41Sub2(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kStore, [&] { return sensor.StorePendingField(); }, prompt);
}

std::unique_ptr<CShelter> WriteZOKField(CZOKSensor& sensor, const CShelter* field, BOOL prompt)
{
    std::unique_ptr<CShelter> written =
        RunProcedureStep(kWriteField, [&] { return sensor.WriteField(field); }, prompt,
                         AskRetryWithNote(sensor, kStatusRefused, kWriteFieldRetry, kFieldRefusedNote));
    if (!written || sensor.GetLastStatus() != kStatusPending) return written;

    SetStatusText(kPreviewStatus, TRUE);
    if (AfxMessageBox(kConfirmPendingField, MB_YESNO | MB_ICONQUESTION) != IDYES) return nullptr;
    if (!RetrySingle([&] { return sensor.SendCommand41Sub3(); }, kPreviewRetry, prompt)) return nullptr;
    return written;
}

BOOL CheckZOKDeviceType(CZOKSensor& sensor, BYTE expected, BOOL prompt)
{
    CZOKIdentity identity;
    return ReadZOKIdentification(sensor, identity, TRUE) && DeviceTypeMatches(identity.GetByte29(), expected, prompt);
}

BOOL SendZOKParameters(CZOKSensor& sensor, const CZOKParameters& parameters)
{
    auto byte = [&parameters](std::size_t offset) { return parameters.GetByteAt(offset); };
    BOOL result = TRUE;
    SetStatusText(kParameterStatus, TRUE);

    if (!Confirmed(kConfirm67, Decimal(byte(Param::Value67)))) return FALSE;
    SendParameter(result, [&] { return sensor.SendCommand67(byte(Param::Value67)); });

    if (!Confirmed(byte(Param::Value60) == 1 ? kConfirm60On : kConfirm60Off)) return FALSE;
    SendParameter(result, [&] { return sensor.WriteCommand60(byte(Param::Value60)); });

    if (KnowsVariant(sensor)) {
        const BYTE variant = VariantBit(byte(Param::Variant));
        if (!Confirmed(variant == 0 ? kConfirmVariant0 : kConfirmVariant1)) return FALSE;
        SendParameter(result, [&] { return sensor.WriteCommand69(variant); });
    }

    const BYTE mode = byte(Param::Mode);
    const BYTE delay = DelaySeconds(parameters);
    if (!ConfirmedMode(mode, FileDelaySeconds(parameters), delay)) return FALSE;
    SendParameter(result, [&] { return sensor.WriteCommand44(mode, delay); });

    if (!Confirmed(kConfirmScans, Decimal(byte(Param::Scans)))) return FALSE;
    SendParameter(result, [&] { return sensor.WriteCommand63(byte(Param::Scans)); });

    SendParameter(result, [&] { return sensor.SendCommand66(byte(Param::Value66)); });
    SendParameter(result, [&] { return sensor.SendCommand65(byte(Param::Value65)); });
    SendParameter(result, [&] { return sensor.SendCommand62(byte(Param::Value62)); });
    return result;
}

BOOL WriteZOKSystem(CZOKSensor& sensor)
{
    const int typeCode = ReadSensorTypeCode(sensor, TRUE);
    if (!IsZOKTypeCode(typeCode)) return FALSE;

    const CZOKParameters parameters;
    auto byte = [&parameters](std::size_t offset) { return parameters.GetByteAt(offset); };
    const CSensorType type(UINT(typeCode), byte(Param::Variant));
    BOOL result = TRUE;

    SetStatusText(kParameterStatus, TRUE);
    SendParameter(result, [&] { return sensor.SendCommand66(byte(Param::Value66)); });
    SendParameter(result, [&] { return sensor.SendCommand67(byte(Param::Value67)); });
    SendParameter(result, [&] { return sensor.SendCommand65(byte(Param::Value65)); });
    SendParameter(result,
                  [&] { return sensor.WriteCommand44(byte(Param::Mode), DelaySeconds(parameters)); });
    SendParameter(result, [&] { return sensor.SendCommand62(byte(Param::Value62)); });
    if (KnowsVariant(sensor))
        SendParameter(result, [&] { return sensor.WriteCommand69(byte(Param::Variant)); });
    SendParameter(result, [&] { return sensor.WriteCommand63(byte(Param::Scans)); });
    SendParameter(result, [&] { return sensor.WriteCommand60(byte(Param::Value60)); });

    CArcShelter field;
    field.Initialize(type, type.GetProtectiveMaxDistance(), kProtectiveKind);
    if (!RetrySingle([&] { return sensor.WriteField(&field) != nullptr; }, kWriteFieldRetry, TRUE)) result = FALSE;

    if (sensor.GetLastStatus() == kStatusPending &&
        !RunProcedureStep(kPreview, [&] { return sensor.SendCommand41Sub3(); }, TRUE))
        result = FALSE;

    const BOOL previewed = RetryRounds([&] { return sensor.PreviewPendingField(); }, kSingleTries, TRUE,
                                       AskRetryPreview(sensor, kParameterRetry));
    if (previewed) {
        if (!RetrySingle([&] { return sensor.StorePendingField(); }, kParameterRetry, TRUE)) result = FALSE;
    } else {
        result = FALSE;
    }

    const std::unique_ptr<CPolyShelter> contour = DefaultWarningContour(type);
    if (!RetrySingle([&] { return sensor.ExchangeContour(contour.get()) != nullptr; }, kContourRetry, TRUE))
        result = FALSE;
    return result;
}
