#pragma once
// The Windows code pages that RTF documents name through \ansicpg, \cpg and
// \fcharset: Windows-1252 and the other single-byte pages, and the East Asian
// double-byte pages 932, 936, 949, 950 and 1361.

#include <string>
#include <string_view>

namespace zw {

class Codepage {
public:
    // The code page with that number, or nullptr when it is not known here.
    static const Codepage* Finden(int nummer);
    static const Codepage& Cp1252();

    int Nummer() const { return nummer_; }
    bool Doppelbyte() const { return fuehrend_ != 0; }

    // Single-byte pages: the character of every byte. Double-byte pages: the
    // character of a byte that stands alone, U+FFFF for a lead byte.
    const char16_t* Einzel() const { return einzel_; }

    // Appends the characters of the bytes; undefined bytes and pairs become
    // U+FFFD, a lead byte without a trail byte too.
    void Dekodieren(std::string_view bytes, std::u16string& aus) const;

    // The byte of a character in a single-byte page, or -1.
    int Byte(char16_t zeichen) const;

    Codepage(int nummer, const char16_t* einzel) : nummer_(nummer), einzel_(einzel) {}
    Codepage(int nummer, const char16_t* einzel, unsigned char fuehrendVon,
             unsigned char fuehrendBis, unsigned char folgeVon, unsigned char folgeBis,
             const char16_t* paare)
        : nummer_(nummer), einzel_(einzel), fuehrend_(fuehrendVon), fuehrendBis_(fuehrendBis),
          folgeVon_(folgeVon), folgeBis_(folgeBis), paare_(paare) {}

private:
    int nummer_;
    const char16_t* einzel_;
    unsigned char fuehrend_ = 0, fuehrendBis_ = 0, folgeVon_ = 0, folgeBis_ = 0;
    const char16_t* paare_ = nullptr;
};

// The Windows code page of an RTF character set (\fcharset), or 0 for "the
// document's code page" (character set 1 and every number not listed).
int ZeichensatzCodepage(int zeichensatz);

} // namespace zw
