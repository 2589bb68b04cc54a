// The adjustment program's passes on arbitrary bytes as an image, up to a
// whole one: both unpackers (the clamped one of a load, the full one of a
// model's start-up data), with the calibration block going into a radio
// copy, and the packing of the tables they leave, in both modes. None may
// read outside the image or end the program.
#include "adjust/AdjustImagePasses.h"
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"
#include "platform/SettingsStore.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Any fatal error is a finding.
void AbortOnFatal(const std::string& text) {
    std::fprintf(stderr, "fatal: %s\n", text.c_str());
    std::abort();
}

plat::MemorySettingsStore* gStore;
indEnviron* gSettings;
cmcEeprom* gImage;
cmcEeprom* gFull;
cmcEeprom* gRadioCopy;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::SetFatalHandler(AbortOnFatal);
    char dir[] = "/tmp/tolvane-fuzz-XXXXXX";
    if (!mkdtemp(dir)) return 0;
    setenv("XDG_RUNTIME_DIR", dir, 1);
    gStore = new plat::MemorySettingsStore;
    gSettings = new indEnviron("fuzz adjustment", "Software\\fuzz", *gStore);
    gEnviron = gSettings;
    gImage = new cmcEeprom;
    gFull = new cmcEeprom;
    gRadioCopy = new cmcEeprom;
    gRadioCopy->SetSize(layout::kImageSize);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cmcEeprom& image = *gImage;
    image.SetSize(layout::kImageSize);
    image.Write(0, data, static_cast<int32_t>(std::min<size_t>(size, layout::kImageSize)));
    // Header byte 3 plays no part in the passes: it picks the model.
    gSettings->ModelType = size > 3 ? data[3] % 10 : 0;
    *gFull = image;
    adj::UnpackDynamicArea(image, gRadioCopy);
    adj::Static2Dynamic(image, 1);
    adj::Dynamic2Static(*gFull, gRadioCopy);
    adj::Static2Dynamic(*gFull, 0);
    return 0;
}
