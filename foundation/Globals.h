#pragma once

class indEnviron;
class cmcGTex;
class cmcHelpGTex;
class cmcEvMan;

// The process-wide objects, constructed by the program's start-up in this
// order and destroyed in the reverse order; tests set the ones they need.
// The application manager is a global of the window layer.
extern indEnviron* gEnviron;
extern cmcGTex* gGTex;
extern cmcHelpGTex* gHelpGTex;
extern cmcEvMan* gEvMan;
