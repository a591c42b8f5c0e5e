#pragma once
// Rich Text Format: reading a document's text (and, for the help viewer, its
// formatting) and writing one plain text in one font.

#include "core/Schrift.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The plain text of an RTF document: paragraphs end with CR LF, table cells are
// separated by a tab. Never throws on malformed input.
std::u16string RtfZuText(std::string_view rtf);

// One run of equally formatted characters.
struct RtfLauf {
    std::u16string Text;
    std::u16string Schriftname;
    double Groesse = 12;           // points
    std::uint32_t Farbe = 0;       // 0x00RRGGBB
    bool HatFarbe = false;         // false: the default text colour
    bool Fett = false;
    bool Kursiv = false;
    bool Unterstrichen = false;
};

enum class RtfAusrichtung { Links, Rechts, Zentriert, Blocksatz };

struct RtfAbsatz {
    RtfAusrichtung Ausrichtung = RtfAusrichtung::Links;
    std::vector<RtfLauf> Laeufe;
};

struct RtfDokument {
    std::vector<RtfAbsatz> Absaetze;
    // The same text RtfZuText gives.
    std::u16string Text() const;
};

RtfDokument RtfLesen(std::string_view rtf);

// One plain text in one font as an RTF document.
std::string TextZuRtf(std::u16string_view text, const TSchrift& schrift);

} // namespace zw
