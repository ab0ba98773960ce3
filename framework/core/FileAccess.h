#pragma once
// Whether a path names an existing file that the program may both read and write: the
// check a document makes before saving over its own file without asking for a name.
#include "framework/core/WinTypes.h"

BOOL AfxIsReadWritableFile(LPCTSTR lpszPathName);
