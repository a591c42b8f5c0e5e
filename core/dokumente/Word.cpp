// Office Open XML word-processing documents (.docx, ECMA-376).
#include "core/dokumente/Intern.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

namespace zw::dok {

namespace {

// "word/document.xml" -> "word/"
std::string Ordner(const std::string& teil) {
    const auto schraeg = teil.rfind('/');
    return schraeg == std::string::npos ? std::string() : teil.substr(0, schraeg + 1);
}

// A relationship target relative to the part's folder, as a container name.
std::string Aufloesen(const std::string& ordner, std::string ziel) {
    std::string pfad = ziel.starts_with("/") ? ziel.substr(1) : ordner + ziel;
    std::vector<std::string> teile;
    std::size_t anfang = 0;
    while (anfang <= pfad.size()) {
        const auto ende = std::min(pfad.find('/', anfang), pfad.size());
        const std::string stueck = pfad.substr(anfang, ende - anfang);
        if (stueck == "..") {
            if (!teile.empty())
                teile.pop_back();
        } else if (!stueck.empty() && stueck != ".") {
            teile.push_back(stueck);
        }
        anfang = ende + 1;
    }
    std::string aus;
    for (const auto& t : teile)
        aus += (aus.empty() ? "" : "/") + t;
    return aus;
}

// Reads a part and parses it in place, and hands its root element to `lesen`
// while the bytes the tree lives in are alive. No name, or a part the
// container lacks, reads as nothing.
template <typename Lesen>
void XmlTeilLesen(Behaelter& b, const std::string& name, const Grenzen& grenzen, Lesen&& lesen) {
    std::optional<Teil> xml = name.empty() ? std::nullopt : b.Lesen(name);
    if (!xml)
        return;
    pugi::xml_document doc;
    XmlLaden(doc, *xml, grenzen, true);
    lesen(doc.document_element());
}

// Relationships of a part by the last word of their type
// ("officeDocument", "footnotes", "numbering", ...).
std::map<std::string, std::string> Beziehungen(Behaelter& b, const std::string& teil,
                                               const Grenzen& grenzen) {
    std::map<std::string, std::string> aus;
    const std::string ordner = Ordner(teil);
    const std::string name = ordner + "_rels/" + teil.substr(ordner.size()) + ".rels";
    XmlTeilLesen(b, name, grenzen, [&](pugi::xml_node wurzel) {
        for (pugi::xml_node r : wurzel.children()) {
            if (Lokal(r.name()) != "Relationship" ||
                std::string_view(r.attribute("TargetMode").value()) == "External")
                continue;
            const std::string typ = r.attribute("Type").value();
            const auto schraeg = typ.rfind('/');
            const std::string art = schraeg == std::string::npos ? typ : typ.substr(schraeg + 1);
            aus.emplace(art, Aufloesen(ordner, r.attribute("Target").value()));
        }
    });
    return aus;
}

bool Kind(pugi::xml_node knoten, std::string_view lokal, pugi::xml_node& gefunden) {
    for (pugi::xml_node k : knoten.children())
        if (Lokal(k.name()) == lokal) {
            gefunden = k;
            return true;
        }
    return false;
}

pugi::xml_node Kind(pugi::xml_node knoten, std::string_view lokal) {
    pugi::xml_node k;
    Kind(knoten, lokal, k);
    return k;
}

std::string Wert(pugi::xml_node knoten) {
    return Attribut(knoten, "val").value();
}

// w:b, w:vanish and the like: on unless w:val says otherwise.
bool Schalter(pugi::xml_node knoten) {
    if (!knoten)
        return false;
    const std::string w = Wert(knoten);
    return !(w == "0" || w == "false" || w == "off");
}

struct Ebene {
    long start = 1;
    std::string format = "decimal";
    std::string text;
    std::string nach = "\t";
};

class WordLeser {
public:
    WordLeser(Behaelter& b, const Grenzen& g) : behaelter_(b), grenzen_(g) {}

    Dokument Lesen() {
        std::string haupt = "word/document.xml";
        const auto wurzel = Beziehungen(behaelter_, "", grenzen_);
        if (auto it = wurzel.find("officeDocument"); it != wurzel.end())
            haupt = it->second;
        std::optional<Teil> xml = behaelter_.Lesen(haupt);
        if (!xml)
            Beschaedigt("der Text fehlt");
        const auto teile = Beziehungen(behaelter_, haupt, grenzen_);
        auto teil = [&](const char* art) {
            auto it = teile.find(art);
            return it == teile.end() ? std::string() : it->second;
        };
        StileLesen(teil("styles"));
        NummerierungLesen(teil("numbering"));
        EinstellungenLesen(teil("settings"));

        pugi::xml_document doc;
        XmlLaden(doc, *xml, grenzen_, true);
        const pugi::xml_node koerper = Kind(doc.document_element(), "body");
        if (pugi::xml_node sekt = Kind(koerper, "sectPr"))
            NotenFormate(sekt);
        Block(koerper);

        NotenAnhaengen(teil("footnotes"), "footnote", fussnoten_, fussFormat_);
        NotenAnhaengen(teil("endnotes"), "endnote", endnoten_, endFormat_);
        return Dokument{Art::Word, std::move(aus_)};
    }

private:
    void StileLesen(const std::string& name) {
        XmlTeilLesen(behaelter_, name, grenzen_, [&](pugi::xml_node wurzel) {
            for (pugi::xml_node s : wurzel.children()) {
                if (Lokal(s.name()) != "style")
                    continue;
                const std::string id = Attribut(s, "styleId").value();
                if (Schalter(Kind(Kind(s, "rPr"), "vanish")))
                    versteckteStile_.insert(id);
                if (pugi::xml_node np = Kind(Kind(s, "pPr"), "numPr"))
                    stilNummern_[id] = {Wert(Kind(np, "numId")), Wert(Kind(np, "ilvl"))};
            }
        });
    }

    void NummerierungLesen(const std::string& name) {
        XmlTeilLesen(behaelter_, name, grenzen_, [&](pugi::xml_node wurzel) {
            for (pugi::xml_node n : wurzel.children()) {
                const std::string_view art = Lokal(n.name());
                if (art == "abstractNum") {
                    auto& ebenen = abstrakt_[Attribut(n, "abstractNumId").value()];
                    for (pugi::xml_node l : n.children())
                        if (Lokal(l.name()) == "lvl")
                            ebenen[std::atoi(Attribut(l, "ilvl").value())] = EbeneLesen(l);
                } else if (art == "num") {
                    const std::string id = Attribut(n, "numId").value();
                    nummern_[id] = Wert(Kind(n, "abstractNumId"));
                    for (pugi::xml_node o : n.children()) {
                        if (Lokal(o.name()) != "lvlOverride")
                            continue;
                        const int ebene = std::atoi(Attribut(o, "ilvl").value());
                        if (pugi::xml_node s = Kind(o, "startOverride"))
                            neuStart_[id][ebene] = std::atol(Wert(s).c_str());
                        if (pugi::xml_node l = Kind(o, "lvl"))
                            ersatzEbenen_[id][ebene] = EbeneLesen(l);
                    }
                }
            }
        });
    }

    static Ebene EbeneLesen(pugi::xml_node l) {
        Ebene e;
        if (pugi::xml_node s = Kind(l, "start"))
            e.start = std::atol(Wert(s).c_str());
        if (pugi::xml_node f = Kind(l, "numFmt"))
            e.format = Wert(f);
        e.text = Wert(Kind(l, "lvlText"));
        if (pugi::xml_node s = Kind(l, "suff")) {
            const std::string w = Wert(s);
            // Even a label the file glues to its text is kept apart from it
            // by a space, or the first word would change.
            e.nach = w == "tab" ? "\t" : " ";
        }
        return e;
    }

    void EinstellungenLesen(const std::string& name) {
        XmlTeilLesen(behaelter_, name, grenzen_,
                     [&](pugi::xml_node wurzel) { NotenFormate(wurzel); });
    }

    void NotenFormate(pugi::xml_node knoten) {
        if (pugi::xml_node f = Kind(Kind(knoten, "footnotePr"), "numFmt"))
            fussFormat_ = Wert(f);
        if (pugi::xml_node f = Kind(Kind(knoten, "endnotePr"), "numFmt"))
            endFormat_ = Wert(f);
    }

    const Ebene* EbeneFuer(const std::string& numId, int ebene) {
        if (auto it = ersatzEbenen_.find(numId); it != ersatzEbenen_.end())
            if (auto e = it->second.find(ebene); e != it->second.end())
                return &e->second;
        auto a = abstrakt_.find(nummern_[numId]);
        if (a == abstrakt_.end())
            return nullptr;
        auto e = a->second.find(ebene);
        return e == a->second.end() ? nullptr : &e->second;
    }

    // The label of a numbered paragraph, as the numbering part states it.
    std::string Bezeichnung(const std::string& numId, int ebene) {
        if (numId.empty() || numId == "0" || ebene < 0 || ebene > 8)
            return {};
        const Ebene* e = EbeneFuer(numId, ebene);
        if (!e)
            return {};
        std::vector<long>& z = zaehler_[numId];
        if (z.empty()) {
            z.assign(9, 0);
            for (int i = 0; i < 9; ++i) {
                const Ebene* s = EbeneFuer(numId, i);
                z[std::size_t(i)] = (s ? s->start : 1) - 1;
                if (auto n = neuStart_[numId].find(i); n != neuStart_[numId].end())
                    z[std::size_t(i)] = n->second - 1;
            }
        }
        ++z[std::size_t(ebene)];
        for (int i = ebene + 1; i < 9; ++i) {
            const Ebene* s = EbeneFuer(numId, i);
            z[std::size_t(i)] = (s ? s->start : 1) - 1;
        }
        std::string label;
        const std::string& t = e->text;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '%' && i + 1 < t.size() && t[i + 1] >= '1' && t[i + 1] <= '9') {
                const int stufe = t[i + 1] - '1';
                const Ebene* s = EbeneFuer(numId, stufe);
                label += NummerFormat(std::max<long>(z[std::size_t(stufe)], s ? s->start : 1),
                                      s ? s->format : "decimal");
                ++i;
            } else {
                label.push_back(t[i]);
            }
        }
        if (label.empty())
            return {};
        // Bullets of symbol fonts are private-use characters.
        return Aufzaehlungszeichen(label) + e->nach;
    }

    // Paragraphs and tables of the body, a cell, a note.
    void Block(pugi::xml_node knoten, bool inZelle = false) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        bool erster = true;
        for (pugi::xml_node k : knoten.children()) {
            const std::string_view art = Lokal(k.name());
            if (art == "p") {
                // Inside a cell the paragraphs are separated, not ended: the
                // row ends the line.
                if (inZelle && !erster)
                    aus_ += "\r\n";
                Absatz(k, !inZelle);
                erster = false;
            } else if (art == "tbl") {
                if (inZelle && !erster)
                    aus_ += "\r\n";
                Tabelle(k);
                erster = false;
            } else if (art == "sdt") {
                Block(Kind(k, "sdtContent"), inZelle);
            } else if (art == "customXml" || art == "ins" || art == "moveTo") {
                Block(k, inZelle);
            }
        }
    }

    void Tabelle(pugi::xml_node tabelle) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        for (pugi::xml_node zeile : tabelle.children()) {
            if (Lokal(zeile.name()) != "tr")
                continue;
            bool erste = true;
            for (pugi::xml_node zelle : zeile.children()) {
                if (Lokal(zelle.name()) != "tc")
                    continue;
                if (!erste)
                    aus_ += '\t';
                erste = false;
                Block(zelle, true);
            }
            aus_ += "\r\n";
        }
    }

    void Absatz(pugi::xml_node p, bool zeilenende) {
        const pugi::xml_node pPr = Kind(p, "pPr");
        const std::size_t vorher = aus_.size();
        std::string numId, ebene;
        if (pugi::xml_node np = Kind(pPr, "numPr")) {
            numId = Wert(Kind(np, "numId"));
            ebene = Wert(Kind(np, "ilvl"));
        }
        if (numId.empty()) {
            if (auto it = stilNummern_.find(Wert(Kind(pPr, "pStyle"))); it != stilNummern_.end()) {
                numId = it->second.first;
                if (ebene.empty())
                    ebene = it->second.second;
            }
        }
        const bool markeVersteckt = Schalter(Kind(Kind(pPr, "rPr"), "vanish"));
        const std::string label = Bezeichnung(numId, std::atoi(ebene.c_str()));
        Inhalt(p);
        if (markeVersteckt && aus_.size() == vorher)
            return; // a hidden empty paragraph
        if (!label.empty())
            aus_.insert(vorher, label);
        if (zeilenende)
            aus_ += "\r\n";
    }

    // Runs and what holds them.
    void Inhalt(pugi::xml_node knoten) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        for (pugi::xml_node k : knoten.children()) {
            const std::string_view art = Lokal(k.name());
            if (art == "r") {
                Lauf(k);
            } else if (art == "hyperlink" || art == "smartTag" || art == "ins" || art == "moveTo" ||
                       art == "customXml" || art == "fldSimple" || art == "dir" || art == "bdo") {
                Inhalt(k);
            } else if (art == "sdt") {
                Inhalt(Kind(k, "sdtContent"));
            }
            // del, moveFrom: deleted revisions; pPr, bookmarks, proofing marks: no text.
        }
    }

    bool Versteckt(pugi::xml_node rPr) {
        if (Schalter(Kind(rPr, "vanish")))
            return true;
        return versteckteStile_.count(Wert(Kind(rPr, "rStyle"))) != 0;
    }

    void Lauf(pugi::xml_node r) {
        const pugi::xml_node rPr = Kind(r, "rPr");
        const bool versteckt = Versteckt(rPr);
        for (pugi::xml_node k : r.children()) {
            const std::string_view art = Lokal(k.name());
            // Field marks count even in hidden runs, or the field would not end.
            if (art == "fldChar") {
                const std::string_view typ = Attribut(k, "fldCharType").value();
                if (typ == "begin")
                    felder_.push_back(true);
                else if (typ == "separate" && !felder_.empty())
                    felder_.back() = false;
                else if (typ == "end" && !felder_.empty())
                    felder_.pop_back();
                continue;
            }
            if (versteckt || ImFeldbefehl())
                continue;
            if (art == "t") {
                aus_ += k.text().get();
            } else if (art == "tab" || art == "ptab") {
                aus_ += '\t';
            } else if (art == "br" || art == "cr") {
                aus_ += "\r\n";
            } else if (art == "noBreakHyphen") {
                Utf8Anhaengen(aus_, 0x2011);
            } else if (art == "softHyphen") {
                Utf8Anhaengen(aus_, 0x00AD);
            } else if (art == "sym") {
                const char32_t c = char32_t(std::strtoul(Attribut(k, "char").value(), nullptr, 16));
                if (c != 0)
                    Utf8Anhaengen(aus_, SymbolZeichen(c));
            } else if (art == "footnoteReference" || art == "endnoteReference") {
                // A mark of its own follows as text; the note keeps it.
                const std::string_view eigene = Attribut(k, "customMarkFollows").value();
                if (eigene == "1" || eigene == "true" || eigene == "on")
                    continue;
                const bool fuss = art == "footnoteReference";
                auto& liste = fuss ? fussnoten_ : endnoten_;
                liste.emplace_back(Attribut(k, "id").value());
                aus_ += NummerFormat(long(liste.size()), fuss ? fussFormat_ : endFormat_);
            } else if (art == "footnoteRef" || art == "endnoteRef") {
                aus_ += notenNummer_;
                notenNummerGeschrieben_ = true;
            }
            // delText and instrText belong to deletions and field codes.
        }
    }

    bool ImFeldbefehl() const {
        for (bool befehl : felder_)
            if (befehl)
                return true;
        return false;
    }

    // The notes after the text, in the order of their anchors, each under
    // its number.
    void NotenAnhaengen(const std::string& name, const char* element,
                        const std::vector<std::string>& ids, const std::string& format) {
        if (ids.empty())
            return;
        XmlTeilLesen(behaelter_, name, grenzen_, [&](pugi::xml_node wurzel) {
            std::map<std::string, pugi::xml_node> noten;
            for (pugi::xml_node n : wurzel.children())
                if (Lokal(n.name()) == element)
                    noten.emplace(Attribut(n, "id").value(), n);
            aus_ += "\r\n";
            for (std::size_t i = 0; i < ids.size(); ++i) {
                auto it = noten.find(ids[i]);
                if (it == noten.end())
                    continue;
                felder_.clear();
                notenNummer_ = NummerFormat(long(i + 1), format);
                notenNummerGeschrieben_ = false;
                const std::size_t vorher = aus_.size();
                Block(it->second);
                if (!notenNummerGeschrieben_)
                    aus_.insert(vorher, notenNummer_ + " ");
            }
        });
    }

    Behaelter& behaelter_;
    const Grenzen& grenzen_;
    std::string aus_;
    unsigned tiefe_ = 0;
    std::set<std::string> versteckteStile_;
    std::map<std::string, std::pair<std::string, std::string>> stilNummern_;
    std::map<std::string, std::map<int, Ebene>> abstrakt_;
    std::map<std::string, std::string> nummern_;
    std::map<std::string, std::map<int, long>> neuStart_;
    std::map<std::string, std::map<int, Ebene>> ersatzEbenen_;
    std::map<std::string, std::vector<long>> zaehler_;
    std::vector<bool> felder_; // open fields: true while in their code
    std::vector<std::string> fussnoten_, endnoten_;
    std::string fussFormat_ = "decimal", endFormat_ = "lowerRoman";
    std::string notenNummer_;
    bool notenNummerGeschrieben_ = false;
};

} // namespace

Dokument WordLesen(Behaelter& behaelter, const Grenzen& grenzen) {
    return WordLeser(behaelter, grenzen).Lesen();
}

} // namespace zw::dok
