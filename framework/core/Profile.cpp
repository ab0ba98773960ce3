#include "framework/core/Profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // ASCII folding only, as the result must not depend on the C locale.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

enum class LineKind { Section, Key, Comment, Blank, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed
};

ParsedLine ParseLine(std::string_view line)
{
    const std::string_view text = Trim(line);
    if (text.empty())
        return {LineKind::Blank, {}, {}};
    if (text.front() == ';')
        return {LineKind::Comment, {}, {}};
    if (text.front() == '[') {
        const auto close = text.find(']');
        const std::string_view name = text.substr(1, close == std::string_view::npos ? text.npos : close - 1);
        return {LineKind::Section, Trim(name), {}};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return {LineKind::Other, {}, {}};
    return {LineKind::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

// A value in matching single or double quotes reads without them.
std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool ReadWholeFile(const char* fileName, std::string& content)
{
    const int fd = ::open(fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR;
    char chunk[8192];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0;
        }
        content.append(chunk, std::size_t(got));
    }
}

// The file as lines; line ends, a byte-order mark and a missing last line end are
// remembered so that a rewrite changes nothing but the lines touched.
class IniFile {
public:
    // The lines of the file; a missing file reads as empty, an unreadable one as nothing.
    static std::optional<IniFile> Load(const char* fileName)
    {
        IniFile file;
        std::string content;
        if (!ReadWholeFile(fileName, content))
            return std::nullopt;
        std::string_view rest(content);
        if (rest.substr(0, 3) == "\xEF\xBB\xBF") {
            file.m_byteOrderMark = true;
            rest.remove_prefix(3);
        }
        const auto firstBreak = rest.find('\n');
        file.m_lineEnd = firstBreak != rest.npos && firstBreak > 0 && rest[firstBreak - 1] == '\r' ? "\r\n" : "\n";
        while (!rest.empty()) {
            const auto lineBreak = rest.find('\n');
            std::string_view line = rest.substr(0, lineBreak);
            rest.remove_prefix(lineBreak == rest.npos ? rest.size() : lineBreak + 1);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            file.m_lines.emplace_back(line);
            file.m_endsWithLineEnd = lineBreak != std::string_view::npos;
        }
        return file;
    }

    std::string Content() const
    {
        std::string out = m_byteOrderMark ? "\xEF\xBB\xBF" : "";
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            out += m_lines[i];
            if (i + 1 < m_lines.size() || m_endsWithLineEnd)
                out += m_lineEnd;
        }
        return out;
    }

    std::vector<std::string>& Lines() { return m_lines; }
    const std::vector<std::string>& Lines() const { return m_lines; }

    void Insert(std::size_t at, std::string line)
    {
        if (at == m_lines.size())
            m_endsWithLineEnd = true;
        m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), std::move(line));
    }

    // Index of the header of the first section of that name.
    std::optional<std::size_t> FindSection(std::string_view name) const
    {
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const ParsedLine parsed = ParseLine(m_lines[i]);
            if (parsed.kind == LineKind::Section && SameName(parsed.name, name))
                return i;
        }
        return std::nullopt;
    }

    // One past the last line of the section whose header is at 'header'.
    std::size_t SectionEnd(std::size_t header) const
    {
        std::size_t i = header + 1;
        while (i < m_lines.size() && ParseLine(m_lines[i]).kind != LineKind::Section)
            ++i;
        return i;
    }

    // One past the section's last line that is neither blank nor a comment: new keys go
    // there, and comments that introduce the next section stay with it.
    std::size_t SectionContentEnd(std::size_t header) const
    {
        std::size_t end = header + 1;
        for (std::size_t i = header + 1; i < SectionEnd(header); ++i) {
            const LineKind kind = ParseLine(m_lines[i]).kind;
            if (kind != LineKind::Blank && kind != LineKind::Comment)
                end = i + 1;
        }
        return end;
    }

    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const
    {
        for (std::size_t i = header + 1; i < SectionEnd(header); ++i) {
            const ParsedLine parsed = ParseLine(m_lines[i]);
            if (parsed.kind == LineKind::Key && SameName(parsed.name, key))
                return i;
        }
        return std::nullopt;
    }

    std::optional<std::string> Value(std::string_view section, std::string_view key) const
    {
        const auto header = FindSection(Trim(section));
        if (!header)
            return std::nullopt;
        const auto line = FindKey(*header, Trim(key));
        if (!line)
            return std::nullopt;
        return std::string(Unquote(ParseLine(m_lines[*line]).value));
    }

    std::vector<std::string> SectionNames() const
    {
        std::vector<std::string> names;
        for (const auto& line : m_lines) {
            const ParsedLine parsed = ParseLine(line);
            if (parsed.kind == LineKind::Section)
                names.emplace_back(parsed.name);
        }
        return names;
    }

    std::vector<std::string> KeyNames(std::string_view section) const
    {
        std::vector<std::string> names;
        const auto header = FindSection(Trim(section));
        if (!header)
            return names;
        for (std::size_t i = *header + 1; i < SectionEnd(*header); ++i) {
            const ParsedLine parsed = ParseLine(m_lines[i]);
            if (parsed.kind == LineKind::Key)
                names.emplace_back(parsed.name);
        }
        return names;
    }

    const std::string& LineEnd() const { return m_lineEnd; }

private:
    std::vector<std::string> m_lines;
    std::string m_lineEnd = "\n";
    bool m_endsWithLineEnd = true;
    bool m_byteOrderMark = false;
};

DWORD CopyTruncated(std::string_view text, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.begin(), count, buffer); // an empty view may have no data pointer
    buffer[count] = '\0';
    return DWORD(count);
}

// A double-NUL-terminated list, cut the classic way when it does not fit.
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

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

// Writes a sibling temporary file, flushes it to disk and renames it over the target,
// so readers see either the old or the new file, never a part of one.
bool ReplaceFile(const std::string& path, const std::string& content)
{
    std::string target = path;
    if (std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
        resolved)
        target = resolved.get(); // write through a symbolic link, do not replace it
    const auto slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = directory + "/." + base + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    bool ok = WriteAll(fd, content);
    if (ok && exists)
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would read back differently are refused rather than written.
bool WritableNames(LPCSTR section, LPCSTR key, LPCSTR value)
{
    if (HasLineBreak(section) || std::string_view(section).find(']') != std::string_view::npos)
        return false;
    if (key) {
        const std::string_view name = Trim(key);
        if (name.empty() || HasLineBreak(name) || name.find('=') != name.npos || name.front() == ';' ||
            name.front() == '[')
            return false;
    }
    return !value || !HasLineBreak(value);
}

// Replaces the value of a "key = value" line, keeping the key's spelling and spacing.
std::string WithNewValue(const std::string& line, std::string_view value)
{
    const auto equals = line.find('=');
    const auto valueStart = line.find_first_not_of(kBlanks, equals + 1);
    return line.substr(0, valueStart == std::string::npos ? line.size() : valueStart) + std::string(value);
}

// Applies one write to the lines; false when nothing changes.
bool ApplyWrite(IniFile& file, std::string_view section, LPCSTR key, LPCSTR value)
{
    auto& lines = file.Lines();
    const auto header = file.FindSection(section);
    if (!key) {
        if (!header)
            return false;
        lines.erase(lines.begin() + std::ptrdiff_t(*header), lines.begin() + std::ptrdiff_t(file.SectionContentEnd(*header)));
        return true;
    }
    const std::string_view name = Trim(key);
    if (!value) {
        bool removed = false;
        while (header) {
            const auto line = file.FindKey(*header, name);
            if (!line)
                break;
            lines.erase(lines.begin() + std::ptrdiff_t(*line));
            removed = true;
        }
        return removed;
    }
    if (!header) {
        file.Insert(lines.size(), "[" + std::string(section) + "]");
        file.Insert(lines.size(), std::string(name) + "=" + value);
        return true;
    }
    if (const auto line = file.FindKey(*header, name)) {
        lines[*line] = WithNewValue(lines[*line], value);
        return true;
    }
    file.Insert(file.SectionContentEnd(*header), std::string(name) + "=" + value);
    return true;
}

} // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                              LPCSTR fileName)
{
    const IniFile file = fileName ? IniFile::Load(fileName).value_or(IniFile()) : IniFile();
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
    const auto value = IniFile::Load(fileName).value_or(IniFile()).Value(section, key);
    if (!value || value->empty())
        return UINT(defaultValue);

    std::string_view text = Trim(*value);
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
    std::uint32_t result = 0; // wraps at 32 bits as the classic call does
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
        return TRUE; // the classic "flush the cache" call; nothing is cached here
    if (!section || !fileName || !WritableNames(section, key, value))
        return FALSE;
    std::optional<IniFile> file = IniFile::Load(fileName);
    if (!file)
        return FALSE; // never replace a file that could not be read
    if (!ApplyWrite(*file, Trim(section), key, value))
        return TRUE; // deleting what is not there
    return ReplaceFile(fileName, file->Content()) ? TRUE : FALSE;
}

CString ReadProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPCSTR fileName)
{
    if (section && key && fileName) {
        if (const auto value = IniFile::Load(fileName).value_or(IniFile()).Value(section, key))
            return CString(*value);
    }
    return CString(defaultValue);
}
