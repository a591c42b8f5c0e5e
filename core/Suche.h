#pragma once
// Searching a text: the search codes for characters that cannot be typed
// into a one-line field, and a forward find that an upward search runs over
// the reversed text, so both directions draw word boundaries and compare
// letter case the same way by construction.

#include <cstddef>
#include <string>
#include <string_view>

namespace zw {

// "^^" a caret, "^a" a line end (CR), "^b" a form feed, "^t" a tab (letters in
// either case), "^1" to "^255" the character with that code; anything else
// after a caret stays as typed.
std::u16string SuchStringUmwandeln(std::u16string_view suchText);

// The same code units in reverse order.
std::u16string TextUmkehren(std::u16string_view text);

// How characters compare: the window layer passes the toolkit's case folding
// and word classes; the defaults know ASCII only.
class Zeichenklassen {
public:
    virtual ~Zeichenklassen() = default;
    virtual char16_t Falten(char16_t c) const;
    virtual bool IstWortzeichen(char16_t c) const;
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
