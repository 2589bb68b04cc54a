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

ScriptedFileDialog& ScriptedFileDialog::Expect(Kind kind, std::optional<std::string> answer) {
    script_.push_back(Step{kind, std::move(answer)});
    return *this;
}

std::optional<std::string> ScriptedFileDialog::OpenFileName(const FileDialogRequest& request) {
    return Answer(Kind::Open, request);
}

std::optional<std::string> ScriptedFileDialog::SaveFileName(const FileDialogRequest& request) {
    return Answer(Kind::Save, request);
}

std::optional<std::string> ScriptedFileDialog::Answer(Kind kind, const FileDialogRequest& request) {
    log_.push_back(Shown{kind, request});
    const char* name = kind == Kind::Open ? "open" : "save";
    if (script_.empty()) throw Unexpected(std::string("unexpected file ") + name + " dialog");
    Step step = std::move(script_.front());
    script_.pop_front();
    if (step.kind != kind)
        throw Unexpected(std::string("a file ") + name + " dialog came instead of another kind");
    return step.answer;
}

} // namespace plat
