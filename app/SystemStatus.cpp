#include "app/SystemStatus.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace {

class HostStatus final : public SystemStatus {
public:
    std::uint64_t AvailablePhysicalMemory() const override
    {
        // "MemAvailable:  123456 kB" of the kernel's memory summary.
        std::ifstream meminfo("/proc/meminfo");
        std::string line;
        while (std::getline(meminfo, line)) {
            std::istringstream fields(line);
            std::string name;
            std::uint64_t kilobytes = 0;
            if (fields >> name >> kilobytes && name == "MemAvailable:")
                return kilobytes * 1024;
        }
        return 0;
    }

    std::optional<DiskSpace> CurrentDriveFreeSpace() const override
    {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        if (error)
            return std::nullopt;
        const std::filesystem::space_info space = std::filesystem::space(current, error);
        if (error || space.available == static_cast<std::uintmax_t>(-1))
            return std::nullopt;
        return DiskSpace{std::uint64_t(space.available), CString(current.string().c_str())};
    }
};

} // namespace

const SystemStatus& HostSystemStatus()
{
    static const HostStatus status;
    return status;
}
