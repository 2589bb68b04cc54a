#include "foundation/Globals.h"

indEnviron* gEnviron = nullptr;
cmcGTex* gGTex = nullptr;
cmcHelpGTex* gHelpGTex = nullptr;
cmcEvMan* gEvMan = nullptr;
