#include "core/Konvertierung.h"

#include <algorithm>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zw {

Ersetzungen::Ersetzungen(const TTabListe& tabelle) : eintrag_(65536) {
    for (std::size_t c = 0; c < eintrag_.size(); ++c)
        eintrag_[c] = c;
    constexpr std::uint64_t treffer = std::uint64_t(1) << kTrefferBit;
    for (const TabEintrag& e : tabelle) {
        std::uint64_t& wort = eintrag_[e.Suchzeichen];
        if (!(wort & treffer))
            wort = treffer | e.Ersatzzeichen;
        unten_ = std::min(unten_, e.Suchzeichen);
        oben_ = std::max(oben_, e.Suchzeichen);
    }
}

namespace {

// Whether any of the eight units at p lies in [unten, oben].
#ifdef __SSE2__
inline bool BlockBetroffen(const char16_t* p, __m128i unten, __m128i oben) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i null = _mm_setzero_si128();
    // Saturating differences are zero exactly where v >= unten and v <= oben.
    const __m128i abUnten = _mm_cmpeq_epi16(_mm_subs_epu16(unten, v), null);
    const __m128i bisOben = _mm_cmpeq_epi16(_mm_subs_epu16(v, oben), null);
    return _mm_movemask_epi8(_mm_and_si128(abUnten, bisOben)) != 0;
}
#endif

} // namespace

std::int64_t Ersetzungen::Anwenden(std::u16string& text) const {
    char16_t* p = text.data();
    const std::uint64_t* tabelle = eintrag_.data();
    // The low bits add up the replacement codes; blocks of 2^24 units keep
    // that sum below the hit bit.
    constexpr std::size_t kBlock = std::size_t(1) << 24;
    std::int64_t anzahl = 0;
    for (std::size_t anfang = 0; anfang < text.size(); anfang += kBlock) {
        const std::size_t ende = std::min(text.size(), anfang + kBlock);
        std::uint64_t summe = 0;
        std::size_t i = anfang;
#ifdef __SSE2__
        const __m128i unten = _mm_set1_epi16(short(unten_));
        const __m128i oben = _mm_set1_epi16(short(oben_));
        for (; i + 8 <= ende; i += 8) {
            if (!BlockBetroffen(p + i, unten, oben))
                continue;
#pragma GCC unroll 8
            for (std::size_t k = i; k < i + 8; ++k) {
                const std::uint64_t wort = tabelle[p[k]];
                p[k] = char16_t(wort);
                summe += wort;
            }
        }
#endif
        for (; i < ende; ++i) {
            const std::uint64_t wort = tabelle[p[i]];
            p[i] = char16_t(wort);
            summe += wort;
        }
        anzahl += std::int64_t(summe >> kTrefferBit);
    }
    return anzahl;
}

KonvertierErgebnis TextKonvertieren(std::u16string text, const TTabListe& tabelle) {
    KonvertierErgebnis ergebnis;
    if (!tabelle.empty()) {
        const auto ersetzungen = std::make_unique<Ersetzungen>(tabelle);
        ergebnis.Anzahl = ersetzungen->Anwenden(text);
    }
    ergebnis.Text = std::move(text);
    return ergebnis;
}

std::string ZahlGruppieren(std::int64_t anzahl) {
    const std::string ziffern = std::to_string(anzahl < 0 ? 0 : anzahl);
    std::string aus;
    aus.reserve(ziffern.size() + ziffern.size() / 3);
    for (std::size_t i = 0; i < ziffern.size(); ++i) {
        if (i != 0 && (ziffern.size() - i) % 3 == 0)
            aus.push_back('.');
        aus.push_back(ziffern[i]);
    }
    return aus;
}

std::string KonvertierungsMeldung(std::int64_t anzahl) {
    return ZahlGruppieren(anzahl) +
           (anzahl == 1 ? " Zeichen wurde ersetzt" : " Zeichen wurden ersetzt");
}

} // namespace zw
