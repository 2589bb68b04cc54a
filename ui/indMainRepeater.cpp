// The repeater data file: one site's repeater entries as a clone data file
// of its own, written from and read into the working image.
#include "app/Document.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/ImagePacking.h"
#include "image/RepeaterBlock.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "platform/FileDialog.h"
#include "ui/indMain.h"

namespace {

constexpr int32_t kRepeaterFormat = 3;
constexpr int32_t kRepeaterArea = 5;
constexpr char kDialogKey[] = "GI_Sys_Dialog_FOpenRpt";
constexpr char kComment[] = "Repeater Data";

int32_t SiteOf(int32_t site) {
    return site == indMain::kOpenSite ? GetCurrentSite() : site;
}

plat::FileDialogRequest RepeaterDialog(const std::string& initialDir) {
    plat::FileDialogRequest request;
    request.defaultExtension = gGTex->GetTextLine(kDialogKey, 0);
    request.filter = gGTex->GetTextLine(kDialogKey, 1);
    request.initialDir = initialDir;
    return request;
}

} // namespace

std::string indMain::GetRepeaterFileName() const {
    return repeaterFileName_.empty() ? document_.UntitledPath() : repeaterFileName_;
}

int indMain::ExportRepeaterDialog(int32_t site) {
    site = SiteOf(site);
    plat::FileDialogRequest request = RepeaterDialog(document_.LastDirectory());
    request.fileName = Document::NamePart(GetRepeaterFileName());
    const std::optional<std::string> path = plat::FileDialogs().SaveFileName(request);
    return path ? ExportRepeaterFile(*path, site) : 1;
}

int indMain::ExportRepeaterFile(const std::string& path, int32_t site) {
    site = SiteOf(site);
    // The block goes out at address 0 of a copy: the working image is never
    // touched, whatever the write does.
    cmcEeprom image = document_.WorkingImage();
    const RepeaterBlock block = BuildRepeaterBlock(image, site);
    image.Write(0, block.data(), rptblock::kSize);
    cmcIcfFile file;
    file.SetImage(&image);
    file.SetCode1(document_.ModelCode());
    file.SetCode2(document_.SubCode());
    file.SetMapRev(kRepeaterFormat);
    file.SetComment(kComment);
    if (file.Save(path, document_.CloneAreas(kRepeaterArea)) != cmcIcfFile::kOk) return 1;
    document_.UseFolderOf(path);
    repeaterFileName_ = path;
    return 0;
}

int indMain::ImportRepeaterDialog(int32_t site) {
    // The site is taken before editing ends: a window that closes on that
    // must not send its site's file into another one.
    site = SiteOf(site);
    document_.EndEdit();
    const std::optional<std::string> path =
        plat::FileDialogs().OpenFileName(RepeaterDialog(document_.LastDirectory()));
    return path ? ImportRepeaterFile(*path, site) : 1;
}

int indMain::ImportRepeaterFile(const std::string& path, int32_t site) {
    site = SiteOf(site);
    cmcEeprom loaded;
    loaded.SetSize(document_.WorkingImage().GetSize());
    cmcIcfFile file;
    file.SetImage(&loaded);
    file.SetCode1(document_.ModelCode());
    file.SetCode2(0);
    file.SetOnMapRev([](int32_t rev) { return rev == kRepeaterFormat; });
    if (file.Load(path) != cmcIcfFile::kOk) return 1; // the loader has told the user
    const RangeList area = document_.CloneAreas(kRepeaterArea);
    if (const int coverage = file.CheckCoverage(&area); coverage != cmcIcfFile::kOk) {
        ShowFileErrorMessage(coverage, FileProblem{path, 0});
        return 1;
    }
    RepeaterBlock block{};
    loaded.Read(0, block.data(), rptblock::kSize);

    // Imported and packed on a copy: a site that does not fit the pool or
    // the radio's memory leaves the working image as it was.
    cmcEeprom image = document_.WorkingImage();
    const int32_t before = GetSiteChannelCount(image, site);
    if (ImportRepeaterBlock(image, document_.ReferenceImage(), block, site) != RepeaterImport::kDone ||
        document_.Static2Dynamic(image, kPackPlain) != 0) {
        ShowFileErrorMessage(cmcIcfFile::kData, FileProblem{path, 0});
        return 1;
    }
    document_.WorkingImage().Assign(image);
    document_.UseFolderOf(path);
    repeaterFileName_ = path;
    const int32_t after = GetSiteChannelCount(image, site);
    if (after < before) gEvMan->Send(evRemoveLastRow, before - after, 0);
    if (after > before) gEvMan->Send(evAddRow, after - before, 0);
    document_.SetModified();
    gEvMan->Send(evRedrawSheet);
    gEvMan->Send(evRefreshCaption);
    return 0;
}
