#pragma once
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

#include <functional>
#include <string>
#include <vector>

namespace celltest {

// The text of the fatal error the call ends in.
inline std::string FatalText(const std::function<void()>& f) {
    try {
        f();
    } catch (const plat::FatalError& e) {
        return e.what();
    }
    return "(no fatal error)";
}

// An overlay in memory, installed as the program's text table for the scope.
class ScopedOverlay {
public:
    explicit ScopedOverlay(std::vector<std::string> lines) : lines_(std::move(lines)), old_(gGTex) {
        for (const std::string& line : lines_)
            pointers_.push_back(line.c_str());
        pointers_.push_back(nullptr);
        table_.SetLines(pointers_.data());
        gGTex = &table_;
    }
    ~ScopedOverlay() { gGTex = old_; }
    ScopedOverlay(const ScopedOverlay&) = delete;
    ScopedOverlay& operator=(const ScopedOverlay&) = delete;

    cmcGTex& Table() { return table_; }

private:
    std::vector<std::string> lines_;
    std::vector<const char*> pointers_;
    cmcGTex table_;
    cmcGTex* old_;
};

} // namespace celltest
