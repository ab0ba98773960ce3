#pragma once
// Whether a path names an existing file that the program may both read and write: the
// check a document makes before saving over its own file without asking for a name.
#include "framework/core/WinTypes.h"

BOOL AfxIsReadWritableFile(LPCTSTR lpszPathName);

// Whether two paths name one file, however spelt (through a linked folder, "..", a
// relative path): the same device and inode, or, for a file not there, the same path
// once the folders and links that exist are resolved.
BOOL AfxIsSameFile(LPCTSTR lpszPath1, LPCTSTR lpszPath2);
