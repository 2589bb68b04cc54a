#include "foundation/cmcGTex.h"

#include "platform/Fatal.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr size_t kBlockBytes = 16384;
const char kEndKey[] = "End_Of_Ovl";

// A key line is "#" and at least one more character; "#" alone opens nothing.
bool IsKeyLine(const std::string& line) {
    return line.size() >= 2 && line[0] == '#';
}

bool IsEndLine(const std::string& line) {
    return IsKeyLine(line) && line.compare(1, std::string::npos, kEndKey) == 0;
}

std::atomic<uint64_t> gLastBinding{0};

} // namespace

cmcGTex::cmcGTex() = default;
cmcGTex::~cmcGTex() = default;

int cmcGTex::SetFile(const std::string& name) {
    if (kind_ != SourceKind::Unbound) return 0;
    kind_ = SourceKind::File;
    fileName_ = name;
    binding_ = ++gLastBinding;
    return 1;
}

int cmcGTex::SetLines(const char* const* lines) {
    if (kind_ != SourceKind::Unbound) return 0;
    kind_ = SourceKind::Lines;
    lines_ = lines;
    binding_ = ++gLastBinding;
    return 1;
}

std::string cmcGTex::GetTextLine(const std::string& key, int n) {
    std::string text;
    if (ReadKeyLine(key, n, text) != ReadStatus::Line) Fail(key);
    return text;
}

std::optional<std::string> cmcGTex::TryGetTextLine(const std::string& key, int n) {
    std::string text;
    switch (ReadKeyLine(key, n, text)) {
    case ReadStatus::Line:
        return text;
    case ReadStatus::End:
        return std::nullopt;
    case ReadStatus::Error:
        break;
    }
    Fail(key);
}

int cmcGTex::KeyListPosition(const std::string& key) const {
    int pos = 0;
    for (const KeyRecord& rec : keys_) {
        if (rec.name == key) return pos;
        ++pos;
    }
    return -1;
}

void cmcGTex::Fail(const std::string& key) {
    plat::Fatal("GTEX Error !\nThe index '" + key + "' was not found.");
}

bool cmcGTex::Open() {
    switch (kind_) {
    case SourceKind::Unbound:
        return false;
    case SourceKind::Lines:
        if (!lines_) return false;
        break;
    case SourceKind::File:
        if (fileName_.empty()) return false;
        // Binary, so the offsets we keep are the file's own; CR LF is handled when reading.
        file_.reset(std::fopen(fileName_.c_str(), "rb"));
        if (!file_) return false;
        block_.resize(kBlockBytes);
        break;
    }
    opened_ = true;
    scanPos_ = 0;
    return true;
}

// Reads one more line of the index; true when it added a key.
bool cmcGTex::IndexStep() {
    if (!moreToIndex_) return false;
    if (!opened_ && !Open()) {
        moreToIndex_ = false;
        return false;
    }
    std::string& line = indexLine_;
    int64_t next = 0;
    if (ReadUncached(scanPos_, line, next) != ReadStatus::Line) {
        moreToIndex_ = false;
        return false;
    }
    scanPos_ = next;
    if (!IsKeyLine(line)) return false;
    keys_.push_back(KeyRecord{line.substr(1), next, 0, next});
    if (keys_.back().name == kEndKey) moreToIndex_ = false;
    return true;
}

cmcGTex::KeyRecord* cmcGTex::FindKey(const std::string& key) {
    int pos = 0;
    for (auto it = keys_.begin(); it != keys_.end(); ++it, ++pos) {
        if (it->name != key) continue;
        if (pos > kMoveToFrontAfter) keys_.splice(keys_.begin(), keys_, it);
        return &*it;
    }
    // A duplicate key further on is appended too, but the walk above always
    // meets the first occurrence before it.
    while (moreToIndex_) {
        if (IndexStep() && keys_.back().name == key) return &keys_.back();
    }
    return nullptr;
}

cmcGTex::ReadStatus cmcGTex::ReadKeyLine(const std::string& key, int n, std::string& text) {
    KeyRecord* rec = FindKey(key);
    if (!rec || !opened_ || n < 0) return ReadStatus::Error;

    int line = rec->cachedLine;
    int64_t pos = rec->cachedPos;
    if (n < line) {
        line = 0;
        pos = rec->line0Pos;
    }
    int64_t next = 0;
    for (; line < n; ++line) {
        ReadStatus st = ReadCached(pos, text, next);
        if (st != ReadStatus::Line) return st;
        pos = next;
    }
    ReadStatus st = ReadCached(pos, text, next);
    if (st != ReadStatus::Line) return st;
    rec->cachedLine = n + 1;
    rec->cachedPos = next;
    return ReadStatus::Line;
}

cmcGTex::ReadStatus cmcGTex::ReadUncached(int64_t pos, std::string& text, int64_t& next) {
    if (kind_ == SourceKind::Lines) {
        next = pos + 1;
        return ReadArrayLine(pos, text);
    }
    int64_t consumed = 0;
    ReadStatus st = ReadFileLine(pos, text, consumed);
    next = pos + consumed;
    return st;
}

cmcGTex::ReadStatus cmcGTex::ReadCached(int64_t pos, std::string& text, int64_t& next) {
    // An array is already in memory; only file lines are worth caching.
    if (kind_ == SourceKind::Lines) return ReadUncached(pos, text, next);

    auto hit = cacheIndex_.find(pos);
    if (hit != cacheIndex_.end()) {
        cache_.splice(cache_.begin(), cache_, hit->second);
        text = hit->second->text;
        next = pos + hit->second->length;
        return ReadStatus::Line;
    }
    ReadStatus st = ReadUncached(pos, text, next);
    if (st != ReadStatus::Line) return st;
    if (static_cast<int>(cache_.size()) >= kCacheLines) {
        cacheIndex_.erase(cache_.back().offset);
        cache_.pop_back();
    }
    cache_.push_front(CacheEntry{pos, next - pos, text});
    cacheIndex_[pos] = cache_.begin();
    return ReadStatus::Line;
}

cmcGTex::ReadStatus cmcGTex::ReadArrayLine(int64_t index, std::string& text) {
    if (index < 0 || index >= linesEnd_ || !lines_[index]) return ReadStatus::End;
    const char* src = lines_[index];
    size_t len = strnlen(src, kMaxLineBytes);
    if (const void* nl = std::memchr(src, '\n', len))
        len = static_cast<size_t>(static_cast<const char*>(nl) - src);
    text.assign(src, len);
    ++sourceLineReads_;
    // Nothing after the end line belongs to the array, and it may not be there at all.
    if (IsEndLine(text)) linesEnd_ = index + 1;
    return ReadStatus::Line;
}

// Makes the block hold the byte at offset: 1 when it does, 0 at the end of
// the file, -1 on a read error.
int cmcGTex::FillBlock(int64_t offset) {
    if (offset >= blockStart_ && offset < blockStart_ + blockLen_) return 1;
    if (fileOffset_ != offset) {
        if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return -1;
        fileOffset_ = offset;
    }
    size_t got = std::fread(block_.data(), 1, block_.size(), file_.get());
    blockStart_ = offset;
    blockLen_ = static_cast<int64_t>(got);
    fileOffset_ = offset + blockLen_;
    if (got > 0) return 1;
    return std::ferror(file_.get()) ? -1 : 0;
}

// One line of at most kMaxLineBytes bytes at offset, without its LF or CR LF.
// consumed counts the line end too, so offset + consumed is the next line.
cmcGTex::ReadStatus cmcGTex::ReadFileLine(int64_t offset, std::string& text, int64_t& consumed) {
    text.clear();
    int64_t pos = offset;
    bool ended = false;
    while (static_cast<int>(text.size()) < kMaxLineBytes) {
        int fill = FillBlock(pos);
        if (fill < 0) return ReadStatus::Error;
        if (fill == 0) break;
        const char* at = block_.data() + (pos - blockStart_);
        size_t avail = static_cast<size_t>(blockStart_ + blockLen_ - pos);
        size_t want = std::min(avail, static_cast<size_t>(kMaxLineBytes) - text.size());
        if (const void* nl = std::memchr(at, '\n', want)) {
            size_t len = static_cast<size_t>(static_cast<const char*>(nl) - at);
            text.append(at, len);
            pos += static_cast<int64_t>(len) + 1;
            ended = true;
            break;
        }
        text.append(at, want);
        pos += static_cast<int64_t>(want);
    }
    // A line end right after a full-length line belongs to that line, so a
    // line of exactly the limit is not followed by an empty one.
    if (!ended && static_cast<int>(text.size()) == kMaxLineBytes) {
        int fill = FillBlock(pos);
        if (fill < 0) return ReadStatus::Error;
        if (fill > 0 && block_[static_cast<size_t>(pos - blockStart_)] == '\n') {
            pos += 1;
            ended = true;
        } else if (fill > 0 && block_[static_cast<size_t>(pos - blockStart_)] == '\r') {
            int fill2 = FillBlock(pos + 1);
            if (fill2 < 0) return ReadStatus::Error;
            if (fill2 > 0 && block_[static_cast<size_t>(pos + 1 - blockStart_)] == '\n') {
                pos += 2;
                ended = true;
            }
        }
    }
    if (pos == offset) return ReadStatus::End;
    if (ended && !text.empty() && text.back() == '\r') text.pop_back();
    consumed = pos - offset;
    ++sourceLineReads_;
    return ReadStatus::Line;
}

std::string GetMultiLineText(cmcGTex& table, const std::string& key) {
    std::string result;
    for (int n = 0;; ++n) {
        std::optional<std::string> line = table.TryGetTextLine(key, n);
        if (!line || (!line->empty() && (*line)[0] == '#')) break;
        if (n > 0) result += '\n';
        result += *line;
    }
    return result;
}
