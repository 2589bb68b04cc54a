#include "platform/FileDialog.h"

#include "platform/Fatal.h"

namespace plat {
namespace {

class NoFileDialogs : public FileDialogService {
public:
    std::optional<std::string> OpenFileName(const FileDialogRequest&) override {
        Fatal("No file dialog service.");
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override {
        Fatal("No file dialog service.");
    }
    std::string DocumentsFolder() override { return std::string(); }
};

NoFileDialogs gNone;
FileDialogService* gService = &gNone;

} // namespace

FileDialogService& FileDialogs() {
    return *gService;
}
void SetFileDialogs(FileDialogService* service) {
    gService = service ? service : &gNone;
}

} // namespace plat
