#pragma once
// Shared by the two readers: the bounded container, bounded XML, labels.

#include "core/dokumente/Dokumente.h"

#include <pugixml.hpp>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct zip;

namespace zw::dok {

// An inflated part, in a buffer that is not cleared first: the inflating
// writes each byte once.
class Teil {
public:
    char* Daten() { return daten_.get(); }
    std::size_t Groesse() const { return groesse_; }
    std::string_view Text() const { return {daten_.get(), groesse_}; }

private:
    friend class Behaelter;
    std::unique_ptr<char[]> daten_;
    std::size_t groesse_ = 0;
};

// The ZIP container over bytes in memory. Every part read counts against
// the limits; none is ever written anywhere.
class Behaelter {
public:
    Behaelter(std::string_view bytes, const Grenzen& grenzen);
    ~Behaelter();
    Behaelter(const Behaelter&) = delete;
    Behaelter& operator=(const Behaelter&) = delete;

    bool Hat(const std::string& name) const;
    // The inflated part, or nothing when the container has no such entry.
    std::optional<Teil> Lesen(const std::string& name);

private:
    zip* zip_ = nullptr;
    const Grenzen& grenzen_;
    std::uint64_t entpackt_ = 0;
};

// Parses a part in place. Throws DokumentFehler for broken XML or too many
// elements.
// Whitespace between elements is kept (ODF counts it) unless `leerraumEinzeln`:
// then only where it is all an element holds (Word keeps its text in w:t,
// where a lone space matters).
void XmlLaden(pugi::xml_document& doc, Teil& xml, const Grenzen& grenzen,
              bool leerraumEinzeln = false);

// "Das Dokument ist beschädigt: <was>."
[[noreturn]] void Beschaedigt(std::string_view was);
// A limit was reached: "Das Dokument <was> und wird nicht gelesen."
[[noreturn]] void ZuGross(std::string_view was);

// The local name of an element or attribute, without its prefix.
std::string_view Lokal(const char* name);
// An attribute by local name.
pugi::xml_attribute Attribut(pugi::xml_node knoten, std::string_view lokal);

// A number in a list or note format: "decimal", "lowerRoman", "upperLetter"
// and so on (Word's names); ODF's "1", "i", "I", "a", "A" map onto them.
std::string NummerFormat(long zahl, std::string_view format);

void Utf8Anhaengen(std::string& aus, char32_t zeichen);

// Characters of the Symbol font (F0xx) as the Unicode character it shows.
char32_t SymbolZeichen(char32_t zeichen);
// A bullet as text: symbol-font bullets as their Unicode character, any other
// private-use character (a font's own bullet) as "•".
std::string Aufzaehlungszeichen(std::string_view utf8);

Dokument WordLesen(Behaelter& behaelter, const Grenzen& grenzen);
Dokument OdfLesen(Behaelter& behaelter, const Grenzen& grenzen);

// Tracks the nesting of the readers' walks.
class Tiefe {
public:
    Tiefe(unsigned& zaehler, unsigned grenze) : zaehler_(zaehler) {
        if (++zaehler_ > grenze) {
            --zaehler_;
            ZuGross("ist zu tief verschachtelt (mehr als " + std::to_string(grenze) + " Ebenen)");
        }
    }
    ~Tiefe() { --zaehler_; }
    Tiefe(const Tiefe&) = delete;
    Tiefe& operator=(const Tiefe&) = delete;

private:
    unsigned& zaehler_;
};

} // namespace zw::dok
