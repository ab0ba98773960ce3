#pragma once
// The device procedures both families share. Each takes the device object first and a
// prompt flag last, shows its status text (repainted at once), runs one device operation
// and, when it fails and the flag is set, asks Retry or Cancel until it succeeds or the
// user cancels (see ProcedureMessages.h for the patterns). Without the flag a procedure
// fails silently after one round of tries.
//
// A session: ConnectSensor, IdentifySensor, SetOperatingMode (mode 0 with the user's
// password) for configuration work, the action's procedures, SetOperatingMode (mode 33),
// DisconnectSensor. When ConnectSensor fails nothing else runs; any later failure still
// ends with DisconnectSensor.
#include "device/ProcedureMessages.h"

class CAPISensor;
class CSensor;
class CSensorErrorList;

// Operating modes the procedures know.
constexpr BYTE kModeConfiguration = 0;
constexpr BYTE kModeAccessCode = 0x10;
constexpr BYTE kModeNormal = 0x21;
constexpr BYTE kModeDocument2 = 0x25;

// Sets the simulate flag from the application, loads the driver with the application's
// INI path (status 390, Retry 393), then opens the port (396, 397). When the open finally
// fails the instance is freed again.
BOOL ConnectSensor(CAPISensor& sensor, BOOL prompt);
// Closes (398, 399), then frees (394, 395), each in its own loop; a cancelled close still
// goes on to the free. Always ends with the idle text. TRUE when both succeeded.
BOOL DisconnectSensor(CAPISensor& sensor, BOOL prompt);

// Single pattern.
BOOL IdentifySensor(CSensor& sensor, BOOL prompt);                                 // 342, 345
BOOL TestConnection(CSensor& sensor, BOOL prompt);                                 // 346, 347
BOOL SendMode2Code(CSensor& sensor, LPCTSTR text, BOOL prompt);                    // 378, 379
BOOL ChangeDevicePassword(CSensor& sensor, BYTE kind, LPCTSTR text, BOOL prompt);  // 380, 381
// Modes 0 (348, 349), 16 (386, 384), 33 and 37 (376, 377); any other mode is FALSE at
// once without a telegram or a text. When the device answered with status 1 the prompt
// adds text 424 to the retry text.
BOOL SetOperatingMode(CSensor& sensor, BYTE mode, LPCTSTR text, BOOL prompt);
BOOL SetOperatingModeValue(CSensor& sensor, BYTE mode, BYTE address, LPCTSTR text, BOOL prompt);

// Retry prompts that depend on the device's last status, as ask of RunProcedureStep: the
// text of retryId with the text of noteId appended when the status is status; the text
// 392 when the status is 4 (a refused pending-field preview), else that of retryId.
std::function<int()> AskRetryWithNote(const CSensor& sensor, BYTE status, UINT retryId, UINT noteId);
std::function<int()> AskRetryPreview(const CSensor& sensor, UINT retryId);

// The device check of CheckKVRDeviceType and CheckZOKDeviceType on the identification's
// byte: passes when it or the expected byte is 0, or both are equal; a mismatch shows
// message 427 when prompt is set.
BOOL DeviceTypeMatches(BYTE actual, BYTE expected, BOOL prompt);

// Triple pattern.
BOOL ReadErrorList(CSensor& sensor, CSensorErrorList& list, BOOL prompt);                  // 402, 403
BOOL ReadErrorListAt(CSensor& sensor, CSensorErrorList& list, BYTE address, BOOL prompt); // 402, 403
// The device's type code (404, 405); 0, which the device layer gives for an unknown
// type, counts as a failure and is returned after the last one.
int ReadSensorTypeCode(CSensor& sensor, BOOL prompt);
