#pragma once
// A font as the program keeps it and as RTF writes it. Plain data, so the core
// stays free of any toolkit.

#include <cstdint>
#include <string>

namespace zw {

// Style bits as they are stored in the settings.
enum SchriftStil : int {
    StilKursiv = 1,
    StilFett = 2,
    StilUnterstrichen = 4,
    StilDurchgestrichen = 8,
};

// The system colour for window text, the default font colour.
inline constexpr std::uint32_t FarbeFensterText = 0xFF000008u;

struct TSchrift {
    std::u16string Name = u"Arial";
    int Groesse = 12;                       // points
    std::uint32_t Farbe = FarbeFensterText; // 0x00BBGGRR, or a system colour 0xFF0000nn
    int Zeichensatz = 0;                    // character set number, 0..255
    int Stil = 0;                           // SchriftStil bits

    bool operator==(const TSchrift&) const = default;
};

} // namespace zw
