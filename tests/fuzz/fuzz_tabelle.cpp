// The table parser on any bytes, decoded as the loader would.
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"

#include <cstdlib>

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
    return 0;
}
