#include "framework/core/ModuleInstance.h"

#include <dlfcn.h>

#include <span>
#include <string_view>

namespace {

bool IsScriptName(std::string_view name)
{
    return name.size() >= 3 && name.substr(name.size() - 3) == ".rc";
}

void ReadLibraryResources(void* handle, ResourceSet& into, std::string& error)
{
    // The exported function has a fixed signature; dlsym can only hand out void*.
    const auto images = reinterpret_cast<ResourceImagesFunction>(::dlsym(handle, kResourceImagesExport));
    if (!images)
        return;
    int count = 0;
    const ResourceFileImage* files = images(&count);
    if (!files || count <= 0)
        return;
    const std::span<const ResourceFileImage> all(files, std::size_t(count));
    const ResourceFileLoader loader = [all](const std::string& name, std::vector<std::uint8_t>& bytes) {
        for (const auto& file : all) {
            if (file.name && name == file.name) {
                bytes.assign(file.bytes, file.bytes + file.size);
                return true;
            }
        }
        return false;
    };
    for (const auto& file : all) {
        if (!file.name || !IsScriptName(file.name))
            continue;
        std::string scriptError;
        const std::string_view text(reinterpret_cast<const char*>(file.bytes), file.size);
        if (!into.AddScript(file.name, text, loader, scriptError) && error.empty())
            error = scriptError;
    }
}

} // namespace

const ResourceSet& ModuleInstance::Resources()
{
    if (!resources) {
        resources.emplace();
        if (handle)
            ReadLibraryResources(handle, *resources, resourceError);
    }
    return *resources;
}
