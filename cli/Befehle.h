#pragma once
// The commands of zeichenwandler-cli.

#include <string>
#include <vector>

namespace zw::cli {

enum Ausgang : int { Erfolg = 0, DateiFehlerAusgang = 1, Bedienfehler = 2 };

int Ausfuehren(const std::vector<std::string>& argumente);

} // namespace zw::cli
