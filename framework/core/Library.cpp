#include "framework/core/Library.h"

#include "framework/core/ModuleInstance.h"
#include "framework/core/Resources.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

std::string g_lastError;

void SetLastLibraryError(std::string text)
{
    g_lastError = std::move(text);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (lower(tail[i]) != lower(suffix[i]))
            return false;
    }
    return true;
}

std::string ExecutablePath()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && EndsWithNoCase(a, b);
}

// Names in INI files were written for a file system that ignores case: when the file
// is not there as spelled, take the one file of the directory that differs only in case.
std::string FindIgnoringCase(const std::string& spelled)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path path(spelled);
    if (fs::exists(path, error))
        return spelled;
    const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string name = path.filename().string();
    std::string found;
    int matches = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
        if (SameNoCase(entry.path().filename().string(), name)) {
            found = entry.path().filename().string();
            ++matches;
        }
    }
    if (matches != 1)
        return spelled;
    return (path.parent_path() / found).string();
}

DWORD CopyPath(const std::string& path, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    if (path.size() < size) {
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return DWORD(path.size());
    }
    std::memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = '\0';
    return size;
}

} // namespace

std::string LibraryPathForName(std::string_view name, std::string_view programDirectory)
{
    std::string path(name);
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (EndsWithNoCase(path, ".DLL"))
        path.replace(path.size() - 4, 4, ".so");
    else if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        path += ".so"; // no extension: the library one is added
    if (slash == std::string::npos)
        path = std::string(programDirectory) + "/" + path;
    return path;
}

std::string ProgramDirectory()
{
    const std::filesystem::path path = ExecutablePath();
    return path.has_parent_path() ? path.parent_path().string() : std::string(".");
}

HMODULE LoadLibrary(LPCSTR fileName)
{
    if (!fileName || !*fileName) {
        SetLastLibraryError("LoadLibrary: no file name");
        return nullptr;
    }
    const std::string path = FindIgnoringCase(LibraryPathForName(fileName, ProgramDirectory()));
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = ::dlerror();
        SetLastLibraryError(std::string("LoadLibrary: ") + (reason ? reason : path.c_str()));
        return nullptr;
    }
    auto module = std::make_unique<ModuleInstance>();
    module->handle = handle;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::canonical(path, error);
    module->path = error ? path : absolute.string();
    return module.release(); // owned by the caller until FreeLibrary
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    if (!module || !module->handle || !procName) {
        SetLastLibraryError("GetProcAddress: no library or no name");
        return nullptr;
    }
    ::dlerror();
    void* symbol = ::dlsym(module->handle, procName);
    if (!symbol) {
        const char* reason = ::dlerror();
        SetLastLibraryError(std::string("GetProcAddress: ") + (reason ? reason : procName));
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module)
{
    if (!module) {
        SetLastLibraryError("FreeLibrary: no library");
        return FALSE;
    }
    if (AfxGetResourceHandle() == module)
        AfxSetResourceHandle(nullptr);
    const std::unique_ptr<ModuleInstance> owned(module);
    owned->resources.reset(); // plain copies, but drop them before the code goes
    if (owned->handle && ::dlclose(owned->handle) != 0) {
        const char* reason = ::dlerror();
        SetLastLibraryError(std::string("FreeLibrary: ") + (reason ? reason : "dlclose failed"));
        return FALSE;
    }
    return TRUE;
}

DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size)
{
    return CopyPath(module ? module->path : ExecutablePath(), buffer, size);
}

CString GetLastLibraryError()
{
    return CString(g_lastError);
}
