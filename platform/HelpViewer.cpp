#include "platform/HelpViewer.h"

#include "platform/Fatal.h"

#include <filesystem>
#include <system_error>

namespace plat {
namespace {

class NoHelpViewer : public HelpViewer {
public:
    void SetHelpFile(const std::string&) override { Fatal("No help viewer."); }
    void ShowContextPopup(int32_t) override { Fatal("No help viewer."); }
    void ShowFinder() override { Fatal("No help viewer."); }
};

class NoClipboard : public Clipboard {
public:
    void SetText(const std::string&) override { Fatal("No clipboard."); }
};

NoHelpViewer gNoHelp;
HelpViewer* gHelp = &gNoHelp;
NoClipboard gNoClipboard;
Clipboard* gClipboard = &gNoClipboard;

} // namespace

bool HelpViewer::HasFile(const std::string& path) const {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

HelpViewer& Help() {
    return *gHelp;
}
void SetHelpViewer(HelpViewer* viewer) {
    gHelp = viewer ? viewer : &gNoHelp;
}

Clipboard& SystemClipboard() {
    return *gClipboard;
}
void SetClipboard(Clipboard* clipboard) {
    gClipboard = clipboard ? clipboard : &gNoClipboard;
}

} // namespace plat
