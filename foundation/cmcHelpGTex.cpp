#include "foundation/cmcHelpGTex.h"

int cmcHelpGTex::SetFileName(const std::string& name) {
    bound_ = true;
    return table_.SetFile(name);
}

std::string cmcHelpGTex::GetText(const std::string& key, int n) {
    if (!bound_) return {};
    return table_.GetTextLine(key, n);
}

std::optional<std::string> cmcHelpGTex::TryGetText(const std::string& key, int n) {
    if (!bound_) return std::nullopt;
    return table_.TryGetTextLine(key, n);
}
