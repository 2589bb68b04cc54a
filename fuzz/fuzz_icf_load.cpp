// Arbitrary bytes as a clone data file opened as the cloning program opens
// one: the reader takes them from a real file into a whole image, and a file
// that loads goes on through the checks and passes that follow (the image's
// header, the newer-data lockout, the coverage of the clone area, unpacking
// and the model's normalising against its start-up data). The reader must
// never overrun, a load that fails must leave the image exactly as it was, a
// load that succeeds must have touched only the addresses it read, and
// nothing after it may end the program.
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/ModelPasses.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "tools/initdata/StartupImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr int kModels = 10;
constexpr int32_t kModelCode = 0x4410;

void AbortOnFatal(const std::string& text) {
    std::fprintf(stderr, "fatal: %s\n", text.c_str());
    std::abort();
}

class AnswerOk : public plat::MessageBoxService {
public:
    int Show(const std::string&, const std::string&, unsigned) override { return plat::IDOK; }
};

struct World {
    cmcGTex texts;
    AnswerOk boxes;
    plat::MemorySettingsStore store;
    indEnviron settings{"Morv Tolvane APP Exclusive Mutex", "Software\\Morv\\Tolvane", store};
    // Each model's start-up data as the program holds it after start-up.
    std::array<cmcEeprom, kModels> references;
    cmcEeprom untouched;
    cmcEeprom image;
    cmcEeprom reference;
    int fd = -1;
    std::string path;
    std::string lockoutText;
};

World* gWorld;

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    if (::ftruncate(fd, 0) != 0) return false;
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

ImagePacking Packing() {
    return [](cmcEeprom& image) { return Static2Dynamic(image, kPackPlain); };
}

// What the open does with a file that loaded, on the loaded image.
void AfterOpen(World& w, cmcIcfFile& icf) {
    cmcEeprom& image = w.image;
    if (CheckImageHeader(image, false) != 0) return;
    if (IsLockedOutNewerData(image, w.lockoutText, Packing())) return;
    const RangeList areas = CloneAreasFor(3);
    const int coverage = icf.CheckCoverage(&areas);
    if (coverage != cmcIcfFile::kOk && coverage != cmcIcfFile::kCoverage && coverage != cmcIcfFile::kData)
        std::abort();
    if (coverage != cmcIcfFile::kOk) return;
    w.settings.ModelType = 0;
    w.reference = w.references[0];
    const int model = AfterLoadImage(
        image, w.reference,
        [&w](int index) {
            if (index < 0 || index >= kModels) std::abort();
            w.settings.ModelType = index;
            w.reference = w.references[static_cast<size_t>(index)];
        },
        Packing());
    if (model < 0 || model >= kModels || image.GetSize() != layout::kImageSize) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::SetFatalHandler(AbortOnFatal);
    // The settings take the program's instance lock: one folder of its own per process.
    char dir[] = "/tmp/tolvane-fuzz-XXXXXX";
    if (mkdtemp(dir)) setenv("XDG_RUNTIME_DIR", dir, 1);
    gWorld = new World;
    World& w = *gWorld;
    w.texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
    gGTex = &w.texts;
    plat::SetMessageBoxes(&w.boxes);
    gEnviron = &w.settings;
    w.lockoutText = w.texts.GetText("GI_Sys_LockoutNewerData");
    for (int m = 0; m < kModels; ++m) {
        cmcEeprom& ref = w.references[static_cast<size_t>(m)];
        BuildStartupImage(ref, m);
        Dynamic2Static(ref);
    }
    // The open loads into a fresh image, all zeros.
    w.untouched.SetSize(layout::kImageSize);
    w.fd = ::memfd_create("icf", MFD_CLOEXEC);
    if (w.fd < 0) AbortOnFatal("no memory file");
    w.path = "/proc/self/fd/" + std::to_string(w.fd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World& w = *gWorld;
    if (!WriteAll(w.fd, data, size)) AbortOnFatal("cannot write the memory file");
    w.image = w.untouched;

    cmcIcfFile icf;
    icf.SetImage(&w.image);
    icf.SetCode1(kModelCode);
    icf.SetCode2(0);
    icf.SetOnMapRev([](int32_t rev) { return CloningProfile().AcceptsMapRevision(rev); });
    icf.SetOnHeader([](int32_t c1, int32_t c2, int& result) {
        if (c1 < 0 || c1 > 0xFFFF || c2 < 0 || c2 > 0xFFFF) std::abort();
        return CheckModelCodes(static_cast<uint16_t>(c1), static_cast<uint16_t>(c2), result);
    });

    const int result = icf.Load(w.path);
    if (result < cmcIcfFile::kOk || result > cmcIcfFile::kData || result == cmcIcfFile::kFileAccess)
        std::abort();
    if (result == cmcIcfFile::kFileOpen) std::abort(); // the file is there and is a plain file
    if (result != cmcIcfFile::kOk) {
        if (!w.image.IsEqual(w.untouched)) std::abort();
        return 0;
    }
    const std::vector<uint8_t>& map = icf.ReadMap();
    const uint8_t* bytes = w.image.Data();
    for (int32_t a = 0; a < w.image.GetSize(); ++a) {
        const uint8_t read = map[static_cast<size_t>(a / 8)];
        if (read == 0xFF) {
            a += 7 - a % 8;
            continue;
        }
        if (!(read >> (a % 8) & 1) && bytes[a] != 0) std::abort();
    }
    AfterOpen(w, icf);
    return 0;
}
