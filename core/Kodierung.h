#pragma once
// Text encodings of the document files, each fused with the line rule, so a
// large file is decoded and normalised in one pass.
//
// Line rule when reading: CR LF, a single CR and a single LF each end a line;
// every line, the last one included, is followed by CR LF; a NUL ends the text.
// Line rule when writing: the same, except that a NUL is written like any
// other character (cutting the file short would lose the rest of the text).

#include <cstddef>
#include <string>
#include <string_view>

namespace zw {

// UTF-16 surrogates: a high one (D800..DBFF) followed by a low one
// (DC00..DFFF) make one code point beyond the BMP; alone, either is no
// character.
constexpr bool IstHoch(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IstTief(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool IstSurrogat(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr char32_t AusPaar(char16_t hoch, char16_t tief) {
    return 0x10000 + ((char32_t(hoch - 0xD800) << 10) | char32_t(tief - 0xDC00));
}
struct Paar {
    char16_t Hoch, Tief;
};
// `cp` from 10000 hex on.
constexpr Paar PaarAus(char32_t cp) {
    return {char16_t(0xD800 + ((cp - 0x10000) >> 10)), char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF))};
}

// What a UTF-8 lead byte starts: how many bytes follow (0 for a byte that
// starts nothing) and the range the first of them must lie in, which keeps
// out overlong forms, surrogates and points beyond 10FFFF; the others lie in
// 80..BF. The bits of the code point the lead byte carries.
struct Utf8Anfang {
    int Folge = 0;
    unsigned char Unten = 0x80, Oben = 0xBF;
    char32_t Bits = 0;
};
constexpr Utf8Anfang Utf8AnfangLesen(unsigned char b) {
    using Byte = unsigned char;
    if (b >= 0xC2 && b <= 0xDF)
        return {1, 0x80, 0xBF, char32_t(b & 0x1F)};
    if (b >= 0xE0 && b <= 0xEF)
        return {2, Byte(b == 0xE0 ? 0xA0 : 0x80), Byte(b == 0xED ? 0x9F : 0xBF),
                char32_t(b & 0x0F)};
    if (b >= 0xF0 && b <= 0xF4)
        return {3, Byte(b == 0xF0 ? 0x90 : 0x80), Byte(b == 0xF4 ? 0x8F : 0xBF),
                char32_t(b & 0x07)};
    return {};
}

// Appends one code point as UTF-8. Inline: the encoders call it per character.
inline void Utf8Anhaengen(std::string& aus, char32_t cp) {
    if (cp < 0x80) {
        aus.push_back(char(cp));
    } else if (cp < 0x800) {
        aus.push_back(char(0xC0 | (cp >> 6)));
        aus.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        aus.push_back(char(0xE0 | (cp >> 12)));
        aus.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        aus.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        aus.push_back(char(0xF0 | (cp >> 18)));
        aus.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        aus.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        aus.push_back(char(0x80 | (cp & 0x3F)));
    }
}

// Windows-1252. The five bytes the code page leaves undefined (81, 8D, 8F, 90,
// 9D hex) stand for the code points of the same value, so every byte survives.
char16_t Cp1252Zeichen(unsigned char byte);
// The byte for a character, or -1 when Windows-1252 has none.
int Cp1252Byte(char16_t zeichen);

// The system's ANSI code page: Windows-1252, except on Windows, where it is
// the code page the system is set to. Single-byte pages are read and written
// through tables; on Windows a double-byte page goes through the system's own
// conversion.
int AnsiCodepage();
bool AnsiEinzelbyte();
// For a single-byte ANSI code page: the character of a byte, and the byte of
// a character or -1 when the code page has none.
char16_t AnsiZeichen(unsigned char byte);
int AnsiByte(char16_t zeichen);

std::u16string AnsiLesen(std::string_view bytes);
std::u16string Utf8Lesen(std::string_view bytes);                  // without byte order mark
std::u16string Utf16Lesen(std::string_view bytes, bool bigEndian); // without mark

// How the bytes of a text file are written. A byte order mark names every
// form but ANSI.
enum class Form { Ansi, Utf8, Utf16Le, Utf16Be };
struct ByteOrderMarke {
    Form Art = Form::Ansi;
    std::size_t Laenge = 0; // 0: no mark
};
// The byte order mark at the start of `anfang` (EF BB BF, FF FE, FE FF).
ByteOrderMarke MarkeLesen(std::string_view anfang);
// Decodes bytes without their mark in the given form, under the line rule.
std::u16string FormLesen(std::string_view bytes, Form form);

// Applies the reading line rule to text that is already decoded.
std::u16string ZeilenRegelLesen(std::u16string_view text);

struct Kodiert {
    std::string Bytes;
    // Characters that the encoding cannot hold and that were written as "?"
    // (ANSI) or U+FFFD (a lone surrogate in UTF-8).
    std::size_t NichtDarstellbar = 0;
};

Kodiert AnsiSchreiben(std::u16string_view text);
Kodiert Utf8Schreiben(std::u16string_view text);  // with EF BB BF
Kodiert Utf16Schreiben(std::u16string_view text); // little-endian with FF FE

// Characters of a text that the ANSI code page cannot hold.
std::size_t AnsiNichtDarstellbar(std::u16string_view text);

// Plain conversions without the line rule.
std::string Utf16ZuUtf8(std::u16string_view text); // lone surrogates become U+FFFD
std::u16string Utf8ZuUtf16(std::string_view text); // bad sequences become U+FFFD

} // namespace zw
