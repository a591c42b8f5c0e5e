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

namespace zw {

struct StromErgebnis {
    TTextFileType Typ = tfError;      // the type the input was read as
    std::int64_t Anzahl = 0;          // replaced characters
    std::size_t NichtDarstellbar = 0; // characters the output type cannot hold
    Herkunft Quelle = Herkunft::Textdatei;
    // Set when a NUL ended the text; its line is 0 (not counted).
    std::optional<NulStelle> Nul;
};

// Reads `ein`, converts it through the table and writes `aus` atomically in
// `zielTyp`, or else in the type `ein` was read as. Throws DateiFehler.
// The input is read once; only a file that looks like UTF-8 without a mark
// and turns out not to be, late, is read again as ANSI text.
// `abschnitt` is the size of the pieces read at once (tests make it small).
StromErgebnis DateiKonvertieren(const std::filesystem::path& ein, const std::filesystem::path& aus,
                                const TTabListe& tabelle, std::optional<TTextFileType> zielTyp,
                                std::size_t abschnitt = std::size_t(1) << 20);

} // namespace zw
