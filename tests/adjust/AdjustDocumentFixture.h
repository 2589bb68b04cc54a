#pragma once
#include "adjust/AdjustDocument.h"
#include "adjust/AdjustImagePasses.h"
#include "adjust/AdjustProfile.h"
#include "tests/app/DocumentFixture.h"

#include <string>

namespace adjtest {

// The adjustment program's globals and document as its start-up builds
// them, over its shipped overlay and start-up data.
class AdjustDocumentFixture : public apptest::DocumentFixture {
protected:
    adj::AdjustDocument& StartAdjust() {
        globals_ = std::make_unique<ProgramGlobals>(adj::AdjustProfile(), adj::MakeAdjustDocument,
                                                    std::string(TOLVANE_BIN_DIR "/"));
        return AdjustDoc();
    }
    adj::AdjustDocument& AdjustDoc() { return static_cast<adj::AdjustDocument&>(globals_->Doc()); }

    // A model's start-up data file as shipped, read raw, and expanded when asked.
    static cmcEeprom AdjustStartup(int32_t model, bool expand) {
        cmcEeprom image;
        image.SetSize(layout::kImageSize);
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetOnMapRev([](int32_t) { return true; });
        file.SetOnHeader([](int32_t, int32_t, int&) { return true; });
        const std::string path = std::string(TOLVANE_BIN_DIR) + "/" +
                                 gGTex->GetTextLine(adj::AdjustProfile().startupFileKey, model);
        EXPECT_EQ(file.Load(path), cmcIcfFile::kOk) << path;
        if (expand) adj::Dynamic2Static(image);
        return image;
    }
};

} // namespace adjtest
