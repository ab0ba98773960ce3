#pragma once
// The device procedures of a ZOK scanner (see DeviceProcedures.h for the shared rules):
// identification, type, fields, scans, contours, the pending-field and teach-in steps,
// single settings, the parameter download and the default system.
#include "device/DeviceProcedures.h"

#include <memory>

class CPolyShelter;
class CScan;
class CSensorType;
class CShelter;
class CZOKIdentity;
class CZOKParameters;
class CZOKSensor;

// Triple pattern.
BOOL ReadZOKIdentification(CZOKSensor& sensor, CZOKIdentity& identity, BOOL prompt);                 // 400, 401
BOOL ReadZOKIdentificationAt(CZOKSensor& sensor, CZOKIdentity& identity, BYTE device, BOOL prompt); // 400, 401
BOOL ReadZOKSensorType(CZOKSensor& sensor, CSensorType& type, BOOL prompt);                          // 404, 405
std::unique_ptr<CScan> ReadZOKScan(CZOKSensor& sensor, int count, BOOL prompt);                      // 358, 359

// Single pattern.
std::unique_ptr<CShelter> ReadZOKField(CZOKSensor& sensor, BOOL prompt);             // 350, 351
std::unique_ptr<CPolyShelter> ReadZOKFieldSub1(CZOKSensor& sensor, BOOL prompt);     // 354, 355
std::unique_ptr<CPolyShelter> RunZOKCommand43(CZOKSensor& sensor, const CShelter* field, BOOL prompt); // 356, 357
std::unique_ptr<CPolyShelter> ReadZOKScanSub3(CZOKSensor& sensor, BOOL prompt);      // 372, 373
std::unique_ptr<CPolyShelter> ReadZOKScanSub4(CZOKSensor& sensor, BOOL prompt);      // 374, 375
BOOL RunZOKCommand46Sub0(CZOKSensor& sensor, BOOL prompt);                           // 360, 361
BOOL RunZOKCommand46Sub2(CZOKSensor& sensor, BOOL prompt);                           // 362, 363
BOOL RunZOKCommand41Sub0(CZOKSensor& sensor, BOOL prompt);                           // 368, 369
// 366; the prompt is 392 when the scanner answered status 4, else 367.
BOOL RunZOKCommand41Sub1(CZOKSensor& sensor, BOOL prompt);
BOOL SendZOKCommand67(CZOKSensor& sensor, BYTE value, BOOL prompt);                  // 385, 387
BOOL RunCommand50(CZOKSensor& sensor, BOOL prompt);                                  // 430, 429
BOOL RunCommand50At(CZOKSensor& sensor, BYTE device, BOOL prompt);                   // 430, 429
BOOL SetIndexedValue(CZOKSensor& sensor, BYTE value, BYTE device, BOOL prompt);      // 433, 434

// Once pattern: a failure shows the warning.
BOOL RunZOKCommand46Sub1(CZOKSensor& sensor, BOOL prompt);                           // 364, 365
BOOL RunZOKCommand41Sub2(CZOKSensor& sensor, BOOL prompt);                           // 370, 371

// Sends the field (352; Retry 353, with text 408 added after status 4). When the scanner
// answered status 2 it holds the field pending: 366 and question 391; Yes confirms it
// with 0x41 sub-code 3 (Retry 367), No or Cancel gives null. Else the scanner's copy of
// the field.
std::unique_ptr<CShelter> WriteZOKField(CZOKSensor& sensor, const CShelter* field, BOOL prompt);

// The identification's byte 29 against the expected byte (see CheckKVRDeviceType).
BOOL CheckZOKDeviceType(CZOKSensor& sensor, BYTE expected, BOOL prompt);

// Downloads a parameter set, asking before each group (409, 410/413, 416/417 inside the
// firmware window, 411/414/415, 412); No ends with FALSE. Each command runs in its own
// Retry loop (387); Cancel makes the result FALSE and the download goes on.
BOOL SendZOKParameters(CZOKSensor& sensor, const CZOKParameters& parameters);
// Puts the scanner into its default state: default parameters, an arc protective field
// of the type's greatest protective distance, stored, and a warning contour of 91 beams
// at 35 cm. FALSE when the type is not 4, 7 or 50 or any step was cancelled.
BOOL WriteZOKSystem(CZOKSensor& sensor);
