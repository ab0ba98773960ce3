#pragma once
// The built English language library as the current resource module while the object
// lives, so dialogs run from their shipped templates and texts.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/WindowHandle.h"

#include <string>

class ShippedLanguage {
public:
    ShippedLanguage()
    {
        AfxEnsureGuiApplication();
        m_module = LoadLibrary("LAN_ENG.DLL");
        if (!m_module) {
            m_error = GetLastLibraryError().c_str();
            return;
        }
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    ~ShippedLanguage()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    ShippedLanguage(const ShippedLanguage&) = delete;
    ShippedLanguage& operator=(const ShippedLanguage&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }
    CString Text(UINT id) const
    {
        char buffer[512] = {};
        LoadString(m_module, id, buffer, sizeof buffer);
        return CString(buffer);
    }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
    std::string m_error;
};
