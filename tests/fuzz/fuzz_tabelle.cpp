// The table parser and the table check on any bytes, decoded as the loader
// would.
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view bytes(reinterpret_cast<const char*>(daten), groesse);
    const zw::TTextFileType typ = zw::TypAusAnfang(bytes);
    if (typ == zw::tfRtf)
        return 0; // the RTF reader has a target of its own
    const std::u16string text = zw::TextDekodieren(bytes, typ);
    const zw::TTabListe liste = zw::TabTextAuswerten(text);
    // Every entry comes from one line, and converting through it stays in bounds.
    if (liste.size() > text.size())
        std::abort();
    zw::TextKonvertieren(text, liste);

    // The check agrees with the parser: an entry that never takes effect is
    // one whose search character came before, lines come in order, and no
    // finding names a line beyond the text.
    const std::vector<zw::TabBefund> befunde = zw::TabTextPruefen(text);
    std::vector<bool> gesehen(0x10000, false);
    std::size_t verdeckt = 0;
    for (const zw::TabEintrag& e : liste) {
        verdeckt += gesehen[e.Suchzeichen];
        gesehen[e.Suchzeichen] = true;
    }
    std::size_t befundeVerdeckt = 0, vorige = 0;
    for (const zw::TabBefund& b : befunde) {
        befundeVerdeckt += b.Art == zw::TabBefundArt::Verdeckt;
        if (b.Zeile <= vorige || b.Zeile > text.size() + 1 || b.Text.empty())
            std::abort();
        vorige = b.Zeile;
    }
    if (befundeVerdeckt != verdeckt)
        std::abort();
    return 0;
}
