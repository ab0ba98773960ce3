#pragma once
// The device procedures of a KVR interface unit (see DeviceProcedures.h for the shared
// rules): identification, type, fields of a field pair, scans, contours and the
// pending-field and teach-in steps. Field pairs and scanners are numbered from 1.
#include "device/DeviceProcedures.h"
#include "framework/core/CString.h"

#include <memory>

class CKVRIdentity;
class CKVRSensor;
class CPolyShelter;
class CScan;
class CSensorType;
class CShelter;

// Triple pattern.
BOOL ReadKVRIdentification(CKVRSensor& sensor, CKVRIdentity& identity, BOOL prompt); // 400, 401
BOOL ReadKVRSensorType(CKVRSensor& sensor, CSensorType& type, BOOL prompt);          // 404, 405
std::unique_ptr<CScan> ReadKVRScan(CKVRSensor& sensor, int scanner, int count, BOOL prompt);  // 358, 359
std::unique_ptr<CScan> ReadKVRScanB(CKVRSensor& sensor, int scanner, int count, BOOL prompt); // 358, 359
std::unique_ptr<CScan> ReadKVRScanWithStatus(CKVRSensor& sensor, int selector, int count, int& caseNumber,
                                             BOOL prompt); // 358, 359

// Single pattern.
std::unique_ptr<CShelter> ReadKVRField(CKVRSensor& sensor, int number, CString& name, BOOL prompt);         // 350, 351
std::unique_ptr<CPolyShelter> ReadKVRFieldSub1(CKVRSensor& sensor, int number, CString& name, BOOL prompt); // 354, 355
std::unique_ptr<CShelter> WriteKVRField(CKVRSensor& sensor, int number, const CString& name,
                                        const CShelter* field, BOOL prompt); // 352, 353
std::unique_ptr<CPolyShelter> RunKVRCommand43(CKVRSensor& sensor, int number, const CShelter* field,
                                              BOOL prompt); // 356, 357
std::unique_ptr<CPolyShelter> ReadKVRScanSub3(CKVRSensor& sensor, int number, BOOL prompt); // 372, 373
std::unique_ptr<CPolyShelter> ReadKVRScanSub4(CKVRSensor& sensor, int number, BOOL prompt); // 374, 375
BOOL RunKVRCommand46Sub0(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt); // 360, 361
BOOL RunKVRCommand46Sub2(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt); // 362, 363
BOOL RunKVRCommand41Sub0(CKVRSensor& sensor, int selector, int number, BOOL prompt); // 368, 369
// 366; the prompt is 392 when the unit answered status 4, else 367.
BOOL RunKVRCommand41Sub1(CKVRSensor& sensor, int selector, int number, BOOL prompt);

// Once pattern: a failure shows the warning.
BOOL RunKVRCommand46Sub1(CKVRSensor& sensor, int scanner, int number, const CString& name, BOOL prompt); // 364, 365
BOOL RunKVRCommand41Sub2(CKVRSensor& sensor, int selector, int number, BOOL prompt); // 370, 371

// Reads the identification (prompts on) and compares its byte 23 with the expected byte:
// passes when either is 0 or both are equal; a mismatch shows message 427 when prompt is
// set. A failed read fails the check without that message.
BOOL CheckKVRDeviceType(CKVRSensor& sensor, BYTE expected, BOOL prompt);
