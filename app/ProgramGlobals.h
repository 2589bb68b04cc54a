#pragma once
#include "foundation/ProgramProfile.h"
#include "platform/Fatal.h"

#include <functional>
#include <memory>
#include <string>

class Document;
class indEnviron;
class cmcGTex;
class cmcHelpGTex;
class cmcEvMan;

// How a program makes its own document, given its profile and its directory.
using DocumentFactory = std::function<std::unique_ptr<Document>(const ProgramProfile& profile,
                                                                const std::string& programDirectory)>;

// The cloning program's document.
DocumentFactory CloningDocumentFactory();

// A program's process-wide objects: the settings (with the single-instance
// guard), the text table, the help text table, the event bus and the
// document, built in that order and destroyed in the reverse order, so that
// the settings are written back last. The profile is the running program's
// while they live. They need the platform services (timers, screen)
// installed before. A second instance builds and destroys them as well, but
// never reads or writes the settings.
class ProgramGlobals {
public:
    ProgramGlobals(const ProgramProfile& profile, const DocumentFactory& makeDocument,
                   const std::string& programDirectory = plat::ProgramDirectory());
    ~ProgramGlobals();
    ProgramGlobals(const ProgramGlobals&) = delete;
    ProgramGlobals& operator=(const ProgramGlobals&) = delete;

    indEnviron& Environ() { return *environ_; }
    Document& Doc() { return *document_; }

private:
    ScopedProgramProfile running_;
    std::unique_ptr<indEnviron> environ_;
    std::unique_ptr<cmcGTex> texts_;
    std::unique_ptr<cmcHelpGTex> helpTexts_;
    std::unique_ptr<cmcEvMan> evMan_;
    std::unique_ptr<Document> document_;
};
