#pragma once
// zeichenwandler-cli konvertieren: one input into one output, or several
// inputs into a folder.

#include <string>
#include <vector>

namespace zw::cli {

int Konvertieren(const std::vector<std::string>& argumente);

} // namespace zw::cli
