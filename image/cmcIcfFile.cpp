#include "image/cmcIcfFile.h"

#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The address field has four digits, so nothing above this can be read back.
constexpr int32_t kLastFileAddress = 0xFFFF;

// Digit values by character, -1 for a character that is no hex digit; the
// reader looks up two of these per image byte.
constexpr std::array<int8_t, 256> kHexValues = [] {
    std::array<int8_t, 256> t{};
    t.fill(-1);
    for (int i = 0; i < 10; ++i)
        t['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i)
        t['A' + i] = t['a' + i] = static_cast<int8_t>(10 + i);
    return t;
}();

int HexValue(char c) {
    return kHexValues[static_cast<unsigned char>(c)];
}

bool AllHex(const std::string& text) {
    for (char c : text)
        if (HexValue(c) < 0) return false;
    return true;
}

// Digits already known to be hexadecimal.
int32_t HexField(const std::string& text, size_t pos, size_t digits) {
    int32_t v = 0;
    for (size_t i = 0; i < digits; ++i)
        v = v << 4 | HexValue(text[pos + i]);
    return v;
}

void AppendHex(std::string& out, uint32_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

int32_t ParseDecimal(const std::string& text, size_t pos) {
    return pos < text.size() ? ParseLeadingDecimal(std::string_view(text).substr(pos)) : 0;
}

constexpr char kCommentLead[] = "#Comment=";

// The comment must stay on its own line, so every line break in it becomes a
// blank, and no longer than a reader takes a line.
std::string CommentLine(const std::string& text) {
    constexpr size_t kRoom = cmcIcfFile::kLongestLine - (sizeof kCommentLead - 1);
    std::string out;
    out.reserve(std::min(text.size(), kRoom));
    for (size_t i = 0; i < text.size() && out.size() < kRoom; ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
    return kCommentLead + out;
}

} // namespace

// Splits the input into lines at LF, taking a CR before the LF (or at the very
// end) as part of the line end, so files written on either system read alike.
// A line longer than any the format allows ends the reading as soon as it is
// seen to be, so neither a file without line ends nor a huge one keeps it.
class cmcIcfFile::LineReader {
public:
    enum Status { kLine, kEnd, kTooLong, kFailed };

    // Fills the buffer and returns the count, 0 at the end, -1 on a read error.
    using Source = std::function<ssize_t(char* buffer, size_t capacity)>;

    explicit LineReader(Source source) : source_(std::move(source)), buffer_(65536), block_(buffer_.data()) {}
    // Reads straight from bytes that are all in memory already.
    LineReader(const char* bytes, size_t length) : block_(bytes), len_(length), ended_(true) {}

    // The next line, without its line end.
    Status Next(std::string& line) {
        line.clear();
        bool any = false;
        while (true) {
            if (pos_ == len_ && !Refill()) break;
            const char* start = block_ + pos_;
            const size_t avail = len_ - pos_;
            const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
            const size_t chunk = nl ? static_cast<size_t>(nl - start) : avail;
            // One character more than the longest line, for the CR of its line end.
            if (line.size() + chunk > kLongestLine + 1) return kTooLong;
            line.append(start, chunk);
            any = true;
            pos_ += chunk;
            if (nl) {
                ++pos_;
                break;
            }
        }
        if (failed_) return kFailed;
        if (!any) return kEnd;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line.size() > kLongestLine ? kTooLong : kLine;
    }

    int Error() const { return error_; }

private:
    bool Refill() {
        if (ended_) return false;
        const ssize_t n = source_(buffer_.data(), buffer_.size());
        if (n <= 0) {
            ended_ = true;
            failed_ = n < 0;
            if (failed_) error_ = errno;
            return false;
        }
        pos_ = 0;
        len_ = static_cast<size_t>(n);
        return true;
    }

    Source source_;
    std::vector<char> buffer_;
    const char* block_; // the buffer, or the caller's bytes
    size_t pos_ = 0;
    size_t len_ = 0;
    bool ended_ = false;
    bool failed_ = false;
    int error_ = 0;
};

cmcIcfFile::cmcIcfFile() = default;
cmcIcfFile::~cmcIcfFile() = default;

void cmcIcfFile::SetImage(cmcEeprom* img) {
    image = img;
    int32_t size = image ? image->GetSize() : 0;
    mapBytes = (size + 7) / 8;
    requiredMap.assign(static_cast<size_t>(mapBytes), 0);
    readMap.assign(static_cast<size_t>(mapBytes), 0);
    SetMapBits(requiredMap, 0, size, true);
}

void cmcIcfFile::SetMapBits(std::vector<uint8_t>& map, int32_t first, int32_t count, bool set) {
    if (first < 0 || count <= 0) return;
    int64_t lastBit = int64_t{first} + count - 1;
    if (lastBit / 8 >= static_cast<int64_t>(map.size())) return;
    for (int64_t a = first; a <= lastBit; ++a) {
        uint8_t mask = static_cast<uint8_t>(1u << (a % 8));
        if (set)
            map[static_cast<size_t>(a / 8)] |= mask;
        else
            map[static_cast<size_t>(a / 8)] &= static_cast<uint8_t>(~mask);
    }
}

void cmcIcfFile::ClearReadMap() {
    std::fill(readMap.begin(), readMap.end(), uint8_t{0});
}

std::string cmcIcfFile::BuildText(const RangeList& ranges) const {
    std::string out;
    // Header words are 16 bits; masking keeps the header at its 8 characters.
    AppendHex(out, static_cast<uint32_t>(code1) & 0xFFFF, 4);
    AppendHex(out, static_cast<uint32_t>(code2) & 0xFFFF, 4);
    out += "\r\n" + CommentLine(comment) + "\r\n#MapRev=" + std::to_string(mapRev) + "\r\n";
    if (!image) return out;
    for (const AddressRange& r : RangesInUse(ranges, image->GetSize())) {
        size_t count = static_cast<size_t>(r.last - r.first) + 1;
        out.reserve(out.size() + count * 2 + (count / 16 + 2) * 8);
        int32_t a = r.first;
        while (a <= r.last) {
            // A line never crosses a 16-byte boundary and ends with its range.
            int32_t n = bytesPerLine - a % bytesPerLine;
            if (a + n - 1 > r.last) n = r.last - a + 1;
            AppendHex(out, static_cast<uint32_t>(a), 4);
            AppendHex(out, static_cast<uint32_t>(n), 2);
            const uint8_t* bytes = image->Data() + a;
            for (int32_t i = 0; i < n; ++i)
                AppendHex(out, bytes[i], 2);
            out += "\r\n";
            a += n;
        }
    }
    return out;
}

int cmcIcfFile::Fail(int result, const std::string& path, int error) {
    problem_ = FileProblem{path, error};
    return result;
}

int cmcIcfFile::Save(const std::string& fileName, const RangeList& ranges) {
    problem_ = {};
    int result = kOk;
    if (image) {
        for (const AddressRange& r : RangesInUse(ranges, image->GetSize()))
            if (r.last > kLastFileAddress) result = kFileAccess;
    }
    if (result == kOk) {
        const plat::FileWriteError failure = plat::ReplaceFile(fileName, BuildText(ranges));
        if (failure)
            result = Fail(failure.step == plat::FileWriteError::kCreate ? kFileOpen : kFileAccess,
                          failure.path, failure.error);
    }
    ShowFileErrorMessage(result, problem_);
    return result;
}

int cmcIcfFile::Load(const std::string& fileName, const RangeList* ranges) {
    problem_ = {};
    cmcEeprom kept;
    if (image) kept.Assign(*image);
    ClearReadMap();
    int result = kFileOpen;
    // A pipe must not keep the open waiting for a writer, and a device must
    // not be read at all: both are refused before a byte is read, and again
    // after the open should the path have changed in between.
    auto notAFile = [](const struct stat& st) {
        return S_ISDIR(st.st_mode) ? EISDIR : plat::kNotARegularFile;
    };
    struct stat st {};
    int fd = -1;
    if (::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        result = Fail(kFileOpen, fileName, notAFile(st));
    } else if ((fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) < 0) {
        result = Fail(kFileOpen, fileName, errno);
    } else if (::fstat(fd, &st) != 0) {
        result = Fail(kFileOpen, fileName, errno);
    } else if (!S_ISREG(st.st_mode)) {
        result = Fail(kFileOpen, fileName, notAFile(st));
    } else {
        LineReader in([fd](char* buffer, size_t capacity) -> ssize_t {
            while (true) {
                ssize_t n = ::read(fd, buffer, capacity);
                if (n >= 0 || errno != EINTR) return n;
            }
        });
        result = LoadFrom(in, ranges);
        if (result == kFileAccess) Fail(result, fileName, in.Error());
    }
    if (fd >= 0) ::close(fd);
    return FinishLoad(result, kept);
}

int cmcIcfFile::LoadFromMemory(const void* bytes, size_t length, const RangeList* ranges) {
    problem_ = {};
    cmcEeprom kept;
    if (image) kept.Assign(*image);
    ClearReadMap();
    LineReader in(static_cast<const char*>(bytes), length);
    return FinishLoad(LoadFrom(in, ranges), kept);
}

int cmcIcfFile::FinishLoad(int result, const cmcEeprom& kept) {
    if (result != kOk && image) image->Assign(kept);
    ShowFileErrorMessage(result, problem_);
    return result;
}

int cmcIcfFile::LoadFrom(LineReader& in, const RangeList* ranges) {
    std::string line;
    switch (in.Next(line)) {
    case LineReader::kLine:
        break;
    case LineReader::kFailed:
        return kFileAccess;
    default:
        return kFormat;
    }
    if (line.size() != 8 || !AllHex(line)) return kFormat;
    int32_t fileCode1 = HexField(line, 0, 4);
    int32_t fileCode2 = HexField(line, 4, 4);

    if (onHeader) {
        int result = kFileOpen;
        // A refusal that stored no failure code must not read as success.
        if (!onHeader(fileCode1, fileCode2, result)) return result == kOk ? kFileOpen : result;
    } else {
        if (fileCode1 != code1) return kModel;
        if (fileCode2 != code2) return kExtra;
    }

    bool mapRevChecked = false;
    while (true) {
        const LineReader::Status status = in.Next(line);
        if (status == LineReader::kEnd) break;
        if (status == LineReader::kFailed) return kFileAccess;
        if (status == LineReader::kTooLong) return kFormat;
        if (!line.empty() && line[0] == '#') {
            if (line.compare(1, 7, "MapRev=") == 0) mapRev = ParseDecimal(line, 8);
            continue;
        }
        if (!mapRevChecked) {
            if (!onMapRev || !onMapRev(mapRev)) return kMapRev;
            mapRevChecked = true;
        }
        if (int r = ReadDataLine(line); r != kOk) return r;
    }
    return ranges ? CheckCoverage(ranges) : kOk;
}

int cmcIcfFile::ReadDataLine(const std::string& line) {
    const size_t length = line.size();
    if (length < 8 || length > kLongestDataLine) return kFormat;
    if (!AllHex(line)) return kFormat;
    int32_t address = HexField(line, 0, 4);
    int32_t n = HexField(line, 4, 2);
    if (length != static_cast<size_t>(2 * n + 6)) return kFormat;
    if (!image || !image->IsValidRange(address, n)) return kData;
    uint8_t* bytes = image->Data() + address;
    for (int32_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(HexField(line, 6 + 2 * static_cast<size_t>(i), 2));
    SetMapBits(readMap, address, n, true);
    return kOk;
}

int cmcIcfFile::CheckCoverage(const RangeList* ranges) {
    if (!ranges || readMap.empty()) return kCoverage;
    std::fill(requiredMap.begin(), requiredMap.end(), uint8_t{0});
    for (const AddressRange& r : RangesInUse(*ranges, image ? image->GetSize() : 0))
        SetMapBits(requiredMap, r.first, r.last - r.first + 1, true);
    if (readMap == requiredMap) return kOk;
    for (size_t i = 0; i < readMap.size() && i < requiredMap.size(); ++i)
        if (readMap[i] & ~requiredMap[i]) return kData;
    return kCoverage;
}

namespace {

// The lines of "GI_AppMess_FileErr_Detail".
enum DetailLine {
    kDetailFile,
    kDetailSystem,
    kDetailDiskFull,
    kDetailReadOnly,
    kDetailPermission,
    kDetailNotAFile
};

std::string ProblemText(const FileProblem& problem) {
    cmcGTex& texts = *gGTex;
    auto line = [&](DetailLine n) { return texts.GetTextLine("GI_AppMess_FileErr_Detail", n); };
    std::string text = FormatOneText(line(kDetailFile), problem.path);
    int advice = -1;
    switch (problem.error) {
    case plat::kNotARegularFile:
    case EISDIR:
        // The system has no words for a pipe or a device where a file should be.
        return text + "\n" + line(kDetailNotAFile);
    case ENOSPC:
    case EDQUOT:
        advice = kDetailDiskFull;
        break;
    case EROFS:
        advice = kDetailReadOnly;
        break;
    case EACCES:
    case EPERM:
        advice = kDetailPermission;
        break;
    default:
        break;
    }
    if (problem.error > 0) text += "\n" + FormatOneText(line(kDetailSystem), std::strerror(problem.error));
    if (advice >= 0) text += "\n" + line(static_cast<DetailLine>(advice));
    return text;
}

} // namespace

std::string FileErrorText(int code, const FileProblem& problem) {
    static const char* const kKeys[] = {
        nullptr,
        "GI_Mess_FileErr_FileOpen",
        "GI_Mess_FileErr_FileAccess",
        "GI_Mess_FileErr_Model",
        "GI_Mess_FileErr_Extra",
        "GI_Mess_FileErr_MapRev",
        "GI_Mess_FileErr_Format",
        "GI_Mess_FileErr_Coverage",
        "GI_Mess_FileErr_Data",
        "GI_Mess_FileErr_Newer",
    };
    if (code < 1 || code > 9) return {};
    if (!gGTex) plat::Fatal("No text table for the file error message.");
    std::string text =
        GetMultiLineText(*gGTex, "GI_Mess_FileErr_Headline") + "\n\n" + GetMultiLineText(*gGTex, kKeys[code]);
    if (problem.IsSet()) text += "\n\n" + ProblemText(problem);
    return text;
}

void ShowFileErrorMessage(int code, const FileProblem& problem) {
    const std::string text = FileErrorText(code, problem);
    if (text.empty()) return;
    plat::ShowMessageBox(text, BoxCaption(), plat::MB_OK | plat::MB_ICONWARNING);
}
