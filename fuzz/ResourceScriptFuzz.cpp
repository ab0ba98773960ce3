// Feeds arbitrary text to the resource-script reader, twice into the same set. A refused
// script names file and line and adds nothing; a script that defined resources is
// refused the second time, since its ids are taken, and leaves the set as it was.
#include "FuzzCheck.h"

#include "framework/core/ResourceScript.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kFileName = "fuzz.rc";

// Any file a script names exists and holds its own name, so embedding is exercised too.
bool LoadNamedFile(const std::string& name, std::vector<std::uint8_t>& bytes)
{
    bytes.assign(name.begin(), name.end());
    return true;
}

std::size_t VisibleCount(const ResourceSet& set)
{
    return set.Strings().size() + set.Dialogs().size() + set.Menus().size();
}

void CheckRefusal(const std::string& error)
{
    if (error.rfind(std::string(kFileName) + ":", 0) != 0)
        FuzzFailure("a refused script's error does not start with its file name");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ResourceSet set;
    std::string error;
    if (!set.AddScript(kFileName, text, LoadNamedFile, error)) {
        CheckRefusal(error);
        if (VisibleCount(set) != 0)
            FuzzFailure("a refused script left resources behind");
        return 0;
    }
    if (!error.empty())
        FuzzFailure("an accepted script reported an error");
    const std::size_t count = VisibleCount(set);
    if (count == 0)
        return 0;
    if (set.AddScript(kFileName, text, LoadNamedFile, error))
        FuzzFailure("the same ids were accepted twice");
    CheckRefusal(error);
    if (VisibleCount(set) != count)
        FuzzFailure("a refused second script changed the set");
    return 0;
}
