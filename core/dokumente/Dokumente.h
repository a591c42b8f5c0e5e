#pragma once
// Word (.docx) and OpenDocument (.odt) text documents: their body text in
// reading order as plain text. The container is read with libzip, the XML with
// pugixml; both are bounded so a hostile file ends with a clear reason instead
// of eating the machine.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zw::dok {

// A document that cannot be read; what() is the German reason for the file
// error ("Die Datei ist beschädigt ...").
class DokumentFehler : public std::runtime_error {
public:
    explicit DokumentFehler(const std::string& grund) : std::runtime_error(grund) {}
};

enum class Art : std::uint8_t { Word, OpenDocument };

struct Dokument {
    Art Quelle = Art::Word;
    // UTF-8; CR LF after every paragraph, heading and table row.
    std::string Text;
};

// Bounds against hostile containers, shared by both readers.
struct Grenzen {
    std::uint64_t EntpacktGesamt = std::uint64_t(96) << 20; // all parts read, inflated
    std::uint64_t VerhaeltnisAb = std::uint64_t(32) << 20;  // the ratio counts from here
    std::uint64_t Verhaeltnis = 250;                        // inflated : compressed
    std::uint64_t Eintraege = 20000;                        // entries in the container
    std::uint64_t Elemente = 4000000;                       // XML elements of one part
    unsigned Tiefe = 256;                                   // XML nesting
};

// Reads a ZIP container that holds a Word or OpenDocument text. Anything
// else (another office format, a plain archive, a broken or hostile file)
// throws DokumentFehler with the reason.
Dokument DokumentLesen(std::string_view bytes, const Grenzen& grenzen = Grenzen{});

} // namespace zw::dok
