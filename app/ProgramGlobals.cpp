#include "app/ProgramGlobals.h"

#include "app/CloningDocument.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcHelpGTex.h"
#include "foundation/indEnviron.h"

DocumentFactory CloningDocumentFactory() {
    return
        [](const ProgramProfile& profile, const std::string& programDirectory) -> std::unique_ptr<Document> {
            return std::make_unique<CloningDocument>(profile, programDirectory);
        };
}

ProgramGlobals::ProgramGlobals(const ProgramProfile& profile, const DocumentFactory& makeDocument,
                               const std::string& programDirectory)
    : running_(profile) {
    environ_ = std::make_unique<indEnviron>(profile.mutexName, profile.settingsKey, profile.settingsFile,
                                            profile.comSpeedHighDefault);
    gEnviron = environ_.get();
    texts_ = std::make_unique<cmcGTex>();
    gGTex = texts_.get();
    helpTexts_ = std::make_unique<cmcHelpGTex>();
    gHelpGTex = helpTexts_.get();
    evMan_ = std::make_unique<cmcEvMan>();
    gEvMan = evMan_.get();
    document_ = makeDocument(profile, programDirectory);
}

ProgramGlobals::~ProgramGlobals() {
    document_.reset();
    gEvMan = nullptr;
    evMan_.reset();
    gHelpGTex = nullptr;
    helpTexts_.reset();
    gGTex = nullptr;
    texts_.reset();
    gEnviron = nullptr;
    environ_.reset();
}
