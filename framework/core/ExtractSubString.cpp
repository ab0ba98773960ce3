#include "framework/core/ExtractSubString.h"

#include <cstring>

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (lpszFullString == nullptr || iSubString < 0)
        return FALSE;
    const char* start = lpszFullString;
    for (int i = 0; i < iSubString; ++i) {
        start = std::strchr(start, chSep);
        if (start == nullptr)
            return FALSE;
        ++start;
    }
    const char* end = std::strchr(start, chSep);
    rString = end != nullptr ? CString(start, int(end - start)) : CString(start);
    return TRUE;
}
