#pragma once
#include "foundation/ColorName.h"
#include "foundation/FontSpec.h"

#include <QColor>
#include <QFont>
#include <QPalette>

// The toolkit's colour of a GUI-library colour value: 0x00BBGGRR, or a system
// colour (high bit set) taken from the palette's matching role.
QColor ToQColor(ColorValue value, const QPalette& palette);

// The toolkit's font of a font specification, starting from base for what the
// specification leaves to the host (an empty face).
QFont ToQFont(const FontSpec& spec, const QFont& base);
