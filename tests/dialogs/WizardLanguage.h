#pragma once
// Every script of the language folder merged into one resource module with its bitmaps,
// as the language library is packed, plus test texts for string ids that no script
// defines yet; the current module while it lives.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/WindowHandle.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

class WizardLanguage {
public:
    // missingTexts: id and text of each string to add when no script defines the id.
    explicit WizardLanguage(const std::vector<std::pair<unsigned, std::string>>& missingTexts = {})
    {
        AfxEnsureGuiApplication();
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        const std::string folder = std::string(source ? source : ".") + "/language/";
        std::vector<std::filesystem::path> scripts;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            if (entry.path().extension() == ".rc") scripts.push_back(entry.path());
        std::sort(scripts.begin(), scripts.end());
        std::string merged;
        for (const auto& path : scripts) {
            std::ifstream file(path);
            std::stringstream text;
            text << file.rdbuf();
            merged += text.str() + "\n";
        }
        if (scripts.empty()) {
            m_error = "no scripts in " + folder;
            return;
        }
        std::string extra;
        for (const auto& [id, text] : missingTexts)
            if (!std::regex_search(merged, std::regex("\\n[ \\t]*" + std::to_string(id) + "[ \\t]+\"")))
                extra += "    " + std::to_string(id) + " \"" + text + "\"\n";
        if (!extra.empty()) merged += "STRINGTABLE\nBEGIN\n" + extra + "END\n";
        const auto files = [&](const std::string& name, std::vector<std::uint8_t>& bytes) {
            std::ifstream file(folder + name, std::ios::binary);
            if (!file) return false;
            bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            return true;
        };
        m_module = CreateResourceModule("wizards.rc", merged, files, m_error);
        m_previous = AfxGetResourceHandle();
        if (m_module) AfxSetResourceHandle(m_module);
    }
    ~WizardLanguage()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    WizardLanguage(const WizardLanguage&) = delete;
    WizardLanguage& operator=(const WizardLanguage&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    const std::string& Error() const { return m_error; }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
    std::string m_error;
};
