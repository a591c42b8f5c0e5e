// A build without liblouis (the Windows build, whose liblouis Debian's
// mirror does not always offer as source): the codes are named, but their
// cells cannot be read, so the preview and the check say why instead.
#include "core/BrailleCodes.h"

namespace zw {

int LouisZelle(std::string_view, char32_t) {
    return -1;
}

const ZellenTabelle& ZellenLaden(const BrailleCode& code) {
    throw BrailleFehler("Die Zellen des Codes \"" + std::string(code.Name) +
                        "\" sind in dieser Ausgabe nicht verfügbar (ohne liblouis gebaut).");
}

} // namespace zw
