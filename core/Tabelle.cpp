#include "core/Tabelle.h"

#include "core/Kodierung.h"
#include "core/MoFiles.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace zw {

namespace {

int HexWert(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The next word of a line from position pos on; only the space separates.
std::u16string_view NaechstesWort(std::u16string_view zeile, std::size_t& pos) {
    while (pos < zeile.size() && zeile[pos] == u' ')
        ++pos;
    const std::size_t anfang = pos;
    while (pos < zeile.size() && zeile[pos] != u' ')
        ++pos;
    return zeile.substr(anfang, pos - anfang);
}

// The loader leaves CR LF after every line; a lone CR or LF from text that did
// not pass through it ends a line as well. A NUL ends the text.
template <class Je> void ZeilenDurchlaufen(std::u16string_view text, Je je) {
    text = text.substr(0, text.find(char16_t(0)));
    std::size_t anfang = 0, nummer = 0;
    while (anfang < text.size()) {
        std::size_t ende = text.find_first_of(u"\r\n", anfang);
        if (ende == std::u16string_view::npos)
            ende = text.size();
        je(text.substr(anfang, ende - anfang), ++nummer);
        if (ende < text.size() && text[ende] == u'\r' && ende + 1 < text.size() &&
            text[ende + 1] == u'\n')
            ++ende;
        anfang = ende + 1;
    }
}

// A word as the report quotes it; a long one is cut.
std::string Zitat(std::u16string_view wort) {
    constexpr std::size_t kHoechstens = 24;
    std::string z = "„" + Utf16ZuUtf8(wort.substr(0, kHoechstens));
    if (wort.size() > kHoechstens)
        z += "...";
    // A tab in the quote would be invisible.
    for (std::size_t p; (p = z.find('\t')) != std::string::npos;)
        z.replace(p, 1, "<Tab>");
    return z + "“";
}

// The character of a code as the report names it: the character itself where
// it can be seen, always with its code.
std::string ZeichenMitCode(char16_t c) {
    const std::string code = std::to_string(int(c));
    if (c == u' ')
        return "das Leerzeichen (" + code + ")";
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || IstSurrogat(c))
        return "das Zeichen " + code;
    return "„" + Utf16ZuUtf8(std::u16string_view(&c, 1)) + "“ (" + code + ")";
}

std::u16string MitLeerzeichen(std::u16string_view zeile) {
    std::u16string z(zeile);
    for (char16_t& c : z)
        if (c == u'\t')
            c = u' ';
    return z;
}

// A word that is no number because a tab joins it to the next word: the part
// before the first tab is a number or nothing.
bool TabulatorImWort(std::u16string_view wort) {
    const std::size_t tab = wort.find(u'\t');
    if (tab == std::u16string_view::npos)
        return false;
    return tab == 0 || WortPruefen(wort.substr(0, tab)).Art != WortArt::KeineZahl;
}

// Why a line that is no entry is none; empty for empty and comment lines.
std::optional<std::pair<TabBefundArt, std::string>> Grund(std::u16string_view zeile,
                                                          const TabZeile& z) {
    using enum TabBefundArt;
    if (zeile.find_first_not_of(u" \t") == std::u16string_view::npos)
        return std::nullopt;
    if (z.Wort1.starts_with(u';'))
        return std::nullopt;
    const bool ersteGut = z.Zahl1.Art == WortArt::Zahl && z.Zahl1.Wert >= 0;
    const std::u16string_view wort = ersteGut ? z.Wort2 : z.Wort1;
    const WortBefund& zahl = ersteGut ? z.Zahl2 : z.Zahl1;
    const std::string welche = ersteGut ? "zweite" : "erste";
    if (ersteGut && z.Wort2.empty())
        return std::pair{EineZahl,
                         std::string("Nur eine Zahl: Die Zahl des Ersatzzeichens fehlt.")};
    switch (zahl.Art) {
    case WortArt::Zahl:
        if (zahl.Wert < 0)
            return std::pair{Negativ, "Die " + welche + " Zahl ist negativ (" +
                                          std::to_string(zahl.Wert) + ")."};
        return std::pair{GleicheZahl, "Zweimal dieselbe Zahl (" + std::to_string(z.Zahl1.Wert) +
                                          "): Das Zeichen würde durch sich selbst ersetzt."};
    case WortArt::ZuGross:
        return std::pair{ZuGross, "Die " + welche + " Zahl " + Zitat(wort) +
                                      " liegt außerhalb des 32-Bit-Bereichs."};
    case WortArt::KeineZahl:
        break;
    }
    if (TabulatorImWort(wort) || (wort.find(u'\t') != std::u16string_view::npos &&
                                  TabZeileLesen(MitLeerzeichen(zeile)).Eintrag)) {
        std::string wo;
        if (!ersteGut && wort.starts_with(u'\t'))
            wo = "vor der ersten Zahl";
        else if (!ersteGut)
            wo = "zwischen den Zahlen";
        else if (wort.starts_with(u'\t'))
            wo = "vor der zweiten Zahl";
        else
            wo = "nach der zweiten Zahl";
        return std::pair{Tabulator, "Tabulator " + wo +
                                        ": Nur Leerzeichen trennen die Zahlen und den Kommentar."};
    }
    if (ersteGut)
        return std::pair{KeineZahl, "Die zweite Angabe " + Zitat(wort) + " ist keine Zahl."};
    return std::pair{KeineZahl, "Keine Zahl am Zeilenanfang: " + Zitat(wort) +
                                    " ist keine Zahl und die Zeile kein Kommentar (;)."};
}

} // namespace

WortBefund WortPruefen(std::u16string_view wort) {
    std::size_t i = 0;
    bool negativ = false;
    if (i < wort.size() && (wort[i] == u'+' || wort[i] == u'-')) {
        negativ = wort[i] == u'-';
        ++i;
    }
    int basis = 10;
    if (i < wort.size() && (wort[i] == u'$' || wort[i] == u'x' || wort[i] == u'X')) {
        basis = 16;
        ++i;
    } else if (i + 1 < wort.size() && wort[i] == u'0' &&
               (wort[i + 1] == u'x' || wort[i + 1] == u'X')) {
        basis = 16;
        i += 2;
    }
    if (i == wort.size())
        return {};
    // The magnitude saturates above the 32-bit range, which keeps any length
    // of digits from overflowing.
    constexpr std::int64_t grenze = std::int64_t(1) << 32;
    std::int64_t betrag = 0;
    for (; i < wort.size(); ++i) {
        const int ziffer = basis == 16 ? HexWert(wort[i])
                                       : (wort[i] >= u'0' && wort[i] <= u'9' ? wort[i] - u'0' : -1);
        if (ziffer < 0)
            return {};
        betrag = std::min(betrag * basis + ziffer, grenze);
    }
    const std::int64_t wert = negativ ? -betrag : betrag;
    if (wert > INT32_MAX || wert < INT32_MIN)
        return {WortArt::ZuGross, -1};
    return {WortArt::Zahl, std::int32_t(wert)};
}

std::int32_t ZahlLesen(std::u16string_view wort) {
    return WortPruefen(wort).Wert;
}

TabZeile TabZeileLesen(std::u16string_view zeile) {
    TabZeile z;
    std::size_t pos = 0;
    z.Wort1 = NaechstesWort(zeile, pos);
    z.Zahl1 = WortPruefen(z.Wort1);
    if (z.Zahl1.Wert < 0)
        return z;
    // A line with one word has no word 2, which reads as -1.
    z.Wort2 = NaechstesWort(zeile, pos);
    z.Zahl2 = WortPruefen(z.Wort2);
    z.Eintrag = z.Zahl2.Wert >= 0 && z.Zahl2.Wert != z.Zahl1.Wert;
    return z;
}

TTabListe TabTextAuswerten(std::u16string_view text) {
    TTabListe liste;
    ZeilenDurchlaufen(text, [&](std::u16string_view zeile, std::size_t) {
        const TabZeile z = TabZeileLesen(zeile);
        // A code stands for its low 16 bits, so 65601 is the letter A as well.
        if (z.Eintrag)
            liste.push_back({char16_t(z.Zahl1.Wert & 0xFFFF), char16_t(z.Zahl2.Wert & 0xFFFF)});
    });
    return liste;
}

std::vector<TabBefund> TabTextPruefen(std::u16string_view text) {
    std::vector<TabBefund> befunde;
    // The line of the first entry for each search character.
    std::vector<std::uint32_t> erste(0x10000, 0);
    ZeilenDurchlaufen(text, [&](std::u16string_view zeile, std::size_t nummer) {
        const TabZeile z = TabZeileLesen(zeile);
        if (!z.Eintrag) {
            if (auto grund = Grund(zeile, z))
                befunde.push_back({nummer, grund->first, std::move(grund->second), 0});
            return;
        }
        const char16_t such = char16_t(z.Zahl1.Wert & 0xFFFF);
        if (erste[such] == 0) {
            erste[such] = std::uint32_t(nummer);
            return;
        }
        befunde.push_back({nummer, TabBefundArt::Verdeckt,
                           "Wirkt nie: Zeile " + std::to_string(erste[such]) + " ersetzt schon " +
                               ZeichenMitCode(such) + ".",
                           erste[such]});
    });
    return befunde;
}

std::vector<TabBefund> TabDateiPruefen(const std::filesystem::path& datei) {
    TTextFileType typ = tfError;
    std::u16string text;
    TextDateiLaden(datei, typ, text);
    return TabTextPruefen(text);
}

std::string BefundZeile(const TabBefund& befund) {
    return "Zeile " + std::to_string(befund.Zeile) + ": " + befund.Text;
}

void TabDateiAuswerten(const std::filesystem::path& datei, TTabListe& liste) {
    TTextFileType typ = tfError;
    std::u16string text;
    TextDateiLaden(datei, typ, text);
    liste = TabTextAuswerten(text);
}

} // namespace zw
