#pragma once
// The shipped English texts that the contour field's dialogs use (framework prompts,
// units, the contour templates), made the current resource module while the object lives.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/WindowHandle.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class PolygonLanguage {
public:
    PolygonLanguage()
    {
        AfxEnsureGuiApplication();
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        std::string script;
        for (const char* name : {"framework.rc", "model2.rc", "polygon.rc"}) {
            std::ifstream file(std::string(source ? source : ".") + "/language/" + name);
            std::stringstream text;
            text << file.rdbuf();
            script += text.str() + "\n";
        }
        m_module = CreateResourceModule("polygon-test.rc", script, nullptr, m_error);
        m_previous = AfxGetResourceHandle();
        if (m_module) AfxSetResourceHandle(m_module);
    }
    ~PolygonLanguage()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    PolygonLanguage(const PolygonLanguage&) = delete;
    PolygonLanguage& operator=(const PolygonLanguage&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
    std::string m_error;
};
