#pragma once
// The embosser commands of zeichenwandler-cli: vorschau, pruefen, drucken.

#include <string>
#include <vector>

namespace zw::cli {

// Exit status of pruefen when the embosser cannot emboss some characters,
// and of drucken when a copy did not go out whole.
enum : int { NichtDarstellbarAusgang = 5, DruckFehlerAusgang = 6 };

int Vorschau(const std::vector<std::string>& argumente);
int Pruefen(const std::vector<std::string>& argumente);
int Drucken(const std::vector<std::string>& argumente);

// The lines of --help for these commands.
extern const char* const kBrailleHilfe;

} // namespace zw::cli
