#include "core/Erkennung.h"

#include "core/Konvertierung.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zw {

namespace {

std::string KeineTextdatei(std::string_view was) {
    return "Die Datei ist keine Textdatei, sondern " + std::string(was) + ".";
}

// Names of streams in an old Office file's directory are UTF-16LE.
bool HatStrom(std::string_view bytes, std::string_view name) {
    std::string breit;
    for (char c : name) {
        breit.push_back(c);
        breit.push_back('\0');
    }
    return bytes.find(breit) != std::string_view::npos;
}

} // namespace

bool IstZip(std::string_view anfang) {
    return anfang.starts_with("PK\x03\x04") || anfang.starts_with("PK\x05\x06");
}

std::optional<std::string> FremdesFormat(std::string_view b) {
    if (b.starts_with("%PDF-"))
        return KeineTextdatei("ein PDF-Dokument");
    if (b.starts_with("\x89PNG"))
        return KeineTextdatei("ein PNG-Bild");
    if (b.starts_with("\xFF\xD8\xFF"))
        return KeineTextdatei("ein JPEG-Bild");
    if (b.starts_with("GIF87a") || b.starts_with("GIF89a"))
        return KeineTextdatei("ein GIF-Bild");
    if (b.starts_with(std::string_view("II*\0", 4)) || b.starts_with(std::string_view("MM\0*", 4)))
        return KeineTextdatei("ein TIFF-Bild");
    if (b.starts_with("RIFF") && b.size() >= 12) {
        const std::string_view art = b.substr(8, 4);
        if (art == "WEBP")
            return KeineTextdatei("ein WebP-Bild");
        if (art == "WAVE")
            return KeineTextdatei("eine WAV-Audiodatei");
        if (art == "AVI ")
            return KeineTextdatei("eine AVI-Videodatei");
    }
    if (b.starts_with("\x7F"
                      "ELF"))
        return KeineTextdatei("ein Programm (ELF)");
    // "MZ" may begin a line of text; a program has NULs in its header.
    if (b.starts_with("MZ") && b.size() >= 64 && std::memchr(b.data(), 0, 64) != nullptr)
        return KeineTextdatei("ein Windows-Programm");
    if (b.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        if (HatStrom(b, "WordDocument"))
            return KeineTextdatei("ein Word-Dokument im alten Format (.doc). Speichern Sie es "
                                  "zuerst in Word oder LibreOffice als DOCX oder RTF");
        if (HatStrom(b, "Workbook") || HatStrom(b, "Book"))
            return KeineTextdatei("eine Excel-Arbeitsmappe im alten Format (.xls)");
        if (HatStrom(b, "PowerPoint Document"))
            return KeineTextdatei("eine PowerPoint-Präsentation im alten Format (.ppt)");
        return KeineTextdatei("eine Datei im alten Microsoft-Office-Format. Ist es ein "
                              "Word-Dokument, speichern Sie es zuerst als DOCX oder RTF");
    }
    if (b.starts_with("\x1F\x8B"))
        return KeineTextdatei("ein gzip-Archiv");
    if (b.starts_with("7z\xBC\xAF\x27\x1C"))
        return KeineTextdatei("ein 7-Zip-Archiv");
    if (b.starts_with("Rar!\x1A\x07"))
        return KeineTextdatei("ein RAR-Archiv");
    if (b.starts_with("SQLite format 3"))
        return KeineTextdatei("eine SQLite-Datenbank");
    if (b.starts_with("OggS") || b.starts_with("fLaC") || b.starts_with("ID3"))
        return KeineTextdatei("eine Audiodatei");
    return std::nullopt;
}

void TextPruefer::Hinzufuegen(std::string_view stueck) {
    const auto* p = reinterpret_cast<const unsigned char*>(stueck.data());
    const auto* ende = p + stueck.size();
    groesse_ += stueck.size();
    while (p != ende) {
        if (!gueltig_) {
            // Settled: only the NULs are still counted.
            for (const void* nul; (nul = std::memchr(p, 0, std::size_t(ende - p))) != nullptr;) {
                ++nuls_;
                p = static_cast<const unsigned char*>(nul) + 1;
            }
            return;
        }
#ifdef __SSE2__
        // Plain ASCII without NUL, sixteen bytes at a time: most of a text.
        if (offen_ == 0) {
            while (ende - p >= 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const __m128i nul = _mm_cmpeq_epi8(v, _mm_setzero_si128());
                if (_mm_movemask_epi8(_mm_or_si128(v, nul)) != 0)
                    break;
                p += 16;
            }
            if (p == ende)
                break;
        }
#endif
        const unsigned char b = *p++;
        if (offen_ > 0) {
            if (b < unten_ || b > oben_) {
                gueltig_ = false;
                offen_ = 0;
                // The byte starts afresh: it may be a NUL to count.
                --p;
                continue;
            }
            --offen_;
            unten_ = 0x80;
            oben_ = 0xBF;
            continue;
        }
        if (b < 0x80) {
            nuls_ += (b == 0);
            continue;
        }
        unten_ = 0x80;
        oben_ = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            offen_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            offen_ = 2;
            if (b == 0xE0)
                unten_ = 0xA0; // overlong
            else if (b == 0xED)
                oben_ = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            offen_ = 3;
            if (b == 0xF0)
                unten_ = 0x90; // overlong
            else if (b == 0xF4)
                oben_ = 0x8F; // beyond 10FFFF
        } else {
            gueltig_ = false;
            continue;
        }
        mehrByte_ = true;
    }
}

bool NulsSindBinaer(std::uint64_t nuls, std::uint64_t groesse) {
    return nuls >= 2 && nuls * 4096 >= groesse;
}

std::string NulMeldung(const NulStelle& nul) {
    const std::string wo =
        nul.Zeile > 0 ? " in Zeile " + ZahlGruppieren(std::int64_t(nul.Zeile)) : std::string();
    return "Der Text endet" + wo + " an einem NUL-Zeichen; " +
           (nul.RestBytes == 1 ? std::string("das letzte Byte der Datei wurde")
                               : "die restlichen " + ZahlGruppieren(std::int64_t(nul.RestBytes)) +
                                     " Bytes der Datei wurden") +
           " nicht gelesen.";
}

std::uint64_t ZeilenEndenZaehlen(std::string_view bytes) {
    std::uint64_t n = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            ++n;
        else if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            ++n;
    }
    return n;
}

std::uint64_t ZeilenEndenZaehlen16(std::string_view bytes, bool bigEndian) {
    std::uint64_t n = 0;
    const std::size_t einheiten = bytes.size() / 2;
    auto einheit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
    };
    for (std::size_t i = 0; i < einheiten; ++i) {
        const char16_t c = einheit(i);
        if (c == u'\n')
            ++n;
        else if (c == u'\r' && (i + 1 == einheiten || einheit(i + 1) != u'\n'))
            ++n;
    }
    return n;
}

} // namespace zw
