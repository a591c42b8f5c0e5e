#pragma once
// The program font (plain data in the core) as Qt's font and colours.

#include "core/Schrift.h"

#include <QColor>
#include <QFont>
#include <QPalette>

#include <cstdint>

namespace zw {

// Face, size and style as a QFont. Colour and character set are not part of
// a QFont; they stay in the TSchrift. A size of 0 is the application's; a
// negative size is a height in pixels, as Windows reads it.
QFont QtSchrift(const TSchrift& schrift);

// The style bits of a QFont, as the settings keep them.
int StilBits(const QFont& schrift);

// Takes face, size in points and style from a QFont; colour and character
// set are left as they are.
void SchriftUebernehmen(const QFont& von, TSchrift& nach);

// A colour value 0x00BBGGRR as a colour. A system colour (0xFF0000nn) is
// the palette's colour of that role, so 0xFF000008, the window text colour,
// is the palette's text colour.
QColor FarbeAusWert(std::uint32_t wert, const QPalette& palette);

} // namespace zw
