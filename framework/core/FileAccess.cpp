#include "framework/core/FileAccess.h"

#include <sys/stat.h>
#include <unistd.h>

BOOL AfxIsReadWritableFile(LPCTSTR lpszPathName)
{
    if (lpszPathName == nullptr || *lpszPathName == '\0')
        return FALSE;
    struct stat status {};
    if (::stat(lpszPathName, &status) != 0 || !S_ISREG(status.st_mode))
        return FALSE;
    return ::access(lpszPathName, R_OK | W_OK) == 0;
}
