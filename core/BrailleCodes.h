#pragma once
// The cells of a code, read from liblouis' display tables.

#include "core/BrailleSatz.h"

#include <stdexcept>

namespace zw {

// liblouis cannot load the table. The text is the German message.
class BrailleFehler : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The cells of every byte value in the code, kept after the first call.
const ZellenTabelle& ZellenLaden(const BrailleCode& code);

// The cell liblouis gives one character in a display table, all eight dots;
// -1 when the table cannot be loaded.
int LouisZelle(std::string_view tabelle, char32_t zeichen);

} // namespace zw
