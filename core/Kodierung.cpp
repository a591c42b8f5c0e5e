#include "core/Kodierung.h"

#include "core/ZeilenRegel.h"

#include <algorithm>
#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cstdint>
#include <cstring>

#ifdef _WIN32
// Windows: ANSI text is in the code page the system is set to, read and
// written through the system's own conversion.
#include <windows.h>

#include <vector>
#endif

namespace zw {

namespace {

// Bytes 80..9F of Windows-1252; the undefined ones map to themselves.
constexpr char16_t kCp1252Hoch[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// How much of a single-byte code page the SSE2 paths may copy unchanged.
enum class Gleich { Nichts, Ascii, Latin1 };

struct AnsiTabellen {
    std::array<char16_t, 256> zuUnicode{};
    // 0 means "no byte" except for U+0000 itself.
    std::array<std::uint8_t, 65536> zuByte{};
    Gleich gleich = Gleich::Nichts;

    template <typename Zeichen> explicit AnsiTabellen(Zeichen zeichen) {
        for (int b = 255; b >= 0; --b) {
            zuUnicode[b] = zeichen(std::uint8_t(b));
            // Where two bytes give the same character, the lower one is written.
            zuByte[zuUnicode[b]] = std::uint8_t(b);
        }
        auto selbst = [&](int von, int bis) {
            for (int b = von; b < bis; ++b)
                if (zuUnicode[b] != b || zuByte[b] != b)
                    return false;
            return true;
        };
        // Latin1: every byte outside 80..9F stands for the code point of the
        // same value, both ways.
        if (selbst(0, 0x80))
            gleich = selbst(0xA0, 0x100) ? Gleich::Latin1 : Gleich::Ascii;
    }
};

const AnsiTabellen& Cp1252() {
    static const AnsiTabellen tabellen([](std::uint8_t b) {
        return (b >= 0x80 && b < 0xA0) ? kCp1252Hoch[b - 0x80] : char16_t(b);
    });
    return tabellen;
}

#ifdef _WIN32
struct SystemAnsi {
    UINT codepage = 1252;
    bool einzelbyte = true;
    AnsiTabellen tabellen;
    // Double-byte code pages: which code units the code page holds, for the
    // count of those written as "?".
    std::vector<bool> darstellbar;

    SystemAnsi()
        : codepage(GetACP()), einzelbyte(Einzelbyte()), tabellen([&](std::uint8_t b) {
              if (!einzelbyte)
                  return char16_t(b < 0x80 ? b : 0xFFFD);
              const char byte = char(b);
              wchar_t zeichen = 0;
              if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &zeichen, 1) != 1)
                  return char16_t(b);
              return char16_t(zeichen);
          }) {
        if (einzelbyte)
            return;
        darstellbar.assign(65536, false);
        for (unsigned c = 0; c < 65536; ++c) {
            if (IstSurrogat(c))
                continue;
            const wchar_t zeichen = wchar_t(c);
            char bytes[8];
            BOOL ersetzt = FALSE;
            const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &zeichen, 1, bytes,
                                              sizeof bytes, nullptr, &ersetzt);
            darstellbar[c] = n > 0 && !ersetzt;
        }
    }

    static bool Einzelbyte() {
        CPINFO info{};
        return !GetCPInfo(CP_ACP, &info) || info.MaxCharSize == 1;
    }
};

const SystemAnsi& System() {
    static const SystemAnsi system;
    return system;
}

const AnsiTabellen& Ansi() {
    return System().tabellen;
}
#else
const AnsiTabellen& Ansi() {
    return Cp1252();
}
#endif

constexpr char16_t kCr = u'\r';
constexpr char16_t kErsatz = 0xFFFD;

#ifdef __SSE2__
// 16 bytes that decode to themselves and need no line handling: no control
// up to CR, and for Windows-1252 nothing in 80..9F (nothing from 80 on for
// UTF-8). Widens them into 16 code units.
inline bool EinfacheBytes(const char* p, char16_t* ziel, bool nurAscii) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i null = _mm_setzero_si128();
    __m128i schlecht = _mm_cmpeq_epi8(_mm_subs_epu8(v, _mm_set1_epi8(13)), null);
    if (nurAscii) {
        schlecht = _mm_or_si128(schlecht, _mm_cmplt_epi8(v, null));
    } else {
        const __m128i c1 = _mm_xor_si128(v, _mm_set1_epi8(char(0x80)));
        schlecht =
            _mm_or_si128(schlecht, _mm_cmpeq_epi8(_mm_subs_epu8(c1, _mm_set1_epi8(0x1F)), null));
    }
    if (_mm_movemask_epi8(schlecht) != 0)
        return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(ziel), _mm_unpacklo_epi8(v, null));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(ziel + 8), _mm_unpackhi_epi8(v, null));
    return true;
}

// 8 code units that encode as one byte each and need no line handling:
// below 80 (UTF-8), or up to FF outside 80..9F (Windows-1252), and neither
// CR nor LF. Packs them into 8 bytes.
inline bool EinfacheEinheiten(const char16_t* p, char* ziel, bool nurAscii) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i null = _mm_setzero_si128();
    __m128i schlecht = _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(10)),
                                    _mm_cmpeq_epi16(v, _mm_set1_epi16(13)));
    if (nurAscii) {
        schlecht = _mm_or_si128(
            schlecht, _mm_xor_si128(_mm_cmpeq_epi16(_mm_subs_epu16(v, _mm_set1_epi16(0x7F)), null),
                                    _mm_set1_epi16(-1)));
    } else {
        const __m128i ueberFF = _mm_xor_si128(
            _mm_cmpeq_epi16(_mm_subs_epu16(v, _mm_set1_epi16(0xFF)), null), _mm_set1_epi16(-1));
        const __m128i c1 = _mm_cmpeq_epi16(
            _mm_subs_epu16(_mm_xor_si128(v, _mm_set1_epi16(0x80)), _mm_set1_epi16(0x1F)), null);
        schlecht = _mm_or_si128(schlecht, _mm_or_si128(ueberFF, c1));
    }
    if (_mm_movemask_epi8(schlecht) != 0)
        return false;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(ziel), _mm_packus_epi16(v, v));
    return true;
}
#endif

// Writes decoded code units into a pre-sized buffer while applying the line
// rule. The caller guarantees room for every unit plus one per line end.
class ZeilenSchreiber {
public:
    explicit ZeilenSchreiber(char16_t* ziel) : pos_(ziel) {}

    // Returns false when a NUL ends the text.
    inline bool Zeichen(char16_t c, bool nulBeendet) {
        if (c > kCr) {
            *pos_++ = c;
            regel_.Zeichen();
            return true;
        }
        if (c == 0 && nulBeendet)
            return false;
        regel_.Einheit(c, [this](char16_t e) { *pos_++ = e; });
        return true;
    }

    // For the block copies of the fast paths: they write plain characters
    // only, which ends any pending CR.
    char16_t* Ziel() const { return pos_; }
    void Vorruecken(std::size_t n) {
        pos_ += n;
        regel_.Zeichen();
    }

    char16_t* Ende() {
        regel_.Ende<char16_t>([this](char16_t e) { *pos_++ = e; });
        return pos_;
    }

private:
    char16_t* pos_;
    ZeilenRegel regel_;
};

// How many CR and LF a text holds: the most its line rule can add.
template <typename T> std::size_t ZeilenEnden(const T* anfang, const T* ende) {
    std::size_t anzahl = 0;
    const T* p = anfang;
#ifdef __SSE2__
    constexpr std::size_t proBlock = 16 / sizeof(T);
    const auto cr = sizeof(T) == 1 ? _mm_set1_epi8('\r') : _mm_set1_epi16('\r');
    const auto lf = sizeof(T) == 1 ? _mm_set1_epi8('\n') : _mm_set1_epi16('\n');
    for (; std::size_t(ende - p) >= proBlock; p += proBlock) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i treffer = sizeof(T) == 1
                                    ? _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))
                                    : _mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf));
        // Each matching unit sets sizeof(T) mask bits; most blocks have none.
        unsigned maske = unsigned(_mm_movemask_epi8(treffer));
        std::size_t bits = 0;
        for (; maske != 0; maske &= maske - 1)
            ++bits;
        anzahl += bits / sizeof(T);
    }
#endif
    for (; p != ende; ++p)
        anzahl += (*p == T('\r')) + (*p == T('\n'));
    return anzahl;
}

// Sizes the buffer for the worst case, fills it, and trims it.
template <typename Fuellen> std::u16string Puffern(std::size_t hoechstens, Fuellen fuellen) {
    std::u16string text;
    text.resize(hoechstens + 2);
    ZeilenSchreiber schreiber(text.data());
    fuellen(schreiber);
    text.resize(std::size_t(schreiber.Ende() - text.data()));
    return text;
}

// Decodes UTF-8 and hands each code unit to the sink; a bad sequence becomes
// one U+FFFD per maximal invalid subpart. The sink returns false to stop.
// `schnell` may take a run of plain ASCII at once and returns how many bytes
// it took (0 for none).
template <typename Senke, typename Schnell>
void Utf8Dekodieren(std::string_view bytes, Senke&& senke, Schnell&& schnell) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            if (const std::size_t genommen = schnell(bytes.data() + i, n - i)) {
                i += genommen;
                continue;
            }
            if (!senke(char16_t(b)))
                return;
            ++i;
            continue;
        }
        const Utf8Anfang anfang = Utf8AnfangLesen(b);
        if (anfang.Folge == 0) {
            if (!senke(kErsatz))
                return;
            ++i;
            continue;
        }
        const int folge = anfang.Folge;
        unsigned char unten = anfang.Unten, oben = anfang.Oben;
        char32_t cp = anfang.Bits;
        std::size_t j = i + 1;
        bool gut = true;
        for (int k = 0; k < folge; ++k, ++j) {
            if (j >= n || s[j] < unten || s[j] > oben) {
                gut = false;
                break;
            }
            cp = (cp << 6) | (s[j] & 0x3F);
            unten = 0x80;
            oben = 0xBF;
        }
        if (!gut) {
            if (!senke(kErsatz))
                return;
            i = j;
            continue;
        }
        i = j;
        if (cp >= 0x10000) {
            const Paar paar = PaarAus(cp);
            if (!senke(paar.Hoch))
                return;
            if (!senke(paar.Tief))
                return;
        } else if (!senke(char16_t(cp))) {
            return;
        }
    }
}

// Walks a text under the writing line rule and hands every unit to the sink,
// with CR LF for each line end and after an unterminated last line.
// `schnell` may take a run of plain characters (no CR, no LF) at once and
// returns how many it took (0 for none).
template <typename Senke, typename Schnell>
void ZeilenWeise(std::u16string_view text, Senke&& senke, Schnell&& schnell) {
    ZeilenRegel regel;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (const std::size_t genommen = schnell(text.data() + i, n - i)) {
            i += genommen - 1;
            regel.Zeichen();
            continue;
        }
        regel.Einheit(text[i], senke);
    }
    regel.Ende<char16_t>(senke);
}

constexpr auto kOhneAbkuerzung = [](const auto*, std::size_t) -> std::size_t { return 0; };

} // namespace

char16_t Cp1252Zeichen(unsigned char byte) {
    return Cp1252().zuUnicode[byte];
}

int Cp1252Byte(char16_t zeichen) {
    const std::uint8_t b = Cp1252().zuByte[zeichen];
    return (b == 0 && zeichen != 0) ? -1 : int(b);
}

int AnsiCodepage() {
#ifdef _WIN32
    return int(System().codepage);
#else
    return 1252;
#endif
}

bool AnsiEinzelbyte() {
#ifdef _WIN32
    return System().einzelbyte;
#else
    return true;
#endif
}

char16_t AnsiZeichen(unsigned char byte) {
    return Ansi().zuUnicode[byte];
}

int AnsiByte(char16_t zeichen) {
    const std::uint8_t b = Ansi().zuByte[zeichen];
    return (b == 0 && zeichen != 0) ? -1 : int(b);
}

std::u16string AnsiLesen(std::string_view bytes) {
    const char* anfang = bytes.data();
    const void* nul = std::memchr(anfang, 0, bytes.size());
    const char* ende = nul ? static_cast<const char*>(nul) : anfang + bytes.size();
#ifdef _WIN32
    if (!System().einzelbyte) {
        // A double-byte code page: the system decodes, the line rule follows.
        const int n = int(ende - anfang);
        std::u16string text;
        if (n > 0) {
            text.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, anfang, n, nullptr, 0)));
            MultiByteToWideChar(CP_ACP, 0, anfang, n, reinterpret_cast<wchar_t*>(text.data()),
                                int(text.size()));
        }
        return ZeilenRegelLesen(text);
    }
#endif
    const auto& tabelle = Ansi().zuUnicode;
    const Gleich gleich = Ansi().gleich;
    return Puffern(std::size_t(ende - anfang) + ZeilenEnden(anfang, ende), [&](ZeilenSchreiber& z) {
        const char* p = anfang;
#ifdef __SSE2__
        while (gleich != Gleich::Nichts && ende - p >= 16) {
            if (EinfacheBytes(p, z.Ziel(), gleich == Gleich::Ascii)) {
                z.Vorruecken(16);
                p += 16;
                continue;
            }
            for (const char* block = p + 16; p != block; ++p)
                z.Zeichen(tabelle[static_cast<unsigned char>(*p)], false);
        }
#endif
        for (; p != ende; ++p)
            z.Zeichen(tabelle[static_cast<unsigned char>(*p)], false);
    });
}

std::u16string Utf8Lesen(std::string_view bytes) {
    // At most one code unit per byte, so the byte count bounds the text.
    const char* anfang = bytes.data();
    return Puffern(
        bytes.size() + ZeilenEnden(anfang, anfang + bytes.size()), [&](ZeilenSchreiber& z) {
            Utf8Dekodieren(
                bytes, [&](char16_t c) { return z.Zeichen(c, true); },
                [&](const char* p, std::size_t rest) -> std::size_t {
#ifdef __SSE2__
                    std::size_t genommen = 0;
                    while (rest - genommen >= 16 && EinfacheBytes(p + genommen, z.Ziel(), true)) {
                        z.Vorruecken(16);
                        genommen += 16;
                    }
                    return genommen;
#else
                return kOhneAbkuerzung(p, rest);
#endif
                });
        });
}

std::u16string Utf16Lesen(std::string_view bytes, bool bigEndian) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t paare = bytes.size() / 2;
    const bool rest = bytes.size() % 2 != 0;
    std::size_t enden = 0;
    for (std::size_t i = 0; i < paare; ++i) {
        const unsigned hoch = s[2 * i + (bigEndian ? 0 : 1)];
        const unsigned tief = s[2 * i + (bigEndian ? 1 : 0)];
        enden += (hoch == 0 && (tief == '\r' || tief == '\n'));
    }
    return Puffern(paare + enden + (rest ? 1 : 0), [&](ZeilenSchreiber& z) {
        for (std::size_t i = 0; i < paare; ++i) {
            const unsigned hoch = s[2 * i + (bigEndian ? 0 : 1)];
            const unsigned tief = s[2 * i + (bigEndian ? 1 : 0)];
            if (!z.Zeichen(char16_t((hoch << 8) | tief), true))
                return;
        }
        // A dangling odd byte is no character; it is marked, not dropped.
        if (rest)
            z.Zeichen(kErsatz, true);
    });
}

ByteOrderMarke MarkeLesen(std::string_view anfang) {
    if (anfang.starts_with("\xEF\xBB\xBF"))
        return {Form::Utf8, 3};
    if (anfang.starts_with("\xFF\xFE"))
        return {Form::Utf16Le, 2};
    if (anfang.starts_with("\xFE\xFF"))
        return {Form::Utf16Be, 2};
    return {};
}

std::u16string FormLesen(std::string_view bytes, Form form) {
    switch (form) {
    case Form::Ansi:
        break;
    case Form::Utf8:
        return Utf8Lesen(bytes);
    case Form::Utf16Le:
        return Utf16Lesen(bytes, false);
    case Form::Utf16Be:
        return Utf16Lesen(bytes, true);
    }
    return AnsiLesen(bytes);
}

std::u16string ZeilenRegelLesen(std::u16string_view text) {
    const std::size_t nul = text.find(char16_t(0));
    if (nul != std::u16string_view::npos)
        text = text.substr(0, nul);
    return Puffern(text.size() + ZeilenEnden(text.data(), text.data() + text.size()),
                   [&](ZeilenSchreiber& z) {
                       for (char16_t c : text)
                           z.Zeichen(c, false);
                   });
}

Kodiert AnsiSchreiben(std::u16string_view text) {
    Kodiert k;
#ifdef _WIN32
    if (!System().einzelbyte) {
        // A double-byte code page: the line rule first, then the system
        // encodes, without its nearest-match replacements, so what the code
        // page lacks becomes "?" as in every other code page.
        std::u16string zeilen;
        zeilen.reserve(text.size() + text.size() / 16 + 2);
        const auto anhaengen = [&](char16_t c) { zeilen.push_back(c); };
        ZeilenWeise(text, anhaengen, kOhneAbkuerzung);
        k.NichtDarstellbar = AnsiNichtDarstellbar(zeilen);
        // No double-byte code page holds characters beyond the BMP; as in the
        // single-byte pages, each half of a pair becomes one "?".
        for (char16_t& c : zeilen)
            if (IstSurrogat(c))
                c = u'?';
        const auto* w = reinterpret_cast<const wchar_t*>(zeilen.data());
        const int n = int(zeilen.size());
        if (n > 0) {
            k.Bytes.resize(std::size_t(
                WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, n, nullptr, 0, "?", nullptr)));
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, n, k.Bytes.data(),
                                int(k.Bytes.size()), "?", nullptr);
        }
        return k;
    }
#endif
    k.Bytes.resize(text.size() + ZeilenEnden(text.data(), text.data() + text.size()) + 2);
    char* pos = k.Bytes.data();
    const auto& tabelle = Ansi().zuByte;
    const Gleich gleich = Ansi().gleich;
    std::size_t fehlend = 0;
    ZeilenWeise(
        text,
        [&](char16_t c) {
            const std::uint8_t b = tabelle[c];
            if (b == 0 && c != 0) {
                *pos++ = '?';
                ++fehlend;
            } else {
                *pos++ = char(b);
            }
        },
        [&](const char16_t* p, std::size_t rest) -> std::size_t {
#ifdef __SSE2__
            std::size_t genommen = 0;
            while (gleich != Gleich::Nichts && rest - genommen >= 8 &&
                   EinfacheEinheiten(p + genommen, pos, gleich == Gleich::Ascii)) {
                pos += 8;
                genommen += 8;
            }
            return genommen;
#else
            return kOhneAbkuerzung(p, rest);
#endif
        });
    k.Bytes.resize(std::size_t(pos - k.Bytes.data()));
    k.NichtDarstellbar = fehlend;
    return k;
}

std::size_t AnsiNichtDarstellbar(std::u16string_view text) {
#ifdef _WIN32
    if (!System().einzelbyte) {
        const auto& darstellbar = System().darstellbar;
        std::size_t fehlend = 0;
        for (char16_t c : text)
            fehlend += !darstellbar[c] && c != 0;
        return fehlend;
    }
#endif
    const auto& tabelle = Ansi().zuByte;
    std::size_t fehlend = 0;
    for (char16_t c : text)
        fehlend += (tabelle[c] == 0 && c != 0);
    return fehlend;
}

Kodiert Utf8Schreiben(std::u16string_view text) {
    Kodiert k;
    k.Bytes.reserve(3 + text.size() + text.size() / 4 + 16);
    k.Bytes.append("\xEF\xBB\xBF");
    char16_t hoch = 0;
    auto offenerHoher = [&] {
        if (hoch != 0) {
            Utf8Anhaengen(k.Bytes, kErsatz);
            ++k.NichtDarstellbar;
            hoch = 0;
        }
    };
    ZeilenWeise(
        text,
        [&](char16_t c) {
            if (IstTief(c) && hoch != 0) {
                Utf8Anhaengen(k.Bytes, AusPaar(hoch, c));
                hoch = 0;
                return;
            }
            offenerHoher();
            if (IstHoch(c)) {
                hoch = c;
            } else if (IstTief(c)) {
                Utf8Anhaengen(k.Bytes, kErsatz);
                ++k.NichtDarstellbar;
            } else if (c < 0x80) {
                k.Bytes.push_back(char(c));
            } else {
                Utf8Anhaengen(k.Bytes, c);
            }
        },
        [&](const char16_t* p, std::size_t rest) -> std::size_t {
#ifdef __SSE2__
            std::size_t genommen = 0;
            char acht[8];
            while (rest - genommen >= 8 && EinfacheEinheiten(p + genommen, acht, true)) {
                if (genommen == 0)
                    offenerHoher();
                k.Bytes.append(acht, 8);
                genommen += 8;
            }
            return genommen;
#else
            return kOhneAbkuerzung(p, rest);
#endif
        });
    offenerHoher();
    return k;
}

Kodiert Utf16Schreiben(std::u16string_view text) {
    Kodiert k;
    k.Bytes.resize(2 + 2 * (text.size() + ZeilenEnden(text.data(), text.data() + text.size()) + 2));
    char* pos = k.Bytes.data();
    *pos++ = char(0xFF);
    *pos++ = char(0xFE);
    ZeilenWeise(
        text,
        [&](char16_t c) {
            *pos++ = char(c & 0xFF);
            *pos++ = char(c >> 8);
        },
        kOhneAbkuerzung);
    k.Bytes.resize(std::size_t(pos - k.Bytes.data()));
    return k;
}

std::string Utf16ZuUtf8(std::u16string_view text) {
    std::string aus;
    aus.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            aus.push_back(char(c));
        } else if (IstHoch(c) && i + 1 < text.size() && IstTief(text[i + 1])) {
            Utf8Anhaengen(aus, AusPaar(c, text[i + 1]));
            ++i;
        } else if (IstSurrogat(c)) {
            Utf8Anhaengen(aus, kErsatz);
        } else {
            Utf8Anhaengen(aus, c);
        }
    }
    return aus;
}

std::u16string Utf8ZuUtf16(std::string_view text) {
    std::u16string aus;
    aus.reserve(text.size());
    Utf8Dekodieren(
        text,
        [&](char16_t c) {
            aus.push_back(c);
            return true;
        },
        kOhneAbkuerzung);
    return aus;
}

} // namespace zw
