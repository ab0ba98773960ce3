#pragma once
// A file of this fuzz process, in memory-backed storage where there is one (the INI
// writer flushes every write to disk), removed when the process ends normally.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

class FuzzScratchFile {
public:
    explicit FuzzScratchFile(const std::string& name)
    {
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path dir =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        m_path = (dir / ("taliso-fuzz-" + std::to_string(::getpid()) + "-" + name)).string();
    }
    ~FuzzScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    FuzzScratchFile(const FuzzScratchFile&) = delete;
    FuzzScratchFile& operator=(const FuzzScratchFile&) = delete;

    void Write(const void* data, std::size_t size) const
    {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc)
            .write(static_cast<const char*>(data), std::streamsize(size));
    }
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};
