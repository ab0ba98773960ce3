#include "device/KVRProcedures.h"

#include "device/CKVRSensor.h"
#include "framework/ui/MessageBox.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

using namespace ProcedureText;

namespace {
constexpr BYTE kStatusRefused = 4;
constexpr int kSingleTries = 1;
constexpr int kTripleTries = 3;
} // namespace

BOOL ReadKVRIdentification(CKVRSensor& sensor, CKVRIdentity& identity, BOOL prompt)
{
    SetStatusText(kIdentificationStatus, TRUE);
    return RetryTriple([&] { return sensor.ReadIdentity(identity); }, kIdentificationRetry, prompt);
}

BOOL ReadKVRSensorType(CKVRSensor& sensor, CSensorType& type, BOOL prompt)
{
    SetStatusText(kTypeStatus, TRUE);
    return RetryTriple([&] { return sensor.ReadSensorType(type); }, kTypeRetry, prompt);
}

std::unique_ptr<CScan> ReadKVRScan(CKVRSensor& sensor, int scanner, int count, BOOL prompt)
{
    SetStatusText(kScanStatus, TRUE);
    return RetryForObject<CScan>([&] { return sensor.ReadScan(scanner, count); }, kTripleTries, kScanRetry, prompt);
}

std::unique_ptr<CScan> ReadKVRScanB(CKVRSensor& sensor, int scanner, int count, BOOL prompt)
{
    SetStatusText(kScanStatus, TRUE);
    return RetryForObject<CScan>([&] { return sensor.ReadScanB(scanner, count); }, kTripleTries, kScanRetry,
                                 prompt);
}

std::unique_ptr<CScan> ReadKVRScanWithStatus(CKVRSensor& sensor, int selector, int count, int& caseNumber,
                                             BOOL prompt)
{
    SetStatusText(kScanStatus, TRUE);
    return RetryForObject<CScan>([&] { return sensor.ReadScanWithStatus(selector, count, caseNumber); },
                                 kTripleTries, kScanRetry, prompt);
}

std::unique_ptr<CShelter> ReadKVRField(CKVRSensor& sensor, int number, CString& name, BOOL prompt)
{
    SetStatusText(kReadFieldStatus, TRUE);
    return RetryForObject<CShelter>([&] { return sensor.ReadProtectiveField(number, name); }, kSingleTries,
                                    kReadFieldRetry, prompt);
}

std::unique_ptr<CPolyShelter> ReadKVRFieldSub1(CKVRSensor& sensor, int number, CString& name, BOOL prompt)
{
    SetStatusText(kReadWarningFieldStatus, TRUE);
    return RetryForObject<CPolyShelter>([&] { return sensor.ReadWarningField(number, name); }, kSingleTries,
                                        kReadWarningFieldRetry, prompt);
}

std::unique_ptr<CShelter> WriteKVRField(CKVRSensor& sensor, int number, const CString& name, const CShelter* field,
                                        BOOL prompt)
{
    SetStatusText(kWriteFieldStatus, TRUE);
    return RetryForObject<CShelter>([&] { return sensor.WriteField(number, name, field); }, kSingleTries,
                                    kWriteFieldRetry, prompt);
}

std::unique_ptr<CPolyShelter> RunKVRCommand43(CKVRSensor& sensor, int number, const CShelter* field, BOOL prompt)
{
    SetStatusText(kContourStatus, TRUE);
    return RetryForObject<CPolyShelter>([&] { return sensor.ExchangeContour(number, field); }, kSingleTries,
                                        kContourRetry, prompt);
}

std::unique_ptr<CPolyShelter> ReadKVRScanSub3(CKVRSensor& sensor, int number, BOOL prompt)
{
    SetStatusText(kContourReadStatus, TRUE);
    return RetryForObject<CPolyShelter>([&] { return sensor.ReadScanContour(number); }, kSingleTries,
                                        kContourReadRetry, prompt);
}

std::unique_ptr<CPolyShelter> ReadKVRScanSub4(CKVRSensor& sensor, int number, BOOL prompt)
{
    SetStatusText(kLockedContourStatus, TRUE);
    return RetryForObject<CPolyShelter>([&] { return sensor.ReadScanContourLocked(number); }, kSingleTries,
                                        kLockedContourRetry, prompt);
}

BOOL RunKVRCommand46Sub0(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt)
{
    SetStatusText(kTeachStartStatus, TRUE);
    return RetrySingle([&] { return sensor.StartTeachIn(scanner, number, name); }, kTeachStartRetry, prompt);
}

BOOL RunKVRCommand46Sub2(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt)
{
    SetStatusText(kTeachEndStatus, TRUE);
    return RetrySingle([&] { return sensor.EndTeachIn(scanner, number, name); }, kTeachEndRetry, prompt);
}

BOOL RunKVRCommand41Sub0(CKVRSensor& sensor, int selector, int number, BOOL prompt)
{
    SetStatusText(kDiscardStatus, TRUE);
    return RetrySingle([&] { return sensor.DiscardPendingField(selector, number); }, kDiscardRetry, prompt);
}

BOOL RunKVRCommand41Sub1(CKVRSensor& sensor, int selector, int number, BOOL prompt)
{
    SetStatusText(kPreviewStatus, TRUE);
    return RetryRounds([&] { return sensor.PreviewPendingField(selector, number); }, kSingleTries, prompt, [&] {
        return RetryMessageBox(sensor.GetLastStatus() == kStatusRefused ? kPreviewRefusedRetry : kPreviewRetry);
    });
}

BOOL RunKVRCommand46Sub1(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt)
{
    SetStatusText(kTeachAcceptStatus, TRUE);
    return RunOnce([&] { return sensor.AcceptTeachIn(scanner, number, name); }, kTeachAcceptWarning, prompt);
}

BOOL RunKVRCommand41Sub2(CKVRSensor& sensor, int selector, int number, BOOL prompt)
{
    SetStatusText(kStoreStatus, TRUE);
    return RunOnce([&] { return sensor.StorePendingField(selector, number); }, kStoreWarning, prompt);
}

BOOL CheckKVRDeviceType(CKVRSensor& sensor, BYTE expected, BOOL prompt)
{
    CKVRIdentity identity;
    if (!ReadKVRIdentification(sensor, identity, TRUE)) return FALSE;
    const BYTE actual = identity.GetByte23();
    if (actual == 0 || expected == 0 || actual == expected) return TRUE;
    if (prompt) AfxMessageBox(kDeviceMismatch, MB_OK);
    return FALSE;
}
