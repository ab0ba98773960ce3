#pragma once
// The outside diagnosis dialog library and the records that cross between it and the
// diagnosis library. The diagnosis library hands DravDialog its four callbacks and six
// values; the dialog library asks for every device action through RequestCallback.
//
// Ownership of parameter blocks: a block that the diagnosis library allocates for a
// request (Parameters null on a call with AskParameters set) comes from the C heap and
// is released by the dialog library with std::free once the request has been sent.
#include "framework/core/LibraryExport.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/UiDefs.h"

#include <cstdint>

extern "C" {

struct DiagnoseRequestRecord {
    std::int32_t Kind = 0;          // request kind
    std::int32_t SubKind = 0;       // the action within the kind
    char* Text = nullptr;           // answer text, written by the diagnosis library
    // Bytes of Text, terminating zero included. When the whole answer does not fit, the
    // diagnosis library writes what fits and sets TextSize to the bytes the whole answer
    // needs: the caller asks again with a buffer that large.
    std::int32_t TextSize = 0;
    std::int32_t Result = 0;        // 0, or 255 when the device did not answer
    std::int32_t AskParameters = 0; // non-zero: run the parameter dialog only
    void* Parameters = nullptr;     // parameter block of the request
    std::int32_t ParametersSize = 0;
    char* Code = nullptr;           // 8-character access code (kind 11, sub-kind 20)
};

// The text buffer handed to EditResultCallback holds at least this many bytes.
constexpr int kEditResultBufferSize = 255;

using DiagnoseRequestCallback = int (*)(HWND parent, DiagnoseRequestRecord* record);
using EditResultCallback = int (*)(HWND parent, char* text);
using SetupCallback = int (*)(HWND parent);
using ModeCheckCallback = int (*)(LPARAM ignored);

struct DIALOGINFOSTRUCT {
    DiagnoseRequestCallback RequestCallback = nullptr;
    EditResultCallback EditResultCallback = nullptr;
    SetupCallback SetupCallback = nullptr;
    ModeCheckCallback ModeCheckCallback = nullptr;
    HINSTANCE ResourceHandle = nullptr;
    const char* Name = nullptr;
    const char* IniPath = nullptr;
    const char* NameAgain = nullptr;
    const char* Title = nullptr;
    const char* Password = nullptr;
};

// Runs the diagnosis user interface modal to parent; returns when the user closes it.
TALISO_EXPORT void DravDialog(HWND parent, DIALOGINFOSTRUCT* info);
// The language library the dialog library takes its dialog from.
TALISO_EXPORT void DravDlgSetResourceHandle(HINSTANCE module);

} // extern "C"
