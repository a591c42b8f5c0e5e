#pragma once
// The conversion of a text through a code table and its German report.

#include "core/Tabelle.h"

#include <cstdint>
#include <string>
#include <vector>

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
    // One word per code unit: the replacement in the low 16 bits, a hit bit
    // at bit 40. Unlisted characters map to themselves without the bit, so
    // the loop has no branches, and summing the words counts the hits.
    static constexpr int kTrefferBit = 40;
    std::vector<std::uint64_t> eintrag_;
    // Every listed code unit lies in [unten_, oben_]; runs of text outside
    // that range (plain ASCII for a table of umlauts) are skipped whole.
    char16_t unten_ = 0xFFFF;
    char16_t oben_ = 0;
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
