// radiosim: a simulated radio on a pseudo-terminal, to run beside the cloning
// program. `radiosim --help` lists the options and the faults it can make.
//
// It prints the COM link to use (start the program with TOLVANE_COM_DIR=DIR
// and the COM port N), logs every frame, and runs until interrupted.
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

// The model the program starts with when it has no settings yet.
constexpr const char* kDefaultModel = "Lmr_Mob";

void PrintHelp(FILE* out) {
    std::string models;
    for (const std::string& suffix : radiosim::ModelSuffixes())
        models += (models.empty() ? "" : " ") + suffix;
    std::fprintf(
        out,
        "usage: radiosim [OPTION]... [--fault NAME[=N]]...\n"
        "A radio on a pseudo-terminal that answers the cloning program's information, read and write,\n"
        "and the adjustment program's items and A/D reads (code 3: selector 2 the band-pass detector,\n"
        "3 a line over the item searched, the A/D monitor's selectors fixed readings).\n"
        "\n"
        "options:\n"
        "  --dir DIR              folder for the COM link (default /tmp/radiosim)\n"
        "  --port N               the link is DIR/COM<N> (default 5)\n"
        "  --startup-data MODEL   memory: the model's start-up data with five channels in two banks\n"
        "                         (the default, with %s); MODEL is one of:\n"
        "                         %s\n"
        "  --memory FILE          memory: the raw bytes of FILE from address 0, a regular file of at\n"
        "                         most %d bytes (0xFF where it is short)\n"
        "  --pattern NAME         memory: zero, ff, address (low plus high byte) or random\n"
        "  --dump FILE            write the memory as raw bytes to FILE and end\n"
        "  --end HEX              last address the read sends (default: the end of the start-up\n"
        "                         data's packed tables, else FF7F)\n"
        "  --model HEX            model word sent in the information reply (default 4410)\n"
        "  --revision N           data revision in the information block (default 1)\n"
        "  --head KIND            the head the information block reports, handheld or mobile\n"
        "                         (default: the start-up data's model; mobile for other memory)\n"
        "  --no-pace              send and take bytes at once, not at the line speed\n"
        "  --plateau LOW-HIGH     selector 2 reads its peak while the item last set lies in LOW..HIGH\n"
        "                         (default 100-140)\n"
        "  --line AT0-AT255       selector 3 reads a line from AT0 at value 0 to AT255 at 255\n"
        "                         (default 0-255; 255-0 falls)\n"
        "  --help                 this text\n"
        "\n"
        "faults (--fault, any number of them; N counts from 0 for frames, from 1 for acknowledgements):\n"
        "  silent-info            no reply to the information request\n"
        "  silent-read            nothing after the read request\n"
        "  silent-read-end        the data frames of a read but no end frame\n"
        "  silent-ack=N           no acknowledgement N while written to (0: the go byte)\n"
        "  silent-end-ack         no acknowledgement of the write's end frame\n"
        "  bad-checksum=N         data frame N sent with a wrong checksum\n"
        "  lower-case=N           data frame N sent with lower-case hex digits\n"
        "  drop-frame=N           data frame N left out and not counted\n"
        "  extra-frame=N          one frame more after data frame N, at address 0\n"
        "  wrong-end-count        the end frame counts one frame too many\n"
        "  wrong-model=HEX        the information reply names this model word instead\n"
        "  non-bcd                the information reply's model word is not decimal digits\n"
        "  no-words               the information reply stops inside its words\n"
        "  empty-payload          the information reply has no information block\n"
        "  short-block            the information block stops at 40 bytes\n"
        "  over-voltage           the information block says an over-voltage was detected\n"
        "  refuse=N               acknowledgement N refused with 0xFA while written to\n"
        "  wrong-end-ack          the write's end acknowledged as wrong\n"
        "  disappear=N            the port goes away after N data frames\n"
        "  adjust-silent=N        no answer to A/D reads from read N on (counted from 1)\n"
        "  adjust-word=HEX        A/D answers carry this model word A\n"
        "  adjust-lower-case      A/D answers carry lower-case hex digits\n"
        "  adjust-item=HEX        A/D answers carry this item code\n"
        "  adjust-answer-all      every adjustment item is answered with its value, not only reads\n"
        "  adjust-echo            every adjustment item frame comes back as an echo first\n",
        kDefaultModel, models.c_str(), radiosim::RadioSim::kMemorySize);
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "radiosim: %s\n", problem.c_str());
    std::fprintf(stderr, "Try 'radiosim --help'.\n");
    return 2;
}

bool ApplyFault(radiosim::Faults& f, radiosim::Adjustment& a, const std::string& spec) {
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
    else if (name == "over-voltage")
        f.overVoltage = true;
    else if (name == "refuse")
        f.refuseAck = n;
    else if (name == "wrong-end-ack")
        f.wrongEndAck = true;
    else if (name == "disappear")
        f.disappearAfterFrames = n;
    else if (name == "adjust-silent")
        a.silentFromRead = n;
    else if (name == "adjust-word")
        a.otherWordA = static_cast<int>(std::strtol(spec.c_str() + eq + 1, nullptr, 16));
    else if (name == "adjust-lower-case")
        a.lowerCaseDigits = true;
    else if (name == "adjust-item")
        a.otherItem = static_cast<int>(std::strtol(spec.c_str() + eq + 1, nullptr, 16));
    else if (name == "adjust-answer-all")
        a.answerEveryItem = true;
    else if (name == "adjust-echo")
        a.echoFrames = true;
    else
        return false;
    return true;
}

bool Dump(const std::vector<uint8_t>& memory, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(memory.data()), static_cast<std::streamsize>(memory.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = "/tmp/radiosim";
    int port = 5;
    radiosim::RadioSim sim;
    radiosim::Faults faults;
    radiosim::Adjustment adjustment;
    bool pace = true;
    // The memory comes from one source; the last one named counts.
    std::string model = kDefaultModel;
    std::string memoryFile, pattern, dumpFile;
    std::optional<int32_t> end;
    std::optional<bool> head;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool more = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            PrintHelp(stdout);
            return 0;
        } else if (arg == "--dir" && more) {
            dir = argv[++i];
        } else if (arg == "--port" && more) {
            port = std::atoi(argv[++i]);
        } else if (arg == "--startup-data" && more) {
            model = argv[++i];
            memoryFile.clear();
            pattern.clear();
            if (!radiosim::ModelOfSuffix(model)) return Usage("no start-up data of a model '" + model + "'");
        } else if (arg == "--memory" && more) {
            memoryFile = argv[++i];
            pattern.clear();
        } else if (arg == "--pattern" && more) {
            pattern = argv[++i];
            memoryFile.clear();
        } else if (arg == "--dump" && more) {
            dumpFile = argv[++i];
        } else if (arg == "--end" && more) {
            end = static_cast<int32_t>(std::strtol(argv[++i], nullptr, 16));
        } else if (arg == "--model" && more) {
            sim.SetModel(static_cast<uint16_t>(std::strtol(argv[++i], nullptr, 16)), 1);
        } else if (arg == "--head" && more) {
            const std::string kind = argv[++i];
            if (kind != "handheld" && kind != "mobile") return Usage("'--head' takes handheld or mobile");
            head = kind == "handheld";
        } else if (arg == "--revision" && more) {
            sim.SetRevision(static_cast<uint8_t>(std::atoi(argv[++i])));
        } else if ((arg == "--plateau" || arg == "--line") && more) {
            int first = 0, second = 0;
            if (std::sscanf(argv[++i], "%d-%d", &first, &second) != 2 || first < 0 || first > 255 ||
                second < 0 || second > 255)
                return Usage("'" + arg + "' takes two numbers 0..255 as N-M");
            if (arg == "--plateau") {
                adjustment.plateauLow = first;
                adjustment.plateauHigh = second;
            } else {
                adjustment.at0 = first;
                adjustment.at255 = second;
            }
        } else if (arg == "--no-pace") {
            pace = false;
        } else if (arg == "--fault" && more) {
            if (!ApplyFault(faults, adjustment, argv[++i]))
                return Usage(std::string("no fault '") + argv[i] + "'");
        } else {
            return Usage("unknown option or missing value: '" + arg + "'");
        }
    }
    if (port < 1) return Usage("the port number must be 1 or more");

    if (!memoryFile.empty()) {
        const std::string why = sim.LoadMemory(memoryFile);
        if (!why.empty()) {
            std::fprintf(stderr, "radiosim: --memory: %s\n", why.c_str());
            return 2;
        }
    } else if (!pattern.empty()) {
        if (!sim.FillPattern(pattern)) return Usage("no pattern '" + pattern + "'");
    } else {
        const radiosim::StartupMemory startup = radiosim::BuildStartupMemory(*radiosim::ModelOfSuffix(model));
        sim.Memory() = startup.bytes;
        sim.SetCloneEnd(startup.cloneEnd);
        sim.SetInfoModel(startup.model);
    }
    if (end) sim.SetCloneEnd(*end);
    sim.SetHandheldHead(head);
    if (!dumpFile.empty()) {
        if (Dump(sim.Memory(), dumpFile)) return 0;
        std::fprintf(stderr, "radiosim: cannot write %s\n", dumpFile.c_str());
        return 1;
    }

    sim.SetFaults(faults);
    sim.SetAdjustment(adjustment);
    sim.SetPacing(pace);
    if (!sim.Open()) {
        std::perror("radiosim: posix_openpt");
        return 1;
    }
    ::mkdir(dir.c_str(), 0700);
    const std::string link = sim.LinkAs(dir, port);
    if (link.empty()) {
        std::fprintf(stderr, "radiosim: cannot make the link in %s\n", dir.c_str());
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
