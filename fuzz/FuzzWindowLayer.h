#pragma once
// For targets that reach the window layer (documents, their dialogs and message boxes):
// the application object starts once, offscreen, before the first input.
#include "framework/ui/WindowHandle.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    AfxEnsureGuiApplication();
    return 0;
}
