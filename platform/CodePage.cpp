#include "platform/CodePage.h"

#include <strings.h>

namespace plat {
namespace {
SingleByteCodePage gDefault;
const CodePage* gPage = &gDefault;
} // namespace

const CodePage& CurrentCodePage() {
    return *gPage;
}
void SetCodePage(const CodePage* page) {
    gPage = page ? page : &gDefault;
}

ByteKind ByteKindAt(const char* text, size_t pos) {
    const CodePage& page = CurrentCodePage();
    size_t i = 0;
    while (i < pos) {
        uint8_t c = static_cast<uint8_t>(text[i]);
        if (c == 0) return ByteKind::Single;
        if (page.IsLeadByte(c) && text[i + 1] != 0) {
            if (i + 1 == pos) return ByteKind::Trail;
            i += 2;
        } else {
            i += 1;
        }
    }
    uint8_t c = static_cast<uint8_t>(text[pos]);
    return (c != 0 && page.IsLeadByte(c) && text[pos + 1] != 0) ? ByteKind::Lead : ByteKind::Single;
}

int CompareNoCase(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str());
}

} // namespace plat
