#pragma once
// Document files: recognising a file's type from its first bytes, loading a
// whole file into one string of 16-bit characters, and writing one string back
// in a chosen type.

#include "core/Erkennung.h"
#include "core/Kodierung.h"
#include "core/Schrift.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

enum TTextFileType : std::uint8_t {
    tfError = 0,   // the file cannot be opened or read
    tfText = 1,    // the system's ANSI code page
    tfUnicode = 2, // UTF-16
    tfRtf = 3,     // Rich Text Format
    tfUtf8 = 4,    // UTF-8
};

// "tfText" and so on; the name of any other value is its number.
std::string TypName(TTextFileType typ);

// The type for the first (up to) four bytes of a file.
TTextFileType TypAusAnfang(std::string_view anfang);

// Never fails: a file that cannot be opened or read is tfError.
TTextFileType DateiTypErmitteln(const std::filesystem::path& datei);

// Decodes a whole file's bytes by their byte order mark (or as ANSI text) and
// applies the reading line rule. For tfRtf the bytes are read as RTF. Knows
// nothing of UTF-8 without a mark or of documents: see DokumentDekodieren.
std::u16string TextDekodieren(std::string_view bytes, TTextFileType typ);

// Where a loaded text came from: a text file, or the text of a Word or
// OpenDocument file, which has no save type of its own and is never written
// over its source.
enum class Herkunft : std::uint8_t { Textdatei, Word, OpenDocument };

struct Dokument {
    // The first-bytes type, except that text without a mark that is valid
    // UTF-8 with at least one multi-byte sequence is tfUtf8. Word and
    // OpenDocument text is tfText: it is saved as an ANSI text document.
    TTextFileType Typ = tfError;
    std::u16string Text;
    Herkunft Quelle = Herkunft::Textdatei;
    // Set when a NUL ended the text before the end of the file.
    std::optional<NulStelle> Nul;
};

// The one decision over a whole file's bytes: what it is and its text.
// `anfangsTyp` is what DateiTypErmitteln said. Files that are no text (by
// their signature or by NUL bytes without a UTF-16 mark) and unreadable
// documents throw DateiFehler "Datei %s kann nicht geöffnet werden. %s" with
// the reason.
Dokument DokumentDekodieren(std::string_view bytes, TTextFileType anfangsTyp,
                            const std::filesystem::path& datei);

// Reads the file once and decodes it as above.
Dokument DokumentLaden(const std::filesystem::path& datei);

// Sets the text to empty, stores the file's type, then loads the whole file.
// Throws DateiFehler ("Datei %s kann nicht geöffnet werden. %s") after the type
// has been stored.
void TextDateiLaden(const std::filesystem::path& datei, TTextFileType& typ, std::u16string& text);

// The bytes a text is saved as in a type.
Kodiert TextKodieren(std::u16string_view text, TTextFileType typ, const TSchrift* schrift);

struct SpeicherErgebnis {
    // Characters the type cannot hold; written as "?" in an ANSI file.
    std::size_t NichtDarstellbar = 0;
};

// Creates or replaces the file. The text goes to a temporary file in the
// target's folder first, which then replaces the target, so a failed save
// leaves the old file as it was. Throws DateiFehler
// ("Datei "%s" kann nicht erstellt werden. %s").
SpeicherErgebnis TextDateiSpeichern(const std::filesystem::path& datei, std::u16string_view text,
                                    TTextFileType typ, const TSchrift* schrift = nullptr);

// fopen for a path in any file system encoding.
std::FILE* DateiOeffnen(const std::filesystem::path& datei, const char* modus);

// Reads a whole file. Throws the opening error.
std::string DateiLesen(const std::filesystem::path& datei);

// Writes bytes atomically as described for TextDateiSpeichern.
void DateiSchreiben(const std::filesystem::path& datei, std::string_view bytes);

// The same, piece by piece: the bytes go to a temporary file beside the
// target, and only Abschliessen() puts it in the target's place. Destroyed
// unfinished, it removes the temporary file and the target stays as it was.
class AtomareDatei {
public:
    explicit AtomareDatei(const std::filesystem::path& datei);
    ~AtomareDatei();
    AtomareDatei(const AtomareDatei&) = delete;
    AtomareDatei& operator=(const AtomareDatei&) = delete;

    void Schreiben(std::string_view bytes);
    void Abschliessen();
    // Puts bytes in front of what has been written so far.
    void Voranstellen(std::string_view bytes);
    // Drops what has been written so far.
    void Zuruecksetzen();

private:
    [[noreturn]] void Aufgeben(int fehlerNummer);

    std::filesystem::path datei_; // as the caller named it, for messages
    std::filesystem::path ziel_;  // the file that is replaced
    std::filesystem::path temp_;
    std::filesystem::perms rechte_ = std::filesystem::perms::unknown;
    bool direkt_ = false; // a device or pipe, written in place
    std::FILE* f_ = nullptr;
};

} // namespace zw
