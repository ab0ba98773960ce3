#pragma once
// The wait cursor: shown over every window of the program while at least one wait is
// under way; nested waits count.
#include "framework/ui/UiDefs.h"

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows it again after something (a message box) replaced it.
    void Restore();
};

// 1 begins a wait, -1 ends one (never below none), 0 shows the cursor again while waiting.
void AfxDoWaitCursor(int nCode);
// The cursor change itself, as CWinApp::DoWaitCursor applies it.
void AfxApplyWaitCursor(int nCode);
// How many waits are under way.
int AfxWaitCursorDepth();
