#include "device/KVRProcedures.h"

#include "device/CKVRSensor.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

using namespace ProcedureSteps;

BOOL ReadKVRIdentification(CKVRSensor& sensor, CKVRIdentity& identity, BOOL prompt)
{
    return RunProcedureStep(kIdentification, [&] { return sensor.ReadIdentity(identity); }, prompt);
}

BOOL ReadKVRSensorType(CKVRSensor& sensor, CSensorType& type, BOOL prompt)
{
    return RunProcedureStep(kType, [&] { return sensor.ReadSensorType(type); }, prompt);
}

std::unique_ptr<CScan> ReadKVRScan(CKVRSensor& sensor, int scanner, int count, BOOL prompt)
{
    return RunProcedureStep(kScan, [&] { return sensor.ReadScan(scanner, count); }, prompt);
}

std::unique_ptr<CScan> ReadKVRScanB(CKVRSensor& sensor, int scanner, int count, BOOL prompt)
{
    return RunProcedureStep(kScan, [&] { return sensor.ReadScanB(scanner, count); }, prompt);
}

std::unique_ptr<CScan> ReadKVRScanWithStatus(CKVRSensor& sensor, int selector, int count, int& caseNumber,
                                             BOOL prompt)
{
    return RunProcedureStep(kScan, [&] { return sensor.ReadScanWithStatus(selector, count, caseNumber); }, prompt);
}

std::unique_ptr<CShelter> ReadKVRField(CKVRSensor& sensor, int number, CString& name, BOOL prompt)
{
    return RunProcedureStep(kReadField, [&] { return sensor.ReadProtectiveField(number, name); }, prompt);
}

std::unique_ptr<CPolyShelter> ReadKVRFieldSub1(CKVRSensor& sensor, int number, CString& name, BOOL prompt)
{
    return RunProcedureStep(kReadWarningField, [&] { return sensor.ReadWarningField(number, name); }, prompt);
}

std::unique_ptr<CShelter> WriteKVRField(CKVRSensor& sensor, int number, const CString& name, const CShelter* field,
                                        BOOL prompt)
{
    return RunProcedureStep(kWriteField, [&] { return sensor.WriteField(number, name, field); }, prompt);
}

std::unique_ptr<CPolyShelter> RunKVRCommand43(CKVRSensor& sensor, int number, const CShelter* field, BOOL prompt)
{
    return RunProcedureStep(kContour, [&] { return sensor.ExchangeContour(number, field); }, prompt);
}

std::unique_ptr<CPolyShelter> ReadKVRScanSub3(CKVRSensor& sensor, int number, BOOL prompt)
{
    return RunProcedureStep(kContourRead, [&] { return sensor.ReadScanContour(number); }, prompt);
}

std::unique_ptr<CPolyShelter> ReadKVRScanSub4(CKVRSensor& sensor, int number, BOOL prompt)
{
    return RunProcedureStep(kLockedContour, [&] { return sensor.ReadScanContourLocked(number); }, prompt);
}

BOOL RunKVRCommand46Sub0(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt)
{
    return RunProcedureStep(kTeachStart, [&] { return sensor.StartTeachIn(scanner, number, name); }, prompt);
}

BOOL RunKVRCommand46Sub2(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt)
{
    return RunProcedureStep(kTeachEnd, [&] { return sensor.EndTeachIn(scanner, number, name); }, prompt);
}

BOOL RunKVRCommand41Sub0(CKVRSensor& sensor, int selector, int number, BOOL prompt)
{
    return RunProcedureStep(kDiscard, [&] { return sensor.DiscardPendingField(selector, number); }, prompt);
}

BOOL RunKVRCommand41Sub1(CKVRSensor& sensor, int selector, int number, BOOL prompt)
{
    return RunProcedureStep(kPreview, [&] { return sensor.PreviewPendingField(selector, number); }, prompt,
                            AskRetryPreview(sensor, kPreviewRetry));
}

BOOL RunKVRCommand46Sub1(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt)
{
    return RunProcedureStep(kTeachAccept, [&] { return sensor.AcceptTeachIn(scanner, number, name); }, prompt);
}

BOOL RunKVRCommand41Sub2(CKVRSensor& sensor, int selector, int number, BOOL prompt)
{
    return RunProcedureStep(kStore, [&] { return sensor.StorePendingField(selector, number); }, prompt);
}

BOOL CheckKVRDeviceType(CKVRSensor& sensor, BYTE expected, BOOL prompt)
{
    CKVRIdentity identity;
    return ReadKVRIdentification(sensor, identity, TRUE) && DeviceTypeMatches(identity.GetByte23(), expected, prompt);
}
