#pragma once
#include "platform/FileDialog.h"

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

// Test double: answers the dialogs from a script, in order, and throws on a
// dialog the script does not expect. Every request is logged.
class ScriptedFileDialog : public FileDialogService {
public:
    enum class Kind { Open, Save };
    struct Shown {
        Kind kind;
        FileDialogRequest request;
    };
    struct Unexpected : std::logic_error {
        using std::logic_error::logic_error;
    };

    // The next dialog must be of this kind; it answers the path, or cancels
    // with nothing.
    ScriptedFileDialog& Expect(Kind kind, std::optional<std::string> answer);

    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::string DocumentsFolder() override { return documents; }

    const std::vector<Shown>& Log() const { return log_; }
    bool Done() const { return script_.empty(); }

    std::string documents;

private:
    std::optional<std::string> Answer(Kind kind, const FileDialogRequest& request);

    struct Step {
        Kind kind;
        std::optional<std::string> answer;
    };
    std::deque<Step> script_;
    std::vector<Shown> log_;
};

} // namespace plat
