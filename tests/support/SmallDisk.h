#pragma once
// A disk of a few pages (a tmpfs at a temporary folder) to see what a full disk does to a
// write. Mounting it needs the right to mount (root); without it there is no disk and
// Mounted() says so.
#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallDisk {
public:
    explicit SmallDisk(std::size_t bytes)
    {
        char pattern[] = "/tmp/taliso-disk-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return;
        m_path = pattern;
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        m_mounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
        m_error = m_mounted ? 0 : errno;
    }
    ~SmallDisk()
    {
        if (m_mounted) ::umount2(m_path.c_str(), MNT_DETACH);
        if (!m_path.empty()) ::rmdir(m_path.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    // Why it is not mounted (an errno value).
    int Error() const { return m_error; }
    const std::filesystem::path& Path() const { return m_path; }

    // Takes the rest of the space with a file of its own; true once a write found it full.
    bool Fill() const
    {
        const int fd = ::open((m_path / ".filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const std::vector<char> block(4096, 'x');
        int error = 0;
        for (;;) {
            const ssize_t written = ::write(fd, block.data(), block.size());
            if (written < 0) {
                error = errno;
                if (error == EINTR) continue;
                break;
            }
            if (written == 0) break;
        }
        ::close(fd);
        return error == ENOSPC;
    }

private:
    std::filesystem::path m_path;
    bool m_mounted = false;
    int m_error = 0;
};
