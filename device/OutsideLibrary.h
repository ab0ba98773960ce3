#pragma once
// Tools that live in libraries of their own, loaded for the length of one call: the
// diagnosis library and the alignment library. Each is looked up in the INI file's
// directory only, gets the language library first, then runs its modal dialog, and is
// unloaded again at once. Nothing is shown when a library is missing or unfit.
#include "framework/core/WinTypes.h"
#include "framework/ui/UiDefs.h"

#include <string>
#include <string_view>

class CWnd;

// What an outside dialog library exports, by these undecorated names.
extern "C" {
// "SetResourceHandle": the language library the tool loads its texts and dialogs from.
using OutsideSetResourceHandleProc = void (*)(HINSTANCE languageModule);
// The entry: runs the tool's modal user interface and returns when it is closed.
using OutsideDialogProc = void (*)(HWND parent, LPCSTR iniPath, LPCSTR password);
}

constexpr char kOutsideSetResourceHandle[] = "SetResourceHandle";
constexpr char kDiagnosisLibrary[] = "DIAGNOSE.DLL";
constexpr char kDiagnosisEntry[] = "DialogDiagnose";
constexpr char kAlignmentLibrary[] = "ABGLEICH.DLL";
constexpr char kAlignmentEntry[] = "DialogAbgleich";

// The library's file: the INI path up to its last '/' (or '\\'), then the name; a path
// without a directory names the current one.
std::string OutsideLibraryPath(std::string_view iniPath, std::string_view libraryName);

// Loads the library from the INI file's directory, hands it the current resource module
// (AfxGetResourceHandle) and calls the entry with (parent, iniPath, password), then frees
// it. TRUE when the entry was called; FALSE, silently, when the library cannot be loaded
// or lacks either export (it is then never entered).
BOOL LoadOutsideDialog(LPCSTR libraryName, LPCSTR entryName, HWND parent, LPCSTR iniPath, LPCSTR password);

// The main frame's diagnosis and alignment commands; mainFrame may be null.
BOOL RunDiagnosis(CWnd* mainFrame, LPCSTR iniPath, LPCSTR password);
BOOL RunAlignment(CWnd* mainFrame, LPCSTR iniPath, LPCSTR password);
