#include "adjust/AdjustProfile.h"

namespace adj {

const ProgramProfile& AdjustProfile() {
    static const ProgramProfile profile{
        .programName = "QT4411R",
        .mutexName = "Morv TolvaneADJ APP Exclusive Mutex",
        .settingsKey = "Software\\Morv\\TolvaneADJ",
        .settingsFile = "Morv/TolvaneADJ.ini",
        .titleKey = "GI_Sys_AppTitle_ADJ",
        .helpOverlay = "",
        .comSpeedHighDefault = 0,
        .fallbackModel = 5,
        .firstMapRevision = 1,
        .lastMapRevision = 1,
        .boxCaptionKey = "GI_Sys_AppTitle_ADJ",
        .startupFileKey = "GI_App_InitialFile",
        .helpFileKey = "GI_Sys_MyHelpFile_ADJ",
        .infoCaptionKey = "GI_AppInd_CloneInfo_Caption",
        .aboutCaptionKey = "GI_App_About_Caption_ADJ",
        .aboutLabelKey = "GI_App_About_Label_Reg_ADJ",
        // One sheet for every model: the tree names it statically.
        .bankSheet = "GI_Sheet_Mch",
    };
    return profile;
}

} // namespace adj
