#pragma once
// An INI file in the temporary directory, removed again when the test ends.
#include <filesystem>
#include <string>

class TemporaryIniFile {
public:
    explicit TemporaryIniFile(const std::string& content = {});
    ~TemporaryIniFile();
    TemporaryIniFile(const TemporaryIniFile&) = delete;
    TemporaryIniFile& operator=(const TemporaryIniFile&) = delete;

    void Write(const std::string& content) const;
    std::string Read() const;
    const char* Path() const { return m_pathText.c_str(); }

private:
    std::filesystem::path m_path;
    std::string m_pathText;
};
