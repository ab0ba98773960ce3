#pragma once
// Makes several resource scripts of the language folder, merged into one module, the
// current resource module while the object lives: a dialog's template and the texts
// its checks show often come from different scripts.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>

class LanguageScripts {
public:
    LanguageScripts(std::initializer_list<const char*> fileNames)
    {
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        const std::string folder = std::string(source ? source : ".") + "/language/";
        std::string merged;
        for (const char* fileName : fileNames) {
            const std::string path = folder + fileName;
            std::ifstream file(path);
            if (!file) {
                m_error = "cannot read " + path;
                return;
            }
            std::stringstream text;
            text << file.rdbuf();
            merged += text.str() + "\n";
        }
        // The bitmaps and cursors a script names lie beside it.
        const ResourceFileLoader files = [&folder](const std::string& name, std::vector<std::uint8_t>& bytes) {
            std::ifstream in(folder + name, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return bool(in) || in.eof();
        };
        m_module = CreateResourceModule("merged.rc", merged, files, m_error);
        m_previous = AfxGetResourceHandle();
        if (m_module) AfxSetResourceHandle(m_module);
    }
    ~LanguageScripts()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    LanguageScripts(const LanguageScripts&) = delete;
    LanguageScripts& operator=(const LanguageScripts&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
    std::string m_error;
};
