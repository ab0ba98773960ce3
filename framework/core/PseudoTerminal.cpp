#include "framework/core/PseudoTerminal.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

namespace {

// No echo and no line editing on the slave: the bytes the master writes must reach the
// slave's user unchanged, and nothing may come back that the user did not write.
int MakeSlaveRaw(int fd)
{
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = (t.c_cflag & ~tcflag_t(CSIZE | PARENB)) | CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    Close();
}

int PseudoTerminal::Open()
{
    Close();
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return errno;
    std::array<char, 128> name{};
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name.data(), name.size()) != 0) {
        const int error = errno;
        close(master);
        return error;
    }
    const int slave = open(name.data(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        const int error = errno;
        close(master);
        return error;
    }
    if (const int error = MakeSlaveRaw(slave)) {
        close(slave);
        close(master);
        return error;
    }
    m_master = master;
    m_slave = slave;
    m_slavePath = name.data();
    return 0;
}

void PseudoTerminal::Close()
{
    if (m_slave >= 0)
        close(m_slave);
    if (m_master >= 0)
        close(m_master);
    m_slave = -1;
    m_master = -1;
    m_slavePath.clear();
}

int PseudoTerminal::Write(const BYTE* data, std::size_t count)
{
    if (m_master < 0)
        return EBADF;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = write(m_master, data + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += std::size_t(n);
    }
    return 0;
}

int PseudoTerminal::Read(BYTE* buffer, std::size_t count, std::size_t* received, int timeoutMs)
{
    *received = 0;
    if (m_master < 0)
        return EBADF;
    if (count == 0)
        return 0;
    for (;;) {
        struct pollfd p { m_master, POLLIN, 0 };
        const int ready = poll(&p, 1, timeoutMs);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (ready == 0)
            return 0;
        if (!(p.revents & POLLIN))
            return EIO;
        const ssize_t n = read(m_master, buffer, count);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return errno;
        }
        *received = std::size_t(n);
        return 0;
    }
}
