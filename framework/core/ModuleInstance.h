#pragma once
// What an HMODULE / HINSTANCE points to: a loaded shared library, or a resource
// module built from script text, with its resources parsed on first use.
#include "framework/core/ResourceScript.h"

#include <optional>
#include <string>

struct ModuleInstance {
    void* handle = nullptr; // from dlopen; null for a module built from script text
    std::string path;
    std::optional<ResourceSet> resources;
    std::string resourceError; // why some of the library's resources could not be read

    // The module's resources; a library without resources gives an empty set.
    const ResourceSet& Resources();
};
