// Feeds arbitrary file contents to the INI reader: lists every section and key, reads each
// value whole and through a small buffer, then adds a section of its own and removes it
// again. Values that fit a buffer are cut, never overrun it; the write keeps every value
// that was there, and the value written reads back.
#include "FuzzCheck.h"
#include "FuzzScratchFile.h"

#include "framework/core/Profile.h"

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <strings.h>

namespace {

constexpr std::size_t kMostNames = 64;
constexpr DWORD kListBufferSize = 1 << 16;
constexpr DWORD kSmallBufferSize = 8;
constexpr const char* kOwnSection = "fuzz-own-section";
constexpr const char* kOwnKey = "Key";
constexpr const char* kOwnValue = "written value";

// The names of a double-NUL-terminated list, checked to lie inside what was returned.
std::vector<std::string> ReadNames(LPCSTR section, const char* path)
{
    std::vector<char> buffer(kListBufferSize);
    const DWORD length = GetPrivateProfileString(section, nullptr, "", buffer.data(), kListBufferSize, path);
    if (length > kListBufferSize - 2 || buffer[length] != '\0')
        FuzzFailure("a name list is not terminated within its buffer");
    std::vector<std::string> names;
    for (std::size_t at = 0; at < length && names.size() < kMostNames;) {
        names.emplace_back(buffer.data() + at);
        at += names.back().size() + 1;
    }
    return names;
}

std::string ReadValue(const std::string& section, const std::string& key, const char* path)
{
    const CString value = ReadProfileString(section.c_str(), key.c_str(), "", path);
    const std::string whole(value.c_str(), std::size_t(value.GetLength()));
    char small[kSmallBufferSize];
    const DWORD length = GetPrivateProfileString(section.c_str(), key.c_str(), "", small, kSmallBufferSize, path);
    if (length >= kSmallBufferSize || small[length] != '\0' || whole.compare(0, length, small, length) != 0 ||
        length != std::min<std::size_t>(whole.size(), kSmallBufferSize - 1))
        FuzzFailure("a value read through a small buffer is not the start of the whole value");
    return whole;
}

using Values = std::map<std::pair<std::string, std::string>, std::string>;

Values ReadAll(const std::vector<std::string>& sections, const char* path)
{
    Values values;
    for (const std::string& section : sections) {
        for (const std::string& key : ReadNames(section.c_str(), path))
            values[{section, key}] = ReadValue(section, key, path);
    }
    return values;
}

bool HasSection(const std::vector<std::string>& sections, const char* name)
{
    for (const std::string& section : sections) {
        if (section.size() == std::strlen(name) && strncasecmp(section.c_str(), name, section.size()) == 0)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratchFile file("profile.ini");
    file.Write(data, size);
    const std::vector<std::string> sections = ReadNames(nullptr, file.Path());
    const Values before = ReadAll(sections, file.Path());
    if (HasSection(sections, kOwnSection) || sections.size() >= kMostNames)
        return 0;

    if (!WritePrivateProfileString(kOwnSection, kOwnKey, kOwnValue, file.Path()))
        FuzzFailure("a plain value could not be written");
    if (ReadValue(kOwnSection, kOwnKey, file.Path()) != kOwnValue)
        FuzzFailure("the value written does not read back");
    if (ReadAll(sections, file.Path()) != before)
        FuzzFailure("writing a new section changed the values of others");

    if (!WritePrivateProfileString(kOwnSection, nullptr, nullptr, file.Path()))
        FuzzFailure("the section written could not be removed");
    if (ReadAll(sections, file.Path()) != before || HasSection(ReadNames(nullptr, file.Path()), kOwnSection))
        FuzzFailure("removing the new section left it or changed the values of others");
    return 0;
}
