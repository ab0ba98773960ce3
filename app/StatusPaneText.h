#pragma once
// Status-bar panes whose width follows their text, measured in the bar's own font.
#include "framework/core/CString.h"

class CCmdUI;

// Sets the pane of the update to the width of the text when it differs. Nothing when the
// update does not come from a status bar.
void FitStatusPaneToText(CCmdUI* pCmdUI, const CString& text);
