#include "clone/PosixSerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace plat {
namespace {

class PosixSerialService : public SerialService {
public:
    std::unique_ptr<SerialPort> CreatePort() override { return std::make_unique<PosixSerialPort>(); }
};

PosixSerialService gPosix;
SerialService* gService = &gPosix;

speed_t SpeedCode(int baud) {
    struct Pair {
        int baud;
        speed_t code;
    };
    static const Pair table[] = {{50, B50},         {75, B75},         {110, B110},       {134, B134},
                                 {150, B150},       {200, B200},       {300, B300},       {600, B600},
                                 {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
                                 {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
                                 {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};
    for (const Pair& p : table)
        if (p.baud == baud) return p.code;
    return B0;
}

// Modem-line changes that a pseudo-terminal or a plain terminal refuses are of no concern.
bool ModemLine(int fd, unsigned long request, int bits) {
    if (ioctl(fd, request, &bits) == 0) return true;
    return errno == ENOTTY || errno == EINVAL;
}

} // namespace

SerialService& SerialPorts() {
    return *gService;
}

void SetSerialPorts(SerialService* service) {
    gService = service ? service : &gPosix;
}

bool PortOpenFailure::IsMissing() const {
    return error == ENOENT || error == ENODEV || error == ENXIO;
}

std::string ComPortPath(int number) {
    if (number < 1) return {};
    const char* dir = std::getenv("TOLVANE_COM_DIR");
    if (dir && *dir) return std::string(dir) + "/COM" + std::to_string(number);
    if (number <= 4) return "/dev/ttyS" + std::to_string(number - 1);
    return "/dev/ttyUSB" + std::to_string(number - 5);
}

PosixSerialPort::~PosixSerialPort() {
    Close();
}

int PosixSerialPort::Open(const std::string& path) {
    if (fd_ >= 0) return EBUSY;
    if (path.empty()) return ENOENT;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    termios t{};
    // A file or any other device where the port should be cannot carry the link.
    if (tcgetattr(fd, &t) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    // Not shared. The exclusive terminal mode keeps out every program but
    // root's; the lock on the device keeps out root's too, and another port
    // of this program. The kernel drops the lock with the descriptor, so it
    // never outlives the program. A device found held is left as its holder
    // set it.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return error;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    fd_ = fd;
    return 0;
}

bool PosixSerialPort::Configure(const SerialSettings& s) {
    if (fd_ < 0) return false;
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return false;
    const speed_t speed = SpeedCode(s.baud);
    if (speed == B0) return false;
    cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    switch (s.dataBits) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    case 8:
        t.c_cflag |= CS8;
        break;
    default:
        return false;
    }
    switch (s.parity) {
    case 1:
        t.c_cflag |= PARENB | PARODD;
        break;
    case 2:
        t.c_cflag |= PARENB;
        break;
    case 3:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    // A UART sends one and a half stop bits where two are set on a 5-bit character.
    if (s.stopBits != 0) t.c_cflag |= CSTOPB;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0) return false;
    if (tcsetattr(fd_, TCSANOW, &t) != 0) return false;
    return ModemLine(fd_, TIOCMBIC, TIOCM_DTR) && ModemLine(fd_, TIOCMBIS, TIOCM_RTS);
}

bool PosixSerialPort::Purge() {
    return fd_ >= 0 && tcflush(fd_, TCIOFLUSH) == 0;
}

bool PosixSerialPort::Drain(uint32_t timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // Polled rather than tcdrain(): a device that stopped taking bytes must not hold the program.
    for (;;) {
        const int queued = OutQueue();
        if (queued <= 0) return queued == 0;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int PosixSerialPort::Read(uint8_t* buffer, int n) {
    if (fd_ < 0 || n <= 0) return fd_ < 0 ? -1 : 0;
    for (;;) {
        ssize_t r = ::read(fd_, buffer, static_cast<size_t>(n));
        if (r >= 0) return static_cast<int>(r);
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

int PosixSerialPort::Write(const uint8_t* data, int n, uint32_t timeoutMs) {
    if (fd_ < 0) return -1;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int done = 0;
    while (done < n) {
        ssize_t w = ::write(fd_, data + done, static_cast<size_t>(n - done));
        if (w > 0) {
            done += static_cast<int>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return done > 0 ? done : -1;
        // The device takes no more for now: wait for room until the time-out.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd_, POLLOUT, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) break;
    }
    return done;
}

int PosixSerialPort::InQueue() {
    int n = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCINQ, &n) != 0) return -1;
    return n;
}

int PosixSerialPort::OutQueue() {
    int n = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCOUTQ, &n) != 0) return -1;
    return n;
}

void PosixSerialPort::Close() {
    if (fd_ < 0) return;
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

} // namespace plat
