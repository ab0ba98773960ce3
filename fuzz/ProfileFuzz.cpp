// Feeds arbitrary file contents to the INI content model in memory (the writes to disk
// and their sync are left out, so the fuzzer reaches millions of inputs): the content
// gives back its bytes unchanged; every section and key is listed and read; a section of
// its own is added and removed, and a value of the file changed, each checked to keep
// every other value and to read back the same after the content is parsed again.
// Through the file API, one value is read through a small buffer, which cuts it but never
// overruns it.
#include "FuzzCheck.h"
#include "FuzzScratchFile.h"

#include "framework/core/Profile.h"
#include "framework/core/ProfileFile.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>


namespace {

constexpr std::size_t kMostNames = 16;
constexpr DWORD kSmallBufferSize = 8;
constexpr const char* kOwnSection = "fuzz-own-section";
constexpr const char* kOwnKey = "Key";
constexpr const char* kOwnValue = "written value";
constexpr const char* kChangedValue = "changed";

using Values = std::map<std::pair<std::string, std::string>, std::string>;

Values ReadAll(const ProfileFile& profile)
{
    Values values;
    const std::vector<std::string> sections = profile.SectionNames();
    for (std::size_t s = 0; s < sections.size() && s < kMostNames; ++s) {
        const std::vector<std::string> keys = profile.KeyNames(sections[s]);
        for (std::size_t k = 0; k < keys.size() && k < kMostNames; ++k) {
            const std::optional<std::string> value = profile.Value(sections[s], keys[k]);
            if (!value)
                FuzzFailure("a listed key has no value");
            values.emplace(std::make_pair(sections[s], keys[k]), *value);
        }
    }
    return values;
}

// The content written, parsed again, must hold the same values.
void CheckReparses(const ProfileFile& profile, const Values& expected, const char* what)
{
    if (ReadAll(ProfileFile::FromContent(profile.Content())) != expected)
        FuzzFailure(what);
}

// Names compare without regard to ASCII case, NULs and all.
bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool HasSection(const std::vector<std::string>& sections, const char* name)
{
    for (const std::string& section : sections) {
        if (SameName(section, name))
            return true;
    }
    return false;
}

// Names are given to the file API as C strings: one with a NUL inside cannot be named.
bool NameableInC(const std::pair<std::string, std::string>& name)
{
    return name.first.find('\0') == std::string::npos && name.second.find('\0') == std::string::npos;
}

// The file API cuts a value to the buffer and terminates it inside.
void CheckSmallBuffer(const FuzzScratchFile& file, const std::uint8_t* data, std::size_t size, const Values& values)
{
    const auto nameable = std::find_if(values.begin(), values.end(), [](const auto& entry) { return NameableInC(entry.first); });
    if (nameable == values.end())
        return;
    const auto& [name, whole] = *nameable;
    file.Write(data, size);
    char small[kSmallBufferSize];
    const DWORD length = GetPrivateProfileString(name.first.c_str(), name.second.c_str(), "", small, kSmallBufferSize,
                                                 file.Path());
    if (length >= kSmallBufferSize || small[length] != '\0' || whole.compare(0, length, small, length) != 0)
        FuzzFailure("a value read through a small buffer is not the start of the value");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratchFile file("profile.ini");
    const std::string content(reinterpret_cast<const char*>(data), size);
    ProfileFile profile = ProfileFile::FromContent(content);
    if (profile.Content() != content)
        FuzzFailure("the content does not give back the bytes it was made of");
    // The content is the input itself, so it parses again the same.
    const Values before = ReadAll(profile);
    const std::vector<std::string> sections = profile.SectionNames();
    if (HasSection(sections, kOwnSection) || sections.size() >= kMostNames)
        return 0;

    CheckSmallBuffer(file, data, size, before);

    ProfileFile added = profile;
    if (!added.Write(kOwnSection, kOwnKey, kOwnValue) || added.Value(kOwnSection, kOwnKey) != kOwnValue)
        FuzzFailure("the value written does not read back");
    Values withOwn = before;
    withOwn[{kOwnSection, kOwnKey}] = kOwnValue;
    if (ReadAll(added) != withOwn)
        FuzzFailure("writing a new section changed the values of others");
    if (!added.Write(kOwnSection, nullptr, nullptr) || ReadAll(added) != before ||
        HasSection(added.SectionNames(), kOwnSection))
        FuzzFailure("removing the new section left it or changed the values of others");

    if (before.empty())
        return 0;
    const auto& [name, value] = *before.begin();
    if (!NameableInC(name) || !WritableProfileNames(name.first.c_str(), name.second.c_str(), kChangedValue) || value == kChangedValue)
        return 0;
    ProfileFile changed = profile;
    changed.Write(name.first, name.second.c_str(), kChangedValue);
    // Names compare without regard to case: every listed name of that key reads the change.
    Values expected = before;
    for (auto& [other, otherValue] : expected) {
        if (SameName(other.first, name.first) && SameName(other.second, name.second))
            otherValue = kChangedValue;
    }
    if (ReadAll(changed) != expected)
        FuzzFailure("changing a value changed others");
    CheckReparses(changed, expected, "the content with a changed value parses otherwise");
    return 0;
}
