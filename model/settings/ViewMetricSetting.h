#pragma once
// The "ViewMetric" switch of section "Settings" in the application's INI file: 1 shows
// lengths in cm, 0 in inches. The field shapes ask it when they open a size dialog for a
// conversion.
#include "framework/core/WinTypes.h"

// The program's settings object once it is loaded; before that, read from the INI file on
// each call, 1 when there is no application object or it has no INI path.
int ReadViewMetric();
// The inch flag of the size dialogs: set when ViewMetric is 0.
BOOL IsInchDisplay();
