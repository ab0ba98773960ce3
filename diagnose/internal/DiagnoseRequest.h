#pragma once
// The request callback of the diagnosis user interface: one call per user action, either
// for the action's parameter dialog or for the action itself, which goes to the device
// and comes back as a readable answer text.
#include "outside/dravdlg/DravDlg.h"

extern "C" int DiagnoseRequest(HWND parent, DiagnoseRequestRecord* record);
