#include "driver/TemporaryIniFile.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace {
std::atomic<int> g_counter{0};

// Distinct per process, so parallel test runs never share a file.
const std::string& ProcessTag()
{
    static const std::string tag = std::to_string(std::random_device{}());
    return tag;
}
} // namespace

TemporaryIniFile::TemporaryIniFile(const std::string& content)
    : m_path(std::filesystem::temp_directory_path()
             / ("taliso-driver-" + ProcessTag() + "-" + std::to_string(++g_counter) + ".INI")),
      m_pathText(m_path.string())
{
    Write(content);
}

TemporaryIniFile::~TemporaryIniFile()
{
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
}

void TemporaryIniFile::Write(const std::string& content) const
{
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << content;
}

std::string TemporaryIniFile::Read() const
{
    std::ifstream in(m_path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
