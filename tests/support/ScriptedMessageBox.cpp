#include "tests/support/ScriptedMessageBox.h"

namespace plat {

ScriptedMessageBox& ScriptedMessageBox::Expect(const std::string& textPart, int answer) {
    script_.push_back({textPart, answer});
    return *this;
}

int ScriptedMessageBox::Show(const std::string& text, const std::string& caption, unsigned flags) {
    if (script_.empty()) throw Unexpected("unexpected message box: \"" + text + "\" (" + caption + ")");
    Step step = script_.front();
    if (!step.textPart.empty() && text.find(step.textPart) == std::string::npos)
        throw Unexpected("message box \"" + text + "\" where one with \"" + step.textPart +
                         "\" was expected");
    script_.pop_front();
    log_.push_back({text, caption, flags, step.answer});
    return step.answer;
}

} // namespace plat
