#pragma once

class cmcEeprom;

// The image that the bank, site and record accessors work on when the caller
// passes none: the application manager points it at its working image, tests
// at theirs. Asking for it before it is set is an internal inconsistency.
cmcEeprom& CurrentImage();
void SetCurrentImage(cmcEeprom* image);

// The current model's initial data, expanded: what an empty row looks like.
// The row commands clear and insert rows from it. The application manager
// points it at its reference image; asking before then is an internal
// inconsistency.
cmcEeprom& ReferenceImage();
void SetReferenceImage(cmcEeprom* image);
