#include "GdiTestSupport.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {

// Fonts need a GUI application; the tests run it on the offscreen platform.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QGuiApplication::instance()) m_app = std::make_unique<QGuiApplication>(m_argc, m_argv.data());
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "test_gdi";
    std::array<char*, 2> m_argv{m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}
