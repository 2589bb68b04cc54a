#include "foundation/cmcHelpGTex.h"

int cmcHelpGTex::SetFileName(const std::string& name) {
    return table_.SetFile(name);
}

std::string cmcHelpGTex::GetText(const std::string& key, int n) {
    return table_.GetTextLine(key, n);
}

std::optional<std::string> cmcHelpGTex::TryGetText(const std::string& key, int n) {
    return table_.TryGetTextLine(key, n);
}
