#pragma once
#include "platform/MessageBox.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

// Test double for message boxes: answers from a script of expected boxes, in
// order, and throws on any box the script does not expect.
class ScriptedMessageBox : public MessageBoxService {
public:
    struct Shown {
        std::string text, caption;
        unsigned flags;
        int answer;
    };
    struct Unexpected : std::logic_error {
        using std::logic_error::logic_error;
    };

    // The next box must contain `textPart` in its text (empty: any text).
    ScriptedMessageBox& Expect(const std::string& textPart, int answer);

    int Show(const std::string& text, const std::string& caption, unsigned flags) override;

    const std::vector<Shown>& Log() const { return log_; }
    bool Done() const { return script_.empty(); }

private:
    struct Step {
        std::string textPart;
        int answer;
    };
    std::deque<Step> script_;
    std::vector<Shown> log_;
};

// Installs a message box service for the lifetime of a scope.
class ScopedMessageBoxes {
public:
    explicit ScopedMessageBoxes(MessageBoxService* service) : old_(&MessageBoxes()) {
        SetMessageBoxes(service);
    }
    ~ScopedMessageBoxes() { SetMessageBoxes(old_); }
    ScopedMessageBoxes(const ScopedMessageBoxes&) = delete;
    ScopedMessageBoxes& operator=(const ScopedMessageBoxes&) = delete;

private:
    MessageBoxService* old_;
};

} // namespace plat
