#pragma once
// The status bar class of the program's frames.
#include "framework/ui/CStatusBar.h"

class COldStatusBar : public CStatusBar {
    DECLARE_DYNAMIC(COldStatusBar)
public:
    COldStatusBar() = default;
};
