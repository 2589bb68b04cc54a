#pragma once
#include "tests/app/DocumentFixture.h"
#include "ui/ProgramRun.h"
#include "ui/indMain.h"

#include <memory>
#include <string>

namespace uitest {

// The cloning program's globals and its main window over the document, as
// its start-up builds them (see DocumentFixture); the main form is the
// test's to make.
class AppFixture : public apptest::DocumentFixture {
protected:
    ~AppFixture() override { window_.reset(); }

    // The globals and the window; nothing loaded, no form yet.
    indMain& Start() {
        DocumentFixture::Start();
        window_ = std::make_unique<indMain>(Doc());
        return *window_;
    }
    // The same over the overlay and start-up data of another program directory.
    indMain& StartIn(const std::string& programDirectory) {
        StartWith(CloningDocumentFactory(), programDirectory);
        window_ = std::make_unique<indMain>(Doc());
        return *window_;
    }
    indMain& Window() { return *window_; }
    // The program's end: the window goes, then the globals (the settings last).
    void Stop() {
        window_.reset();
        globals_.reset();
    }

    std::unique_ptr<indMain> window_;
};

} // namespace uitest
