#include "device/OutsideLibrary.h"

#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWnd.h"

#include <memory>

namespace {

struct FreeModule {
    void operator()(ModuleInstance* module) const { FreeLibrary(module); }
};
using LoadedLibrary = std::unique_ptr<ModuleInstance, FreeModule>;

template <typename Proc>
Proc Export(const LoadedLibrary& library, LPCSTR name)
{
    return reinterpret_cast<Proc>(GetProcAddress(library.get(), name));
}

HWND HandleOf(CWnd* window)
{
    return window ? window->GetSafeHwnd() : nullptr;
}

} // namespace

std::string OutsideLibraryPath(std::string_view iniPath, std::string_view libraryName)
{
    const auto separator = iniPath.find_last_of("/\\");
    if (separator == std::string_view::npos)
        return "./" + std::string(libraryName); // never the program's directory or a search path
    return std::string(iniPath.substr(0, separator + 1)) + std::string(libraryName);
}

BOOL LoadOutsideDialog(LPCSTR libraryName, LPCSTR entryName, HWND parent, LPCSTR iniPath, LPCSTR password)
{
    if (!libraryName || !*libraryName || !entryName || !iniPath || !*iniPath)
        return FALSE;
    const LoadedLibrary library(LoadLibrary(OutsideLibraryPath(iniPath, libraryName).c_str()));
    if (!library)
        return FALSE; // the reason stays in GetLastLibraryError; the user is not told
    const auto setResourceHandle = Export<OutsideSetResourceHandleProc>(library, kOutsideSetResourceHandle);
    if (!setResourceHandle)
        return FALSE;
    // Both exports are looked up before the library is entered at all.
    const auto entry = Export<OutsideDialogProc>(library, entryName);
    if (!entry)
        return FALSE;
    try {
        setResourceHandle(AfxGetResourceHandle());
        entry(parent, iniPath, password ? password : "");
    } catch (...) {
        return FALSE; // an exception must not leave the library loaded
    }
    return TRUE;
}

BOOL RunDiagnosis(CWnd* mainFrame, LPCSTR iniPath, LPCSTR password)
{
    return LoadOutsideDialog(kDiagnosisLibrary, kDiagnosisEntry, HandleOf(mainFrame), iniPath, password);
}

BOOL RunAlignment(CWnd* mainFrame, LPCSTR iniPath, LPCSTR password)
{
    return LoadOutsideDialog(kAlignmentLibrary, kAlignmentEntry, HandleOf(mainFrame), iniPath, password);
}
