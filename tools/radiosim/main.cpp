// radiosim: a simulated radio on a pseudo-terminal, to run beside the cloning program.
//
//   radiosim [--dir DIR] [--port N] [--memory FILE | --pattern zero|ff|address|random]
//            [--end HEX] [--model HEX] [--revision N] [--no-pace] [--fault NAME[=N]]...
//
// It prints the COM link to use (start the program with TOLVANE_COM_DIR=DIR and
// the COM port N), logs every frame, and runs until interrupted.
#include "tools/radiosim/RadioSim.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

int Usage() {
    std::fprintf(
        stderr, "usage: radiosim [--dir DIR] [--port N] [--memory FILE | --pattern zero|ff|address|random]\n"
                "                [--end HEX] [--model HEX] [--revision N] [--no-pace] [--fault NAME[=N]]...\n"
                "faults: silent-info silent-read silent-read-end silent-ack=N silent-end-ack bad-checksum=N\n"
                "        lower-case=N drop-frame=N extra-frame=N wrong-end-count wrong-model=HEX non-bcd\n"
                "        no-words empty-payload short-block refuse=N wrong-end-ack disappear=N\n");
    return 2;
}

bool ApplyFault(radiosim::Faults& f, const std::string& spec) {
    const size_t eq = spec.find('=');
    const std::string name = spec.substr(0, eq);
    const bool hasValue = eq != std::string::npos;
    const int n = hasValue ? static_cast<int>(std::strtol(spec.c_str() + eq + 1, nullptr, 0)) : 0;
    if (name == "silent-info")
        f.silentInfo = true;
    else if (name == "silent-read")
        f.silentRead = true;
    else if (name == "silent-read-end")
        f.silentReadEnd = true;
    else if (name == "silent-ack")
        f.silentAck = n;
    else if (name == "silent-end-ack")
        f.silentEndAck = true;
    else if (name == "bad-checksum")
        f.badChecksumFrame = n;
    else if (name == "lower-case")
        f.lowerCaseFrame = n;
    else if (name == "drop-frame")
        f.dropFrame = n;
    else if (name == "extra-frame")
        f.extraFrameAfter = n;
    else if (name == "wrong-end-count")
        f.wrongEndCount = true;
    else if (name == "wrong-model")
        f.modelWord = static_cast<int>(std::strtol(spec.c_str() + eq + 1, nullptr, 16));
    else if (name == "non-bcd")
        f.nonBcdWord = true;
    else if (name == "no-words")
        f.info = radiosim::Faults::Info::NoWords;
    else if (name == "empty-payload")
        f.info = radiosim::Faults::Info::EmptyPayload;
    else if (name == "short-block")
        f.info = radiosim::Faults::Info::ShortBlock;
    else if (name == "refuse")
        f.refuseAck = n;
    else if (name == "wrong-end-ack")
        f.wrongEndAck = true;
    else if (name == "disappear")
        f.disappearAfterFrames = n;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = "/tmp/radiosim";
    int port = 5;
    radiosim::RadioSim sim;
    radiosim::Faults faults;
    bool pace = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool more = i + 1 < argc;
        if (arg == "--dir" && more)
            dir = argv[++i];
        else if (arg == "--port" && more)
            port = std::atoi(argv[++i]);
        else if (arg == "--memory" && more) {
            if (!sim.LoadMemory(argv[++i])) return std::fprintf(stderr, "cannot read %s\n", argv[i]), 1;
        } else if (arg == "--pattern" && more) {
            if (!sim.FillPattern(argv[++i])) return Usage();
        } else if (arg == "--end" && more)
            sim.SetCloneEnd(static_cast<int32_t>(std::strtol(argv[++i], nullptr, 16)));
        else if (arg == "--model" && more)
            sim.SetModel(static_cast<uint16_t>(std::strtol(argv[++i], nullptr, 16)), 1);
        else if (arg == "--revision" && more)
            sim.SetRevision(static_cast<uint8_t>(std::atoi(argv[++i])));
        else if (arg == "--no-pace")
            pace = false;
        else if (arg == "--fault" && more) {
            if (!ApplyFault(faults, argv[++i])) return Usage();
        } else
            return Usage();
    }
    if (port < 1) return Usage();
    sim.SetFaults(faults);
    sim.SetPacing(pace);
    if (!sim.Open()) {
        std::perror("posix_openpt");
        return 1;
    }
    ::mkdir(dir.c_str(), 0700);
    const std::string link = sim.LinkAs(dir, port);
    if (link.empty()) {
        std::fprintf(stderr, "cannot make the link in %s\n", dir.c_str());
        return 1;
    }
    std::printf("radio on %s\nCOM link: %s\nrun the program with TOLVANE_COM_DIR=%s and COM port %d\n",
                sim.SlavePath().c_str(), link.c_str(), dir.c_str(), port);
    std::fflush(stdout);
    sim.onLog = [](const radiosim::LogEntry& e) {
        std::printf("%s %5d %-5s %s\n", e.fromRadio ? "radio>" : ">radio", e.baud, e.what.c_str(),
                    radiosim::RadioSim::Hex(e.bytes).c_str());
        std::fflush(stdout);
    };
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    sim.Start();
    while (!gStop)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sim.Stop();
    return 0;
}
