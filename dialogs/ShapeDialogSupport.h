#pragma once
// What the two field shape dialogs share: the unit text and the beam-count combo.
#include "framework/core/CString.h"

class CDialog;

// String 953 (inch) or 951 (cm).
CString ShapeDialogUnitText(int inch);
// Shows or hides the beam-count combo 2105; hidden, it is still exchanged.
void ShowBeamCountCombo(CDialog& dialog, int show);
