#include "core/Rtf.h"

#include "core/Fehler.h"

namespace zw {

// Placeholder until the RTF reader and writer land: RTF is refused clearly.
std::u16string RtfZuText(std::string_view) {
    throw DateiFehler("RTF-Dokumente werden noch nicht unterstützt.");
}
RtfDokument RtfLesen(std::string_view) {
    throw DateiFehler("RTF-Dokumente werden noch nicht unterstützt.");
}
std::u16string RtfDokument::Text() const { return {}; }
std::string TextZuRtf(std::u16string_view, const TSchrift&) {
    throw DateiFehler("RTF-Dokumente werden noch nicht unterstützt.");
}

} // namespace zw
