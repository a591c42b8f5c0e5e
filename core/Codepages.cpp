#include "core/Codepages.h"

#include "core/CodepagesTabellen.h"
#include "core/Kodierung.h"

#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace zw {

namespace {

constexpr char16_t kErsatz = 0xFFFD;

// Decodes the generated UTF-8 tables; they hold only characters of the BMP.
std::size_t Utf8Entpacken(const char8_t* s, char16_t* ziel, std::size_t hoechstens) {
    std::size_t n = 0;
    while (*s && n < hoechstens) {
        const unsigned b = *s;
        char32_t cp;
        if (b < 0x80) {
            cp = b;
            s += 1;
        } else if (b < 0xE0) {
            cp = ((b & 0x1F) << 6) | (s[1] & 0x3F);
            s += 2;
        } else {
            cp = ((b & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
            s += 3;
        }
        ziel[n++] = char16_t(cp);
    }
    return n;
}

struct Einzelbyte {
    std::array<char16_t, 256> zeichen{};
    std::unique_ptr<Codepage> seite;
};

struct Doppelbyte {
    std::array<char16_t, 256> einzel{};
    std::vector<char16_t> paare;
    std::unique_ptr<Codepage> seite;
    std::once_flag einmal;
};

std::vector<Einzelbyte>& EinzelSeiten() {
    static std::vector<Einzelbyte> seiten = [] {
        std::vector<Einzelbyte> v(std::size_t(codepages::kEinzelbyteAnzahl) + 1);
        for (int b = 0; b < 256; ++b)
            v[0].zeichen[b] = Cp1252Zeichen(std::uint8_t(b));
        v[0].seite = std::make_unique<Codepage>(1252, v[0].zeichen.data());
        for (int i = 0; i < codepages::kEinzelbyteAnzahl; ++i) {
            auto& e = v[std::size_t(i) + 1];
            for (int b = 0; b < 128; ++b)
                e.zeichen[b] = char16_t(b);
            Utf8Entpacken(codepages::kEinzelbyte[i].Hoch, e.zeichen.data() + 128, 128);
            e.seite =
                std::make_unique<Codepage>(codepages::kEinzelbyte[i].Nummer, e.zeichen.data());
        }
        return v;
    }();
    return seiten;
}

std::array<Doppelbyte, 8>& DoppelSeiten() {
    static std::array<Doppelbyte, 8> seiten;
    return seiten;
}

const Codepage* DoppelbyteSeite(int index) {
    Doppelbyte& d = DoppelSeiten()[std::size_t(index)];
    std::call_once(d.einmal, [&] {
        const auto& q = codepages::kDoppelbyte[index];
        for (int b = 0; b < 128; ++b)
            d.einzel[b] = char16_t(b);
        Utf8Entpacken(q.Einzel, d.einzel.data() + 128, 128);
        const std::size_t breite = std::size_t(q.LetztesFolge - q.ErstesFolge + 1);
        const std::size_t zeilen = std::size_t(q.LetztesFuehrend - q.ErstesFuehrend + 1);
        d.paare.assign(breite * zeilen, kErsatz);
        for (std::size_t z = 0; z < zeilen; ++z)
            Utf8Entpacken(q.Zeilen[z], d.paare.data() + z * breite, breite);
        d.seite = std::make_unique<Codepage>(q.Nummer, d.einzel.data(), q.ErstesFuehrend,
                                             q.LetztesFuehrend, q.ErstesFolge, q.LetztesFolge,
                                             d.paare.data());
    });
    return d.seite.get();
}

} // namespace

const Codepage& Codepage::Cp1252() {
    return *EinzelSeiten()[0].seite;
}

const Codepage* Codepage::Finden(int nummer) {
    for (const auto& e : EinzelSeiten())
        if (e.seite->Nummer() == nummer)
            return e.seite.get();
    for (int i = 0; i < codepages::kDoppelbyteAnzahl; ++i)
        if (codepages::kDoppelbyte[i].Nummer == nummer)
            return DoppelbyteSeite(i);
    return nullptr;
}

void Codepage::Dekodieren(std::string_view bytes, std::u16string& aus) const {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    if (!Doppelbyte()) {
        for (std::size_t i = 0; i < n; ++i)
            aus.push_back(einzel_[s[i]]);
        return;
    }
    const std::size_t breite = std::size_t(folgeBis_ - folgeVon_ + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char b = s[i];
        const char16_t c = einzel_[b];
        if (c != 0xFFFF) {
            aus.push_back(c);
            continue;
        }
        if (i + 1 == n) {
            aus.push_back(kErsatz);
            break;
        }
        const unsigned char t = s[i + 1];
        if (t < folgeVon_ || t > folgeBis_) {
            // Not a trail byte: the lead byte alone is undefined, an ASCII byte
            // after it still counts as itself.
            aus.push_back(kErsatz);
            if (t >= 0x80)
                ++i;
            continue;
        }
        aus.push_back(paare_[std::size_t(b - fuehrend_) * breite + std::size_t(t - folgeVon_)]);
        ++i;
    }
}

int Codepage::Byte(char16_t zeichen) const {
    if (zeichen < 0x80)
        return zeichen;
    if (Doppelbyte() || zeichen == kErsatz)
        return -1;
    if (nummer_ == 1252)
        return Cp1252Byte(zeichen);
    for (int b = 0x80; b < 256; ++b)
        if (einzel_[b] == zeichen)
            return b;
    return -1;
}

int ZeichensatzCodepage(int zeichensatz) {
    switch (zeichensatz) {
    case 0:
    case 2: // symbol fonts: their bytes are kept as Windows-1252
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

} // namespace zw
