#include "foundation/ProgramProfile.h"

#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

#include <climits>

namespace {

const ProgramProfile* gRunning = nullptr;

} // namespace

const ProgramProfile& CloningProfile() {
    static const ProgramProfile profile{
        .programName = "QT4410R",
        .mutexName = "Morv Tolvane APP Exclusive Mutex",
        .settingsKey = "Software\\Morv\\Tolvane",
        .settingsFile = "Morv/Tolvane.ini",
        .titleKey = "GI_Sys_AppTitle",
        .helpOverlay = "QT4410RH.OVL",
        .comSpeedHighDefault = 1,
        .fallbackModel = 0,
        // Files written before map revisions were numbered carry none (-1) and are read too.
        .firstMapRevision = INT32_MIN,
        .lastMapRevision = 1,
        .boxCaptionKey = "GI_Sys_AppTitle",
        .startupFileKey = "GI_App_InitialFile",
        .helpFileKey = "GI_Sys_MyHelpFile",
        .infoCaptionKey = "GI_Sys_AppTitle",
        .aboutCaptionKey = "GI_App_About_Caption",
        .aboutLabelKey = "GI_App_About_Label_Reg",
        .bankSheet = "GI_Sheet_Mch_%s",
    };
    return profile;
}

const ProgramProfile& RunningProfile() {
    return gRunning ? *gRunning : CloningProfile();
}

ScopedProgramProfile::ScopedProgramProfile(const ProgramProfile& profile) : old_(gRunning) {
    gRunning = &profile;
}

ScopedProgramProfile::~ScopedProgramProfile() {
    gRunning = old_;
}

std::string BoxCaption(cmcGTex& texts) {
    return texts.GetTextLine(RunningProfile().boxCaptionKey, 0);
}

std::string BoxCaption() {
    if (!gGTex) plat::Fatal("No text table for the caption.");
    return BoxCaption(*gGTex);
}
