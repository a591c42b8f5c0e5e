#pragma once
// What the commands of zeichenwandler-cli share: output, the short answer to
// a wrong call, the document types by name, paths from arguments, and the
// folder the tool lives in.

#include "core/MoFiles.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zw::cli {

void Schreiben(std::FILE* ziel, std::string_view text);

// One line with the reason and where the help is, on the error output; a
// screen reader reads no more than that at every slip. Returns Bedienfehler.
int FalscherAufruf(const std::string& grund);

// "text", "unicode", "utf8", "rtf".
std::optional<TTextFileType> TypAusName(std::string_view name);

// An argument (UTF-8) as a path; zw::PfadText writes one back.
std::filesystem::path Pfad(const std::string& argument);

// The folder of the tool's own executable, with symbolic links resolved, as
// the window finds its table beside itself; the current folder if the system
// does not tell.
std::filesystem::path ProgrammOrdner();

} // namespace zw::cli
