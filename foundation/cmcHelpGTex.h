#pragma once
#include "foundation/cmcGTex.h"

#include <optional>
#include <string>

// The table of help texts over the help overlay. Bound to a file, it follows
// the text table's rules in every respect; a program without a help overlay
// never binds it, and then every lookup yields an empty text.
class cmcHelpGTex {
public:
    // Returns 1, or 0 when the table was bound before.
    int SetFileName(const std::string& name);

    // Line n of the key, counted from the key's first line; past the key's own
    // lines it goes on into the lines that follow. A missing key is fatal.
    std::string GetText(const std::string& key, int n);
    // As GetText, but the end of the table is an answer (no value); a
    // missing key is still fatal. Unbound, there is no value.
    std::optional<std::string> TryGetText(const std::string& key, int n);

private:
    cmcGTex table_;
    bool bound_ = false;
};
