#pragma once
#include <cstdint>

// Where the main window's print job is, for the sheets it builds: the
// repeater-site sheet prints extra lines while a job runs and takes its site
// and header from the walk over the sites.
struct PrintWalk {
    bool active = false;
    // The job is walking the repeater sites after the LTR bank sheet.
    bool sitePass = false;
    int32_t site = 0;
};

// The running job's walk; an idle one when nothing prints.
const PrintWalk& CurrentPrintWalk();
// The main window points it at its own walk for its lifetime; null puts the idle one back.
void SetCurrentPrintWalk(const PrintWalk* walk);
