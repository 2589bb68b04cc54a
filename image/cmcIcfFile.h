#pragma once
#include "image/RangeList.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cmcEeprom;

// What went wrong with a file beside a result code: the file (a link's
// target where the path was a link) and the system's error number, or
// plat::kNotARegularFile for a path that names no plain file.
struct FileProblem {
    std::string path;
    int error = 0;

    bool IsSet() const { return !path.empty(); }
};

// The clone data file: ranges of a memory image as hex text, one header line
// with the model code and sub code, comment lines, a map revision line and
// data lines of at most 16 bytes each with their address:
//
//   44100000
//   #Comment=...
//   #MapRev=1
//   0000104405...        address, byte count, bytes
//
// Both programs read and write this format. Every operation returns a result
// code and shows the message box for a failure itself, so callers must not
// report the same code again.
class cmcIcfFile {
public:
    enum Result : int {
        kOk = 0,
        kFileOpen = 1,   // cannot be opened, or header refused without a code
        kFileAccess = 2, // a write (or read) failed part way
        kModel = 3,      // code1 of the file differs
        kExtra = 4,      // code2 of the file differs
        kMapRev = 5,     // map revision not accepted
        kFormat = 6,
        kCoverage = 7, // required bytes missing
        kData = 8,     // a byte outside the required ranges or the image
        kNewer = 9,    // data newer than the program accepts (set by the file commands)
    };

    // Given the file's map revision, true accepts it.
    using MapRevTest = std::function<bool(int32_t mapRev)>;
    // Given the file's header words, true accepts them; to refuse, store a
    // result code (it holds kFileOpen on entry) and return false.
    using HeaderTest = std::function<bool(int32_t code1, int32_t code2, int& result)>;

    cmcIcfFile();
    ~cmcIcfFile();
    cmcIcfFile(const cmcIcfFile&) = delete;
    cmcIcfFile& operator=(const cmcIcfFile&) = delete;

    // Binds the image (not owned) and marks every one of its addresses required.
    void SetImage(cmcEeprom* image);
    void SetCode1(int32_t value) { code1 = value; }
    void SetCode2(int32_t value) { code2 = value; }
    void SetComment(const std::string& text) { comment = text; }
    void SetMapRev(int32_t value) { mapRev = value; }
    // After a load, the file's map revision (the one set before when the file has none).
    int32_t GetMapRev() const { return mapRev; }
    void SetOnMapRev(MapRevTest test) { onMapRev = std::move(test); }
    void SetOnHeader(HeaderTest test) { onHeader = std::move(test); }

    // Writes the ranges of the image. The file is replaced only once it has been
    // written whole: a failed save leaves the file that was there untouched and
    // no temporary file. Through a symbolic link the link's target is written.
    // Returns 0, 1 (the file cannot be made) or 2 (it could not be written).
    int Save(const std::string& fileName, const RangeList& ranges);

    // Reads a file into the image; with a range list, the file must cover
    // exactly those ranges. On any failure the image is left as it was. A path
    // that names no plain file (a folder, a device, a pipe, a socket) is
    // refused with 1 before anything is read, and a line longer than any the
    // format allows with 6 as soon as it is, so no input keeps the reader.
    int Load(const std::string& fileName, const RangeList* ranges = nullptr);
    // The same over the bytes of a file already in memory.
    int LoadFromMemory(const void* bytes, size_t length, const RangeList* ranges = nullptr);

    // Compares what the last load read with the ranges: 0 when equal, 8 when it
    // read an address outside them, 7 when it missed one.
    int CheckCoverage(const RangeList* ranges);

    // Sets or clears count bits from first on; nothing when any of them lies
    // outside the map. Bit a is mask 1 << (a mod 8) of byte a / 8.
    static void SetMapBits(std::vector<uint8_t>& map, int32_t first, int32_t count, bool set);
    void ClearReadMap();
    const std::vector<uint8_t>& RequiredMap() const { return requiredMap; }
    const std::vector<uint8_t>& ReadMap() const { return readMap; }

    // The longest data line: address, count 255 and its bytes.
    static constexpr size_t kLongestDataLine = 6 + 2 * 255;
    // The longest line of any kind, without its line end: what a reader's
    // line of 768 bytes holds besides the line end and its terminator.
    static constexpr size_t kLongestLine = 766;

    // The file and the system's reason of the last failure to open, read or
    // write a file; none after a success or a failure of the contents.
    const FileProblem& Problem() const { return problem_; }

private:
    class LineReader;

    int LoadFrom(LineReader& in, const RangeList* ranges);
    int Fail(int result, const std::string& path, int error);
    int ReadDataLine(const std::string& line);
    int FinishLoad(int result, const cmcEeprom& kept);
    std::string BuildText(const RangeList& ranges) const;

    cmcEeprom* image = nullptr;
    int32_t code1 = 0;
    int32_t code2 = 0;
    std::string comment;
    int32_t bytesPerLine = 16;
    int32_t mapRev = -1;
    std::vector<uint8_t> requiredMap;
    std::vector<uint8_t> readMap;
    int32_t mapBytes = 0;
    MapRevTest onMapRev;
    HeaderTest onHeader;
    FileProblem problem_;
};

// Shows the message box for a file result 1..9; nothing for 0 or any other
// code. With a problem, the box also names the file, the system's reason and,
// where there is one, what the user can do about it.
void ShowFileErrorMessage(int code, const FileProblem& problem = {});
// The text of that box.
std::string FileErrorText(int code, const FileProblem& problem = {});
