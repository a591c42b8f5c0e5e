#pragma once
// Code tables: a text file whose lines pair the code of a character to search
// for with the code of its replacement, followed by free comment text.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

struct TabEintrag {
    char16_t Suchzeichen;
    char16_t Ersatzzeichen;
    bool operator==(const TabEintrag&) const = default;
};

// The entries in the order of their lines; the first entry for a character wins.
using TTabListe = std::vector<TabEintrag>;

// A whole word as a signed 32-bit integer: optional sign, decimal digits
// (leading zeros allowed) or hexadecimal after "$", "x", "X", "0x" or "0X".
// Anything else, a sign alone or a value beyond the range reads as -1.
std::int32_t ZahlLesen(std::u16string_view wort);

// What a word is, in the detail the table check reports.
enum class WortArt {
    Zahl,      // a number of the 32-bit range (negative ones included)
    ZuGross,   // digits alone, but beyond the 32-bit range
    KeineZahl, // anything else, the empty word among them
};
struct WortBefund {
    WortArt Art = WortArt::KeineZahl;
    std::int32_t Wert = -1; // the number; -1 for the others, as ZahlLesen reads them
};
WortBefund WortPruefen(std::u16string_view wort);

// One line of a table file as the parser sees it: the two numbers that decide
// whether it is an entry, and the words they come from.
struct TabZeile {
    std::u16string_view Wort1, Wort2;
    WortBefund Zahl1, Zahl2;
    bool Eintrag = false;
};
TabZeile TabZeileLesen(std::u16string_view zeile);

// Why a line of a table is no entry or why an entry never takes effect.
enum class TabBefundArt {
    Tabulator,   // a tab where a space would separate the words
    EineZahl,    // a number, then nothing
    GleicheZahl, // the same number twice
    Negativ,     // a negative number
    ZuGross,     // a number beyond the 32-bit range
    KeineZahl,   // no number where one belongs
    Verdeckt,    // an entry after an earlier one for the same search character
};

struct TabBefund {
    std::size_t Zeile = 0; // counted from 1, as the loader divides the text
    TabBefundArt Art = TabBefundArt::KeineZahl;
    std::string Text;              // the reason in German, UTF-8
    std::size_t FruehereZeile = 0; // for Verdeckt: the line whose entry wins
};

// Every line of the text that is not an entry, except empty lines and comment
// lines (those whose first word begins with ";"), and every entry that never
// takes effect; in the order of the lines.
std::vector<TabBefund> TabTextPruefen(std::u16string_view text);
// The same for a table file; the loader's DateiFehler is passed on.
std::vector<TabBefund> TabDateiPruefen(const std::filesystem::path& datei);
// "Zeile 3: " and the reason.
std::string BefundZeile(const TabBefund& befund);

// The entries of a table's text (already loaded, line ends as the loader
// leaves them).
TTabListe TabTextAuswerten(std::u16string_view text);

// Loads a table file of any document type into the list. When the file cannot
// be read the loader's DateiFehler is passed on and the list keeps its entries.
void TabDateiAuswerten(const std::filesystem::path& datei, TTabListe& liste);

} // namespace zw
