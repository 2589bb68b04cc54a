// Arbitrary bytes as an image, up to a whole one: the radio part as a file or
// a radio could supply it, and beyond it the static tables as an earlier
// unpacking or an edit could have left them. Unpacking (and packing the tables
// again) must neither read outside the image nor end the program.
#include "foundation/Globals.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::SetFatalHandler(AbortOnFatal);
    char dir[] = "/tmp/tolvane-fuzz-XXXXXX";
    if (!mkdtemp(dir)) return 0;
    setenv("XDG_RUNTIME_DIR", dir, 1);
    gStore = new plat::MemorySettingsStore;
    gSettings = new indEnviron("Morv Tolvane APP Exclusive Mutex", "Software\\Morv\\Tolvane", *gStore);
    gEnviron = gSettings;
    gImage = new cmcEeprom;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cmcEeprom& image = *gImage;
    image.SetSize(layout::kImageSize);
    image.Write(0, data, static_cast<int32_t>(std::min<size_t>(size, layout::kImageSize)));
    // Header byte 3 plays no part in the passes: it picks the model.
    const int32_t model = size > 3 ? data[3] % 10 : 0;
    gSettings->ModelType = model;
    const int modelClass = model % 5 + 1;
    UnpackImage(image, modelClass, PackingFor(modelClass));
    Static2DynamicInit(image, modelClass);
    Dynamic2Static(image);
    return 0;
}
