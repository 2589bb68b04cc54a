// Arbitrary bytes as a clone data file: the reader must never overrun, and a
// load that fails must leave the image exactly as it was.
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "platform/MessageBox.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kTexts[] = {
    "#GI_Sys_AppTitle",
    "T",
    "#GI_Mess_FileErr_Headline",
    "H",
    "#GI_Mess_FileErr_FileOpen",
    "1",
    "#GI_Mess_FileErr_FileAccess",
    "2",
    "#GI_Mess_FileErr_Model",
    "3",
    "#GI_Mess_FileErr_Extra",
    "4",
    "#GI_Mess_FileErr_MapRev",
    "5",
    "#GI_Mess_FileErr_Format",
    "6",
    "#GI_Mess_FileErr_Coverage",
    "7",
    "#GI_Mess_FileErr_Data",
    "8",
    "#GI_Mess_FileErr_Newer",
    "9",
    "#End_Of_Ovl",
};

class AnswerOk : public plat::MessageBoxService {
public:
    int Show(const std::string&, const std::string&, unsigned) override { return plat::IDOK; }
};

void SetUpOnce() {
    static cmcGTex texts;
    static AnswerOk boxes;
    texts.SetLines(kTexts);
    gGTex = &texts;
    plat::SetMessageBoxes(&boxes);
}

bool IsRead(const std::vector<uint8_t>& map, int32_t a) {
    return map[static_cast<size_t>(a / 8)] >> (a % 8) & 1;
}

// One load, with or without required ranges, and what must hold afterwards.
void LoadAndCheck(const uint8_t* data, size_t size, const RangeList* ranges) {
    cmcEeprom image;
    image.SetSize(0x400);
    image.Fill(0x5A);
    const cmcEeprom before = image;
    cmcIcfFile icf;
    icf.SetImage(&image);
    icf.SetCode1(0x4410);
    icf.SetCode2(0);
    icf.SetOnMapRev([](int32_t rev) { return rev < 2; });

    int result = icf.LoadFromMemory(data, size, ranges);
    if (result < 0 || result > 8) std::abort();
    if (result != 0) {
        if (!image.IsEqual(before)) std::abort();
        return;
    }
    for (int32_t a = 0; a < image.GetSize(); ++a)
        if (!IsRead(icf.ReadMap(), a) && image.GetByte(a) != 0x5A) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (SetUpOnce(), true);
    (void)ready;
    static const RangeList required = {{0, 0xFF}, {0x300, 0x3FF}};
    LoadAndCheck(data, size, nullptr);
    LoadAndCheck(data, size, &required);
    return 0;
}
