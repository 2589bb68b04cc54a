#include "clone/PosixSerialPort.h"
#include "clone/cmcComm.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedSerialPorts.h"
#include "tests/support/TempDir.h"
#include "tools/radiosim/RadioSim.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class CommTest : public ::testing::Test {
protected:
    CommTest() {
        sched.Install();
        ports.Install();
    }

    plat::ManualScheduler sched;
    plat::ScriptedSerialPorts ports;
};

TEST_F(CommTest, SettingsTextGivesTheLine) {
    struct Case {
        const char* text;
        int baud, dataBits, parity, stopBits;
    };
    const Case cases[] = {
        {"9600,n,8,1", 9600, 8, 0, 0},   {"38400,N,8,1", 38400, 8, 0, 0}, {"9600,n,8,2", 9600, 8, 0, 2},
        {"9600,n,8,1.5", 9600, 8, 0, 1}, {"9600,n,9,1", 9600, 8, 0, 0},   {"9600,n,3,1", 9600, 4, 0, 0},
        {"4800,E,7,1", 4800, 7, 2, 0},   {"4800,o,7,1", 4800, 7, 1, 0},   {"9600", 9600, 4, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        cmcComm comm;
        ASSERT_TRUE(comm.Open(3, c.text));
        const plat::SerialSettings& s = ports.settings.back();
        EXPECT_EQ(s.baud, c.baud);
        EXPECT_EQ(s.dataBits, c.dataBits);
        EXPECT_EQ(s.parity, c.parity);
        EXPECT_EQ(s.stopBits, c.stopBits);
    }
}

TEST_F(CommTest, OpenRefusesASecondOpenAndEveryFailedStepClosesAgain) {
    cmcComm comm;
    ASSERT_TRUE(comm.Open(1, "9600,n,8,1"));
    EXPECT_FALSE(comm.Open(1, "9600,n,8,1"));
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(ports.opens, 1);
    EXPECT_EQ(ports.purges, 1);
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(ports.isOpen);

    ports.openError = EBUSY;
    EXPECT_FALSE(comm.Open(1, "9600,n,8,1"));
    ports.openError = 0;
    ports.refuseSettings = [](const plat::SerialSettings&) { return true; };
    EXPECT_FALSE(comm.Open(1, "9600,n,8,1"));
    EXPECT_FALSE(ports.isOpen);
    ports.refuseSettings = nullptr;
    // No baud rate: the write time-out would divide by zero.
    for (const char* bad : {"", "0,n,8,1", "x,n,8,1", "-9600,n,8,1"}) {
        EXPECT_FALSE(comm.Open(1, bad)) << bad;
        EXPECT_FALSE(ports.isOpen);
    }
    EXPECT_FALSE(comm.Open(0, "9600,n,8,1"));
}

TEST_F(CommTest, AFailedOpenKeepsTheDeviceAndTheSystemsReason) {
    cmcComm comm;
    for (const int error : {EACCES, EBUSY, ENOENT}) {
        ports.openError = error;
        EXPECT_FALSE(comm.Open(3, "9600,n,8,1"));
        EXPECT_EQ(comm.OpenFailure().path, plat::ComPortPath(3));
        EXPECT_EQ(comm.OpenFailure().error, error);
        EXPECT_EQ(comm.OpenFailure().IsMissing(), error == ENOENT);
    }
    ports.openError = 0;
    ASSERT_TRUE(comm.Open(3, "9600,n,8,1"));
    EXPECT_EQ(comm.OpenFailure().error, 0);
}

// A speed switch keeps the device it has: a close and an open would free it
// for another program in between. What a close would clear goes all the same.
TEST_F(CommTest, ReopenOnTheSamePortKeepsTheDevice) {
    cmcComm comm;
    ASSERT_TRUE(comm.Reopen(4, "38400,N,8,1")); // closed: an open
    ports.writeLimit = 2;
    const std::vector<uint8_t> bytes(6, 0x5A);
    comm.Write(bytes.data(), 6);
    ASSERT_TRUE(comm.HasWriteError());
    ASSERT_TRUE(comm.Reopen(4, "9600,N,8,2"));
    EXPECT_EQ(ports.opens, 1);
    EXPECT_TRUE(ports.isOpen);
    EXPECT_EQ(ports.drains, 1);
    EXPECT_EQ(ports.purges, 2);
    EXPECT_EQ(ports.settings.back().baud, 9600);
    EXPECT_EQ(ports.settings.back().stopBits, 2);
    EXPECT_EQ(comm.Settings().baud, 9600);
    EXPECT_FALSE(comm.HasWriteError());
    EXPECT_EQ(comm.PendingOut(), 0);

    // Another port: the first one is closed and the other opened.
    ASSERT_TRUE(comm.Reopen(6, "9600,N,8,1"));
    EXPECT_EQ(ports.opens, 2);
    EXPECT_EQ(ports.paths.back(), plat::ComPortPath(6));
    EXPECT_EQ(comm.PortNumber(), 6);

    // Settings the device refuses leave the port closed.
    ports.refuseSettings = [](const plat::SerialSettings& s) { return s.baud == 19200; };
    EXPECT_FALSE(comm.Reopen(6, "19200,N,8,1"));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(ports.isOpen);
}

TEST_F(CommTest, ClosedPortReadsAndWritesNothing) {
    cmcComm comm;
    uint8_t b[4];
    EXPECT_EQ(comm.Read(b, 4), 0);
    EXPECT_EQ(comm.Write(b, 4), 0);
    EXPECT_EQ(comm.InQueue(), 0);
    EXPECT_EQ(comm.PendingOut(), 0);
    EXPECT_TRUE(ports.writeSizes.empty());
}

TEST_F(CommTest, WriteTimeOutGrowsWithTheBytesAtTheLineSpeed) {
    const struct {
        const char* settings;
        uint32_t perByte;
    } cases[] = {{"9600,n,8,1", 10}, {"38400,n,8,1", 2}, {"1200,n,8,1", 83}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        cmcComm comm;
        ASSERT_TRUE(comm.Open(1, c.settings));
        const std::vector<uint8_t> bytes(100, 0x55);
        comm.Write(bytes.data(), 100);
        EXPECT_EQ(ports.writeTimeouts.back(), 100 * c.perByte + 3000);
    }
}

TEST_F(CommTest, WriterHandsOverChunksOnlyWhenTheOutputQueueIsEmpty) {
    cmcComm comm;
    ASSERT_TRUE(comm.Open(1, "9600,n,8,1"));
    std::vector<uint8_t> bytes(3000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    comm.Write(bytes.data(), 3000);
    EXPECT_EQ(ports.writeSizes, std::vector<int>({1024}));
    ports.outQueue = 10;
    // The chunk handed over is still on the line, the rest waits here.
    EXPECT_EQ(comm.PendingOut(), 1024 + 3000 - 1024);
    sched.Advance(50);
    EXPECT_EQ(ports.writeSizes.size(), 1u);
    ports.outQueue = 0;
    sched.Advance(10);
    sched.Advance(10);
    EXPECT_EQ(ports.writeSizes, std::vector<int>({1024, 1024, 952}));
    EXPECT_EQ(ports.written, bytes);
    // 3000 bytes of 10 bits at 9600 baud: 3.125 s on the line.
    EXPECT_GT(comm.PendingOut(), 0);
    sched.Advance(3200);
    EXPECT_EQ(comm.PendingOut(), 0);
    EXPECT_FALSE(comm.HasWriteError());
    EXPECT_EQ(sched.ActiveTimers(), 0);
}

// What the device took is output still to go until its time on the line has
// passed: start bit, data bits, parity and stop bits at the baud rate. Later
// bytes queue behind it; a device queue that holds more counts instead.
TEST_F(CommTest, BytesHandedOverStayPendingForTheirTimeOnTheLine) {
    struct Step {
        uint64_t atMs; // virtual time of the step
        int write;     // bytes written then
        int outQueue;  // what the device reports
        int pending;   // PendingOut after the step
    };
    struct Case {
        const char* settings;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // 1 ms a byte.
        {"10000,n,8,1", {{0, 100, 0, 100}, {40, 0, 0, 60}, {99, 0, 0, 1}, {100, 0, 0, 0}}},
        // 1.2 ms a byte.
        {"10000,e,8,2", {{0, 100, 0, 100}, {60, 0, 0, 50}, {120, 0, 0, 0}}},
        {"10000,n,8,1", {{0, 100, 0, 100}, {40, 50, 0, 110}, {100, 0, 0, 50}, {150, 0, 0, 0}}},
        {"10000,n,8,1", {{0, 20, 0, 20}, {10, 0, 30, 30}, {30, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        const uint64_t start = sched.Now();
        cmcComm comm;
        ASSERT_TRUE(comm.Open(1, c.settings));
        for (const Step& s : c.steps) {
            SCOPED_TRACE(s.atMs);
            sched.Advance(start + s.atMs - sched.Now());
            ports.outQueue = s.outQueue;
            const std::vector<uint8_t> bytes(static_cast<size_t>(s.write), 0x55);
            comm.Write(bytes.data(), s.write);
            EXPECT_EQ(comm.PendingOut(), s.pending);
        }
        comm.Close();
        EXPECT_EQ(comm.PendingOut(), 0);
        ports.outQueue = 0;
    }
}

TEST_F(CommTest, ShortWriteSetsTheFailureFlagAndCloseClearsIt) {
    cmcComm comm;
    ASSERT_TRUE(comm.Open(1, "9600,n,8,1"));
    ports.writeLimit = 5;
    const std::vector<uint8_t> bytes(20, 0xAA);
    comm.Write(bytes.data(), 20);
    EXPECT_TRUE(comm.HasWriteError());
    EXPECT_EQ(comm.PendingOut(), 5 + 15);
    sched.Advance(100);
    EXPECT_EQ(ports.writeSizes.size(), 1u);
    comm.Close();
    EXPECT_FALSE(comm.HasWriteError());
    EXPECT_EQ(comm.PendingOut(), 0);
}

TEST_F(CommTest, ReadTakesWhatWaitsWithoutBlocking) {
    cmcComm comm;
    ASSERT_TRUE(comm.Open(1, "9600,n,8,1"));
    uint8_t b[8];
    EXPECT_EQ(comm.Read(b, 8), 0);
    ports.Feed({1, 2, 3});
    EXPECT_EQ(comm.InQueue(), 3);
    EXPECT_EQ(comm.Read(b, 2), 2);
    EXPECT_EQ(b[1], 2);
    EXPECT_EQ(comm.Read(b, 8), 1);
    EXPECT_EQ(b[0], 3);
}

TEST_F(CommTest, FieldSplitsAtOneSeparator) {
    EXPECT_EQ(cmcComm::Field("9600,n,,1", ',', 0), "9600");
    EXPECT_EQ(cmcComm::Field("9600,n,,1", ',', 2), "");
    EXPECT_EQ(cmcComm::Field("9600,n,,1", ',', 3), "1");
    EXPECT_EQ(cmcComm::Field("9600,n,,1", ',', 4), "");
}

TEST(ComPortPathTest, NumbersMapToDevicesUnlessAFolderIsNamed) {
    {
        testsupport::ScopedEnv env("TOLVANE_COM_DIR", "");
        const struct {
            int port;
            const char* path;
        } cases[] = {{1, "/dev/ttyS0"},
                     {4, "/dev/ttyS3"},
                     {5, "/dev/ttyUSB0"},
                     {12, "/dev/ttyUSB7"},
                     {256, "/dev/ttyUSB251"},
                     {0, ""},
                     {-3, ""}};
        for (const auto& c : cases)
            EXPECT_EQ(plat::ComPortPath(c.port), c.path) << c.port;
    }
    testsupport::ScopedEnv env("TOLVANE_COM_DIR", "/tmp/links");
    EXPECT_EQ(plat::ComPortPath(1), "/tmp/links/COM1");
    EXPECT_EQ(plat::ComPortPath(5), "/tmp/links/COM5");
    EXPECT_EQ(plat::ComPortPath(0), "");
}

// The simulator's pseudo-terminal as COM7.
class ComLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        sched.Install();
        ASSERT_TRUE(sim.Open());
        ASSERT_FALSE(sim.LinkAs(dir.Path(), 7).empty());
    }

    plat::ManualScheduler sched;
    testsupport::TempDir dir;
    testsupport::ScopedEnv env{"TOLVANE_COM_DIR", dir.Path()};
    radiosim::RadioSim sim;
};

// The POSIX device on a pseudo-terminal reached through a COM link.
TEST_F(ComLinkTest, OpensAPseudoTerminalThroughTheLinkFolderRawAtTheSpeed) {
    cmcComm comm;
    EXPECT_FALSE(comm.Open(8, "9600,n,8,1")); // no such link
    ASSERT_TRUE(comm.Open(7, "38400,N,8,1"));
    EXPECT_EQ(sim.LineSpeed(), 9600);

    // The line as the program set it, seen from the other side.
    const int other = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0) << "the exclusive lock holds for everyone but root: run this test as root";
    termios t{};
    ASSERT_EQ(tcgetattr(other, &t), 0);
    ::close(other);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B38400));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);

    // Bytes both ways, none of them translated.
    const std::vector<uint8_t> out = {0xFE, 0xFE, 0xEE, 0xEF, 0x0D, 0x0A, 0x11, 0x13, 0xFD};
    comm.Write(out.data(), static_cast<int>(out.size()));
    EXPECT_FALSE(comm.HasWriteError());
    sim.Pump();
    ASSERT_FALSE(sim.Log().empty());
    EXPECT_EQ(sim.Log().back().bytes, out);
    EXPECT_EQ(sim.Log().back().baud, 38400);
    sim.SetCloneEnd(0x0F);
    const std::vector<uint8_t> request = {0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x44, 0x10, 0x00, 0x00, 0xFD};
    EXPECT_FALSE(comm.Open(7, "38400,N,8,1")); // still open
    comm.Close();
    ASSERT_TRUE(comm.Open(7, "9600,N,8,1"));
    comm.Write(request.data(), static_cast<int>(request.size()));
    sim.Pump();
    const auto log = sim.Log();
    std::vector<uint8_t> reply = log[log.size() - 2].bytes; // one data frame and the end frame
    reply.insert(reply.end(), log.back().bytes.begin(), log.back().bytes.end());
    EXPECT_EQ(log.back().what, "E5");
    // A pseudo-terminal may hand over a burst in pieces.
    std::vector<uint8_t> got;
    uint8_t in[256];
    for (int tries = 0; tries < 100 && got.size() < reply.size(); ++tries) {
        const int n = comm.Read(in, sizeof in);
        got.insert(got.end(), in, in + n);
    }
    EXPECT_EQ(got, reply);
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
}

// One port holds a device at a time, root's included, and keeps it across
// speed switches; the one refused leaves the holder's line as it was.
TEST_F(ComLinkTest, ADeviceIsHeldByOnePortAtATime) {
    cmcComm holder;
    ASSERT_TRUE(holder.Open(7, "38400,N,8,1"));
    ASSERT_TRUE(holder.Reopen(7, "9600,N,8,1"));
    cmcComm second;
    EXPECT_FALSE(second.Open(7, "9600,N,8,1"));
    EXPECT_EQ(second.OpenFailure().path, plat::ComPortPath(7));
    EXPECT_EQ(second.OpenFailure().error, EBUSY);
    plat::PosixSerialPort device;
    EXPECT_EQ(device.Open(sim.SlavePath()), EBUSY);

    if (geteuid() == 0) {
        // Root gets past the exclusive mode and is kept out by the lock alone;
        // the refused open must not have taken the holder's mode away.
        const int other = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(other, 0);
        int exclusive = 0;
        EXPECT_EQ(ioctl(other, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
        ::close(other);
    }

    // The holder still has the line.
    const std::vector<uint8_t> out = {0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0xFD};
    holder.Write(out.data(), static_cast<int>(out.size()));
    EXPECT_FALSE(holder.HasWriteError());
    sim.Pump();
    ASSERT_FALSE(sim.Log().empty());
    EXPECT_EQ(sim.Log().front().bytes, out);

    holder.Close();
    EXPECT_TRUE(second.Open(7, "9600,N,8,1"));
}

TEST(PosixSerialPortTest, RefusesWhatIsNoTerminalAndWhatIsMissing) {
    testsupport::TempDir dir;
    testsupport::TempDir::WriteFile(dir.File("COM3"), "not a device");
    plat::PosixSerialPort port;
    EXPECT_EQ(port.Open(dir.File("COM3")), ENOTTY);
    EXPECT_EQ(port.Open(dir.File("COM4")), ENOENT);
    EXPECT_EQ(port.Open(""), ENOENT);
    EXPECT_EQ(port.Read(nullptr, 1), -1);
    EXPECT_EQ(port.InQueue(), -1);
}

TEST(PosixSerialPortTest, PartialWritesAreRetriedUntilTheTimeOut) {
    radiosim::RadioSim sim;
    ASSERT_TRUE(sim.Open());
    plat::PosixSerialPort port;
    ASSERT_EQ(port.Open(sim.SlavePath()), 0);
    ASSERT_TRUE(port.Configure(plat::SerialSettings{}));
    const std::vector<uint8_t> bytes(300000, 0x55);
    // Nobody reads the other side: the terminal's buffers fill and the write gives up with what it placed.
    const int placed = port.Write(bytes.data(), static_cast<int>(bytes.size()), 50);
    EXPECT_GT(placed, 0);
    EXPECT_LT(placed, static_cast<int>(bytes.size()));
    // With the other side reading, the rest goes through piece by piece within one call.
    std::atomic<bool> written{false};
    std::thread reader([&] {
        while (!written) {
            sim.Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const int rest = static_cast<int>(bytes.size()) - placed;
    EXPECT_EQ(port.Write(bytes.data() + placed, rest, 10000), rest);
    written = true;
    reader.join();
}

TEST(PosixSerialPortTest, WritesToAPortWhoseOtherSideWentAwayFail) {
    radiosim::RadioSim sim;
    ASSERT_TRUE(sim.Open());
    plat::PosixSerialPort port;
    ASSERT_EQ(port.Open(sim.SlavePath()), 0);
    plat::SerialSettings s;
    ASSERT_TRUE(port.Configure(s));
    ASSERT_TRUE(port.Purge());
    const uint8_t bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(port.Write(bytes, 4, 1000), 4);
    sim.Disappear();
    EXPECT_LT(port.Write(bytes, 4, 1000), 4);
    uint8_t in[4];
    EXPECT_LE(port.Read(in, 4), 0);
}

} // namespace
