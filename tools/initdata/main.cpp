// Writes the ten start-up data files into a folder, named by the lines of
// "GI_App_InitialFile" in the given overlay: tolvane_initdata OVERLAY FOLDER
#include "foundation/ProgramProfile.h"
#include "foundation/cmcGTex.h"
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OVERLAY FOLDER\n", argv[0]);
        return 2;
    }
    cmcGTex texts;
    texts.SetFile(argv[1]);
    for (int model = 0; model < kModels; ++model) {
        const std::string path =
            std::string(argv[2]) + "/" + texts.GetTextLine(CloningProfile().startupFileKey, model);
        cmcEeprom image;
        BuildStartupImage(image, model);
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
