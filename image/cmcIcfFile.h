#pragma once
#include "image/RangeList.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cmcEeprom;

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
    // written whole: a failed save leaves the file that was there untouched.
    // Returns 0, 1 or 2.
    int Save(const std::string& fileName, const RangeList& ranges);

    // Reads a file into the image; with a range list, the file must cover
    // exactly those ranges. On any failure the image is left as it was.
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

private:
    class LineReader;

    int LoadFrom(LineReader& in, const RangeList* ranges);
    int ReadDataLine(const std::string& line, size_t length);
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
};

// Shows the message box for a file result 1..9; nothing for 0 or any other code.
void ShowFileErrorMessage(int code);
