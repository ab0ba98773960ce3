#pragma once
// The status bar class of the program's frames. An indicator's string sizes its pane;
// what the pane shows comes from its update handler, so a pane shows nothing until its
// handler has run (no "Level" or "REC" before the first update).
#include "framework/ui/CStatusBar.h"

class COldStatusBar : public CStatusBar {
    DECLARE_DYNAMIC(COldStatusBar)
public:
    COldStatusBar() = default;

    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
};
