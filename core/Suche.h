#pragma once
// Searching a text: the search codes for characters that cannot be typed
// into a one-line field, and a forward find that an upward search runs over
// the reversed text, so both directions draw word boundaries and compare
// letter case the same way by construction.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// "^^" a caret, "^a" a line end (CR), "^b" a form feed, "^t" a tab (letters in
// either case), "^1" to "^255" the character with that code; anything else
// after a caret stays as typed.
std::u16string SuchStringUmwandeln(std::u16string_view suchText);

// The same code units in reverse order.
std::u16string TextUmkehren(std::u16string_view text);

// How characters compare: letter case folding and which characters make up
// words, as two tables over all code units, so the search loop does no calls.
// The window layer fills them from the toolkit; the default knows ASCII only.
class Zeichenklassen {
public:
    Zeichenklassen();
    template <typename Falten, typename Wort>
    Zeichenklassen(Falten falten, Wort wort) : Zeichenklassen() {
        for (std::size_t c = 0; c < falt_.size(); ++c) {
            falt_[c] = falten(char16_t(c));
            wort_[c] = wort(char16_t(c)) ? 1 : 0;
        }
    }

    char16_t Falten(char16_t c) const { return falt_[c]; }
    bool IstWortzeichen(char16_t c) const { return wort_[c] != 0; }

private:
    std::vector<char16_t> falt_;
    std::vector<unsigned char> wort_;
};

struct SuchOptionen {
    bool GrossKlein = false; // letter case must match
    bool GanzesWort = false; // the hit must not stand inside a longer word
};

// The first occurrence that starts at or after `ab`, or -1.
std::ptrdiff_t VorwaertsFinden(std::u16string_view text, std::u16string_view muster, std::size_t ab,
                               SuchOptionen optionen, const Zeichenklassen& klassen);

enum class Richtung { Aufwaerts, Abwaerts };

struct SuchTreffer {
    std::ptrdiff_t Position = -1; // -1: not found
    std::size_t Laenge = 0;
    // Whether the search covered the whole text: chooses between the two
    // not-found messages.
    bool GanzerText = false;
};

// One search run over a text whose line ends are one character each, from
// the selection (start, length): downward from its end, upward giving the
// occurrence whose end lies nearest before or at its start. No wrap-around.
SuchTreffer SucheAusfuehren(std::u16string_view text, std::u16string_view muster,
                            std::size_t selStart, std::size_t selLaenge, Richtung richtung,
                            SuchOptionen optionen, const Zeichenklassen& klassen);

// "Keinen weiteren Suchstring gefunden!" or "Der Suchstring wurde nicht gefunden!".
const char* NichtGefundenMeldung(bool ganzerText);

} // namespace zw
