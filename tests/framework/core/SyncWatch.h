#pragma once
// Watches the syncs of whole-file replacements while it lives, for the tests of every
// place that writes a file for the user.
#include "framework/core/CReplacingFile.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class SyncWatch {
public:
    SyncWatch()
    {
        m_previous = CReplacingFile::SetSyncObserver([this](const std::string& path) {
            const std::lock_guard<std::mutex> lock(m_lock);
            m_synced.push_back(path);
        });
    }
    ~SyncWatch() { CReplacingFile::SetSyncObserver(std::move(m_previous)); }
    SyncWatch(const SyncWatch&) = delete;
    SyncWatch& operator=(const SyncWatch&) = delete;

    // The paths synced so far, in order; forgets them.
    std::vector<std::string> Take()
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        return std::exchange(m_synced, {});
    }

    // What a durable write of the target syncs: the new file before it takes the
    // target's name, then the folder that holds the name.
    static std::vector<std::string> DurableWriteOf(const std::filesystem::path& target)
    {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(target);
        return {CReplacingFile::TemporaryPathFor(target.c_str()), resolved.parent_path().string()};
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_synced;
    CReplacingFile::SyncObserver m_previous;
};
