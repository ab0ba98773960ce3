#include "framework/core/SerialDevice.h"

// termios2 (any integer rate through BOTHER) lives in the kernel's own header, which
// cannot be mixed with <termios.h>; flush and drain are therefore done by their ioctls.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <thread>

namespace {

constexpr DWORD MAXDWORD_VALUE = 0xFFFFFFFFu;
constexpr long long NO_DEADLINE = -1;

long long NowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Milliseconds left until deadline for poll(); -1 waits without end.
int PollWait(long long deadline, long long now)
{
    if (deadline == NO_DEADLINE)
        return -1;
    return int(std::clamp(deadline - now, 0LL, static_cast<long long>(INT_MAX)));
}

// Unix98 pseudo-terminal slaves use the majors 136..143.
bool IsPseudoTerminalSlave(int fd)
{
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned deviceMajor = major(info.st_rdev);
    return deviceMajor >= 136 && deviceMajor <= 143;
}

int RetryIoctl(int fd, unsigned long request, void* argument)
{
    while (ioctl(fd, request, argument) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

int RetryIoctlValue(int fd, unsigned long request, long argument)
{
    while (ioctl(fd, request, argument) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

bool CharacterSizeFlag(BYTE dataBits, tcflag_t& flag)
{
    switch (dataBits) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
    }
}

BYTE DataBitsOf(tcflag_t cflag)
{
    switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

// Asks the port to hand each received byte on at once. Without it a UART holds the last
// bytes of a frame until its FIFO times out (some character times), and USB adapters
// until their latency timer runs out, all after the answer's last byte. Ports that do
// not know the request (pseudo-terminals) are left as they are. True when it was set.
bool SetLowLatency(int fd, bool on)
{
    struct serial_struct serial {};
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0 || ((serial.flags & ASYNC_LOW_LATENCY) != 0) == on)
        return false;
    serial.flags = on ? serial.flags | ASYNC_LOW_LATENCY : serial.flags & ~ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &serial) == 0;
}

// Raw bytes in both directions, no flow control, modem status lines ignored.
void MakeRaw(struct termios2& t)
{
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL;
    // Reads never block in the kernel: waiting is done by poll against the time-outs.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

} // namespace

SerialDevice::~SerialDevice()
{
    Close();
}

int SerialDevice::Open(const std::string& path)
{
    Close();
    // Non-blocking: every wait is a poll bounded by the time-outs, so nothing can hang
    // on a silent line or a missing carrier.
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    if (!isatty(fd)) {
        close(fd);
        return ENOTTY;
    }
    // TIOCEXCL keeps other processes out but does not stop root; the lock covers that
    // and a second open from this process.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        return error;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        close(fd);
        return error;
    }
    m_fd = fd;
    m_pseudoTerminal = IsPseudoTerminalSlave(fd);
    m_lowLatencySet = !m_pseudoTerminal && SetLowLatency(fd, true);
    return 0;
}

int SerialDevice::Close()
{
    if (m_fd < 0)
        return 0;
    // Exclusive mode and the latency mode belong to the tty, not to this descriptor: give
    // them back for the next user.
    if (m_lowLatencySet)
        SetLowLatency(m_fd, false);
    m_lowLatencySet = false;
    ioctl(m_fd, TIOCNXCL);
    const int result = close(m_fd) == 0 ? 0 : errno;
    m_fd = -1;
    m_pseudoTerminal = false;
    return result;
}

int SerialDevice::ApplyLineSettings(const SerialLineSettings& settings)
{
    if (m_fd < 0)
        return EBADF;
    tcflag_t sizeFlag = CS8;
    if (settings.baudRate == 0 || !CharacterSizeFlag(settings.dataBits, sizeFlag))
        return EINVAL;
    if (settings.parity > SERIAL_PARITY_EVEN)
        return EINVAL;
    if (settings.stopBits != SERIAL_ONE_STOP_BIT && settings.stopBits != SERIAL_TWO_STOP_BITS)
        return EINVAL;

    struct termios2 t {};
    if (const int error = RetryIoctl(m_fd, TCGETS2, &t))
        return error;
    const struct termios2 before = t;
    MakeRaw(t);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= sizeFlag;
    if (settings.parity == SERIAL_PARITY_EVEN)
        t.c_cflag |= PARENB;
    else if (settings.parity == SERIAL_PARITY_ODD)
        t.c_cflag |= PARENB | PARODD;
    if (settings.stopBits == SERIAL_TWO_STOP_BITS)
        t.c_cflag |= CSTOPB;
    // BOTHER passes the rate as an integer, so adapter codes such as 2150 reach the
    // driver unchanged; input bits 0 make the input rate follow the output rate.
    t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER;
    t.c_ospeed = settings.baudRate;
    t.c_ispeed = settings.baudRate;

    int error = RetryIoctl(m_fd, TCSETS2, &t);
    if (error != 0 && m_pseudoTerminal) {
        // A pseudo-terminal has no line: a kernel that refuses the rate there must still
        // get raw mode, so the rate it had is kept.
        t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
        t.c_cflag |= before.c_cflag & tcflag_t(CBAUD | (CBAUD << IBSHIFT));
        t.c_ospeed = before.c_ospeed;
        t.c_ispeed = before.c_ispeed;
        error = RetryIoctl(m_fd, TCSETS2, &t);
    }
    if (error != 0)
        return error;
    // DTR and RTS stay raised while the port is open, as a freshly opened COM port has
    // them; ptys and some adapters have no modem lines, so a refusal is not an error.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(m_fd, TIOCMBIS, &lines);
    return 0;
}

int SerialDevice::ReadLineSettings(SerialLineSettings& settings) const
{
    if (m_fd < 0)
        return EBADF;
    struct termios2 t {};
    if (const int error = RetryIoctl(m_fd, TCGETS2, &t))
        return error;
    settings.baudRate = t.c_ospeed;
    settings.dataBits = DataBitsOf(t.c_cflag);
    if (!(t.c_cflag & PARENB))
        settings.parity = SERIAL_PARITY_NONE;
    else
        settings.parity = (t.c_cflag & PARODD) ? SERIAL_PARITY_ODD : SERIAL_PARITY_EVEN;
    settings.stopBits = (t.c_cflag & CSTOPB) ? SERIAL_TWO_STOP_BITS : SERIAL_ONE_STOP_BIT;
    return 0;
}

int SerialDevice::SetBufferSizes(DWORD receiveSize, DWORD transmitSize)
{
    if (m_fd < 0)
        return EBADF;
    m_receiveBufferSize = receiveSize;
    m_transmitBufferSize = transmitSize;
    return 0;
}

int SerialDevice::PurgeReceive()
{
    if (m_fd < 0)
        return EBADF;
    return RetryIoctlValue(m_fd, TCFLSH, TCIFLUSH);
}

int SerialDevice::ClearError()
{
    if (m_fd < 0)
        return EBADF;
    struct pollfd p { m_fd, 0, 0 };
    if (poll(&p, 1, 0) < 0)
        return errno == EINTR ? 0 : errno;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        return EIO;
    return 0;
}

int SerialDevice::Write(const BYTE* data, DWORD count, DWORD* written, DWORD pauseMicroseconds)
{
    DWORD total = 0;
    if (written)
        *written = 0;
    if (m_fd < 0)
        return EBADF;
    if (count == 0)
        return 0;
    if (!data)
        return EINVAL;
    long long deadline = NO_DEADLINE;
    if (m_timeouts.writeMultiplier != 0 || m_timeouts.writeConstant != 0)
        deadline = NowMilliseconds() + static_cast<long long>(m_timeouts.writeMultiplier) * count + m_timeouts.writeConstant;

    int error = 0;
    if (pauseMicroseconds == 0) {
        error = WriteBytes(data, count, &total, deadline);
        if (error == 0)
            error = DrainOutput(deadline);
    } else {
        // Paced: each character must have left the line before the pause starts.
        for (DWORD i = 0; i < count && error == 0; ++i) {
            DWORD one = 0;
            error = WriteBytes(data + i, 1, &one, deadline);
            total += one;
            if (error == 0)
                error = DrainOutput(deadline);
            if (error == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(pauseMicroseconds));
        }
    }
    if (written)
        *written = total;
    return error;
}

int SerialDevice::WriteBytes(const BYTE* data, DWORD count, DWORD* written, long long deadline)
{
    DWORD done = 0;
    int error = 0;
    while (done < count) {
        const ssize_t n = write(m_fd, data + done, count - done);
        if (n > 0) {
            done += DWORD(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            error = errno;
            break;
        }
        const int wait = PollWait(deadline, NowMilliseconds());
        if (wait == 0) {
            error = ETIMEDOUT;
            break;
        }
        struct pollfd p { m_fd, POLLOUT, 0 };
        const int ready = poll(&p, 1, wait);
        if (ready < 0 && errno != EINTR) {
            error = errno;
            break;
        }
        if (ready > 0 && !(p.revents & POLLOUT) && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            error = EIO;
            break;
        }
    }
    *written = done;
    return error;
}

int SerialDevice::DrainOutput(long long deadline)
{
    // Bytes still queued are counted down against the deadline first, so that the final
    // drain only waits for the last characters in the UART.
    for (;;) {
        int queued = 0;
        if (ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        if (deadline != NO_DEADLINE && NowMilliseconds() >= deadline)
            return ETIMEDOUT;
        // Short steps: paced writes drain after every character.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    // A pty slave hands its bytes to the master at once; its drain would wait for the
    // other side to read, which is no part of sending.
    if (m_pseudoTerminal)
        return 0;
    return RetryIoctlValue(m_fd, TCSBRK, 1);
}

int SerialDevice::Read(BYTE* buffer, DWORD count, DWORD* received)
{
    DWORD got = 0;
    if (received)
        *received = 0;
    if (m_fd < 0)
        return EBADF;
    if (count == 0)
        return 0;
    if (!buffer)
        return EINVAL;

    const SerialTimeouts& t = m_timeouts;
    const bool returnAtOnce = t.readInterval == MAXDWORD_VALUE && t.readMultiplier == 0 && t.readConstant == 0;
    const bool intervalSet = t.readInterval != 0 && !returnAtOnce;
    const long long start = NowMilliseconds();
    long long totalDeadline = NO_DEADLINE;
    if (t.readMultiplier != 0 || t.readConstant != 0)
        totalDeadline = start + static_cast<long long>(t.readMultiplier) * count + t.readConstant;
    long long lastByteAt = start;

    // The earlier of the total deadline and, once a byte came, the interval deadline.
    auto nextDeadline = [&]() {
        long long deadline = totalDeadline;
        if (intervalSet && got > 0) {
            const long long intervalEnd = lastByteAt + t.readInterval;
            deadline = deadline == NO_DEADLINE ? intervalEnd : std::min(deadline, intervalEnd);
        }
        return deadline;
    };

    int error = 0;
    while (got < count) {
        const long long deadline = nextDeadline();
        const int wait = returnAtOnce ? 0 : PollWait(deadline, NowMilliseconds());
        struct pollfd p { m_fd, POLLIN, 0 };
        const int ready = poll(&p, 1, wait);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (ready > 0 && (p.revents & POLLIN)) {
            const ssize_t n = read(m_fd, buffer + got, count - got);
            if (n > 0) {
                got += DWORD(n);
                lastByteAt = NowMilliseconds();
                continue;
            }
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            error = n < 0 ? errno : EIO; // readable but nothing to read: hang-up
            break;
        }
        if (ready > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            error = EIO;
            break;
        }
        if (returnAtOnce)
            break;
        const long long now = NowMilliseconds();
        const long long current = nextDeadline();
        if (current != NO_DEADLINE && now >= current)
            break;
    }
    if (received)
        *received = got;
    return error;
}
