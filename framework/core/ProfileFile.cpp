#include "framework/core/ProfileFile.h"

#include "framework/core/CReplacingFile.h"

#include <cerrno>
#include <algorithm>

#include <fcntl.h>
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

char FoldedCase(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
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

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Replaces the value of a "key = value" line, keeping the key's spelling and spacing.
std::string WithNewValue(const std::string& line, std::string_view value)
{
    const auto equals = line.find('=');
    const auto valueStart = line.find_first_not_of(kBlanks, equals + 1);
    return line.substr(0, valueStart == std::string::npos ? line.size() : valueStart) + std::string(value);
}

} // namespace

std::size_t ProfileFile::NameHash::operator()(std::string_view name) const
{
    std::size_t hash = 14695981039346656037u; // FNV-1a over the folded bytes
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(FoldedCase(c))) * 1099511628211u;
    return hash;
}

bool ProfileFile::SameName::operator()(std::string_view a, std::string_view b) const
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldedCase(x) == FoldedCase(y); });
}

std::optional<ProfileFile> ProfileFile::Load(const char* fileName)
{
    std::string content;
    if (!ReadWholeFile(fileName, content))
        return std::nullopt;
    return FromContent(content);
}

ProfileFile ProfileFile::FromContent(std::string_view content)
{
    ProfileFile file;
    std::string_view rest(content);
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") {
        file.m_byteOrderMark = true;
        rest.remove_prefix(3);
    }
    const auto firstBreak = rest.find('\n');
    file.m_lineEnd = firstBreak != rest.npos && firstBreak > 0 && rest[firstBreak - 1] == '\r' ? "\r\n" : "\n";
    file.m_lines.reserve(std::size_t(std::count(rest.begin(), rest.end(), '\n')) + 1);
    while (!rest.empty()) {
        const auto lineBreak = rest.find('\n');
        Line line;
        std::string_view text = rest.substr(0, lineBreak);
        rest.remove_prefix(lineBreak == rest.npos ? rest.size() : lineBreak + 1);
        if (lineBreak != std::string_view::npos) {
            const bool carriageReturn = !text.empty() && text.back() == '\r';
            if (carriageReturn)
                text.remove_suffix(1);
            line.end = carriageReturn ? "\r\n" : "\n";
        } else if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1); // a last line cut off after its carriage return
            line.end = "\r";
        }
        line.text = std::string(text);
        file.m_lines.push_back(std::move(line));
    }
    file.BuildIndex();
    return file;
}

std::string ProfileFile::Content() const
{
    std::string out = m_byteOrderMark ? "\xEF\xBB\xBF" : "";
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

void ProfileFile::BuildIndex()
{
    m_sections.clear();
    m_firstSection.clear();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine parsed = ParseLine(m_lines[i].text);
        if (parsed.kind == LineKind::Section) {
            m_firstSection.try_emplace(std::string(parsed.name), m_sections.size());
            m_sections.push_back({i, {}});
        } else if (parsed.kind == LineKind::Key && !m_sections.empty()) {
            m_sections.back().keys.try_emplace(std::string(parsed.name), i);
        }
    }
}

std::optional<std::size_t> ProfileFile::SectionOf(std::size_t line) const
{
    const auto after = std::upper_bound(m_sections.begin(), m_sections.end(), line,
                                        [](std::size_t l, const IndexedSection& s) { return l < s.header; });
    if (after == m_sections.begin())
        return std::nullopt;
    return std::size_t(after - m_sections.begin() - 1);
}

// Indexes a key line that was just inserted.
void ProfileFile::IndexKey(std::size_t line)
{
    const ParsedLine parsed = ParseLine(m_lines[line].text);
    const auto section = SectionOf(line);
    if (parsed.kind != LineKind::Key || !section)
        return;
    const auto [entry, added] = m_sections[*section].keys.try_emplace(std::string(parsed.name), line);
    if (!added)
        entry->second = std::min(entry->second, line);
}

void ProfileFile::Insert(std::size_t at, std::string text)
{
    // A last line without its end gets one, else the new line would join it.
    if (at == m_lines.size() && !m_lines.empty()) {
        std::string& lastEnd = m_lines.back().end;
        if (lastEnd.empty())
            lastEnd = m_lineEnd;
        else if (lastEnd == "\r")
            lastEnd = "\r\n";
    }
    m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), Line{std::move(text), m_lineEnd});
    const ParsedLine parsed = ParseLine(m_lines[at].text);
    if (parsed.kind == LineKind::Section) {
        // Sections are only ever added at the end.
        if (at + 1 != m_lines.size()) {
            BuildIndex();
            return;
        }
        m_firstSection.try_emplace(std::string(parsed.name), m_sections.size());
        m_sections.push_back({at, {}});
        return;
    }
    for (IndexedSection& section : m_sections) {
        if (section.header >= at)
            ++section.header;
        for (auto& [name, line] : section.keys) {
            if (line >= at)
                ++line;
        }
    }
    IndexKey(at);
}

void ProfileFile::Erase(std::size_t first, std::size_t last)
{
    m_lines.erase(m_lines.begin() + std::ptrdiff_t(first), m_lines.begin() + std::ptrdiff_t(last));
    // Erasing is rare (deleting a key or a section), and may bring a later key of the same
    // name or a later section of the same name forward.
    BuildIndex();
}

std::optional<std::size_t> ProfileFile::FindSection(std::string_view name) const
{
    const auto found = m_firstSection.find(name);
    if (found == m_firstSection.end())
        return std::nullopt;
    return m_sections[found->second].header;
}

std::size_t ProfileFile::SectionEnd(std::size_t header) const
{
    const auto section = SectionOf(header);
    return section && *section + 1 < m_sections.size() ? m_sections[*section + 1].header : m_lines.size();
}

// One past the section's last line that is neither blank nor a comment: new keys go
// there, and comments that introduce the next section stay with it.
std::size_t ProfileFile::SectionContentEnd(std::size_t header) const
{
    std::size_t end = header + 1;
    const std::size_t sectionEnd = SectionEnd(header);
    for (std::size_t i = header + 1; i < sectionEnd; ++i) {
        const LineKind kind = ParseLine(m_lines[i].text).kind;
        if (kind != LineKind::Blank && kind != LineKind::Comment)
            end = i + 1;
    }
    return end;
}

std::optional<std::size_t> ProfileFile::FindKey(std::size_t header, std::string_view key) const
{
    const auto section = SectionOf(header);
    if (!section)
        return std::nullopt;
    const auto& keys = m_sections[*section].keys;
    const auto found = keys.find(key);
    if (found == keys.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> ProfileFile::Value(std::string_view section, std::string_view key) const
{
    const auto header = FindSection(Trim(section));
    if (!header)
        return std::nullopt;
    const auto line = FindKey(*header, Trim(key));
    if (!line)
        return std::nullopt;
    return std::string(Unquote(ParseLine(m_lines[*line].text).value));
}

std::vector<std::string> ProfileFile::SectionNames() const
{
    std::vector<std::string> names;
    names.reserve(m_sections.size());
    for (const IndexedSection& section : m_sections)
        names.emplace_back(ParseLine(m_lines[section.header].text).name);
    return names;
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    const auto header = FindSection(Trim(section));
    if (!header)
        return names;
    const std::size_t sectionEnd = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < sectionEnd; ++i) {
        const ParsedLine parsed = ParseLine(m_lines[i].text);
        if (parsed.kind == LineKind::Key)
            names.emplace_back(parsed.name);
    }
    return names;
}

bool ProfileFile::Write(std::string_view section, const char* key, const char* value)
{
    section = Trim(section);
    const auto header = FindSection(section);
    if (!key) {
        if (!header)
            return false;
        Erase(*header, SectionContentEnd(*header));
        return true;
    }
    const std::string_view name = Trim(key);
    if (!value) {
        bool removed = false;
        while (header) {
            const auto line = FindKey(*header, name);
            if (!line)
                break;
            Erase(*line, *line + 1);
            removed = true;
        }
        return removed;
    }
    if (!header) {
        Insert(m_lines.size(), "[" + std::string(section) + "]");
        Insert(m_lines.size(), std::string(name) + "=" + value);
        return true;
    }
    if (const auto line = FindKey(*header, name)) {
        std::string replaced = WithNewValue(m_lines[*line].text, value);
        if (replaced == m_lines[*line].text)
            return false;
        m_lines[*line].text = std::move(replaced);
        return true;
    }
    Insert(SectionContentEnd(*header), std::string(name) + "=" + value);
    return true;
}

bool ProfileFile::ReplaceFileWithContent(const char* fileName, int* pError) const
{
    auto fail = [pError](const CFileException& error) {
        if (pError != nullptr)
            *pError = error.m_lOsError > 0 ? int(error.m_lOsError) : EIO;
        return false;
    };
    CReplacingFile file;
    CFileException openError;
    if (!file.OpenReplacing(fileName, &openError))
        return fail(openError);
    try {
        const std::string content = Content();
        for (std::size_t done = 0; done < content.size();) {
            const std::size_t piece = std::min<std::size_t>(content.size() - done, 0x40000000);
            file.Write(content.data() + done, UINT(piece));
            done += piece;
        }
        file.Commit();
        file.Close();
    } catch (const CFileException& error) {
        return fail(error);
    }
    return true;
}

bool WritableProfileNames(const char* section, const char* key, const char* value)
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

std::string ProfileTemporaryPath(const char* fileName)
{
    return CReplacingFile::TemporaryPathFor(fileName);
}
