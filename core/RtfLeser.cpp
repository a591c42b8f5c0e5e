// The RTF reader. One pass over the bytes with an explicit group stack, so no
// input can make it recurse; the same pass yields the plain text and, when
// asked, the formatting, so both readers always agree on the text.
//
// Tokens: "{" and "}" open and close a group; a backslash starts a control
// word (letters, an optional signed number, one delimiting space that belongs
// to it) or a control symbol; anything else is text, except bare CR and LF.
// Each group has a destination: body text, the font or colour table, a part
// whose text is dropped (pictures, headers, field instructions, unknown
// "\*" destinations and so on), or a branch of \upr.

#include "core/Codepages.h"
#include "core/Kodierung.h"
#include "core/Noten.h"
#include "core/Rtf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace zw {

namespace {

constexpr char16_t kErsatz = 0xFFFD;
// A control word longer than this is unknown; the rest of its letters are read
// but not kept.
constexpr std::size_t kWortLaenge = 32;
// Groups with a state of their own; deeper ones share the innermost state.
constexpr std::size_t kGrenzeEbenen = 10000;

enum class Ziel : std::uint8_t {
    Text,
    Schrifttabelle,
    Farbtabelle,
    // From here on the text of the group is dropped.
    Ueberspringen,
    FeldBefehl, // \fldinst: dropped, but a \fldrslt inside it starts the result
    UprZweig,   // a branch of \upr: dropped unless it is the \ud branch
};

enum Merkmal : std::uint8_t {
    kFett = 1,
    kKursiv = 2,
    kUnterstrichen = 4,
    kDurchgestrichen = 8,
    kVerborgen = 16,
    kUpr = 32,
};

// What a group saves and its closing brace restores.
struct Zustand {
    std::int32_t schrift = -1;
    std::int32_t uc = 1;
    std::int16_t groesse = 24; // half points
    std::int16_t farbe = 0;
    Ziel ziel = Ziel::Text;
    Ziel zielVorUpr = Ziel::Text;
    std::uint8_t ausrichtung = 0; // RtfAusrichtung
    std::uint8_t merkmale = 0;
};

// Groups that change nothing share one entry, so deep nesting of empty groups
// costs no memory.
struct Ebene {
    Zustand z;
    std::uint32_t gleiche = 0; // further groups inside with the same state
};

enum class Wort : std::uint8_t {
    Unbekannt,
    // text
    Par,
    Zeile,
    Tab,
    Zelle,
    ZeilenEnde, // \row, \nestrow
    Zeichen,    // a word that stands for one character
    U,
    Uc,
    Bin,
    // destinations
    Fonttbl,
    Colortbl,
    Weg,
    Fldinst,
    Fldrslt,
    Upr,
    Ud,
    Behalten, // known, the group's text stays (\nesttableprops)
    Fussnote, // \footnote: its text goes after the body
    Chftn,    // the automatic note number
    Ftnalt,   // the open note is an endnote
    NotenArt, // numbering of footnotes or endnotes; zeichen: 16 for endnotes + format
    // document and fonts
    DokumentCp, // \ansi, \mac, \pc, \pca; zeichen: the code page
    Ansicpg,
    Deff,
    F,
    Fcharset,
    Cpg,
    Farbteil, // \red, \green, \blue; zeichen: the bit shift in 0x00RRGGBB
    // character and paragraph formatting
    Plain,
    Merkmal, // zeichen: the attribute's bit, switched on or (with 0) off
    Ulnone,
    Fs,
    Cf,
    Pard,
    Ausrichtung, // zeichen: the RtfAusrichtung
};

struct Eintrag {
    std::string_view name;
    Wort wort;
    char16_t zeichen = 0;
};

constexpr Eintrag kWoerter[] = {
    {"par", Wort::Par},
    {"sect", Wort::Par},
    {"page", Wort::Par},
    {"line", Wort::Zeile},
    {"tab", Wort::Tab},
    {"cell", Wort::Zelle},
    {"nestcell", Wort::Zelle},
    {"row", Wort::ZeilenEnde},
    {"nestrow", Wort::ZeilenEnde},
    {"emdash", Wort::Zeichen, 0x2014},
    {"endash", Wort::Zeichen, 0x2013},
    {"lquote", Wort::Zeichen, 0x2018},
    {"rquote", Wort::Zeichen, 0x2019},
    {"ldblquote", Wort::Zeichen, 0x201C},
    {"rdblquote", Wort::Zeichen, 0x201D},
    {"bullet", Wort::Zeichen, 0x2022},
    {"enspace", Wort::Zeichen, 0x2002},
    {"emspace", Wort::Zeichen, 0x2003},
    {"qmspace", Wort::Zeichen, 0x2005},
    {"zwj", Wort::Zeichen, 0x200D},
    {"zwnj", Wort::Zeichen, 0x200C},
    {"u", Wort::U},
    {"uc", Wort::Uc},
    {"bin", Wort::Bin},
    {"fonttbl", Wort::Fonttbl},
    {"colortbl", Wort::Colortbl},
    {"fldinst", Wort::Fldinst},
    {"fldrslt", Wort::Fldrslt},
    {"upr", Wort::Upr},
    {"ud", Wort::Ud},
    {"nesttableprops", Wort::Behalten},
    // Destinations without body text.
    {"stylesheet", Wort::Weg},
    {"info", Wort::Weg},
    {"pict", Wort::Weg},
    {"object", Wort::Weg},
    {"objdata", Wort::Weg},
    {"nonshppict", Wort::Weg},
    {"shppict", Wort::Weg},
    {"shpinst", Wort::Weg},
    {"nonesttables", Wort::Weg},
    {"header", Wort::Weg},
    {"headerl", Wort::Weg},
    {"headerr", Wort::Weg},
    {"headerf", Wort::Weg},
    {"footer", Wort::Weg},
    {"footerl", Wort::Weg},
    {"footerr", Wort::Weg},
    {"footerf", Wort::Weg},
    {"footnote", Wort::Fussnote},
    {"chftn", Wort::Chftn},
    {"ftnalt", Wort::Ftnalt},
    {"ftnnar", Wort::NotenArt, 1},
    {"ftnnalc", Wort::NotenArt, 2},
    {"ftnnauc", Wort::NotenArt, 3},
    {"ftnnrlc", Wort::NotenArt, 4},
    {"ftnnruc", Wort::NotenArt, 5},
    {"aftnnar", Wort::NotenArt, 16 + 1},
    {"aftnnalc", Wort::NotenArt, 16 + 2},
    {"aftnnauc", Wort::NotenArt, 16 + 3},
    {"aftnnrlc", Wort::NotenArt, 16 + 4},
    {"aftnnruc", Wort::NotenArt, 16 + 5},
    {"ftnsep", Wort::Weg},
    {"ftnsepc", Wort::Weg},
    {"ftncn", Wort::Weg},
    {"aftnsep", Wort::Weg},
    {"aftnsepc", Wort::Weg},
    {"aftncn", Wort::Weg},
    {"annotation", Wort::Weg},
    {"atnid", Wort::Weg},
    {"atnauthor", Wort::Weg},
    {"atrfstart", Wort::Weg},
    {"atrfend", Wort::Weg},
    {"bkmkstart", Wort::Weg},
    {"bkmkend", Wort::Weg},
    {"xe", Wort::Weg},
    {"tc", Wort::Weg},
    {"pn", Wort::Weg},
    {"pnseclvl", Wort::Weg},
    {"listtable", Wort::Weg},
    {"listoverridetable", Wort::Weg},
    {"revtbl", Wort::Weg},
    {"filetbl", Wort::Weg},
    {"themedata", Wort::Weg},
    {"colorschememapping", Wort::Weg},
    {"datastore", Wort::Weg},
    {"latentstyles", Wort::Weg},
    {"rsidtbl", Wort::Weg},
    {"generator", Wort::Weg},
    {"xmlnstbl", Wort::Weg},
    {"mmathPr", Wort::Weg},
    {"pgdsctbl", Wort::Weg},
    {"template", Wort::Weg},
    {"userprops", Wort::Weg},
    {"docvar", Wort::Weg},
    {"do", Wort::Weg},
    {"ansi", Wort::DokumentCp, 1252},
    {"mac", Wort::DokumentCp, 10000},
    {"pc", Wort::DokumentCp, 437},
    {"pca", Wort::DokumentCp, 850},
    {"ansicpg", Wort::Ansicpg},
    {"deff", Wort::Deff},
    {"f", Wort::F},
    {"fcharset", Wort::Fcharset},
    {"cpg", Wort::Cpg},
    {"red", Wort::Farbteil, 16},
    {"green", Wort::Farbteil, 8},
    {"blue", Wort::Farbteil, 0},
    {"plain", Wort::Plain},
    {"b", Wort::Merkmal, kFett},
    {"i", Wort::Merkmal, kKursiv},
    {"ul", Wort::Merkmal, kUnterstrichen},
    {"uld", Wort::Merkmal, kUnterstrichen},
    {"uldash", Wort::Merkmal, kUnterstrichen},
    {"uldashd", Wort::Merkmal, kUnterstrichen},
    {"uldashdd", Wort::Merkmal, kUnterstrichen},
    {"uldb", Wort::Merkmal, kUnterstrichen},
    {"ulhwave", Wort::Merkmal, kUnterstrichen},
    {"ulldash", Wort::Merkmal, kUnterstrichen},
    {"ulth", Wort::Merkmal, kUnterstrichen},
    {"ulthd", Wort::Merkmal, kUnterstrichen},
    {"ulthdash", Wort::Merkmal, kUnterstrichen},
    {"ulthdashd", Wort::Merkmal, kUnterstrichen},
    {"ulthdashdd", Wort::Merkmal, kUnterstrichen},
    {"ulthldash", Wort::Merkmal, kUnterstrichen},
    {"ululdbwave", Wort::Merkmal, kUnterstrichen},
    {"ulw", Wort::Merkmal, kUnterstrichen},
    {"ulwave", Wort::Merkmal, kUnterstrichen},
    {"ulnone", Wort::Ulnone},
    {"strike", Wort::Merkmal, kDurchgestrichen},
    {"striked", Wort::Merkmal, kDurchgestrichen},
    {"v", Wort::Merkmal, kVerborgen},
    {"fs", Wort::Fs},
    {"cf", Wort::Cf},
    {"pard", Wort::Pard},
    {"ql", Wort::Ausrichtung, char16_t(RtfAusrichtung::Links)},
    {"qr", Wort::Ausrichtung, char16_t(RtfAusrichtung::Rechts)},
    {"qc", Wort::Ausrichtung, char16_t(RtfAusrichtung::Zentriert)},
    {"qj", Wort::Ausrichtung, char16_t(RtfAusrichtung::Blocksatz)},
    {"qd", Wort::Ausrichtung, char16_t(RtfAusrichtung::Blocksatz)},
};

constexpr std::uint32_t kStreuAnfang = 2166136261u;
constexpr std::uint32_t Streuen(std::uint32_t h, unsigned char c) {
    return (h ^ c) * 16777619u;
}

// An open-addressing table over the control words, built by the compiler.
class Woerterbuch {
public:
    constexpr Woerterbuch() {
        for (const auto& e : kWoerter) {
            std::uint32_t h = kStreuAnfang;
            for (char c : e.name)
                h = Streuen(h, std::uint8_t(c));
            std::size_t i = h & kMaske;
            while (plaetze_[i])
                i = (i + 1) & kMaske;
            plaetze_[i] = &e;
        }
    }
    const Eintrag* Finden(const unsigned char* name, std::size_t laenge, std::uint32_t h) const {
        std::size_t i = h & kMaske;
        while (const Eintrag* e = plaetze_[i]) {
            if (e->name.size() == laenge && Gleich(e->name.data(), name, laenge))
                return e;
            i = (i + 1) & kMaske;
        }
        return nullptr;
    }

private:
    static constexpr std::size_t kMaske = 511;
    static bool Gleich(const char* a, const unsigned char* b, std::size_t n) {
        for (std::size_t k = 0; k < n; ++k)
            if (std::uint8_t(a[k]) != b[k])
                return false;
        return true;
    }
    std::array<const Eintrag*, kMaske + 1> plaetze_{};
};

constexpr Woerterbuch kWoerterbuch;

// Whether eight bytes are all printable ASCII other than a backslash or a
// brace, tested together: no high bit, none below 20h, none above 7Ah, no 5Ch.
inline bool NurSchlichtesAscii(std::uint64_t w) {
    constexpr std::uint64_t eins = 0x0101010101010101ull, hoch = 0x8080808080808080ull;
    const std::uint64_t unter20 = (w - 0x20 * eins) & ~w;
    const std::uint64_t ueber7a = w + (0x7F - 0x7A) * eins;
    const std::uint64_t x = w ^ (0x5C * eins);
    const std::uint64_t backslash = (x - eins) & ~x;
    return ((w | unter20 | ueber7a | backslash) & hoch) == 0;
}

// Eight ASCII bytes as eight UTF-16 code units.
inline void Weiten(std::uint64_t w, char16_t* ziel) {
    if constexpr (std::endian::native == std::endian::little) {
        auto spreizen = [](std::uint64_t x) {
            x = (x | (x << 16)) & 0x0000FFFF0000FFFFull;
            return (x | (x << 8)) & 0x00FF00FF00FF00FFull;
        };
        const std::uint64_t unten = spreizen(w & 0xFFFFFFFFu), oben = spreizen(w >> 32);
        std::memcpy(ziel, &unten, 8);
        std::memcpy(ziel + 4, &oben, 8);
    } else {
        for (int k = 0; k < 8; ++k)
            ziel[k] = char16_t((w >> (56 - 8 * k)) & 0xFF);
    }
}

// Bytes that end a run of plain text.
constexpr std::array<bool, 256> kBesonders = [] {
    std::array<bool, 256> t{};
    t['\\'] = t['{'] = t['}'] = t['\r'] = t['\n'] = true;
    return t;
}();

inline bool IstBuchstabe(unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}
inline bool IstZiffer(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline int HexWert(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c |= 0x20;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

struct Schrift {
    std::u16string name;
    int codepage = 0; // 0: the document's
};

struct Farbe {
    std::uint32_t rgb = 0;
    bool gesetzt = false;
};

// The character formatting a run is made of.
struct Format {
    std::int32_t schrift = -1;
    std::int16_t groesse = 24;
    std::int16_t farbe = 0;
    std::uint8_t merkmale = 0;
    bool operator==(const Format&) const = default;
};

// Decoded characters that stand for no character of the text: NUL, and CR and
// LF, which only paragraph marks may bring.
inline bool Unerwuenscht(char16_t c) {
    return c == 0 || c == u'\r' || c == u'\n';
}

struct LaufMarke {
    std::size_t anfang;
    Format format;
};

struct AbsatzMarke {
    std::size_t ende; // position of its CR LF
    std::uint8_t ausrichtung;
};

// A note number: 1 arabic, 2 and 3 letters, 4 and 5 roman numerals.
std::u16string NotenNummer(int zahl, int format) {
    std::string s;
    if (format == 4 || format == 5) {
        static const std::pair<int, const char*> stufen[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
            {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        int rest = std::clamp(zahl, 1, 3999);
        for (const auto& [wert, zeichen] : stufen)
            for (; rest >= wert; rest -= wert)
                s += zeichen;
    } else if (format == 2 || format == 3) {
        s.assign(std::size_t((zahl - 1) / 26 + 1), char('a' + (zahl - 1) % 26));
    } else {
        s = std::to_string(zahl);
    }
    std::u16string aus;
    for (char c : s)
        aus.push_back(char16_t((format == 3 || format == 5) && c >= 'a' ? c - 'a' + 'A' : c));
    return aus;
}

// A footnote or endnote, cut out of the body to follow it.
struct Notiz {
    std::u16string text;
    bool endnote = false;
    bool hatNummer = false; // its text holds its number (\chftn)
    std::vector<LaufMarke> laeufe;
    std::vector<AbsatzMarke> absaetze;
};

template <bool MitFormat> class Leser {
public:
    explicit Leser(std::string_view rtf)
        : p_(reinterpret_cast<const unsigned char*>(rtf.data())), ende_(p_ + rtf.size()) {
        // The text never has more code units than the file has bytes.
        aus_.resize(rtf.size() + 8);
        stapel_.push_back({});
        CodepageSetzen();
    }

    void Lesen();

    std::u16string Text() {
        aus_.resize(n_);
        if (aus_.capacity() > 2 * n_ + 64)
            aus_.shrink_to_fit();
        return std::move(aus_);
    }

    RtfDokument Dokument();

private:
    const Zustand& Z() const { return stapel_.back().z; }
    Zustand& Aendern() {
        Ebene& oben = stapel_.back();
        // Past the depth that any real document reaches, groups keep sharing
        // their state: changes inside then outlive their group, but memory
        // stays bounded.
        if (oben.gleiche > 0 && stapel_.size() < kGrenzeEbenen) {
            --oben.gleiche;
            stapel_.push_back({oben.z, 0});
        }
        if constexpr (MitFormat)
            formatGeaendert_ = true;
        return stapel_.back().z;
    }
    bool Weg() const { return Z().ziel >= Ziel::Ueberspringen; }

    void Oeffnen();
    bool Schliessen();
    void Steuer();
    void Steuerwort();
    void Hex();
    void TextLauf();
    void Ausfuehren(const Eintrag* e, bool hatZahl, std::int32_t zahl);

    // Output.
    void Platz(std::size_t n) {
        if (aus_.size() - n_ < n)
            aus_.resize(std::max(aus_.size() * 2, n_ + n + 8));
    }
    void Schreiben(char16_t c) {
        Platz(1);
        aus_[n_++] = c;
    }
    void Schwebendes();
    void Offenes() {
        if (!roh_.empty())
            RohLeeren();
        Schwebendes();
    }
    void RohLeeren();
    void TextZeichen(char16_t c);
    void Byte(unsigned char b);
    void Unicode(std::int64_t n);
    void Absatz();
    void Zelle();
    // Notes: the text of a \footnote group is cut out when the group closes
    // and follows the body, footnotes first, each under its number; the
    // number stays at the anchor.
    void NoteBeenden();
    void NotenAnhaengen();
    // The end of the document, at its closing brace or at the end of the file.
    void Beenden();
    void Einfuegen(std::size_t pos, const std::u16string& text);
    void AbsatzMarkeSchreiben(std::uint8_t ausrichtung);
    void Binaer(std::int64_t n) {
        if (n > 0)
            p_ += std::min<std::int64_t>(n, ende_ - p_);
    }

    // Code pages.
    int DokumentCodepage() const { return dokumentCp_; }
    void CodepageSetzen();

    // Font table.
    void SchriftAbschliessen();
    void NameRohLeeren();

    // Formatting.
    void LaufPruefen();
    Format FormatJetzt() const {
        const Zustand& z = Z();
        return {z.schrift, z.groesse, z.farbe,
                std::uint8_t(z.merkmale & (kFett | kKursiv | kUnterstrichen | kDurchgestrichen))};
    }

    const unsigned char* p_;
    const unsigned char* ende_;
    std::vector<Ebene> stapel_;
    std::int64_t tiefe_ = 0;
    bool stern_ = false;      // "\*" seen: an unknown destination drops its group
    std::int64_t uebrig_ = 0; // fallback characters still to skip after \u
    char16_t hoch_ = 0;       // a high surrogate waiting for its partner
    bool tabOffen_ = false;   // a cell ended; the tab goes out before more text

    std::u16string aus_;
    std::size_t n_ = 0;

    int dokumentCp_ = 1252;
    std::int32_t deff_ = -1;
    const Codepage* seite_ = nullptr;
    const char16_t* einzel_ = nullptr; // the single-byte table, or null for double-byte
    std::string roh_;                  // bytes of a double-byte code page, not yet decoded
    const Codepage* rohSeite_ = nullptr;
    std::u16string dekodiert_;

    std::unordered_map<std::int32_t, Schrift> schriften_;
    std::int32_t schriftNummer_ = 0;
    int schriftZeichensatzCp_ = 0;
    int schriftCpg_ = 0;
    std::string nameRoh_;
    std::u16string name_;

    std::vector<Farbe> farben_;
    Farbe farbe_;

    // The formatted model.
    bool formatGeaendert_ = true;
    std::vector<LaufMarke> laeufe_;
    std::vector<AbsatzMarke> absaetze_;
    std::uint8_t schlussAusrichtung_ = 0;

    // Notes.
    std::int64_t notenTiefe_ = 0; // depth of the open \footnote group; 0: none
    std::size_t notenAnfang_ = 0;
    bool notenEnde_ = false, notenNummer_ = false;
    bool ankerOffen_ = false; // a \chftn in the body waits for its note's number
    std::size_t ankerPos_ = 0;
    int fussZahl_ = 0, endZahl_ = 0;
    int fussFormat_ = 1, endFormat_ = 4; // Word numbers endnotes i, ii, iii
    std::vector<Notiz> notizen_;
};

template <bool F> void Leser<F>::Lesen() {
    // Whatever stands before the first group is not part of the document.
    while (p_ < ende_ && *p_ != '{')
        ++p_;
    while (p_ < ende_) {
        if (Weg()) {
            while (p_ < ende_ && *p_ != '{' && *p_ != '}' && *p_ != '\\')
                ++p_;
            if (p_ == ende_)
                break;
        }
        const unsigned char c = *p_;
        if (c == '{') {
            ++p_;
            Oeffnen();
        } else if (c == '}') {
            ++p_;
            if (Schliessen())
                return;
        } else if (c == '\\') {
            ++p_;
            Steuer();
        } else if (c == '\r' || c == '\n') {
            ++p_;
        } else if (uebrig_ > 0) {
            --uebrig_;
            ++p_;
        } else {
            switch (Z().ziel) {
            case Ziel::Text:
                TextLauf();
                break;
            case Ziel::Schrifttabelle:
                if (c == ';')
                    SchriftAbschliessen();
                else
                    nameRoh_.push_back(char(c));
                ++p_;
                break;
            case Ziel::Farbtabelle:
                if (c == ';') {
                    farben_.push_back(farbe_);
                    farbe_ = {};
                }
                ++p_;
                break;
            default:
                ++p_;
            }
        }
    }
    // The file ended inside the document.
    Beenden();
}

template <bool F> void Leser<F>::Beenden() {
    if (Z().ziel == Ziel::Schrifttabelle)
        SchriftAbschliessen();
    Offenes();
    if (hoch_) {
        hoch_ = 0;
        Schreiben(kErsatz);
    }
    schlussAusrichtung_ = Z().ausrichtung;
    NotenAnhaengen();
}

template <bool F> void Leser<F>::Oeffnen() {
    if (!roh_.empty())
        RohLeeren();
    uebrig_ = 0;
    stern_ = false;
    ++tiefe_;
    const bool upr = (Z().merkmale & kUpr) != 0;
    if (stapel_.back().gleiche == UINT32_MAX)
        return; // over four billion groups deep: the group counts, but is not kept apart
    ++stapel_.back().gleiche;
    if (upr) {
        Zustand& z = Aendern();
        z.merkmale &= std::uint8_t(~kUpr);
        z.ziel = Ziel::UprZweig;
    }
}

template <bool F> bool Leser<F>::Schliessen() {
    if (!roh_.empty())
        RohLeeren();
    uebrig_ = 0;
    stern_ = false;
    const Zustand alt = Z();
    if (tiefe_ == 1) {
        // The document's own group: nothing after it is read.
        Beenden();
        return true;
    }
    --tiefe_;
    if (notenTiefe_ > 0 && tiefe_ < notenTiefe_)
        NoteBeenden();
    Ebene& oben = stapel_.back();
    if (oben.gleiche > 0)
        --oben.gleiche;
    else
        stapel_.pop_back();
    if (alt.ziel == Ziel::Schrifttabelle && (!nameRoh_.empty() || !name_.empty()))
        SchriftAbschliessen();
    if (alt.ziel == Ziel::Schrifttabelle || alt.schrift != Z().schrift)
        CodepageSetzen();
    if constexpr (F)
        formatGeaendert_ = true;
    return false;
}

template <bool F> void Leser<F>::Steuer() {
    if (p_ == ende_)
        return;
    const unsigned char c = *p_;
    if (IstBuchstabe(c)) {
        Steuerwort();
        return;
    }
    ++p_;
    if (c == '\'') {
        Hex();
        return;
    }
    if (Weg())
        return;
    if (!roh_.empty())
        RohLeeren();
    if (uebrig_ > 0) {
        --uebrig_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        TextZeichen(c);
        break;
    case '~':
        TextZeichen(0x00A0);
        break;
    case '_':
        TextZeichen(0x2011);
        break;
    case '*':
        stern_ = true;
        break;
    case '\r':
    case '\n':
        Absatz();
        break;
    default: // \- (optional hyphen), \: and \| mean nothing in the text
        break;
    }
}

template <bool F> void Leser<F>::Hex() {
    int wert = 0, ziffern = 0;
    while (ziffern < 2 && p_ < ende_) {
        const int h = HexWert(*p_);
        if (h < 0)
            break;
        wert = wert * 16 + h;
        ++ziffern;
        ++p_;
    }
    if (ziffern == 0 || Weg())
        return;
    if (uebrig_ > 0) {
        --uebrig_;
        return;
    }
    if (Z().ziel == Ziel::Text)
        Byte(std::uint8_t(wert));
    else if (Z().ziel == Ziel::Schrifttabelle)
        nameRoh_.push_back(char(wert));
}

template <bool F> void Leser<F>::Steuerwort() {
    const unsigned char* name = p_;
    std::uint32_t streu = kStreuAnfang;
    while (p_ < ende_ && IstBuchstabe(*p_)) {
        streu = Streuen(streu, *p_);
        ++p_;
    }
    const std::size_t laenge = std::size_t(p_ - name);
    bool negativ = false, hatZahl = false;
    std::int64_t zahl = 0;
    if (p_ < ende_ && *p_ == '-' && p_ + 1 < ende_ && IstZiffer(p_[1])) {
        negativ = true;
        ++p_;
    }
    while (p_ < ende_ && IstZiffer(*p_)) {
        hatZahl = true;
        if (zahl < (std::int64_t(1) << 40))
            zahl = zahl * 10 + (*p_ - '0');
        ++p_;
    }
    if (p_ < ende_ && *p_ == ' ')
        ++p_;
    if (negativ)
        zahl = -zahl;
    const std::int32_t wert = std::int32_t(std::clamp<std::int64_t>(zahl, INT32_MIN, INT32_MAX));
    const Eintrag* e = laenge <= kWortLaenge ? kWoerterbuch.Finden(name, laenge, streu) : nullptr;
    const Wort wort = e ? e->wort : Wort::Unbekannt;

    if (wort == Wort::Bin) {
        // The data belongs to the word in every destination and never counts as text.
        if (!Weg() && uebrig_ > 0)
            --uebrig_;
        stern_ = false;
        Binaer(zahl);
        return;
    }
    if (Weg()) {
        if (wort == Wort::Ud && Z().ziel == Ziel::UprZweig) {
            Zustand& z = Aendern();
            z.ziel = z.zielVorUpr;
        } else if (wort == Wort::Fldrslt && Z().ziel == Ziel::FeldBefehl) {
            Aendern().ziel = Ziel::Text;
        }
        stern_ = false;
        return;
    }
    if (!roh_.empty())
        RohLeeren();
    if (uebrig_ > 0) {
        --uebrig_;
        stern_ = false;
        return;
    }
    if (stern_) {
        stern_ = false;
        if (!e) {
            Aendern().ziel = Ziel::Ueberspringen;
            return;
        }
    }
    if (e)
        Ausfuehren(e, hatZahl, wert);
    (void)zahl;
}

template <bool F> void Leser<F>::Ausfuehren(const Eintrag* e, bool hatZahl, std::int32_t zahl) {
    const Ziel ziel = Z().ziel;
    const bool ein = !hatZahl || zahl != 0;
    auto merkmal = [&](std::uint8_t bit, bool an) {
        if (((Z().merkmale & bit) != 0) != an) {
            Zustand& z = Aendern();
            z.merkmale = an ? std::uint8_t(z.merkmale | bit) : std::uint8_t(z.merkmale & ~bit);
        }
    };
    switch (e->wort) {
    case Wort::Par:
        Absatz();
        break;
    case Wort::Zeile:
        if (ziel == Ziel::Text && !(Z().merkmale & kVerborgen)) {
            Offenes();
            Platz(2);
            aus_[n_++] = u'\r';
            aus_[n_++] = u'\n';
        }
        break;
    case Wort::Tab:
        TextZeichen(u'\t');
        break;
    case Wort::Zeichen:
        TextZeichen(e->zeichen);
        break;
    case Wort::Zelle:
        Zelle();
        break;
    case Wort::ZeilenEnde:
        tabOffen_ = false;
        Absatz();
        break;
    case Wort::U:
        Unicode(hatZahl ? zahl : 0);
        uebrig_ = Z().uc;
        break;
    case Wort::Uc:
        Aendern().uc = hatZahl ? std::max<std::int32_t>(zahl, 0) : 1;
        break;
    case Wort::Fonttbl:
        Aendern().ziel = Ziel::Schrifttabelle;
        schriftNummer_ = 0;
        schriftZeichensatzCp_ = schriftCpg_ = 0;
        nameRoh_.clear();
        name_.clear();
        break;
    case Wort::Colortbl:
        Aendern().ziel = Ziel::Farbtabelle;
        farbe_ = {};
        break;
    case Wort::Weg:
        Aendern().ziel = Ziel::Ueberspringen;
        break;
    case Wort::Fldinst:
        Aendern().ziel = Ziel::FeldBefehl;
        break;
    case Wort::Upr: {
        Zustand& z = Aendern();
        z.zielVorUpr = z.ziel;
        z.merkmale |= kUpr;
        break;
    }
    case Wort::Fussnote:
        // Notes inside notes, in hidden text or outside the body, are dropped.
        if (ziel != Ziel::Text || notenTiefe_ > 0 || (Z().merkmale & kVerborgen)) {
            Aendern().ziel = Ziel::Ueberspringen;
            break;
        }
        Offenes();
        tabOffen_ = false;
        notenTiefe_ = tiefe_;
        notenAnfang_ = n_;
        notenEnde_ = notenNummer_ = false;
        if constexpr (F)
            formatGeaendert_ = true;
        break;
    case Wort::Ftnalt:
        if (notenTiefe_ > 0)
            notenEnde_ = true;
        break;
    case Wort::Chftn:
        if (ziel != Ziel::Text || (Z().merkmale & kVerborgen))
            break;
        Offenes();
        if (notenTiefe_ > 0) {
            const std::u16string nummer = notenEnde_ ? NotenNummer(endZahl_ + 1, endFormat_)
                                                     : NotenNummer(fussZahl_ + 1, fussFormat_);
            for (char16_t c : nummer)
                Schreiben(c);
            notenNummer_ = true;
        } else {
            // The number is known once the note says whether it is an endnote.
            ankerOffen_ = true;
            ankerPos_ = n_;
        }
        break;
    case Wort::NotenArt:
        (e->zeichen >= 16 ? endFormat_ : fussFormat_) = e->zeichen & 15;
        break;
    case Wort::Fldrslt:
    case Wort::Ud:
    case Wort::Behalten:
    case Wort::Bin:
    case Wort::Unbekannt:
        break;
    case Wort::DokumentCp:
        dokumentCp_ = e->zeichen;
        CodepageSetzen();
        break;
    case Wort::Ansicpg:
        if (hatZahl && Codepage::Finden(zahl)) {
            dokumentCp_ = zahl;
            CodepageSetzen();
        }
        break;
    case Wort::Deff:
        deff_ = zahl;
        if (Z().schrift < 0) {
            Aendern().schrift = zahl;
            CodepageSetzen();
        }
        break;
    case Wort::F:
        if (ziel == Ziel::Schrifttabelle) {
            if (!nameRoh_.empty() || !name_.empty())
                SchriftAbschliessen();
            schriftNummer_ = zahl;
            schriftZeichensatzCp_ = schriftCpg_ = 0;
        } else if (Z().schrift != zahl) {
            Aendern().schrift = zahl;
            CodepageSetzen();
        }
        break;
    case Wort::Fcharset:
        if (ziel == Ziel::Schrifttabelle)
            schriftZeichensatzCp_ = ZeichensatzCodepage(zahl);
        break;
    case Wort::Cpg:
        if (ziel == Ziel::Schrifttabelle && Codepage::Finden(zahl))
            schriftCpg_ = zahl;
        break;
    case Wort::Farbteil:
        if (ziel == Ziel::Farbtabelle) {
            const int schiebe = e->zeichen;
            const std::uint32_t teil = std::uint32_t(std::clamp(zahl, 0, 255));
            farbe_.rgb = (farbe_.rgb & ~(0xFFu << schiebe)) | (teil << schiebe);
            farbe_.gesetzt = true;
        }
        break;
    case Wort::Plain: {
        Zustand& z = Aendern();
        z.merkmale &= std::uint8_t(kUpr);
        z.groesse = 24;
        z.farbe = 0;
        if (z.schrift != deff_) {
            z.schrift = deff_;
            CodepageSetzen();
        }
        break;
    }
    case Wort::Merkmal:
        merkmal(std::uint8_t(e->zeichen), ein);
        break;
    case Wort::Ulnone:
        merkmal(kUnterstrichen, false);
        break;
    case Wort::Fs:
        if (hatZahl && zahl > 0)
            Aendern().groesse = std::int16_t(std::min(zahl, 32767));
        break;
    case Wort::Cf:
        Aendern().farbe = std::int16_t(std::clamp(zahl, 0, 32767));
        break;
    case Wort::Pard:
        if (Z().ausrichtung != 0)
            Aendern().ausrichtung = 0;
        break;
    case Wort::Ausrichtung:
        if (Z().ausrichtung != e->zeichen)
            Aendern().ausrichtung = std::uint8_t(e->zeichen);
        break;
    }
}

template <bool F> void Leser<F>::CodepageSetzen() {
    int cp = 0;
    if (const auto it = schriften_.find(Z().schrift); it != schriften_.end())
        cp = it->second.codepage;
    if (cp == 0)
        cp = DokumentCodepage();
    const Codepage* seite = Codepage::Finden(cp);
    if (!seite)
        seite = &Codepage::Cp1252();
    seite_ = seite;
    einzel_ = seite->Doppelbyte() ? nullptr : seite->Einzel();
}

template <bool F> void Leser<F>::Schwebendes() {
    if (hoch_) {
        hoch_ = 0;
        Schreiben(kErsatz);
    }
    if (tabOffen_) {
        tabOffen_ = false;
        Schreiben(u'\t');
    }
    if constexpr (F) {
        if (formatGeaendert_)
            LaufPruefen();
    }
}

template <bool F> void Leser<F>::LaufPruefen() {
    formatGeaendert_ = false;
    const Format f = FormatJetzt();
    if (!laeufe_.empty() && laeufe_.back().format == f)
        return;
    if (!laeufe_.empty() && laeufe_.back().anfang == n_)
        laeufe_.back().format = f;
    else
        laeufe_.push_back({n_, f});
}

template <bool F> void Leser<F>::RohLeeren() {
    dekodiert_.clear();
    rohSeite_->Dekodieren(roh_, dekodiert_);
    roh_.clear();
    Schwebendes();
    Platz(dekodiert_.size());
    for (char16_t c : dekodiert_)
        if (!Unerwuenscht(c))
            aus_[n_++] = c;
}

template <bool F> void Leser<F>::TextLauf() {
    if (Z().merkmale & kVerborgen) {
        while (p_ < ende_ && !kBesonders[*p_])
            ++p_;
        return;
    }
    if (!einzel_) {
        const unsigned char* anfang = p_;
        while (p_ < ende_ && !kBesonders[*p_])
            ++p_;
        if (!roh_.empty() && rohSeite_ != seite_)
            RohLeeren();
        rohSeite_ = seite_;
        roh_.append(reinterpret_cast<const char*>(anfang), std::size_t(p_ - anfang));
        return;
    }
    // The common case, kept in one loop: plain bytes, \'hh, and the bare line
    // ends that writers put between them. The text never outgrows the file,
    // so the buffer has room; the check only guards that promise.
    Offenes();
    Platz(64);
    const char16_t* tabelle = einzel_;
    char16_t* ziel = aus_.data() + n_;
    char16_t* const grenze = aus_.data() + aus_.size() - 2;
    const unsigned char* p = p_;
    const unsigned char* const ende = ende_;
    while (p < ende && ziel < grenze) {
        // Eight bytes at once while they are plain printable ASCII, which
        // every code page here keeps as it is.
        while (ende - p >= 8 && grenze - ziel >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if (!NurSchlichtesAscii(w))
                break;
            Weiten(w, ziel);
            ziel += 8;
            p += 8;
        }
        if (p == ende || ziel >= grenze)
            break;
        const unsigned char b = *p;
        if (!kBesonders[b]) {
            const char16_t c = tabelle[b];
            *ziel = c;
            ziel += c != 0;
            ++p;
            continue;
        }
        if (b == '\\' && ende - p >= 4 && p[1] == '\'') {
            const int h = HexWert(p[2]), l = HexWert(p[3]);
            if ((h | l) < 0)
                break;
            const char16_t c = tabelle[h * 16 + l];
            *ziel = c;
            ziel += !Unerwuenscht(c);
            p += 4;
            continue;
        }
        if (b == '\r' || b == '\n') {
            ++p;
            continue;
        }
        break;
    }
    p_ = p;
    n_ = std::size_t(ziel - aus_.data());
}

template <bool F> void Leser<F>::Byte(unsigned char b) {
    if (Z().merkmale & kVerborgen)
        return;
    if (!einzel_) {
        if (!roh_.empty() && rohSeite_ != seite_)
            RohLeeren();
        rohSeite_ = seite_;
        roh_.push_back(char(b));
        return;
    }
    const char16_t c = einzel_[b];
    if (Unerwuenscht(c))
        return;
    Offenes();
    Schreiben(c);
}

template <bool F> void Leser<F>::TextZeichen(char16_t c) {
    const Ziel ziel = Z().ziel;
    if (ziel == Ziel::Schrifttabelle) {
        NameRohLeeren();
        name_.push_back(c);
        return;
    }
    if (ziel != Ziel::Text || (Z().merkmale & kVerborgen) || Unerwuenscht(c))
        return;
    Offenes();
    Schreiben(c);
}

template <bool F> void Leser<F>::Unicode(std::int64_t n) {
    if (n < 0)
        n += 65536;
    char32_t cp = (n < 0 || n > 0x10FFFF) ? kErsatz : char32_t(n);
    if (Z().ziel == Ziel::Schrifttabelle) {
        if (cp < 0x10000)
            TextZeichen(char16_t(cp));
        return;
    }
    if (Z().ziel != Ziel::Text || (Z().merkmale & kVerborgen))
        return;
    if (cp >= 0x10000) {
        // Not how RTF spells such a character, but its meaning is plain.
        Offenes();
        Platz(2);
        const Paar paar = PaarAus(cp);
        aus_[n_++] = paar.Hoch;
        aus_[n_++] = paar.Tief;
        return;
    }
    const char16_t c = char16_t(cp);
    if (IstTief(c) && hoch_ && !tabOffen_) {
        if (!roh_.empty())
            RohLeeren();
        const char16_t h = hoch_;
        hoch_ = 0;
        Schwebendes();
        Platz(2);
        aus_[n_++] = h;
        aus_[n_++] = c;
        return;
    }
    if (IstHoch(c)) {
        Offenes();
        hoch_ = c;
        return;
    }
    TextZeichen(IstTief(c) ? kErsatz : c);
}

template <bool F> void Leser<F>::Absatz() {
    if (Z().ziel != Ziel::Text)
        return;
    tabOffen_ = false;
    Offenes();
    AbsatzMarkeSchreiben(Z().ausrichtung);
}

template <bool F> void Leser<F>::AbsatzMarkeSchreiben(std::uint8_t ausrichtung) {
    if constexpr (F)
        absaetze_.push_back({n_, ausrichtung});
    Platz(2);
    aus_[n_++] = u'\r';
    aus_[n_++] = u'\n';
}

template <bool F> void Leser<F>::Einfuegen(std::size_t pos, const std::u16string& text) {
    Platz(text.size());
    std::copy_backward(aus_.begin() + std::ptrdiff_t(pos), aus_.begin() + std::ptrdiff_t(n_),
                       aus_.begin() + std::ptrdiff_t(n_ + text.size()));
    std::copy(text.begin(), text.end(), aus_.begin() + std::ptrdiff_t(pos));
    n_ += text.size();
    if constexpr (F) {
        for (LaufMarke& m : laeufe_)
            if (m.anfang > pos)
                m.anfang += text.size();
        for (AbsatzMarke& m : absaetze_)
            if (m.ende >= pos)
                m.ende += text.size();
    }
}

template <bool F> void Leser<F>::NoteBeenden() {
    Offenes();
    notenTiefe_ = 0;
    tabOffen_ = false;
    Notiz notiz;
    notiz.endnote = notenEnde_;
    notiz.hatNummer = notenNummer_;
    notiz.text.assign(aus_, notenAnfang_, n_ - notenAnfang_);
    if constexpr (F) {
        // The marks inside the note go with it, counted from its start; the
        // run in force where it began starts it.
        Format anfang{};
        std::size_t i = 0;
        while (i < laeufe_.size() && laeufe_[i].anfang < notenAnfang_)
            anfang = laeufe_[i++].format;
        if (i == laeufe_.size() || laeufe_[i].anfang > notenAnfang_)
            notiz.laeufe.push_back({0, anfang});
        for (std::size_t k = i; k < laeufe_.size(); ++k)
            notiz.laeufe.push_back({laeufe_[k].anfang - notenAnfang_, laeufe_[k].format});
        laeufe_.resize(i);
        while (!absaetze_.empty() && absaetze_.back().ende >= notenAnfang_) {
            notiz.absaetze.insert(notiz.absaetze.begin(), {absaetze_.back().ende - notenAnfang_,
                                                           absaetze_.back().ausrichtung});
            absaetze_.pop_back();
        }
        formatGeaendert_ = true;
    }
    n_ = notenAnfang_;
    const std::u16string nummer =
        notiz.endnote ? NotenNummer(++endZahl_, endFormat_) : NotenNummer(++fussZahl_, fussFormat_);
    if (ankerOffen_ && ankerPos_ <= n_) {
        Einfuegen(ankerPos_, nummer);
        ankerOffen_ = false;
    }
    if (!notiz.hatNummer) {
        notiz.text.insert(0, nummer + u" ");
        for (LaufMarke& m : notiz.laeufe)
            if (m.anfang > 0)
                m.anfang += nummer.size() + 1;
        for (AbsatzMarke& m : notiz.absaetze)
            m.ende += nummer.size() + 1;
    }
    notizen_.push_back(std::move(notiz));
}

template <bool F> void Leser<F>::NotenAnhaengen() {
    if (notenTiefe_ > 0)
        NoteBeenden(); // the file ended inside a note
    if (notizen_.empty())
        return;
    // The body's last paragraph ends before the notes begin.
    if (n_ > 0 && !(n_ >= 2 && aus_[n_ - 2] == u'\r' && aus_[n_ - 1] == u'\n'))
        AbsatzMarkeSchreiben(schlussAusrichtung_);
    NotenNachDemText(
        notizen_, [&] { AbsatzMarkeSchreiben(0); },
        [&](const Notiz& notiz) {
            const std::size_t anfang = n_;
            Platz(notiz.text.size());
            std::copy(notiz.text.begin(), notiz.text.end(), aus_.begin() + std::ptrdiff_t(n_));
            n_ += notiz.text.size();
            if constexpr (F) {
                for (const LaufMarke& m : notiz.laeufe) {
                    if (!laeufe_.empty() && laeufe_.back().anfang == anfang + m.anfang)
                        laeufe_.back().format = m.format;
                    else
                        laeufe_.push_back({anfang + m.anfang, m.format});
                }
                for (const AbsatzMarke& m : notiz.absaetze)
                    absaetze_.push_back({anfang + m.ende, m.ausrichtung});
            }
            if (!(n_ >= anfang + 2 && aus_[n_ - 2] == u'\r' && aus_[n_ - 1] == u'\n'))
                AbsatzMarkeSchreiben(0);
        });
    notizen_.clear();
    if constexpr (F)
        formatGeaendert_ = true;
}

template <bool F> void Leser<F>::Zelle() {
    if (Z().ziel != Ziel::Text)
        return;
    Offenes();
    tabOffen_ = true;
}

template <bool F> void Leser<F>::NameRohLeeren() {
    if (nameRoh_.empty())
        return;
    int cp = schriftCpg_ ? schriftCpg_ : schriftZeichensatzCp_;
    if (cp == 0)
        cp = DokumentCodepage();
    const Codepage* seite = Codepage::Finden(cp);
    (seite ? seite : &Codepage::Cp1252())->Dekodieren(nameRoh_, name_);
    nameRoh_.clear();
}

template <bool F> void Leser<F>::SchriftAbschliessen() {
    NameRohLeeren();
    std::size_t a = 0, b = name_.size();
    while (a < b && name_[a] == u' ')
        ++a;
    while (b > a && name_[b - 1] == u' ')
        --b;
    Schrift& s = schriften_[schriftNummer_];
    if (b > a || s.name.empty())
        s.name = name_.substr(a, b - a);
    s.codepage = schriftCpg_ ? schriftCpg_ : schriftZeichensatzCp_;
    name_.clear();
}

bool GleichesFormat(const RtfLauf& a, const RtfLauf& b) {
    return a.Schriftname == b.Schriftname && a.Groesse == b.Groesse && a.Farbe == b.Farbe &&
           a.HatFarbe == b.HatFarbe && a.Fett == b.Fett && a.Kursiv == b.Kursiv &&
           a.Unterstrichen == b.Unterstrichen && a.Durchgestrichen == b.Durchgestrichen;
}

template <bool F> RtfDokument Leser<F>::Dokument() {
    RtfDokument dok;
    const std::u16string& text = aus_;
    const std::size_t laenge = n_;
    auto laufFuer = [&](const Format& f) {
        RtfLauf l;
        if (const auto it = schriften_.find(f.schrift); it != schriften_.end())
            l.Schriftname = it->second.name;
        l.Groesse = f.groesse / 2.0;
        if (f.farbe > 0 && std::size_t(f.farbe) < farben_.size() && farben_[f.farbe].gesetzt) {
            l.Farbe = farben_[f.farbe].rgb;
            l.HatFarbe = true;
        }
        l.Fett = f.merkmale & kFett;
        l.Kursiv = f.merkmale & kKursiv;
        l.Unterstrichen = f.merkmale & kUnterstrichen;
        l.Durchgestrichen = f.merkmale & kDurchgestrichen;
        return l;
    };
    std::size_t lauf = 0; // index of the run mark in force at the paragraph start
    auto absatz = [&](std::size_t von, std::size_t bis, std::uint8_t ausrichtung) {
        RtfAbsatz a;
        a.Ausrichtung = RtfAusrichtung(ausrichtung);
        std::size_t pos = von;
        while (pos < bis) {
            while (lauf + 1 < laeufe_.size() && laeufe_[lauf + 1].anfang <= pos)
                ++lauf;
            std::size_t stop = bis;
            if (lauf + 1 < laeufe_.size())
                stop = std::min(stop, laeufe_[lauf + 1].anfang);
            RtfLauf l = laufFuer(laeufe_.empty() ? Format{} : laeufe_[lauf].format);
            l.Text.assign(text, pos, stop - pos);
            if (!a.Laeufe.empty() && GleichesFormat(a.Laeufe.back(), l)) {
                a.Laeufe.back().Text += l.Text;
                pos = stop;
                continue;
            }
            a.Laeufe.push_back(std::move(l));
            pos = stop;
        }
        dok.Absaetze.push_back(std::move(a));
    };
    std::size_t von = 0;
    for (const AbsatzMarke& m : absaetze_) {
        absatz(von, m.ende, m.ausrichtung);
        von = m.ende + 2;
    }
    if (von < laenge) {
        absatz(von, laenge, schlussAusrichtung_);
        dok.LetzterAbsatzEndet = false;
    } else {
        dok.LetzterAbsatzEndet = !absaetze_.empty();
    }
    return dok;
}

} // namespace

std::u16string RtfAbsatz::Text() const {
    std::u16string t;
    for (const RtfLauf& l : Laeufe)
        t += l.Text;
    return t;
}

std::u16string RtfDokument::Text() const {
    std::u16string t;
    for (std::size_t i = 0; i < Absaetze.size(); ++i) {
        t += Absaetze[i].Text();
        if (i + 1 < Absaetze.size() || LetzterAbsatzEndet)
            t += u"\r\n";
    }
    return t;
}

std::u16string RtfZuText(std::string_view rtf) {
    Leser<false> leser(rtf);
    leser.Lesen();
    return leser.Text();
}

RtfDokument RtfLesen(std::string_view rtf) {
    Leser<true> leser(rtf);
    leser.Lesen();
    return leser.Dokument();
}

} // namespace zw
