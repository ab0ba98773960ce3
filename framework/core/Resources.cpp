#include "framework/core/CString.h"

// Until language libraries load, every resource text is unknown.
BOOL CString::LoadString(UINT)
{
    Empty();
    return FALSE;
}
