#include "framework/core/FileAccess.h"

#include <filesystem>
#include <string>
#include <system_error>

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

BOOL AfxIsSameFile(LPCTSTR lpszPath1, LPCTSTR lpszPath2)
{
    namespace fs = std::filesystem;
    const std::string first = lpszPath1 != nullptr ? lpszPath1 : "";
    const std::string second = lpszPath2 != nullptr ? lpszPath2 : "";
    if (first.empty() || second.empty())
        return FALSE;
    if (first == second)
        return TRUE;
    std::error_code error;
    if (fs::equivalent(first, second, error))
        return TRUE;
    const fs::path resolved1 = fs::weakly_canonical(fs::absolute(first, error), error);
    if (error)
        return FALSE;
    const fs::path resolved2 = fs::weakly_canonical(fs::absolute(second, error), error);
    return !error && resolved1 == resolved2 ? TRUE : FALSE;
}
