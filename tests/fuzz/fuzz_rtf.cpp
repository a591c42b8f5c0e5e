// The RTF reader on any bytes.
#include "core/Fehler.h"
#include "core/Rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view bytes(reinterpret_cast<const char*>(daten), groesse);
    try {
        zw::RtfZuText(bytes);
    } catch (const zw::DateiFehler&) {
    }
    return 0;
}
