#include "framework/core/Profile.h"

#include "framework/core/ProfileBatch.h"
#include "framework/core/ProfileFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

DWORD CopyTruncated(std::string_view text, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.begin(), count, buffer); // an empty view may have no data pointer
    buffer[count] = '\0';
    return DWORD(count);
}

// A double-NUL-terminated list, cut at the buffer's end when it does not fit.
DWORD CopyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    std::string list;
    for (const auto& name : names) {
        list += name;
        list += '\0';
    }
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty() && size >= 2)
            buffer[1] = '\0';
        return DWORD(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

} // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                              LPCSTR fileName)
{
    const ProfileFile file = fileName ? ProfileFile::Load(fileName).value_or(ProfileFile()) : ProfileFile();
    if (!section)
        return CopyList(file.SectionNames(), buffer, size);
    if (!key)
        return CopyList(file.KeyNames(section), buffer, size);
    if (const auto value = file.Value(section, key))
        return CopyTruncated(*value, buffer, size);
    std::string_view fallback = defaultValue ? defaultValue : "";
    const auto last = fallback.find_last_not_of(' ');
    fallback = last == std::string_view::npos ? std::string_view() : fallback.substr(0, last + 1);
    return CopyTruncated(fallback, buffer, size);
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName)
{
    if (!section || !key || !fileName)
        return UINT(defaultValue);
    const auto value = ProfileFile::Load(fileName).value_or(ProfileFile()).Value(section, key);
    if (!value || value->empty())
        return UINT(defaultValue);

    std::string_view text = *value;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint32_t result = 0; // wraps at 32 bits
    for (const char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            break;
        result = result * base + digit;
    }
    return negative ? UINT(0u - result) : UINT(result);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName)
{
    if (!section && !key && !value)
        return TRUE; // the "flush the cache" call; nothing is cached here
    if (!fileName)
        return FALSE;
    ProfileBatch batch(fileName);
    if (batch.WriteString(section, key, value) && batch.Commit())
        return TRUE;
    errno = batch.Error() != 0 ? batch.Error() : EIO;
    return FALSE;
}

CString ReadProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPCSTR fileName)
{
    return ProfileBatch(fileName).GetString(section, key, defaultValue);
}
