// Fonts made from GDI's font description.
#pragma once

#include "mapping/gdi_objects.h"

#include <QFont>

namespace zor::host {

// The toolkit font that matches a CreateFontA description: the face, or a
// face of the generic family asked for when it is not installed; the cell or
// character height in pixels; weight, slant, lines, width and smoothing.
QFont FontFor(const FontObject &description);

} // namespace zor::host
