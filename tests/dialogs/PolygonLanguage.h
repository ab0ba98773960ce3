#pragma once
// The shipped English texts that the contour field's dialogs use (framework prompts,
// units, the contour templates), made the current resource module while the object lives.
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

class PolygonLanguage : public LanguageScripts {
public:
    PolygonLanguage() : LanguageScripts({"framework.rc", "model2.rc", "polygon.rc"}) { AfxEnsureGuiApplication(); }
};
