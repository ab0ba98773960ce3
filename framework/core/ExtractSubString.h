#pragma once
// Part iSubString of a text whose parts are separated by chSep, as resource strings hold a
// default extension and a file filter in one text. FALSE (and an empty part) when the
// text has fewer parts.
#include "framework/core/CString.h"

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, char chSep = '\n');
