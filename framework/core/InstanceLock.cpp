#include "framework/core/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// A lock name becomes one file name; path separators must not lead elsewhere.
std::string LockFileName(std::string_view name)
{
    std::string file = "taliso-";
    for (const char c : name)
        file += (c == '/' || c == '\0') ? '_' : c;
    return file + ".lock";
}

} // namespace

InstanceLock::InstanceLock(std::string_view name)
{
    const std::string directory = RuntimeDirectory(m_error);
    if (!directory.empty())
        Acquire(name, directory);
}

InstanceLock::InstanceLock(std::string_view name, const std::string& directory)
{
    Acquire(name, directory);
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the last descriptor releases the flock
}

void InstanceLock::Acquire(std::string_view name, const std::string& directory)
{
    m_path = directory + "/" + LockFileName(name);
    m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        m_error = SystemError("cannot open " + m_path);
        m_state = State::Failed;
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Held;
        return;
    }
    const bool busy = errno == EWOULDBLOCK;
    m_error = busy ? m_path + " is held by another instance" : SystemError("cannot lock " + m_path);
    m_state = busy ? State::HeldElsewhere : State::Failed;
    ::close(m_fd);
    m_fd = -1;
}

std::string InstanceLock::RuntimeDirectory(std::string& error)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime && *runtime && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode))
        return runtime;

    const uid_t uid = ::getuid();
    const std::string directory = "/tmp/taliso-" + std::to_string(uid);
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
        error = SystemError("cannot create " + directory);
        return {};
    }
    // Someone else's directory (or a link to one) in /tmp must not hold our lock.
    if (::lstat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid) {
        error = directory + " is not a directory of this user";
        return {};
    }
    if ((info.st_mode & 077) != 0 && ::chmod(directory.c_str(), 0700) != 0) {
        error = SystemError("cannot make " + directory + " private");
        return {};
    }
    return directory;
}
