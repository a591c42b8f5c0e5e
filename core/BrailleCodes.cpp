#include "core/BrailleCodes.h"

#include <liblouis/liblouis.h>

#include <map>
#include <string>

namespace zw {

int LouisZelle(std::string_view tabelle, char32_t zeichen) {
    const std::string name(tabelle);
    widechar ein[1] = {widechar(zeichen)};
    widechar aus[1] = {0};
    if (!lou_charToDots(name.c_str(), ein, aus, 1, 0))
        return -1;
    return int(aus[0] & 0xFF);
}

const ZellenTabelle& ZellenLaden(const BrailleCode& code) {
    static std::map<std::string, ZellenTabelle, std::less<>> geladen;
    if (const auto da = geladen.find(code.Name); da != geladen.end())
        return da->second;

    // All 256 byte values in one call; a byte stands for the character of
    // the same number, the Latin-1 set the display tables describe.
    const std::string tabelle(code.Tabelle);
    widechar ein[256], aus[256];
    for (int b = 0; b < 256; ++b)
        ein[b] = widechar(b);
    if (!lou_charToDots(tabelle.c_str(), ein, aus, 256, 0))
        throw BrailleFehler("Die Braille-Tabelle \"" + tabelle +
                            "\" von liblouis kann nicht geladen werden.");
    ZellenTabelle t;
    for (int b = 0; b < 256; ++b) {
        const auto zelle = static_cast<std::uint8_t>(aus[b] & 0xFF);
        t.Zelle[std::size_t(b)] = code.SechsPunkte ? std::uint8_t(zelle & 0x3F) : zelle;
        // liblouis gives a character it does not know the empty cell; only
        // the blanks have that cell of their own.
        bool vorhanden = zelle != 0 || b == 0x20 || b == 0xA0;
        if (code.NurAscii)
            vorhanden = b >= 32 && b <= 126;
        t.Vorhanden[std::size_t(b)] = vorhanden;
    }
    return geladen.emplace(std::string(code.Name), t).first->second;
}

} // namespace zw
