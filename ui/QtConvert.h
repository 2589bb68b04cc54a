#pragma once
#include "foundation/ColorName.h"
#include "foundation/FontDesc.h"

#include <QColor>
#include <QFont>
#include <QPalette>

// The toolkit's colour of a GUI-library colour value: 0x00BBGGRR, or a system
// colour (high bit set) taken from the palette's matching role.
QColor ToQColor(ColorValue value, const QPalette& palette);

// The toolkit's font of a font description, starting from base for what the
// description leaves to the host (an empty face).
QFont ToQFont(const FontDesc& spec, const QFont& base);
