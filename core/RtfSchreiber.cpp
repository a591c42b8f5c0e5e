// The RTF writer: one plain text in one font, shaped like the documents the
// Windows rich-text control writes, so every word processor opens it.

#include "core/Codepages.h"
#include "core/Kodierung.h"
#include "core/Rtf.h"
#include "core/ZeilenRegel.h"

#include <algorithm>
#include <cstdio>

namespace zw {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void HexByte(std::string& aus, int b) {
    aus += "\\'";
    aus.push_back(kHex[(b >> 4) & 0xF]);
    aus.push_back(kHex[b & 0xF]);
}

void Zahl(std::string& aus, long long n) {
    char puffer[24];
    const int laenge = std::snprintf(puffer, sizeof puffer, "%lld", n);
    aus.append(puffer, std::size_t(laenge));
}

// \uN with N as a signed 16-bit number, then the fallback for readers that do
// not know \u (the one character \uc1 announces).
void Unicode(std::string& aus, char16_t einheit, int ersatzByte) {
    aus += "\\u";
    Zahl(aus, einheit > 32767 ? long(einheit) - 65536 : long(einheit));
    if (ersatzByte >= 0x80)
        HexByte(aus, ersatzByte);
    else
        aus.push_back('?');
}

// Windows-1252 leaves five bytes undefined; other programs read them
// differently, so those characters go out as \u.
bool Cp1252Sicher(int b) {
    return b >= 0 && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D;
}

class Schreiber {
public:
    // nurUnicode: the font names no code page of its own, so no byte is safe.
    Schreiber(std::string& aus, const Codepage& seite, bool nurUnicode)
        : aus_(aus), seite_(seite), nurUnicode_(nurUnicode) {}

    // One character that is not a line end.
    void Zeichen(char16_t c) {
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\' || c == '{' || c == '}')
                aus_.push_back('\\');
            aus_.push_back(char(c));
            return;
        }
        if (c < 0x80) {
            if (c == u'\t')
                aus_ += "\\tab ";
            else if (c != 0) // the rich-text control holds no NUL
                HexByte(aus_, c);
            return;
        }
        if (nurUnicode_) {
            Unicode(aus_, c, -1);
            return;
        }
        const int b = seite_.Byte(c);
        if (seite_.Nummer() == 1252) {
            if (Cp1252Sicher(b))
                HexByte(aus_, b);
            else
                Unicode(aus_, c, -1);
        } else {
            Unicode(aus_, c, b);
        }
    }

    // A character in a font name, where ";" would end the name.
    void NamensZeichen(char16_t c) {
        if (c == u';')
            HexByte(aus_, c);
        else if (c >= 0x20)
            Zeichen(c);
    }

private:
    std::string& aus_;
    const Codepage& seite_;
    bool nurUnicode_;
};

// The code units of a text with its surrogate pairs kept together; a lone
// surrogate becomes U+FFFD. Calls zeichen for every unit but line ends and
// zeilenEnde for every line end.
template <typename Zeichen, typename ZeilenEnde>
void Durchgehen(std::u16string_view text, Zeichen&& zeichen, ZeilenEnde&& zeilenEnde) {
    const std::size_t n = text.size();
    ZeilenRegel regel;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (IstZeilenzeichen(c)) {
            if (regel.Endet(c))
                zeilenEnde();
            continue;
        }
        regel.Zeichen();
        if (IstHoch(c) && i + 1 < n && IstTief(text[i + 1])) {
            zeichen(c);
            zeichen(text[++i]);
        } else {
            zeichen(IstSurrogat(c) ? char16_t(0xFFFD) : c);
        }
    }
}

} // namespace

std::string TextZuRtf(std::u16string_view text, const TSchrift& schrift) {
    const int zeichensatz = std::clamp(schrift.Zeichensatz, 0, 255);
    int cp = ZeichensatzCodepage(zeichensatz);
    const bool ohneCodepage = cp == 0;
    const Codepage* gefunden = Codepage::Finden(cp);
    const Codepage& seite = gefunden ? *gefunden : Codepage::Cp1252();
    // The document's code page: the font's when it is an ANSI code page of
    // Windows, Windows-1252 otherwise (the font names its own in \fcharset).
    const bool ansi = (cp >= 1250 && cp <= 1258) || cp == 874 || cp == 932 || cp == 936 ||
                      cp == 949 || cp == 950 || cp == 1361;
    if (!ansi)
        cp = 1252;

    std::string aus;
    aus.reserve(text.size() + text.size() / 4 + 256);
    Schreiber schreiber(aus, seite, ohneCodepage);

    aus += "{\\rtf1\\ansi\\ansicpg";
    Zahl(aus, cp);
    aus += "\\deff0{\\fonttbl{\\f0\\fnil\\fcharset";
    Zahl(aus, zeichensatz);
    aus.push_back(' ');
    std::u16string_view name = schrift.Name;
    if (name.empty())
        name = u"Arial";
    const auto namensZeichen = [&](char16_t c) { schreiber.NamensZeichen(c); };
    Durchgehen(name, namensZeichen, [] {});
    aus += ";}}\r\n";

    const bool systemFarbe = (schrift.Farbe & 0xFF000000u) != 0;
    if (!systemFarbe) {
        aus += "{\\colortbl ;\\red";
        Zahl(aus, schrift.Farbe & 0xFF);
        aus += "\\green";
        Zahl(aus, (schrift.Farbe >> 8) & 0xFF);
        aus += "\\blue";
        Zahl(aus, (schrift.Farbe >> 16) & 0xFF);
        aus += ";}\r\n";
    }

    // Without a generator LibreOffice takes the document for Word's and turns
    // runs of spaces into other space characters.
    aus += "{\\*\\generator Zeichenwandler;}";
    aus += "\\viewkind4\\uc1\\pard\\f0\\fs";
    Zahl(aus, schrift.Groesse > 0 ? std::min(schrift.Groesse, 1638) * 2 : 24);
    if (schrift.Stil & StilFett)
        aus += "\\b";
    if (schrift.Stil & StilKursiv)
        aus += "\\i";
    if (schrift.Stil & StilUnterstrichen)
        aus += "\\ul";
    if (schrift.Stil & StilDurchgestrichen)
        aus += "\\strike";
    if (!systemFarbe)
        aus += "\\cf1";
    aus.push_back(' ');

    const auto zeichen = [&](char16_t c) { schreiber.Zeichen(c); };
    const auto absatz = [&] { aus += "\\par\r\n"; };
    Durchgehen(text, zeichen, absatz);
    aus += "}\r\n";
    return aus;
}

} // namespace zw
