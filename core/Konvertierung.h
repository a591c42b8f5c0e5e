#pragma once
// The conversion of a text through a code table and its German report.

#include "core/Tabelle.h"

#include <array>
#include <cstdint>
#include <string>

namespace zw {

// The code table as a lookup by 16-bit code unit. Filled in table order, so the
// first entry for a character wins, exactly as a pass over the list in order.
class Ersetzungen {
public:
    explicit Ersetzungen(const TTabListe& tabelle);

    // Replaces every listed character of the text in place, each position
    // looked at once (no chaining). Returns the number of replaced positions.
    std::int64_t Anwenden(std::u16string& text) const;

private:
    // Unlisted characters map to themselves and count 0, which keeps the
    // loop free of branches.
    std::array<char16_t, 65536> ziel_;
    std::array<std::uint8_t, 65536> treffer_;
};

struct KonvertierErgebnis {
    std::u16string Text;
    std::int64_t Anzahl = 0;
};

// Converts a private copy of the text; pass an rvalue to spare the copy.
KonvertierErgebnis TextKonvertieren(std::u16string text, const TTabListe& tabelle);

// 1234567 gives "1.234.567", whatever the regional settings.
std::string ZahlGruppieren(std::int64_t anzahl);

// "1 Zeichen wurde ersetzt", "0 Zeichen wurden ersetzt", "1.234 Zeichen wurden ersetzt".
std::string KonvertierungsMeldung(std::int64_t anzahl);

} // namespace zw
