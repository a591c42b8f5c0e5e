#include "core/Suche.h"

#include <algorithm>
#include <string>

namespace zw {

namespace {

// Replaces every occurrence from left to right without overlap and without
// rescanning what it has just put in. `gleich` compares one unit of the text
// with one unit of the pattern.
template <typename Gleich>
std::u16string AllesErsetzen(std::u16string_view text, std::u16string_view alt,
                             std::u16string_view neu, Gleich gleich) {
    std::u16string aus;
    aus.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool passt = i + alt.size() <= text.size();
        for (std::size_t k = 0; passt && k < alt.size(); ++k)
            passt = gleich(text[i + k], alt[k]);
        if (passt) {
            aus += neu;
            i += alt.size();
        } else {
            aus.push_back(text[i++]);
        }
    }
    return aus;
}

bool Genau(char16_t a, char16_t b) {
    return a == b;
}

char16_t AsciiGross(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

bool OhneFall(char16_t a, char16_t b) {
    return AsciiGross(a) == AsciiGross(b);
}

} // namespace

std::u16string SuchStringUmwandeln(std::u16string_view suchText) {
    if (suchText.find(u'^') == std::u16string_view::npos)
        return std::u16string(suchText);
    // An escaped caret is marked first, so no later step reads it as the
    // start of a code.
    std::u16string s = AllesErsetzen(suchText, u"^^", u"^^ ", Genau);
    s = AllesErsetzen(s, u"^a", u"\r", OhneFall);
    s = AllesErsetzen(s, u"^b", u"\f", OhneFall);
    s = AllesErsetzen(s, u"^t", u"\t", OhneFall);
    // Longest code first: ^123 is one character, not ^12 and a 3. A caret
    // this produces takes part in the smaller numbers that follow.
    for (int n = 255; n >= 1; --n) {
        std::u16string code = u"^";
        for (char c : std::to_string(n))
            code.push_back(char16_t(c));
        if (s.find(code) != std::u16string::npos)
            s = AllesErsetzen(s, code, std::u16string(1, char16_t(n)), Genau);
    }
    return AllesErsetzen(s, u"^^ ", u"^", Genau);
}

std::u16string TextUmkehren(std::u16string_view text) {
    return std::u16string(text.rbegin(), text.rend());
}

Zeichenklassen::Zeichenklassen() : falt_(65536), wort_(65536) {
    for (std::size_t c = 0; c < falt_.size(); ++c) {
        const auto z = char16_t(c);
        falt_[c] = (z >= u'A' && z <= u'Z') ? char16_t(z + 32) : z;
        wort_[c] = (z >= u'0' && z <= u'9') || (z >= u'a' && z <= u'z') ||
                   (z >= u'A' && z <= u'Z') || z == u'_';
    }
}

namespace {

// The text as it stands, or mirrored: the upward search runs the very same
// forward find over the mirrored view, without a reversed copy.
struct Vorwaerts {
    std::u16string_view t;
    char16_t operator[](std::size_t i) const { return t[i]; }
};
struct Gespiegelt {
    std::u16string_view t;
    char16_t operator[](std::size_t i) const { return t[t.size() - 1 - i]; }
};

template <typename Sicht>
std::ptrdiff_t Finden(Sicht text, std::size_t laenge, std::u16string_view muster, std::size_t ab,
                      SuchOptionen optionen, const Zeichenklassen& klassen) {
    if (muster.empty() || muster.size() > laenge)
        return -1;
    // Letter case folded once for the pattern; the text is folded as it is
    // read, one table look-up per character.
    std::u16string gefaltet(muster);
    if (!optionen.GrossKlein)
        for (char16_t& c : gefaltet)
            c = klassen.Falten(c);
    const bool fall = optionen.GrossKlein;
    auto zeichen = [&](std::size_t i) { return fall ? text[i] : klassen.Falten(text[i]); };
    const char16_t erstes = gefaltet[0];
    const std::size_t letzte = laenge - muster.size();
    for (std::size_t i = ab; i <= letzte; ++i) {
        if (zeichen(i) != erstes)
            continue;
        std::size_t k = 1;
        while (k < gefaltet.size() && zeichen(i + k) == gefaltet[k])
            ++k;
        if (k < gefaltet.size())
            continue;
        // A whole word has no word character directly before or after it;
        // the rule looks the same from either end, which keeps the upward
        // search over the mirrored text symmetric.
        if (optionen.GanzesWort &&
            ((i > 0 && klassen.IstWortzeichen(text[i - 1])) ||
             (i + muster.size() < laenge && klassen.IstWortzeichen(text[i + muster.size()]))))
            continue;
        return std::ptrdiff_t(i);
    }
    return -1;
}

} // namespace

std::ptrdiff_t VorwaertsFinden(std::u16string_view text, std::u16string_view muster, std::size_t ab,
                               SuchOptionen optionen, const Zeichenklassen& klassen) {
    return Finden(Vorwaerts{text}, text.size(), muster, ab, optionen, klassen);
}

SuchTreffer SucheAusfuehren(std::u16string_view text, std::u16string_view muster,
                            std::size_t selStart, std::size_t selLaenge, Richtung richtung,
                            SuchOptionen optionen, const Zeichenklassen& klassen) {
    const std::size_t l = text.size();
    selStart = std::min(selStart, l);
    selLaenge = std::min(selLaenge, l - selStart);
    SuchTreffer t;
    t.Laenge = muster.size();
    if (richtung == Richtung::Abwaerts) {
        t.GanzerText = selStart == 0;
        t.Position = VorwaertsFinden(text, muster, selStart + selLaenge, optionen, klassen);
    } else {
        t.GanzerText = selStart == l;
        const std::ptrdiff_t r =
            Finden(Gespiegelt{text}, l, TextUmkehren(muster), l - selStart, optionen, klassen);
        if (r >= 0)
            t.Position = std::ptrdiff_t(l) - r - std::ptrdiff_t(muster.size());
    }
    return t;
}

const char* NichtGefundenMeldung(bool ganzerText) {
    return ganzerText ? "Der Suchstring wurde nicht gefunden!"
                      : "Keinen weiteren Suchstring gefunden!";
}

} // namespace zw
