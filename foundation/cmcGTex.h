#pragma once
#include <cstdint>
#include <cstdio>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A keyed text table over an overlay: a line "#Key" opens a key, the lines
// after it are the key's lines 0, 1, 2..., and "#End_Of_Ovl" ends the index.
// Every caption, menu and cell definition is read through one of these, so
// the source is indexed lazily (only as far as the keys asked for), keys in
// use are kept near the head of the key list, each key remembers where its
// last read ended, and file lines are served through a small cache.
//
// A lookup that cannot be answered (unbound table, file that will not open,
// missing key, failed read) is fatal: the program cannot go on without its
// texts.
class cmcGTex {
public:
    // A physical line longer than this is served as several lines (file) or
    // cut (in-memory array).
    static constexpr int kMaxLineBytes = 8191;
    static constexpr int kCacheLines = 64;
    // Keys found at a list position above this move to the head.
    static constexpr int kMoveToFrontAfter = 10;

    cmcGTex();
    ~cmcGTex();
    cmcGTex(const cmcGTex&) = delete;
    cmcGTex& operator=(const cmcGTex&) = delete;

    // Binds the table to an overlay file, opened at the first lookup. Lines
    // may end in LF or CR LF. Returns 1, or 0 when the table was bound before.
    int SetFile(const std::string& name);

    // Binds the table to an array of lines, which it does not own. The array
    // ends after its "#End_Of_Ovl" line, or at a null entry when it has none.
    // Returns 1, or 0 when the table was bound before.
    int SetLines(const char* const* lines);

    // A number of this binding, unique among every binding of every table in
    // the process; 0 while the table is unbound. A value read from a table
    // can be kept for as long as the table in use shows the same number.
    uint64_t Binding() const { return binding_; }

    // Line n of the key, without its line end. Past the key's own lines this
    // goes on into the lines that follow (the next key's "#" line first).
    std::string GetTextLine(const std::string& key, int n);
    std::string GetText(const std::string& key) { return GetTextLine(key, 0); }

    // As GetTextLine, but the end of the source is an answer (no value)
    // rather than a fatal error. A missing key is still fatal.
    std::optional<std::string> TryGetTextLine(const std::string& key, int n);

    // For tests and diagnostics.
    int KeyCount() const { return static_cast<int>(keys_.size()); }
    // Position of the key in the key list (0 is the head), -1 when it has not
    // been indexed yet. Changes nothing.
    int KeyListPosition(const std::string& key) const;
    int CacheCount() const { return static_cast<int>(cache_.size()); }
    // Lines read from the file or array rather than served from the cache.
    long SourceLineReads() const { return sourceLineReads_; }

private:
    enum class SourceKind { Unbound, Lines, File };
    enum class ReadStatus { Line, End, Error };

    struct KeyRecord {
        std::string name;
        int64_t line0Pos;
        int cachedLine;
        int64_t cachedPos;
    };
    struct CacheEntry {
        int64_t offset;
        int64_t length;
        std::string text;
    };
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    // Positions are line indexes in an array and byte offsets in a file.
    bool Open();
    bool IndexStep();
    KeyRecord* FindKey(const std::string& key);
    ReadStatus ReadKeyLine(const std::string& key, int n, std::string& text);
    ReadStatus ReadUncached(int64_t pos, std::string& text, int64_t& next);
    ReadStatus ReadCached(int64_t pos, std::string& text, int64_t& next);
    ReadStatus ReadArrayLine(int64_t index, std::string& text);
    ReadStatus ReadFileLine(int64_t offset, std::string& text, int64_t& consumed);
    int FillBlock(int64_t offset);
    [[noreturn]] static void Fail(const std::string& key);

    SourceKind kind_ = SourceKind::Unbound;
    uint64_t binding_ = 0;
    bool opened_ = false;
    std::string fileName_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    const char* const* lines_ = nullptr;
    // Index just past the array's "#End_Of_Ovl" line once it has been read.
    int64_t linesEnd_ = INT64_MAX;

    // Read-ahead block of the file and where the file stands.
    std::vector<char> block_;
    int64_t blockStart_ = 0;
    int64_t blockLen_ = 0;
    int64_t fileOffset_ = 0;

    // Kept between indexing steps so that scanning reuses its storage.
    std::string indexLine_;
    int64_t scanPos_ = 0;
    bool moreToIndex_ = true;
    std::list<KeyRecord> keys_;

    // Most recently used first; the map finds an entry by its file offset.
    std::list<CacheEntry> cache_;
    std::unordered_map<int64_t, std::list<CacheEntry>::iterator> cacheIndex_;

    long sourceLineReads_ = 0;
};

// The key's lines 0, 1, 2... joined with "\n", up to the first line that
// begins with '#' or the end of the source.
std::string GetMultiLineText(cmcGTex& table, const std::string& key);
