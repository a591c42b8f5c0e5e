#include "core/Tabelle.h"

#include "core/MoFiles.h"

#include <algorithm>

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

void ZeileAuswerten(std::u16string_view zeile, TTabListe& liste) {
    std::size_t pos = 0;
    const std::int32_t such = ZahlLesen(NaechstesWort(zeile, pos));
    if (such < 0)
        return;
    const std::int32_t ersatz = ZahlLesen(NaechstesWort(zeile, pos));
    if (ersatz < 0 || ersatz == such)
        return;
    // A code stands for its low 16 bits, so 65601 is the letter A as well.
    liste.push_back({char16_t(such & 0xFFFF), char16_t(ersatz & 0xFFFF)});
}

} // namespace

std::int32_t ZahlLesen(std::u16string_view wort) {
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
        return -1;
    // The magnitude saturates above the 32-bit range, which keeps any length
    // of digits from overflowing.
    constexpr std::int64_t grenze = std::int64_t(1) << 32;
    std::int64_t betrag = 0;
    for (; i < wort.size(); ++i) {
        const int ziffer = basis == 16 ? HexWert(wort[i])
                                       : (wort[i] >= u'0' && wort[i] <= u'9' ? wort[i] - u'0' : -1);
        if (ziffer < 0)
            return -1;
        betrag = std::min(betrag * basis + ziffer, grenze);
    }
    const std::int64_t wert = negativ ? -betrag : betrag;
    if (wert > INT32_MAX || wert < INT32_MIN)
        return -1;
    return std::int32_t(wert);
}

TTabListe TabTextAuswerten(std::u16string_view text) {
    TTabListe liste;
    text = text.substr(0, text.find(char16_t(0)));
    std::size_t anfang = 0;
    while (anfang < text.size()) {
        // The loader leaves CR LF after every line; a lone CR or LF from text
        // that did not pass through it ends a line as well.
        std::size_t ende = text.find_first_of(u"\r\n", anfang);
        if (ende == std::u16string_view::npos)
            ende = text.size();
        ZeileAuswerten(text.substr(anfang, ende - anfang), liste);
        if (ende < text.size() && text[ende] == u'\r' && ende + 1 < text.size() &&
            text[ende + 1] == u'\n')
            ++ende;
        anfang = ende + 1;
    }
    return liste;
}

void TabDateiAuswerten(const std::filesystem::path& datei, TTabListe& liste) {
    TTextFileType typ = tfError;
    std::u16string text;
    TextDateiLaden(datei, typ, text);
    liste = TabTextAuswerten(text);
}

} // namespace zw
