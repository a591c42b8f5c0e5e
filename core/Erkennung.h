#pragma once
// What a file's bytes hold, decided once for every reader: text without a
// byte order mark that is really UTF-8, files that are no text at all, and
// where a NUL cuts a text short. The loader, the piecewise conversion and the
// help viewer ask here, so the rules exist in one place.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

// What the first bytes of a file say it is when it is no text: the German
// reason for the open error ("Die Datei ist keine Textdatei, sondern ein
// PDF-Dokument."). ZIP containers are left to the document readers
// (IstZip); `bytes` may be the whole file, so an old Office file can be
// told apart by its streams.
std::optional<std::string> FremdesFormat(std::string_view bytes);

// A ZIP container: a Word or OpenDocument file, or an archive.
bool IstZip(std::string_view anfang);

// Checks UTF-8 piece by piece over the bytes of a file and counts its NULs,
// in the same pass that reads it. Sequences may be split between pieces.
class TextPruefer {
public:
    void Hinzufuegen(std::string_view stueck);

    // Valid UTF-8 so far (a sequence still open at the end of the last
    // piece is not yet an error).
    bool Gueltig() const { return gueltig_; }
    // Valid UTF-8 as a whole, with at least one multi-byte sequence: text
    // without a mark that is to be read as UTF-8.
    bool IstUtf8() const { return gueltig_ && offen_ == 0 && mehrByte_; }
    bool MehrByte() const { return mehrByte_; }
    std::uint64_t Nuls() const { return nuls_; }
    std::uint64_t Groesse() const { return groesse_; }

private:
    std::uint64_t groesse_ = 0;
    std::uint64_t nuls_ = 0;
    bool gueltig_ = true;
    bool mehrByte_ = false;
    // Continuation bytes still due, and the range the next one must lie in.
    int offen_ = 0;
    unsigned char unten_ = 0x80, oben_ = 0xBF;
};

// NUL bytes in a file without a UTF-16 mark make it no text, unless there
// are so few of them that they are strays in a text: one alone, or fewer
// than one in 4 KiB.
bool NulsSindBinaer(std::uint64_t nuls, std::uint64_t groesse);

// Where a NUL ended a text: its line (counted from 1; 0 when not counted)
// and the bytes of the file from the NUL on, which were not read.
struct NulStelle {
    std::uint64_t Zeile = 1;
    std::uint64_t RestBytes = 0;
};

// The message for a text cut short by a NUL, for the open command and the
// command-line tool.
std::string NulMeldung(const NulStelle& nul);

// Line ends (CR LF, a single CR, a single LF) in bytes of a single-byte or
// UTF-8 text, or of UTF-16 in the given byte order.
std::uint64_t ZeilenEndenZaehlen(std::string_view bytes);
std::uint64_t ZeilenEndenZaehlen16(std::string_view bytes, bool bigEndian);

} // namespace zw
