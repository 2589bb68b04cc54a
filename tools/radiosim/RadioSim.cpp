#include "tools/radiosim/RadioSim.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <random>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace radiosim {
namespace {

// The radio's end of the link has its own frame code: nothing here comes from the program.
constexpr uint8_t kPre = 0xFE;
constexpr uint8_t kPost = 0xFD;
constexpr uint8_t kAck = 0xFB;
constexpr uint8_t kNak = 0xFA;
constexpr uint8_t kFromRadio[] = {0xEF, 0xEE};
constexpr uint8_t kToRadio[] = {0xEE, 0xEF};
const char kSignature[] = "Morv Inc.";

int Digit(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void PutHex(std::vector<uint8_t>& out, unsigned value, bool lower) {
    const char* digits = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    out.push_back(static_cast<uint8_t>(digits[(value >> 4) & 15]));
    out.push_back(static_cast<uint8_t>(digits[value & 15]));
}

std::string Hex4(int32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value & 0xFFFF));
    return text;
}

int BaudOf(speed_t s) {
    switch (s) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

} // namespace

RadioSim::RadioSim() : memory_(kMemorySize, 0) {
    std::fill(std::begin(items_), std::end(items_), -1);
    std::fill(std::begin(selectedItems_), std::end(selectedItems_), -1);
    FillPattern("address");
}

RadioSim::~RadioSim() {
    Stop();
    Disappear();
}

bool RadioSim::Open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) return false;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        Disappear();
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        Disappear();
        return false;
    }
    slavePath_ = name;
    // Raw until the program sets its own line: no echo, no translation.
    termios t{};
    if (tcgetattr(master_, &t) == 0) {
        cfmakeraw(&t);
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(master_, TCSANOW, &t);
    }
    return true;
}

std::string RadioSim::LinkAs(const std::string& dir, int port) {
    std::string path = dir + "/COM" + std::to_string(port);
    ::unlink(path.c_str());
    if (::symlink(slavePath_.c_str(), path.c_str()) != 0) return {};
    linkPath_ = path;
    return path;
}

void RadioSim::Disappear() {
    // The link goes with the master: once the master is closed the system may
    // give its pseudo-terminal number to the next one opened anywhere, and a
    // program opening the old link would talk to that one instead of finding
    // no port, as with a cable that was pulled out.
    if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
    linkPath_.clear();
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

bool RadioSim::FillPattern(const std::string& pattern) {
    if (pattern == "zero") {
        std::fill(memory_.begin(), memory_.end(), 0);
    } else if (pattern == "ff") {
        std::fill(memory_.begin(), memory_.end(), 0xFF);
    } else if (pattern == "address") {
        for (int32_t a = 0; a < kMemorySize; ++a)
            memory_[static_cast<size_t>(a)] = static_cast<uint8_t>(a + (a >> 8));
    } else if (pattern == "random") {
        std::mt19937 gen(4410);
        for (auto& b : memory_)
            b = static_cast<uint8_t>(gen());
    } else {
        return false;
    }
    return true;
}

std::string RadioSim::LoadMemory(const std::string& path) {
    const std::string tooLarge = path + " holds more than the radio's memory of " +
                                 std::to_string(kMemorySize) + " bytes (addresses 0 to " +
                                 Hex4(kMemorySize - 1) + ")";
    // Opened without waiting, so that a FIFO nobody writes to cannot hold the start up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return path + ": " + std::strerror(errno);
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0) {
        why = path + ": " + std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        const char* kind = S_ISDIR(st.st_mode)    ? "a folder"
                           : S_ISCHR(st.st_mode)  ? "a character device"
                           : S_ISBLK(st.st_mode)  ? "a block device"
                           : S_ISFIFO(st.st_mode) ? "a FIFO"
                           : S_ISSOCK(st.st_mode) ? "a socket"
                                                  : "no regular file";
        why = path + " is " + kind + ", not a file of the radio's memory";
    } else if (st.st_size > kMemorySize) {
        why = tooLarge;
    }
    std::vector<uint8_t> bytes;
    if (why.empty()) {
        // One byte more than the memory holds shows a file that grew since it was looked at.
        bytes.resize(static_cast<size_t>(kMemorySize) + 1);
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) why = path + ": " + std::strerror(errno);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        if (why.empty() && got > static_cast<size_t>(kMemorySize)) why = tooLarge;
        bytes.resize(got);
    }
    ::close(fd);
    if (!why.empty()) return why;
    std::fill(memory_.begin(), memory_.end(), 0xFF);
    std::copy(bytes.begin(), bytes.end(), memory_.begin());
    return {};
}

std::string RadioSim::Hex(const std::vector<uint8_t>& bytes) {
    std::string s;
    char two[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(two, sizeof two, "%02X", bytes[i]);
        if (i) s += ' ';
        s += two;
    }
    return s;
}

int RadioSim::ProgramSpeed() const {
    // On a pseudo-terminal the master side reads the line settings the slave side was given.
    termios t{};
    if (master_ < 0 || tcgetattr(master_, &t) != 0) return 0;
    return BaudOf(cfgetospeed(&t));
}

void RadioSim::AddLog(bool fromRadio, int baud, const std::vector<uint8_t>& bytes, const std::string& what) {
    LogEntry e{fromRadio, baud, bytes, what};
    {
        std::lock_guard<std::mutex> lock(logMutex_);
        log_.push_back(e);
    }
    if (onLog) onLog(e);
}

std::vector<LogEntry> RadioSim::Log() const {
    std::lock_guard<std::mutex> lock(logMutex_);
    return log_;
}

double RadioSim::WireSeconds() const {
    double s = 0;
    for (const LogEntry& e : Log())
        if (e.baud > 0 && e.what != "lost") s += 10.0 * static_cast<double>(e.bytes.size()) / e.baud;
    return s;
}

bool RadioSim::Pump() {
    bool any = false;
    while (ReadInput(false))
        any = true;
    while (WriteOutput(false))
        any = true;
    return any;
}

bool RadioSim::ReadInput(bool paced) {
    if (master_ < 0) return false;
    uint8_t buf[4096];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) return false; // nothing, or no program on the slave side (EIO)
    const int programSpeed = ProgramSpeed();
    if (paced) {
        // The bytes are on the line for their time before the radio has them all.
        const auto now = Clock::now();
        if (rxFree_ < now) rxFree_ = now;
        rxFree_ += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
            10.0 * static_cast<double>(n) / (programSpeed ? programSpeed : speed_)));
        std::this_thread::sleep_until(rxFree_);
    }
    if (programSpeed != speed_) {
        // Another speed: the radio's receiver sees only garbage.
        AddLog(false, programSpeed, std::vector<uint8_t>(buf, buf + n), "noise");
        raw_.clear();
        return true;
    }
    Receive(buf, static_cast<size_t>(n));
    return true;
}

void RadioSim::Receive(const uint8_t* data, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        raw_.push_back(data[i]);
        if (data[i] == kPost) {
            std::vector<uint8_t> frame;
            frame.swap(raw_);
            HandleFrame(frame);
        } else if (raw_.size() > 4096) {
            AddLog(false, speed_, raw_, "noise");
            raw_.clear();
        }
    }
}

bool RadioSim::WriteOutput(bool paced) {
    if (master_ < 0 || out_.empty()) return false;
    Chunk& c = out_.front();
    const int programSpeed = ProgramSpeed();
    if (outDone_ == 0 && programSpeed != speed_) {
        AddLog(true, speed_, c.bytes, "lost");
        const bool gone = c.disappearAfter;
        out_.pop_front();
        if (gone) Disappear();
        return true;
    }
    size_t n = c.bytes.size() - outDone_;
    if (paced) {
        const auto now = Clock::now();
        if (!writing_ || txFree_ < now - std::chrono::milliseconds(2)) txFree_ = now;
        std::this_thread::sleep_until(txFree_);
        // Small pieces keep the bytes close to their times on the line.
        n = std::min<size_t>(n, 16);
    }
    const ssize_t w = ::write(master_, c.bytes.data() + outDone_, n);
    if (w <= 0) {
        writing_ = false;
        return false;
    }
    writing_ = true;
    if (paced)
        txFree_ += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(w) * ByteSeconds()));
    outDone_ += static_cast<size_t>(w);
    if (outDone_ == c.bytes.size()) {
        const bool gone = c.disappearAfter;
        out_.pop_front();
        outDone_ = 0;
        if (out_.empty()) writing_ = false;
        if (gone) Disappear();
    }
    return true;
}

void RadioSim::Reply(std::vector<uint8_t> bytes, const std::string& what, bool disappearAfter) {
    AddLog(true, speed_, bytes, what);
    out_.push_back(Chunk{std::move(bytes), disappearAfter});
}

void RadioSim::HandleFrame(const std::vector<uint8_t>& raw) {
    // Lead-in bytes (any number of FE) come before the address bytes EE EF.
    size_t i = 0;
    while (i < raw.size() && raw[i] != kPre)
        ++i;
    while (i < raw.size() && raw[i] == kPre)
        ++i;
    std::vector<uint8_t> body(raw.begin() + static_cast<long>(i), raw.end() - 1);
    std::string what = "noise";
    if (body.size() >= 3 && body[0] == kToRadio[0] && body[1] == kToRadio[1]) {
        char name[4];
        std::snprintf(name, sizeof name, "%02X", body[2]);
        what = name;
    }
    AddLog(false, speed_, raw, what);
    if (what == "noise") return;
    const uint8_t cmd = body[2];
    const std::vector<uint8_t> rest(body.begin() + 3, body.end());
    switch (cmd) {
    case 0xE0:
        if (!faults_.silentInfo) SendInfo();
        break;
    case 0xE2:
        if (!faults_.silentRead) SendRead();
        break;
    case 0xE3:
        framesIn_ = 0;
        acks_ = 0;
        Acknowledge(0);
        break;
    case 0xE4:
        TakeData(rest);
        break;
    case 0xE5:
        TakeEnd(rest);
        break;
    case 0xE8:
        // Words A and B, the item, two value digits.
        if (rest.size() >= 7) {
            const uint8_t item = rest[4];
            const std::string value{static_cast<char>(rest[5]), static_cast<char>(rest[6])};
            if (item == 0x01 && value == "09") speed_ = 38400;
            if (item == 0x01 && value == "27") speed_ = 9600;
            if (item == 0x55) writeFlag_ = value == "01";
            if (item != 0x01 && item != 0x55) {
                if (adjust_.echoFrames) Reply(raw, "echo");
                TakeItem(rest);
            }
        }
        break;
    default:
        break;
    }
}

int RadioSim::ItemValue(int code, bool selected) const {
    if (code < 0 || code > 255) return -1;
    return selected ? selectedItems_[code] : items_[code];
}

uint8_t RadioSim::Reading(int selector) const {
    const Adjustment& a = adjust_;
    if (selector == 2) return swept_ >= a.plateauLow && swept_ <= a.plateauHigh ? a.peak : a.floor;
    if (selector == 3) {
        const int v = swept_ < 0 ? 0 : swept_;
        return static_cast<uint8_t>(std::clamp(a.at0 + (a.at255 - a.at0) * v / 255, 0, 255));
    }
    for (const auto& [s, reading] : a.monitor)
        if (s == selector) return reading;
    return 0;
}

// Words A and B, the item code and its two value digits.
void RadioSim::TakeItem(const std::vector<uint8_t>& rest) {
    const int code = rest[4];
    const int hi = Digit(rest[5]);
    const int lo = Digit(rest[6]);
    if (hi < 0 || lo < 0) return;
    const int value = hi * 16 + lo;
    bool answer = adjust_.answerEveryItem;
    uint8_t answered = static_cast<uint8_t>(value);
    if (code == 3) {
        ++reads_;
        answered = Reading(value);
        answer = adjust_.silentFromRead < 0 || reads_ < adjust_.silentFromRead;
    } else if (code == 64) {
        selected_ = value;
    } else if (code == 65) {
        if (selected_ >= 0) selectedItems_[selected_] = value;
        swept_ = value;
    } else {
        items_[code] = value;
        swept_ = value;
    }
    if (!answer) return;
    const unsigned wordA = adjust_.otherWordA >= 0 ? static_cast<unsigned>(adjust_.otherWordA) : word1_;
    std::vector<uint8_t> f{kPre,
                           kPre,
                           kFromRadio[0],
                           kFromRadio[1],
                           0xE8,
                           static_cast<uint8_t>(wordA >> 8),
                           static_cast<uint8_t>(wordA),
                           static_cast<uint8_t>(word2_ >> 8),
                           static_cast<uint8_t>(word2_),
                           static_cast<uint8_t>(adjust_.otherItem >= 0 ? adjust_.otherItem : code)};
    PutHex(f, answered, adjust_.lowerCaseDigits);
    f.push_back(kPost);
    Reply(f, "E8");
}

std::vector<uint8_t> RadioSim::InfoBlock() const {
    std::vector<uint8_t> block(kInfoLength, 0);
    block[0] = kInfoLength;
    auto put = [&block](int at, const char* text, size_t width) {
        std::memset(block.data() + at, ' ', width);
        std::memcpy(block.data() + at, text, std::min(width, std::strlen(text)));
    };
    put(kInfoComment1, "RADIOSIM", 16);
    put(kInfoComment2, "Tolvane test rig", 16);
    block[kInfoVersion] = 0x10;
    block[kInfoRevision] = revision_;
    put(kInfoSerial, "07E8010004D2", 12);
    const bool handheld = handheldHead_.value_or(infoModel_ % 10 < 5);
    block[kInfoForm] = handheld ? 4 : 0;
    if (faults_.overVoltage) block[kInfoStatus] = 32;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(cloneEnd_ & 0xFFFF));
    put(kInfoCloneEnd, hex, 4);
    unsigned sum = 0;
    for (uint8_t b : memory_)
        sum += b;
    std::snprintf(hex, sizeof hex, "%04X", sum & 0xFFFF);
    put(kInfoChecksum, hex, 4);
    // Class bits, numbered from the top of the byte: 7 LTR, 3 P25, 1 PMR, 2 PMR-Z; none for LMR.
    static const uint8_t kClassBits[] = {0x00, 0x01, 0x10, 0x40, 0x20};
    block[kInfoClass] = kClassBits[(infoModel_ % 10) % 5];
    return block;
}

void RadioSim::SendInfo() {
    std::vector<uint8_t> f{kPre, kPre, kFromRadio[0], kFromRadio[1], 0xE1};
    if (faults_.info == Faults::Info::NoWords) {
        f.push_back(static_cast<uint8_t>(word1_ >> 8));
        f.push_back(kPost);
        Reply(f, "E1");
        return;
    }
    const uint16_t w1 = faults_.modelWord >= 0 ? static_cast<uint16_t>(faults_.modelWord) : word1_;
    f.push_back(faults_.nonBcdWord ? 0x4A : static_cast<uint8_t>(w1 >> 8));
    f.push_back(static_cast<uint8_t>(w1));
    f.push_back(static_cast<uint8_t>(word2_ >> 8));
    f.push_back(static_cast<uint8_t>(word2_));
    if (faults_.info != Faults::Info::EmptyPayload) {
        std::vector<uint8_t> block = InfoBlock();
        if (faults_.info == Faults::Info::ShortBlock) block.resize(40);
        f.insert(f.end(), block.begin(), block.end());
    }
    f.push_back(kPost);
    Reply(f, "E1");
}

std::vector<uint8_t> RadioSim::DataFrame(int32_t address, int n, bool badChecksum, bool lowerCase) const {
    std::vector<uint8_t> f{kPre, kPre, kFromRadio[0], kFromRadio[1], 0xE4};
    unsigned sum = static_cast<unsigned>(address >> 8 & 0xFF) + static_cast<unsigned>(address & 0xFF) +
                   static_cast<unsigned>(n);
    PutHex(f, static_cast<unsigned>(address >> 8), lowerCase);
    PutHex(f, static_cast<unsigned>(address), lowerCase);
    PutHex(f, static_cast<unsigned>(n), lowerCase);
    for (int i = 0; i < n; ++i) {
        const int32_t a = address + i;
        const uint8_t b = a >= 0 && a < kMemorySize ? memory_[static_cast<size_t>(a)] : 0xFF;
        sum += b;
        PutHex(f, b, lowerCase);
    }
    unsigned check = (256 - (sum & 0xFF)) & 0xFF;
    if (badChecksum) check = (check + 1) & 0xFF;
    PutHex(f, check, lowerCase);
    f.push_back(kPost);
    return f;
}

void RadioSim::SendRead() {
    int index = 0;
    int counted = 0;
    for (int32_t a = 0; a <= cloneEnd_ && a < kMemorySize;) {
        int n = kBlock - a % kBlock;
        if (a + n - 1 > cloneEnd_) n = cloneEnd_ - a + 1;
        if (index != faults_.dropFrame) {
            const bool gone = ++counted == faults_.disappearAfterFrames;
            Reply(DataFrame(a, n, index == faults_.badChecksumFrame, index == faults_.lowerCaseFrame), "E4",
                  gone);
            if (gone) return;
        }
        if (index == faults_.extraFrameAfter) {
            Reply(DataFrame(faults_.extraFrameAddress, kBlock, false, false), "E4");
            ++counted;
        }
        ++index;
        a += n;
    }
    if (faults_.silentReadEnd) return;
    std::vector<uint8_t> f{kPre, kPre, kFromRadio[0], kFromRadio[1], 0xE5};
    f.insert(f.end(), kSignature, kSignature + 9);
    PutHex(f, static_cast<unsigned>(counted + (faults_.wrongEndCount ? 1 : 0)), false);
    f.push_back(kPost);
    Reply(f, "E5");
}

void RadioSim::Acknowledge(int number) {
    if (number == faults_.silentAck) return;
    const bool refuse = number == faults_.refuseAck;
    Reply({refuse ? kNak : kAck}, refuse ? "FA" : "FB");
}

void RadioSim::TakeData(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> bytes;
    bool good = text.size() % 2 == 0;
    for (size_t i = 0; good && i + 1 < text.size(); i += 2) {
        const int hi = Digit(text[i]), lo = Digit(text[i + 1]);
        good = hi >= 0 && lo >= 0;
        bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    unsigned sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    good = good && bytes.size() >= 4 && bytes.size() == bytes[2] + 4u && (sum & 0xFF) == 0;
    if (!good) {
        Reply({kNak}, "FA");
        return;
    }
    const int32_t address = bytes[0] << 8 | bytes[1];
    const int n = bytes[2];
    for (int i = 0; i < n; ++i)
        if (address + i < kMemorySize)
            memory_[static_cast<size_t>(address + i)] = bytes[3 + static_cast<size_t>(i)];
    ++framesIn_;
    if (framesIn_ == faults_.disappearAfterFrames) {
        Disappear();
        return;
    }
    // Every block of 128 bytes the radio has stored is acknowledged.
    if ((address + n) % 128 == 0) Acknowledge(++acks_);
}

void RadioSim::TakeEnd(const std::vector<uint8_t>& text) {
    char count[4];
    std::snprintf(count, sizeof count, "%02X", framesIn_ & 0xFF);
    const std::string want = std::string(kSignature) + count;
    const bool good = text.size() == want.size() && std::equal(text.begin(), text.end(), want.begin());
    if (faults_.silentEndAck) return;
    const uint8_t code = good && !faults_.wrongEndAck ? 0x00 : 0x01;
    Reply({kPre, kPre, kFromRadio[0], kFromRadio[1], 0xE6, code, kPost}, "E6");
}

void RadioSim::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void RadioSim::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void RadioSim::Run() {
    while (!stop_) {
        if (master_ < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        bool any = false;
        if (!out_.empty()) any = WriteOutput(pacing_);
        pollfd p{master_, POLLIN, 0};
        if (!out_.empty() && !any) p.events |= POLLOUT;
        const int wait = out_.empty() ? 5 : (any ? 0 : 2);
        if (poll(&p, 1, wait) > 0) {
            if (p.revents & POLLIN) any = ReadInput(pacing_) || any;
            // With no program on the slave side the master reports a hang-up without end.
            if ((p.revents & POLLHUP) && !(p.revents & POLLIN))
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

} // namespace radiosim
