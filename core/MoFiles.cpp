#include "core/MoFiles.h"

#include "core/Fehler.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/Rtf.h"
#include "core/dokumente/Dokumente.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <new>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#elif __has_include(<unistd.h>)
#include <unistd.h>
#define ZW_HAT_FSYNC 1
#endif

namespace zw {

namespace fs = std::filesystem;

namespace {

// Closes the file on every path out of a function.
struct DateiHalter {
    std::FILE* f = nullptr;
    ~DateiHalter() {
        if (f)
            std::fclose(f);
    }
};

int FehlerOder(int ersatz) {
    return errno != 0 ? errno : ersatz;
}

fs::path TempPfad(const fs::path& ziel, unsigned versuch) {
    static std::mt19937 zufall{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x%u.tmp", unsigned(zufall()), versuch);
    fs::path name = ziel.filename();
    name = fs::path(u8".~") += name;
    name += suffix;
    return ziel.parent_path() / name;
}

// A new temporary file beside `ziel`, under a name no other file has; null
// with errno set when none can be made.
std::FILE* TempAnlegen(const fs::path& ziel, fs::path& temp) {
    std::FILE* f = nullptr;
    for (unsigned versuch = 0; versuch < 16 && !f; ++versuch) {
        errno = 0;
        temp = TempPfad(ziel, versuch);
        f = DateiOeffnen(temp, "wbx");
        if (!f && errno != EEXIST)
            break;
    }
    return f;
}

// Follows a symbolic link, so a save replaces the file the link points to and
// keeps the link.
fs::path WirklichesZiel(const fs::path& datei) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(datei, ec))) {
        fs::path echt = fs::canonical(datei, ec);
        if (!ec)
            return echt;
    }
    return datei;
}

} // namespace

std::FILE* DateiOeffnen(const fs::path& pfad, const char* modus) {
#ifdef _WIN32
    // The C runtime of Windows programs ignores "x": a file that must not
    // exist yet is created exclusively through the lower-level call.
    if (std::strchr(modus, 'x')) {
        int fd = -1;
        if (_wsopen_s(&fd, pfad.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                      _S_IREAD | _S_IWRITE) != 0)
            return nullptr;
        std::FILE* f = _fdopen(fd, "wb");
        if (!f)
            _close(fd);
        return f;
    }
    std::wstring m(modus, modus + std::strlen(modus));
    return _wfopen(pfad.c_str(), m.c_str());
#else
    return std::fopen(pfad.c_str(), modus);
#endif
}

std::string TypName(TTextFileType typ) {
    // In the order of the values.
    constexpr const char* kNamen[] = {"tfError", "tfText", "tfUnicode", "tfRtf", "tfUtf8"};
    if (typ < std::size(kNamen))
        return kNamen[typ];
    return std::to_string(int(typ));
}

TTextFileType TypAusAnfang(std::string_view anfang) {
    const ByteOrderMarke marke = MarkeLesen(anfang);
    if (marke.Art == Form::Utf8)
        return tfUtf8;
    // UTF-32 big-endian's mark counts as Unicode too (little-endian's begins
    // with UTF-16's).
    if (marke.Laenge != 0 || anfang.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return tfUnicode;
    if (anfang.starts_with("{\\r"))
        return tfRtf;
    return tfText;
}

TTextFileType DateiTypErmitteln(const fs::path& datei) {
    DateiHalter h;
    h.f = DateiOeffnen(datei, "rb");
    if (!h.f)
        return tfError;
    char puffer[4] = {0, 0, 0, 0};
    const std::size_t gelesen = std::fread(puffer, 1, 4, h.f);
    if (std::ferror(h.f))
        return tfError;
    return TypAusAnfang(std::string_view(puffer, gelesen));
}

std::string DateiLesen(const fs::path& datei) {
    errno = 0;
    DateiHalter h;
    h.f = DateiOeffnen(datei, "rb");
    if (!h.f)
        throw OeffnenFehler(datei, FehlerOder(EACCES));
    try {
        std::string bytes;
        std::error_code ec;
        const auto groesse = fs::file_size(datei, ec);
        if (!ec && groesse > 0) {
            bytes.resize(std::size_t(groesse));
            const std::size_t gelesen = std::fread(bytes.data(), 1, bytes.size(), h.f);
            bytes.resize(gelesen);
        }
        // Whatever the size said, read on to the real end (devices, growing files).
        char block[65536];
        while (!std::ferror(h.f) && !std::feof(h.f)) {
            const std::size_t n = std::fread(block, 1, sizeof block, h.f);
            bytes.append(block, n);
            if (n == 0)
                break;
        }
        if (std::ferror(h.f))
            throw OeffnenFehler(datei, FehlerOder(EIO));
        return bytes;
    } catch (const std::bad_alloc&) {
        throw OeffnenFehler(datei, ENOMEM);
    }
}

std::u16string TextDekodieren(std::string_view bytes, TTextFileType typ) {
    if (typ == tfRtf)
        return RtfZuText(bytes);
    const ByteOrderMarke marke = MarkeLesen(bytes);
    return FormLesen(bytes.substr(marke.Laenge), marke.Art);
}

namespace {

// The NUL that ends a text, for a file read through a byte decoder (`anfang`
// skips the mark) or as UTF-16.
std::optional<NulStelle> NulSuchen(std::string_view bytes, std::size_t anfang, bool utf16,
                                   bool bigEndian) {
    std::size_t pos = std::string_view::npos;
    if (!utf16) {
        pos = bytes.find('\0', anfang);
    } else {
        for (std::size_t i = anfang; i + 1 < bytes.size(); i += 2)
            if (bytes[i] == 0 && bytes[i + 1] == 0) {
                pos = i;
                break;
            }
    }
    if (pos == std::string_view::npos)
        return std::nullopt;
    const std::string_view davor = bytes.substr(anfang, pos - anfang);
    NulStelle nul;
    nul.Zeile = 1 + (utf16 ? ZeilenEndenZaehlen16(davor, bigEndian) : ZeilenEndenZaehlen(davor));
    nul.RestBytes = bytes.size() - pos;
    return nul;
}

} // namespace

Dokument DokumentDekodieren(std::string_view bytes, TTextFileType anfangsTyp,
                            const fs::path& datei) {
    Dokument d;
    d.Typ = anfangsTyp;
    if (anfangsTyp == tfRtf) {
        d.Text = RtfZuText(bytes);
        return d;
    }
    if (anfangsTyp == tfText || anfangsTyp == tfError) {
        if (IstZip(bytes)) {
            try {
                dok::Dokument gelesen = dok::DokumentLesen(bytes);
                d.Typ = tfText;
                d.Quelle =
                    gelesen.Quelle == dok::Art::Word ? Herkunft::Word : Herkunft::OpenDocument;
                d.Text = Utf8Lesen(gelesen.Text);
                return d;
            } catch (const dok::DokumentFehler& f) {
                throw OeffnenFehler(datei, std::string(f.what()));
            }
        }
        if (std::optional<std::string> grund = FremdesFormat(bytes))
            throw OeffnenFehler(datei, *grund);
    }
    const ByteOrderMarke marke = MarkeLesen(bytes);
    const bool utf16Marke = marke.Art == Form::Utf16Le || marke.Art == Form::Utf16Be;
    if (!utf16Marke && anfangsTyp != tfUnicode) {
        TextPruefer pruefer;
        pruefer.Hinzufuegen(bytes);
        if (NulsSindBinaer(pruefer.Nuls(), pruefer.Groesse()))
            throw OeffnenFehler(datei,
                                "Die Datei ist keine Textdatei, sondern enthält Binärdaten (" +
                                    ZahlGruppieren(std::int64_t(pruefer.Nuls())) + " NUL-Bytes).");
        if (anfangsTyp != tfUtf8 && pruefer.IstUtf8()) {
            d.Typ = tfUtf8;
            d.Text = Utf8Lesen(bytes);
            d.Nul = NulSuchen(bytes, 0, false, false);
            return d;
        }
    }
    d.Text = TextDekodieren(bytes, anfangsTyp);
    d.Nul = NulSuchen(bytes, marke.Laenge, utf16Marke, marke.Art == Form::Utf16Be);
    return d;
}

Dokument DokumentLaden(const fs::path& datei) {
    const TTextFileType typ = DateiTypErmitteln(datei);
    const std::string bytes = DateiLesen(datei);
    try {
        return DokumentDekodieren(bytes, typ, datei);
    } catch (const std::bad_alloc&) {
        throw OeffnenFehler(datei, ENOMEM);
    }
}

void TextDateiLaden(const fs::path& datei, TTextFileType& typ, std::u16string& text) {
    text.clear();
    typ = DateiTypErmitteln(datei);
    const std::string bytes = DateiLesen(datei);
    try {
        Dokument d = DokumentDekodieren(bytes, typ, datei);
        typ = d.Typ;
        text = std::move(d.Text);
    } catch (const std::bad_alloc&) {
        throw OeffnenFehler(datei, ENOMEM);
    }
}

Kodiert TextKodieren(std::u16string_view text, TTextFileType typ, const TSchrift* schrift) {
    switch (typ) {
    case tfRtf: {
        Kodiert k;
        k.Bytes = TextZuRtf(text, schrift ? *schrift : TSchrift{});
        return k;
    }
    case tfError:
    case tfText:
        return AnsiSchreiben(text);
    case tfUtf8:
        return Utf8Schreiben(text);
    default:
        return Utf16Schreiben(text);
    }
}

AtomareDatei::AtomareDatei(const fs::path& datei) : datei_(datei), ziel_(WirklichesZiel(datei)) {
    std::error_code ec;
    const auto status = fs::status(ziel_, ec);
    if (!ec && fs::exists(status)) {
        if (fs::is_directory(status))
            throw ErstellenFehler(datei_, EISDIR);
        // A file the user made read-only stays as it is, even for a user
        // who could replace it.
        constexpr auto schreibbar =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((status.permissions() & schreibbar) == fs::perms::none)
            throw ErstellenFehler(datei_, EACCES);
        rechte_ = status.permissions();
        // A device or pipe cannot be replaced by a file; it is written in place.
        direkt_ = !fs::is_regular_file(status);
    }
    if (direkt_) {
        errno = 0;
        f_ = DateiOeffnen(ziel_, "wb");
        if (!f_)
            throw ErstellenFehler(datei_, FehlerOder(EACCES));
        return;
    }
    f_ = TempAnlegen(ziel_, temp_);
    if (!f_)
        throw ErstellenFehler(datei_, FehlerOder(EACCES));
}

AtomareDatei::~AtomareDatei() {
    if (f_) {
        std::fclose(f_);
        if (!direkt_) {
            std::error_code ec;
            fs::remove(temp_, ec);
        }
    }
}

void AtomareDatei::Aufgeben(int fehlerNummer) {
    if (f_)
        std::fclose(f_);
    f_ = nullptr;
    if (!direkt_) {
        std::error_code ec;
        fs::remove(temp_, ec);
    }
    throw ErstellenFehler(datei_, fehlerNummer);
}

void AtomareDatei::Schreiben(std::string_view bytes) {
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size())
        Aufgeben(FehlerOder(EIO));
}

void AtomareDatei::Abschliessen() {
    errno = 0;
    if (std::fflush(f_) != 0)
        Aufgeben(FehlerOder(EIO));
#ifdef ZW_HAT_FSYNC
    // On disk before it takes the old file's place, so a crash right after
    // the save cannot leave an empty file behind.
    if (!direkt_ && ::fsync(::fileno(f_)) != 0 && errno != EINVAL)
        Aufgeben(FehlerOder(EIO));
#elif defined(_WIN32)
    if (!direkt_ && ::_commit(::_fileno(f_)) != 0)
        Aufgeben(FehlerOder(EIO));
#endif
    const int geschlossen = std::fclose(f_);
    f_ = nullptr;
    if (geschlossen != 0)
        Aufgeben(FehlerOder(EIO));
    if (direkt_)
        return;
    std::error_code ec;
    if (rechte_ != fs::perms::unknown)
        fs::permissions(temp_, rechte_, ec);
    fs::rename(temp_, ziel_, ec);
    if (ec)
        Aufgeben(ec.value());
}

void AtomareDatei::Voranstellen(std::string_view bytes) {
    if (bytes.empty())
        return;
    errno = 0;
    if (direkt_ || std::fflush(f_) != 0)
        Aufgeben(FehlerOder(EIO));
    // A new temporary file: the bytes, then the old one's content.
    fs::path neuPfad;
    std::FILE* neu = TempAnlegen(ziel_, neuPfad);
    if (!neu)
        Aufgeben(FehlerOder(EACCES));
    DateiHalter alt;
    alt.f = DateiOeffnen(temp_, "rb");
    bool gut = alt.f && std::fwrite(bytes.data(), 1, bytes.size(), neu) == bytes.size();
    char block[65536];
    while (gut) {
        const std::size_t n = std::fread(block, 1, sizeof block, alt.f);
        if (n == 0) {
            gut = !std::ferror(alt.f);
            break;
        }
        gut = std::fwrite(block, 1, n, neu) == n;
    }
    const int fehler = FehlerOder(EIO);
    std::fclose(f_);
    std::error_code ec;
    fs::remove(temp_, ec);
    f_ = neu;
    temp_ = neuPfad;
    if (!gut)
        Aufgeben(fehler);
}

void AtomareDatei::Zuruecksetzen() {
    errno = 0;
    if (direkt_ || std::fflush(f_) != 0)
        Aufgeben(FehlerOder(EIO));
#ifdef _WIN32
    const bool gekuerzt = ::_chsize_s(::_fileno(f_), 0) == 0;
#else
    const bool gekuerzt = ::ftruncate(::fileno(f_), 0) == 0;
#endif
    if (!gekuerzt)
        Aufgeben(FehlerOder(EIO));
    std::rewind(f_);
}

void DateiSchreiben(const fs::path& datei, std::string_view bytes) {
    AtomareDatei datei_(datei);
    datei_.Schreiben(bytes);
    datei_.Abschliessen();
}

SpeicherErgebnis TextDateiSpeichern(const fs::path& datei, std::u16string_view text,
                                    TTextFileType typ, const TSchrift* schrift) {
    Kodiert k;
    try {
        k = TextKodieren(text, typ, schrift);
    } catch (const std::bad_alloc&) {
        throw ErstellenFehler(datei, ENOMEM);
    }
    DateiSchreiben(datei, k.Bytes);
    return SpeicherErgebnis{k.NichtDarstellbar};
}

} // namespace zw
