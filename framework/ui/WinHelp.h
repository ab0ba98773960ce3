#pragma once
// Help files: there is no help engine here, so a help request opens the whole help file
// with the desktop's viewer for its kind. When the file is missing or nothing can show
// it (the desktop's opener fails to start or exits with an error, reported once it has
// ended), a message names the file; a help request is never silent.
#include "framework/ui/UiDefs.h"

constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_INDEX = 0x0003;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_HELPONHELP = 0x0004;
constexpr UINT HELP_FINDER = 0x000B;
constexpr UINT HELP_PARTIALKEY = 0x0105;

// The framework's message when a help file cannot be shown; %1 is the file.
constexpr UINT AFX_IDP_FAILED_TO_LAUNCH_HELP = 0xF107;

// Shows lpszHelp for the command (the topic or key in dwData cannot be reached in the
// file and is ignored). A relative name counts from the application's INI directory.
// HELP_QUIT does nothing. TRUE when the opener was started.
BOOL WinHelp(HWND hWndMain, LPCTSTR lpszHelp, UINT uCommand, ULONG_PTR dwData);

// The same for the application's help file (none without an application).
BOOL AfxWinHelp(ULONG_PTR dwData, UINT uCommand);
