// Saving the settings object (64 keys in "Settings" and "Colors") and writing the
// driver's "SETUP" section (ten keys), against the plain cost of replacing the same
// file durably once: write a temporary file, sync it, rename it over the INI, sync the
// folder.
#include "app/settings/CTalisoSetup.h"
#include "driver/internal/PortSettings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A scratch INI in its own directory, removed at the end.
class ScratchIni {
public:
    explicit ScratchIni(const char* name)
        : m_dir(fs::temp_directory_path() / ("taliso-bench-" + std::to_string(::getpid()) + "-" + name))
    {
        fs::create_directories(m_dir);
        m_path = (m_dir / "Taliso.INI").string();
    }
    ~ScratchIni() { fs::remove_all(m_dir); }
    const char* Path() const { return m_path.c_str(); }
    std::string Content() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    fs::path m_dir;
    std::string m_path;
};

// Baseline: the whole content written with one fwrite, synced, renamed into place, and
// the folder synced so that the rename itself survives a power cut.
void ReplaceDurably(const std::string& path, const std::string& content)
{
    const std::string temporary = path + ".new";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fflush(file);
    ::fsync(::fileno(file));
    std::fclose(file);
    std::rename(temporary.c_str(), path.c_str());
    const int folder = ::open(fs::path(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

// Each iteration changes a value, so every save has something to write.
void BM_SettingsSave(benchmark::State& state)
{
    ScratchIni ini("settings");
    CTalisoSetup setup;
    setup.Save(ini.Path());
    int round = 0;
    for (auto _ : state) {
        setup.m_nShelterSize = 100 + (++round & 1);
        benchmark::DoNotOptimize(setup.Save(ini.Path()));
    }
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMillisecond);

void BM_SettingsFileReplacedOnce(benchmark::State& state)
{
    ScratchIni ini("settings-plain");
    CTalisoSetup().Save(ini.Path());
    const std::string content = ini.Content();
    for (auto _ : state) ReplaceDurably(ini.Path(), content);
}
BENCHMARK(BM_SettingsFileReplacedOnce)->Unit(benchmark::kMillisecond);

void BM_SetupSectionWrite(benchmark::State& state)
{
    ScratchIni ini("setup");
    PortSettings settings;
    ReadWriteSetupSection(ini.Path(), settings, SETUP_SECTION_WRITE);
    int round = 0;
    for (auto _ : state) {
        settings.baudCode = (++round & 1) ? 19200 : 9600;
        benchmark::DoNotOptimize(ReadWriteSetupSection(ini.Path(), settings, SETUP_SECTION_WRITE));
    }
}
BENCHMARK(BM_SetupSectionWrite)->Unit(benchmark::kMillisecond);

void BM_SetupFileReplacedOnce(benchmark::State& state)
{
    ScratchIni ini("setup-plain");
    PortSettings settings;
    ReadWriteSetupSection(ini.Path(), settings, SETUP_SECTION_WRITE);
    const std::string content = ini.Content();
    for (auto _ : state) ReplaceDurably(ini.Path(), content);
}
BENCHMARK(BM_SetupFileReplacedOnce)->Unit(benchmark::kMillisecond);

} // namespace
