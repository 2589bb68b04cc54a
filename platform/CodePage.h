#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

// The current multi-byte code page: which bytes open a double-byte character.
// The shipped texts are single-byte, so the default page has no lead bytes;
// a double-byte page is installed by tests to keep the splitters honest.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual bool IsLeadByte(uint8_t c) const = 0;
};

class SingleByteCodePage : public CodePage {
public:
    bool IsLeadByte(uint8_t) const override { return false; }
};

// Lead bytes 0x81-0x9F and 0xE0-0xFC, as in the Japanese page.
class DoubleByteCodePage : public CodePage {
public:
    bool IsLeadByte(uint8_t c) const override { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
};

const CodePage& CurrentCodePage();
void SetCodePage(const CodePage* page);

enum class ByteKind { Single, Lead, Trail };

// Kind of the byte at pos of a zero-terminated text, scanning from its start.
ByteKind ByteKindAt(const char* text, size_t pos);
inline bool IsSingleByteAt(const char* text, size_t pos) {
    return ByteKindAt(text, pos) == ByteKind::Single;
}

// Case-insensitive comparison of texts (letters of the single-byte range).
int CompareNoCase(const std::string& a, const std::string& b);

} // namespace plat
