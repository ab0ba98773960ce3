#pragma once
// What the About box reports of the computer: the free physical memory and the free
// space where the program works now. Tests hand the box a status of their own.
#include "framework/core/CString.h"

#include <cstdint>
#include <optional>

struct DiskSpace {
    std::uint64_t freeBytes = 0; // available to the program
    CString location;            // where: the current directory
};

class SystemStatus {
public:
    virtual ~SystemStatus() = default;
    // Bytes of physical memory available now; 0 when unknown.
    virtual std::uint64_t AvailablePhysicalMemory() const = 0;
    // The free space of the current directory's file system; none when it cannot be queried.
    virtual std::optional<DiskSpace> CurrentDriveFreeSpace() const = 0;
};

// The computer the program runs on.
const SystemStatus& HostSystemStatus();
