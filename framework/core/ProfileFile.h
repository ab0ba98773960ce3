#pragma once
// An INI file held in memory as its lines, each with its own line end, so that a
// rewrite gives back every untouched line byte for byte, however damaged the file.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileFile {
public:
    // A missing file reads as empty, an unreadable one as nothing.
    static std::optional<ProfileFile> Load(const char* fileName);
    // The file of the given bytes.
    static ProfileFile FromContent(std::string_view content);

    std::string Content() const;

    // The value with its quotes removed; nothing when section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // One write: value == nullptr deletes the key, key == nullptr the section.
    // Names must have been checked with WritableProfileNames. False when nothing changed.
    bool Write(std::string_view section, const char* key, const char* value);

    // Writes the content to a temporary file beside fileName, syncs it and renames it
    // over fileName, so readers see the old or the new file, never a part of one (in a
    // folder the user may not write, fileName itself is written: see CReplacingFile).
    // False with the errno value in *pError when the file could not be written.
    bool ReplaceFileWithContent(const char* fileName, int* pError = nullptr) const;

private:
    struct Line {
        std::string text; // without its line end
        std::string end;  // "\n", "\r\n" or empty for a last line without one
    };

    // Names compare without regard to ASCII case (not the C locale's).
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct SameName {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, SameName>;
    // Where each section header and the first of each key name stand, so that a lookup
    // needs no pass over the lines.
    struct IndexedSection {
        std::size_t header; // its line
        NameIndex keys;
    };

    void Insert(std::size_t at, std::string text);
    std::optional<std::size_t> FindSection(std::string_view name) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t SectionContentEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
    void Erase(std::size_t first, std::size_t last);
    void BuildIndex();
    void IndexKey(std::size_t line);
    // The section the line belongs to; nothing before the first header.
    std::optional<std::size_t> SectionOf(std::size_t line) const;

    std::vector<Line> m_lines;
    std::vector<IndexedSection> m_sections; // in file order, repeated names too
    NameIndex m_firstSection; // name: its first entry in m_sections
    std::string m_lineEnd = "\n"; // for new lines: the end of the file's first line
    bool m_byteOrderMark = false;
};

// Names and values that would read back differently (line breaks, '=' in a key,
// ']' in a section name) are refused rather than written.
bool WritableProfileNames(const char* section, const char* key, const char* value);

// The path of the temporary file a write of fileName goes through. Its name is fixed,
// so a write that was cut off leaves at most this one file, which the next write reuses.
std::string ProfileTemporaryPath(const char* fileName);
