#include "core/Erkennung.h"

#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "core/ZeilenRegel.h"

#include <cstring>
#include <string_view>
#include <utility>

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

using namespace std::string_view_literals;

// Files told by their first bytes alone, and what they are.
constexpr std::pair<std::string_view, std::string_view> kSignaturen[] = {
    {"%PDF-"sv, "ein PDF-Dokument"},
    {"\x89PNG"sv, "ein PNG-Bild"},
    {"\xFF\xD8\xFF"sv, "ein JPEG-Bild"},
    {"GIF87a"sv, "ein GIF-Bild"},
    {"GIF89a"sv, "ein GIF-Bild"},
    {"II*\0"sv, "ein TIFF-Bild"},
    {"MM\0*"sv, "ein TIFF-Bild"},
    {"\x7F"
     "ELF"sv,
     "ein Programm (ELF)"},
    {"\x1F\x8B"sv, "ein gzip-Archiv"},
    {"7z\xBC\xAF\x27\x1C"sv, "ein 7-Zip-Archiv"},
    {"Rar!\x1A\x07"sv, "ein RAR-Archiv"},
    {"SQLite format 3"sv, "eine SQLite-Datenbank"},
    {"OggS"sv, "eine Audiodatei"},
    {"fLaC"sv, "eine Audiodatei"},
    {"ID3"sv, "eine Audiodatei"},
};

} // namespace

bool IstZip(std::string_view anfang) {
    return anfang.starts_with("PK\x03\x04") || anfang.starts_with("PK\x05\x06");
}

std::optional<std::string> FremdesFormat(std::string_view b) {
    for (const auto& [signatur, was] : kSignaturen)
        if (b.starts_with(signatur))
            return KeineTextdatei(was);
    if (b.starts_with("RIFF") && b.size() >= 12) {
        const std::string_view art = b.substr(8, 4);
        if (art == "WEBP")
            return KeineTextdatei("ein WebP-Bild");
        if (art == "WAVE")
            return KeineTextdatei("eine WAV-Audiodatei");
        if (art == "AVI ")
            return KeineTextdatei("eine AVI-Videodatei");
    }
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
        const Utf8Anfang anfang = Utf8AnfangLesen(b);
        if (anfang.Folge == 0) {
            gueltig_ = false;
            continue;
        }
        offen_ = anfang.Folge;
        unten_ = anfang.Unten;
        oben_ = anfang.Oben;
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
    ZeilenRegel regel;
    for (char b : bytes)
        n += regel.Endet(b);
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
    ZeilenRegel regel;
    for (std::size_t i = 0; i < einheiten; ++i)
        n += regel.Endet(einheit(i));
    return n;
}

} // namespace zw
