#pragma once
#include "foundation/cmcGTex.h"
#include "image/ImageLayout.h"
#include "image/ModelPasses.h"
#include "image/RangeList.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"

#include <cstdint>
#include <string>

namespace testimage {

// The start-up data file of a model as the program finds it: beside it, named
// by line modelIndex of "GI_App_InitialFile" in the shipped overlay.
inline std::string StartupFilePath(cmcGTex& texts, int32_t modelIndex) {
    return std::string(TOLVANE_BIN_DIR) + "/" + texts.GetTextLine("GI_App_InitialFile", modelIndex);
}

// Loads a clone data file of the whole radio with the checks of the program's own load path.
inline int LoadCloneFile(const std::string& path, cmcEeprom& image) {
    static const RangeList wholeRadio{{0, 0xFF7F}, kRangeListEnd};
    image.SetSize(layout::kImageSize);
    cmcIcfFile file;
    file.SetImage(&image);
    file.SetOnMapRev([](int32_t rev) { return rev < 2; });
    file.SetOnHeader([](int32_t code1, int32_t code2, int& result) {
        return CheckModelCodes(static_cast<uint16_t>(code1), static_cast<uint16_t>(code2), result);
    });
    return file.Load(path, &wholeRadio);
}

} // namespace testimage
