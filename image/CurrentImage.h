#pragma once

class cmcEeprom;

// The image that the bank, site and record accessors work on when the caller
// passes none: the application manager points it at its working image, tests
// at theirs. Asking for it before it is set is an internal inconsistency.
cmcEeprom& CurrentImage();
void SetCurrentImage(cmcEeprom* image);
