#pragma once
// Rich Text Format: reading a document's text (and, for the help viewer, its
// formatting) and writing one plain text in one font.

#include "core/Schrift.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The plain text of an RTF document: paragraphs (\par, \row, \page, \sect) end
// with CR LF, except a last paragraph without a paragraph mark; \line is CR LF
// too; table cells are separated by a tab. Never throws on malformed input: it
// returns what it could read.
std::u16string RtfZuText(std::string_view rtf);

// One run of equally formatted characters.
struct RtfLauf {
    std::u16string Text;        // a line break (\line) inside a paragraph is CR LF
    std::u16string Schriftname; // empty when the font table does not name the font
    double Groesse = 12;        // points
    std::uint32_t Farbe = 0;    // 0x00RRGGBB
    bool HatFarbe = false;      // false: the default text colour
    bool Fett = false;
    bool Kursiv = false;
    bool Unterstrichen = false;
    bool Durchgestrichen = false;

    bool operator==(const RtfLauf&) const = default;
};

enum class RtfAusrichtung { Links, Rechts, Zentriert, Blocksatz };

struct RtfAbsatz {
    RtfAusrichtung Ausrichtung = RtfAusrichtung::Links;
    std::vector<RtfLauf> Laeufe; // never empty runs; neighbours differ in format
    std::u16string Text() const;
};

struct RtfDokument {
    std::vector<RtfAbsatz> Absaetze;
    // Whether the last paragraph ended with a paragraph mark; when not, the
    // plain text has no CR LF after it.
    bool LetzterAbsatzEndet = false;
    // The same text RtfZuText gives.
    std::u16string Text() const;
};

RtfDokument RtfLesen(std::string_view rtf);

// One plain text in one font as an RTF document. Every CR LF, lone CR or lone
// LF becomes \par; no \par follows a last line without line end, so RtfZuText
// gives the text back exactly (lone surrogates become U+FFFD, NUL is dropped).
std::string TextZuRtf(std::u16string_view text, const TSchrift& schrift);

} // namespace zw
