#include "tests/support/ScriptedFileDialog.h"

namespace plat {

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
