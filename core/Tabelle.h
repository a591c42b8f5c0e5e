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

// The entries of a table's text (already loaded, line ends as the loader
// leaves them).
TTabListe TabTextAuswerten(std::u16string_view text);

// Loads a table file of any document type into the list. When the file cannot
// be read the loader's DateiFehler is passed on and the list keeps its entries.
void TabDateiAuswerten(const std::filesystem::path& datei, TTabListe& liste);

} // namespace zw
