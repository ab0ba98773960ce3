#pragma once
// The driver's process-wide state: the language library that every string id is loaded
// from, and the one last-error text shared by all handles until ErrorSensor fetches it.
// Not thread-safe, like the rest of the driver's exchange state.
#include "framework/core/WinTypes.h"

// String ids the driver leaves in the last-error text.
enum : UINT {
    IDS_DRV_LINE_STATE_UNREADABLE = 516,
    IDS_DRV_OPEN_FAILED = 517,
    IDS_DRV_PORT_CALL_FAILED = 518,
    IDS_DRV_CLOSE_FAILED = 520,
    IDS_DRV_RECEIVE_FAILED = 522,
    IDS_DRV_NO_MEMORY = 527,
    // An answer frame arrived whole but its data do not match its own layout, such as a
    // beam count larger than the beams it carries.
    IDS_DRV_ANSWER_UNUSABLE = 2523,
    // The port settings were taken over but the INI file did not take them: %1 the file,
    // %2 the system's reason.
    IDS_DRV_SETUP_NOT_SAVED = 2524,
};

// The language library also names the field kinds by 522 and 527, so the texts of those
// two failures live under ids of their own; the failure ids stay as they are.
enum : UINT {
    IDS_DRV_TEXT_RECEIVE_FAILED = 2522,
    IDS_DRV_TEXT_NO_MEMORY = 2527,
};
// The string id whose text describes the failure stringId.
UINT LastErrorTextId(UINT stringId);

// The language library that string ids are loaded from (OruDrvSetResourceHandle).
void SetDriverResourceHandle(HINSTANCE handle);
HINSTANCE GetDriverResourceHandle();

// Capacity of the last-error text, terminating NUL included.
constexpr int DRIVER_LAST_ERROR_SIZE = 256;

// Replaces the last-error text with the text of stringId from the driver's language
// library. Without a library or for an unknown id the text is "Error <id>", so that a
// failure is never reported with an empty text.
void SetLastErrorText(UINT stringId);
// The same with %1 and %2 of the text replaced by the insertions.
void SetLastErrorText(UINT stringId, const char* insertion1, const char* insertion2);
// ErrorSensor's rule: copies at most size - 1 characters and a NUL into buffer, empties
// the text, and returns 1 when buffer's first character is not NUL. size <= 0 or no
// buffer copies nothing and keeps the text for a later call.
int CopyAndClearLastErrorText(char* buffer, int size);
// The pending text, without clearing it.
const char* PeekLastErrorText();
// Makes a text taken with PeekLastErrorText the pending one again.
void PutBackLastErrorText(const char* text);
