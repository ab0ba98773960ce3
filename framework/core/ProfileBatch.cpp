#include "framework/core/ProfileBatch.h"

#include <cerrno>

ProfileBatch::ProfileBatch(LPCSTR fileName)
    : m_fileName(fileName ? fileName : ""), m_file(fileName ? ProfileFile::Load(fileName) : std::nullopt)
{
    if (!m_file)
        m_error = fileName && errno != 0 ? errno : EINVAL;
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
    if (!m_file)
        return FALSE;
    if (!section || !WritableProfileNames(section, key, value)) {
        m_error = EINVAL;
        return FALSE;
    }
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
    if (!m_file->ReplaceFileWithContent(m_fileName.c_str(), &m_error))
        return FALSE;
    m_changed = false;
    return TRUE;
}
