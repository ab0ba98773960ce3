#pragma once
// An INI file of its own in the temporary directory, removed with the object.
#include "framework/core/Profile.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TestIniFile {
public:
    explicit TestIniFile(const std::string& content)
    {
        static std::atomic<int> serial{0};
        static const unsigned run = std::random_device{}();
        m_path = std::filesystem::temp_directory_path() /
                 ("taliso-device-" + std::to_string(run) + "-" + std::to_string(serial++) + ".INI");
        m_pathText = m_path.string();
        Write(content);
    }
    ~TestIniFile()
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    TestIniFile(const TestIniFile&) = delete;
    TestIniFile& operator=(const TestIniFile&) = delete;

    void Write(const std::string& content) const { std::ofstream(m_path) << content; }
    const char* Path() const { return m_pathText.c_str(); }
    CString Value(const char* section, const char* key) const
    {
        return ReadProfileString(section, key, "", Path());
    }

private:
    std::filesystem::path m_path;
    std::string m_pathText;
};
