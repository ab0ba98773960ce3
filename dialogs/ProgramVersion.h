#pragma once
// The version texts that the About box and the splash screen show.
#include "framework/core/CString.h"

// "03.61".
CString GetProgramVersion();
// The build label; empty in this release.
CString GetProgramBuildText();
