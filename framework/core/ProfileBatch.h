#pragma once
// Several reads and writes of one INI file for the price of one: the file is read
// once, writes change it in memory, and Commit replaces the file once with all of
// them. Readers of the file see it complete, before or after the whole batch.
#include "framework/core/CString.h"
#include "framework/core/ProfileFile.h"
#include "framework/core/WinTypes.h"

#include <optional>
#include <string>

class ProfileBatch {
public:
    explicit ProfileBatch(LPCSTR fileName);

    // False when the file exists but could not be read; writes then fail and
    // Commit leaves it alone.
    bool IsReadable() const { return m_file.has_value(); }

    // The value as the batch has it so far, or the default.
    CString GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue) const;

    // The rules of WritePrivateProfileString (nullptr value deletes the key, nullptr
    // key the section); FALSE for a refused name or value, which changes nothing.
    BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value);

    // Replaces the file when a write changed something; TRUE when there was nothing
    // to write. A batch that is not committed changes nothing.
    BOOL Commit();

    // Why the file could not be read or the last Commit failed: an errno value (EINVAL
    // for a refused name or value); 0 while nothing failed.
    int Error() const { return m_error; }

private:
    std::string m_fileName;
    std::optional<ProfileFile> m_file;
    bool m_changed = false;
    int m_error = 0;
};
