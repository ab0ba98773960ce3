#include "framework/core/ProfileBatch.h"

ProfileBatch::ProfileBatch(LPCSTR fileName)
    : m_fileName(fileName ? fileName : ""), m_file(fileName ? ProfileFile::Load(fileName) : std::nullopt)
{
}

CString ProfileBatch::GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue) const
{
    if (m_file && section && key) {
        if (const auto value = m_file->Value(section, key))
            return CString(*value);
    }
    return CString(defaultValue);
}

BOOL ProfileBatch::WriteString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    if (!m_file || !section || !WritableProfileNames(section, key, value))
        return FALSE;
    if (m_file->Write(section, key, value))
        m_changed = true;
    return TRUE;
}

BOOL ProfileBatch::Commit()
{
    if (!m_file)
        return FALSE;
    if (!m_changed)
        return TRUE;
    if (!m_file->ReplaceFileWithContent(m_fileName.c_str()))
        return FALSE;
    m_changed = false;
    return TRUE;
}
