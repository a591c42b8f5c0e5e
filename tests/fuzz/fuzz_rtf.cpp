// The RTF reader on any bytes: both readers agree on the text, and the writer
// gives that text back through the reader.
#include "core/Rtf.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view bytes(reinterpret_cast<const char*>(daten), groesse);
    const std::u16string text = zw::RtfZuText(bytes);
    if (zw::RtfLesen(bytes).Text() != text)
        std::abort();
    zw::TSchrift schrift;
    // Vary the font's character set with the input, so every writer path runs.
    static const int kZeichensaetze[] = {0, 1, 2, 77, 128, 161, 204, 238, 255};
    schrift.Zeichensatz = kZeichensaetze[groesse % std::size(kZeichensaetze)];
    if (zw::RtfZuText(zw::TextZuRtf(text, schrift)) != text)
        std::abort();
    return 0;
}
