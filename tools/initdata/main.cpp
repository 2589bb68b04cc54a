// Writes the ten start-up data files of a program into a folder, named by the
// lines of "GI_App_InitialFile" in the given overlay, in the program's layout:
// tolvane_initdata OVERLAY FOLDER [QT4410R|QT4411R]
#include "adjust/AdjustLayout.h"
#include "adjust/AdjustProfile.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcGTex.h"
#include "image/LayoutProfile.h"
#include "image/RangeList.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "tools/initdata/StartupImage.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kModels = 10;
constexpr int32_t kModelCode = 0x4410;
constexpr int32_t kSubCode = 0;
constexpr int32_t kMapRev = 1;

} // namespace

int main(int argc, char** argv) {
    const std::string program = argc == 4 ? argv[3] : CloningProfile().programName;
    const bool adjustment = program == adj::AdjustProfile().programName;
    if ((argc != 3 && argc != 4) || (!adjustment && program != CloningProfile().programName)) {
        std::fprintf(stderr, "usage: %s OVERLAY FOLDER [%s|%s]\n", argv[0],
                     CloningProfile().programName.c_str(), adj::AdjustProfile().programName.c_str());
        return 2;
    }
    const ProgramProfile& profile = adjustment ? adj::AdjustProfile() : CloningProfile();
    const layout::LayoutProfile& tables = adjustment ? adj::AdjustLayout() : layout::CloningLayout();
    cmcGTex texts;
    texts.SetFile(argv[1]);
    for (int model = 0; model < kModels; ++model) {
        const std::string path =
            std::string(argv[2]) + "/" + texts.GetTextLine(profile.startupFileKey, model);
        cmcEeprom image;
        BuildStartupImage(image, model, tables);
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetCode1(kModelCode);
        file.SetCode2(kSubCode);
        file.SetMapRev(kMapRev);
        if (file.Save(path, RangeList{{0, 0xFF7F}, kRangeListEnd}) != cmcIcfFile::kOk) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
