#pragma once
// The port set-up dialog (template 103 of the language library): the port and the baud
// rate of the driver's settings, chosen from two lists.
#include "driver/internal/PortSettings.h"
#include "framework/ui/DialogApi.h"

// Runs the dialog modal to parent (nullptr: centred on the screen) on settings. After OK
// settings hold the chosen port and baud code and the result is 1; Cancel leaves them
// and gives 0; -1 when the language library has no such template.
INT_PTR ShowSetupDialog(HWND parent, PortSettings& settings);

// The dialog procedure; WM_INITDIALOG carries the PortSettings to show and change.
INT_PTR SetupDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
