#pragma once
// What the embosser makes of the print text: every byte through the
// embosser's code to a braille cell, lines wrapped at its cells per line,
// pages ended at its lines per page and at form feeds. Also the check of a
// print text before embossing and the bytes of a page range.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// A code an embosser can be set to, with the liblouis display table its
// cells come from.
struct BrailleCode {
    std::string_view Name;    // short, for the settings and the command line
    std::string_view Titel;   // as the window offers it
    std::string_view Tabelle; // liblouis display table
    // A 6-dot embosser embosses the 8-dot cell without dots 7 and 8.
    bool SechsPunkte = false;
    // Only the printable ASCII bytes 32 to 126 have a cell in the code.
    bool NurAscii = false;
};

// The codes on offer; the first is the default.
const std::vector<BrailleCode>& BrailleCodes();
// By short name or title, in any case; null when there is none.
const BrailleCode* BrailleCodeFinden(std::string_view name);

// The cells of the 256 byte values in one code: dot n is bit n-1.
struct ZellenTabelle {
    std::array<std::uint8_t, 256> Zelle{};
    // Whether the code has a cell for the byte. A byte without one is still
    // shown, with the cell the embosser would most likely emboss, and marked.
    std::array<bool, 256> Vorhanden{};
};

// Cells per line and lines per page of the embosser, and its code.
struct BrailleEinstellung {
    std::string Code = "us6";
    int Zeichen = 40;
    int Zeilen = 25;

    bool operator==(const BrailleEinstellung&) const = default;
};
inline constexpr int kBrailleMin = 1;
inline constexpr int kBrailleMax = 999;

// The Unicode braille pattern of a cell (U+2800 to U+28FF).
inline char16_t BraillePunkte(std::uint8_t zelle) {
    return char16_t(0x2800 + zelle);
}

// A cell without a cell in the code: line and column (0-based) on its page.
struct BrailleMarke {
    std::uint32_t Zeile = 0;
    std::uint32_t Spalte = 0;
    unsigned char Byte = 0;
};

struct BrailleSeite {
    // The bytes of the print text this page takes, [Anfang, Ende).
    std::size_t ByteAnfang = 0;
    std::size_t ByteEnde = 0;
    std::vector<std::u16string> Zeilen;
    std::vector<BrailleMarke> Marken;
};

struct BrailleSatz {
    std::vector<BrailleSeite> Seiten;
    // How often each byte without a cell occurs.
    std::array<std::size_t, 256> OhneZelle{};
};

// Lays out the bytes as the embosser embosses them. CR LF, a single CR and a
// single LF end a line, a form feed ends the page; every other byte is one
// cell. A full line goes on in the next line, a full page on the next page.
BrailleSatz BrailleSetzen(std::string_view bytes, const ZellenTabelle& code, int zeichenJeZeile,
                          int zeilenJeSeite);

// Only the page boundaries, for a page range.
std::vector<BrailleSeite> SeitenGrenzen(std::string_view bytes, int zeichenJeZeile,
                                        int zeilenJeSeite);

// The bytes of pages von to bis (1-based, inclusive) as one copy: trimmed at
// the right and ending with a form feed, like every copy.
std::string SeitenBytes(std::string_view bytes, const std::vector<BrailleSeite>& seiten, int von,
                        int bis);

// A character of the print text the embosser cannot emboss as it is: no
// single byte (sent as its Windows-1252 byte or "?"), or a byte without a
// cell in the code.
struct NichtDarstellbar {
    char32_t Zeichen = 0;
    std::size_t Anzahl = 0;
    // The first place, 1-based.
    std::size_t Zeile = 0;
    std::size_t Spalte = 0;
};

// In the order of their first place. Line ends and form feeds are no
// characters here.
std::vector<NichtDarstellbar> DruckPruefen(std::u16string_view druckText,
                                           const ZellenTabelle& code);

// "Achtung: 14 Zeichen kann der Drucker nicht darstellen: ä (12), € (2)",
// the most frequent first; empty when there is none. As UTF-8.
std::string PruefMeldung(const std::vector<NichtDarstellbar>& liste);

// A character as the check names it: itself when it can be shown, else its
// code.
std::string ZeichenName(char32_t zeichen);

} // namespace zw
