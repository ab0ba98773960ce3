#pragma once
// Makes one resource script of the language folder the current resource module while
// the object lives, so that texts by id read as the shipped English ones.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class LanguageScript {
public:
    explicit LanguageScript(const std::string& fileName)
    {
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        const std::string path = std::string(source ? source : ".") + "/language/" + fileName;
        std::ifstream file(path);
        if (!file) {
            m_error = "cannot read " + path;
            return;
        }
        std::stringstream text;
        text << file.rdbuf();
        m_module = CreateResourceModule(fileName, text.str(), nullptr, m_error);
        m_previous = AfxGetResourceHandle();
        if (m_module) AfxSetResourceHandle(m_module);
    }
    ~LanguageScript()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    LanguageScript(const LanguageScript&) = delete;
    LanguageScript& operator=(const LanguageScript&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
    std::string m_error;
};
