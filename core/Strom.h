#pragma once
// Converting a document file into another piece by piece, for files far
// larger than one wants to hold as a whole text. The result is byte for byte
// what TextDateiLaden, TextKonvertieren and TextDateiSpeichern give in a row.

#include "core/MoFiles.h"
#include "core/Tabelle.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace zw {

// A character the output type cannot hold: the code point, how often it
// occurs and the line (counted from 1) where it occurs first.
struct FehlendesZeichen {
    char32_t Zeichen = 0;
    std::size_t Anzahl = 0;
    std::size_t ErsteZeile = 0;
    bool operator==(const FehlendesZeichen&) const = default;
};

struct StromErgebnis {
    TTextFileType Typ = tfError;      // the type the input was read as
    std::int64_t Anzahl = 0;          // replaced characters
    std::size_t NichtDarstellbar = 0; // characters the output type cannot hold
    // Those characters one by one, in the order of their first occurrence;
    // filled only when there are any.
    std::vector<FehlendesZeichen> Fehlende;
    Herkunft Quelle = Herkunft::Textdatei;
    // Set when a NUL ended the text; its line is 0 (not counted).
    std::optional<NulStelle> Nul;
};

// The characters of a converted text that `typ` cannot hold. `vorher` is the
// text before the conversion (the same length), whose lines are counted, so a
// table that replaces line ends does not move them.
std::vector<FehlendesZeichen> FehlendeZeichen(std::u16string_view vorher,
                                              std::u16string_view nachher, TTextFileType typ);

// Reads `ein`, converts it through the table and writes `aus` atomically in
// `zielTyp`, or else in the type `ein` was read as. Throws DateiFehler.
// The input is read once; only a file that looks like UTF-8 without a mark
// and turns out not to be, late, is read again as ANSI text, and one whose
// table turned ASCII into other characters before its first UTF-8 sequence
// is read again as UTF-8.
// `abschnitt` is the size of the pieces read at once (tests make it small).
StromErgebnis DateiKonvertieren(const std::filesystem::path& ein, const std::filesystem::path& aus,
                                const TTabListe& tabelle, std::optional<TTextFileType> zielTyp,
                                std::size_t abschnitt = std::size_t(1) << 20);

} // namespace zw
