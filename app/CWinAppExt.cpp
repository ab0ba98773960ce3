#include "app/CWinAppExt.h"

#include "framework/core/Library.h"

#include <vector>

IMPLEMENT_DYNAMIC(CWinAppExt, CWinApp)

CWinAppExt::CWinAppExt(LPCTSTR lpszAppName) : CWinApp(lpszAppName) {}

CString CWinAppExt::IniPathForProgram(const CString& programPath)
{
    const int slash = programPath.ReverseFind('/');
    const int dot = programPath.ReverseFind('.');
    CString stem = programPath;
    if (dot > slash + 1)
        stem = programPath.Left(dot);
    return stem + ".INI";
}

CString CWinAppExt::GetModulePath() const
{
    if (!m_strModulePath.IsEmpty())
        return m_strModulePath;
    // The path can be longer than a fixed-size buffer: grow until it fits.
    std::vector<char> buffer(512);
    for (;;) {
        const DWORD length = GetModuleFileName(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return CString();
        if (length < buffer.size())
            return CString(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
}

void CWinAppExt::SetIniFileName()
{
    SetProfileName(IniPathForProgram(GetModulePath()).c_str());
}

CString CWinAppExt::GetIniDirectory() const
{
    const CString ini(m_pszProfileName);
    const int slash = ini.ReverseFind('/');
    return slash >= 0 ? ini.Left(slash + 1) : CString();
}

BOOL CWinAppExt::InitApplication()
{
    return CWinApp::InitApplication();
}
