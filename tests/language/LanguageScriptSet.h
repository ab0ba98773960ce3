#pragma once
// The language library as its resource scripts define it, read through the framework's
// resource reader from the source folder: an empty text is a text here, which the
// loaded library could not tell from a missing one.
#include "framework/core/ResourceScript.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline std::filesystem::path SourceRoot()
{
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    return source ? std::filesystem::path(source) : std::filesystem::path(".");
}

class LanguageScriptSet {
public:
    LanguageScriptSet()
    {
        const std::filesystem::path folder = SourceRoot() / "language";
        std::vector<std::filesystem::path> scripts;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".rc") scripts.push_back(entry.path());
        const ResourceFileLoader files = [&](const std::string& name, std::vector<std::uint8_t>& bytes) {
            std::ifstream in(folder / name, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return bool(in) || in.eof();
        };
        for (const auto& script : scripts) {
            std::ifstream in(script);
            std::stringstream text;
            text << in.rdbuf();
            if (!m_set.AddScript(script.filename().string(), text.str(), files, m_error)) return;
        }
    }
    bool Loaded() const { return m_error.empty() && !m_set.Strings().empty(); }
    const std::string& Error() const { return m_error; }
    const std::string* Find(UINT id) const { return m_set.FindString(id); }
    const ResourceSet& Resources() const { return m_set; }

private:
    ResourceSet m_set;
    std::string m_error;
};
