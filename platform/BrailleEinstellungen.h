#pragma once
// The embosser's code and page size in the per-user settings, as values of
// their own beside the program's others.

#include "core/BrailleSatz.h"
#include "platform/Einstellungen.h"

namespace zw {

inline const QString kWertBrailleCode = QStringLiteral("BrailleCode");
inline const QString kWertBrailleZeichen = QStringLiteral("BrailleZeichen");
inline const QString kWertBrailleZeilen = QStringLiteral("BrailleZeilen");

// Missing values, an unknown code and sizes out of range give the defaults.
BrailleEinstellung BrailleLaden(Einstellungen& einstellungen);
void BrailleSpeichern(Einstellungen& einstellungen, const BrailleEinstellung& braille);

} // namespace zw
