#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace radiosim {

// Faults the simulated radio can be told to make. Block acknowledgements count
// from 1; acknowledgement 0 is the go byte after the write request.
struct Faults {
    // Silence
    bool silentInfo = false;    // no reply to the information request
    bool silentRead = false;    // nothing after the read request
    bool silentReadEnd = false; // the data frames but no end frame
    int silentAck = -1;         // no byte at this acknowledgement
    bool silentEndAck = false;  // no end acknowledgement
    // Data frames the radio sends, counted from 0
    int badChecksumFrame = -1;
    int lowerCaseFrame = -1;
    int dropFrame = -1;       // left out and not counted
    int extraFrameAfter = -1; // one more frame of 16 bytes at extraFrameAddress, counted
    int32_t extraFrameAddress = 0;
    bool wrongEndCount = false;
    // Information reply
    int modelWord = -1; // the first word sent instead of the radio's own
    bool nonBcdWord = false;
    enum class Info { Whole, NoWords, EmptyPayload, ShortBlock };
    Info info = Info::Whole;
    bool overVoltage = false; // the block's status says an over-voltage was detected
    // Write
    int refuseAck = -1; // 0xFA at this acknowledgement
    bool wrongEndAck = false;
    // The port goes away (the master side is closed) after this many data frames sent or received.
    int disappearAfterFrames = -1;
};

// A radio under adjustment: E8 frames set its adjustment items, and code 3
// reads one of its A/D channels. What the readings follow is set here.
struct Adjustment {
    // Selector 2 (the band-pass detector): `peak` while the item last swept
    // stands inside [plateauLow, plateauHigh], `floor` elsewhere.
    int plateauLow = 100;
    int plateauHigh = 140;
    uint8_t peak = 200;
    uint8_t floor = 40;
    // Selector 3: a straight line over the item searched, from `at0` at value 0 to `at255` at 255.
    int at0 = 0;
    int at255 = 255;
    // Every other selector (the A/D monitor's) reads its entry here; unknown ones read 0.
    std::vector<std::pair<int, uint8_t>> monitor = {
        {1, 0x11},  {2, 0x22},  {3, 0x33},  {4, 0x44},  {32, 0x52}, {33, 0x63}, {34, 0x74},
        {35, 0x85}, {39, 0x96}, {40, 0xA7}, {41, 0xB8}, {42, 0xC9}, {43, 0xDA}};
    // Faults
    int silentFromRead = -1; // no answer from this read on (reads count from 1)
    int otherWordA = -1;     // answers carry this model word A
    bool lowerCaseDigits = false;
    int otherItem = -1;           // answers carry this item code
    bool answerEveryItem = false; // every item is answered with its value, not only reads
    bool echoFrames = false;      // the cable echoes each item frame back before any answer
};

// One frame or burst as it crossed the line, with the line speed it crossed at.
struct LogEntry {
    bool fromRadio = false;
    int baud = 0;
    std::vector<uint8_t> bytes;
    std::string what; // "E0", "E2", "E3", "E4", "E5", "E8", "E1", "E6", "FB", "FA", "noise"
};

// A radio on the far side of a pseudo-terminal. The program opens the slave
// side as its COM port; the radio answers on the master side: the information
// request, the read and the write jobs, and the settings frames that switch
// its line speed (9600 or 38400 baud, starting at 9600). Bytes sent while the
// program's port runs at another speed are noise to either side.
//
// Run it stepped (Pump between the program's ticks: nothing happens between
// the calls, so virtual time in the program can move while the radio is idle)
// or on its own thread (Start). With pacing on, it sends and takes bytes no
// faster than the line speed allows (10 bits a byte).
class RadioSim {
public:
    static constexpr int32_t kMemorySize = 0xFF80;
    static constexpr int kBlock = 16;

    RadioSim();
    ~RadioSim();
    RadioSim(const RadioSim&) = delete;
    RadioSim& operator=(const RadioSim&) = delete;

    // Creates the pseudo-terminal; false when the system refuses.
    bool Open();
    const std::string& SlavePath() const { return slavePath_; }
    // Makes dir/COM<port> a link to the slave side; returns the link's path (empty on failure).
    std::string LinkAs(const std::string& dir, int port);
    // Closes the master side and removes the link: the program's port is gone.
    void Disappear();

    // Set before the link is used.
    void SetFaults(const Faults& faults) { faults_ = faults; }
    void SetAdjustment(const Adjustment& adjustment) { adjust_ = adjustment; }
    void SetPacing(bool on) { pacing_ = on; }
    void SetModel(uint16_t word1, uint16_t word2) {
        word1_ = word1;
        word2_ = word2;
    }
    void SetRevision(uint8_t revision) { revision_ = revision; }
    // The model (0..9) the information block describes: handheld or mobile, and the radio class.
    void SetInfoModel(int model) { infoModel_ = model; }
    // The head the block reports (bit value 4 of byte 51) whatever the model: a
    // handheld's data in a mobile radio, or the reverse.
    void SetHandheldHead(std::optional<bool> handheld) { handheldHead_ = handheld; }
    // The information block as the radio sends it after the two words.
    std::vector<uint8_t> InfoBlock() const;

    // The information block's layout, as the program reads it.
    static constexpr int kInfoLength = 127;
    static constexpr int kInfoComment1 = 2;  // 16 characters
    static constexpr int kInfoComment2 = 18; // 16 characters
    static constexpr int kInfoVersion = 34;  // major and minor nibble
    static constexpr int kInfoRevision = 35; // data revision, at most 1 for the program
    static constexpr int kInfoSerial = 37;   // 12 hex characters
    static constexpr int kInfoForm = 51;     // bit value 4: handheld
    static constexpr int kInfoStatus = 53;   // bit value 32: over-voltage
    static constexpr int kInfoCloneEnd = 56; // 4 hex characters
    static constexpr int kInfoChecksum = 60; // 4 hex characters
    static constexpr int kInfoClass = 125;   // class bits from the top of the byte
    // The last address the read job sends (the clone-area end of the information block).
    void SetCloneEnd(int32_t last) { cloneEnd_ = last; }
    std::vector<uint8_t>& Memory() { return memory_; }
    // Pattern "zero", "ff", "address" (low byte plus high byte) or "random".
    bool FillPattern(const std::string& pattern);
    // The memory from a regular file of at most kMemorySize bytes, from address
    // 0; a shorter file leaves the rest erased (0xFF). Anything else (no file,
    // a folder, a device, a FIFO, a file too large) is refused at once and the
    // memory stays as it was. Empty when loaded, else why not.
    std::string LoadMemory(const std::string& path);

    // Stepped use: takes what the program sent, answers, and writes what the line takes.
    bool Pump();
    // Threaded use.
    void Start();
    void Stop();

    int LineSpeed() const { return speed_; }
    bool WriteFlag() const { return writeFlag_; }
    int FramesReceived() const { return framesIn_; }
    // An adjustment item's value: a direct code (0..255), or with selected set the
    // item that code 64 selects (88-91, 178-186) and code 65 sets. -1: never set.
    int ItemValue(int code, bool selected = false) const;
    // What the radio reads on an A/D selector now.
    uint8_t Reading(int selector) const;
    int ReadCount() const { return reads_; }
    std::vector<LogEntry> Log() const;
    // Seconds the logged bytes take on the line at their speeds, 10 bits a byte.
    double WireSeconds() const;
    // Called with each log entry as it is made (from the simulator's thread when threaded).
    std::function<void(const LogEntry&)> onLog;

    static std::string Hex(const std::vector<uint8_t>& bytes);

private:
    using Clock = std::chrono::steady_clock;
    struct Chunk {
        std::vector<uint8_t> bytes;
        bool disappearAfter = false;
    };

    int ProgramSpeed() const;
    bool ReadInput(bool paced);
    bool WriteOutput(bool paced);
    void Receive(const uint8_t* data, size_t n);
    void HandleFrame(const std::vector<uint8_t>& raw);
    void Reply(std::vector<uint8_t> bytes, const std::string& what, bool disappearAfter = false);
    void AddLog(bool fromRadio, int baud, const std::vector<uint8_t>& bytes, const std::string& what);
    void SendInfo();
    void SendRead();
    void TakeData(const std::vector<uint8_t>& text);
    void Acknowledge(int number);
    void TakeItem(const std::vector<uint8_t>& rest);
    void TakeEnd(const std::vector<uint8_t>& text);
    std::vector<uint8_t> DataFrame(int32_t address, int n, bool badChecksum, bool lowerCase) const;
    void Run();
    double ByteSeconds() const { return 10.0 / speed_; }

    int master_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    std::vector<uint8_t> memory_;
    Faults faults_;
    Adjustment adjust_;
    int items_[256];
    int selectedItems_[256];
    int selected_ = -1; // the item code 64 selected last
    int swept_ = -1;    // the value of the item set last (0..255), -1 none
    int reads_ = 0;
    bool pacing_ = false;
    uint16_t word1_ = 0x4410;
    uint16_t word2_ = 0x0001;
    uint8_t revision_ = 1;
    int infoModel_ = 5;
    std::optional<bool> handheldHead_;
    int32_t cloneEnd_ = kMemorySize - 1;
    int speed_ = 9600;
    bool writeFlag_ = false;
    std::vector<uint8_t> raw_;
    std::deque<Chunk> out_;
    size_t outDone_ = 0; // bytes of out_.front() already written
    bool writing_ = false;
    int framesIn_ = 0;
    int acks_ = 0;
    Clock::time_point txFree_{};
    Clock::time_point rxFree_{};
    mutable std::mutex logMutex_;
    std::vector<LogEntry> log_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

} // namespace radiosim
