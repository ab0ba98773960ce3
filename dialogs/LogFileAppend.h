#pragma once
// The log files of the recording dialogs: made ready when recording starts and appended
// to after each reading. Failures are shown as the program's file-error prompts (the
// prompt by the error's cause, else the caller's default) with the file name inserted.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CException;
class CWnd;

// Default prompts of the file errors.
constexpr UINT kPromptLogCreate = 444;
constexpr UINT kPromptLogOpen = 445;
constexpr UINT kPromptLogWrite = 446;

// The save prompt for a log file: default extension and filter from the two parts of
// string filterId separated by "\n", the initial directory from "DIRECTORY"/
// "ProtocolResults". TRUE with the chosen path after OK.
BOOL ChooseLogFile(CWnd* pParentWnd, UINT filterId, DWORD dwFlags, int nHelpContext, CString& path);
// Opens the file for reading and writing, or else creates it; it is closed again at once.
// FALSE after the create prompt when neither works.
BOOL PrepareLogFile(const CString& path);
// Opens the file for writing, goes to its end and writes the text. FALSE after the open
// prompt when it cannot be opened, or after the write prompt (the file aborted) when the
// text cannot be written.
BOOL AppendToLogFile(const CString& path, const CString& text);
// The message box of a failed file operation; a user-cancel exception shows nothing.
void ReportLogFileException(const CString& path, const CException* e, BOOL bSaving, UINT nIDPDefault);
