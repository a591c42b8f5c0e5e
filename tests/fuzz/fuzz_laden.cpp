// The loader's decoding of any bytes, and the saving encoders on the result.
#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/MoFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view bytes(reinterpret_cast<const char*>(daten), groesse);
    for (zw::TTextFileType typ : {zw::tfText, zw::tfUnicode, zw::tfUtf8}) {
        const std::u16string text = zw::TextDekodieren(bytes, typ);
        // The loader's text is empty or ends with CR LF, and never holds a NUL.
        if (!text.empty() &&
            (text.size() < 2 || text[text.size() - 2] != u'\r' || text.back() != u'\n'))
            std::abort();
        if (text.find(char16_t(0)) != std::u16string::npos)
            std::abort();
        // Saving as UTF-16 and reading back gives the same text.
        const zw::Kodiert k = zw::Utf16Schreiben(text);
        if (zw::TextDekodieren(k.Bytes, zw::tfUnicode) != text)
            std::abort();
        zw::AnsiSchreiben(text);
        zw::Utf8Schreiben(text);
    }
    // The one decision over a file's bytes: UTF-8 without a mark, files that
    // are no text, NUL. It either gives a text under the same rules or says
    // why not.
    try {
        const zw::TTextFileType typ = zw::TypAusAnfang(bytes);
        const zw::Dokument d = zw::DokumentDekodieren(bytes, typ, "fuzz");
        // RTF keeps a last paragraph without its mark as it is.
        if (typ != zw::tfRtf && !d.Text.empty() && !d.Text.ends_with(u"\r\n"))
            std::abort();
        if (d.Text.find(char16_t(0)) != std::u16string::npos)
            std::abort();
        if (d.Nul && d.Nul->RestBytes == 0)
            std::abort();
    } catch (const zw::DateiFehler&) {
    }
    return 0;
}
