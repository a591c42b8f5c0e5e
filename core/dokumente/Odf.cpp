// OpenDocument text (.odt, ISO/IEC 26300).
#include "core/dokumente/Intern.h"

#include "core/Noten.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace zw::dok {

namespace {

// The list and outline levels ODF knows.
constexpr int kEbenen = 10;

struct ListenEbene {
    bool aufzaehlung = false; // a bullet rather than a number
    std::string zeichen;      // the bullet
    std::string format = "1";
    std::string vor, nach;
    long start = 1;
    int stufen = 1; // how many levels the label shows
    // What follows the label: a tab where the style aligns labels with a
    // tab, otherwise the gap of its label width, a space in the text.
    std::string folgt = " ";
};

using ListenStil = std::map<int, ListenEbene>; // by level, from 1

struct Notiz {
    bool endnote = false;
    std::string zitat;
    pugi::xml_node koerper;
};

class OdfLeser {
public:
    OdfLeser(Behaelter& b, const Grenzen& g) : behaelter_(b), grenzen_(g) {}

    Dokument Lesen() {
        std::optional<Teil> stile = behaelter_.Lesen("styles.xml");
        pugi::xml_document stilDoc;
        if (stile) {
            XmlLaden(stilDoc, *stile, grenzen_);
            StileSammeln(stilDoc.document_element());
        }
        std::optional<Teil> inhalt = behaelter_.Lesen("content.xml");
        if (!inhalt)
            Beschaedigt("der Text fehlt");
        pugi::xml_document doc;
        XmlLaden(doc, *inhalt, grenzen_);
        StileSammeln(doc.document_element());
        for (pugi::xml_node k : doc.document_element().children())
            if (Lokal(k.name()) == "body")
                for (pugi::xml_node t : k.children())
                    if (Lokal(t.name()) == "text")
                        Block(t, false);

        // Footnotes first, then endnotes, each under its citation.
        const std::vector<Notiz> alle = std::move(notizen_);
        NotenNachDemText(
            alle, [&] { aus_ += "\r\n"; },
            [&](const Notiz& n) {
                const std::size_t vorher = aus_.size();
                Block(n.koerper, false);
                aus_.insert(vorher, n.zitat + " ");
            });
        return Dokument{Art::OpenDocument, std::move(aus_)};
    }

private:
    void StileSammeln(pugi::xml_node wurzel) {
        for (pugi::xml_node gruppe : wurzel.children()) {
            const std::string_view g = Lokal(gruppe.name());
            if (g != "styles" && g != "automatic-styles")
                continue;
            for (pugi::xml_node s : gruppe.children()) {
                const std::string_view art = Lokal(s.name());
                const std::string name = Attribut(s, "name").value();
                if (art == "style") {
                    for (pugi::xml_node e : s.children())
                        if (Lokal(e.name()) == "text-properties" &&
                            std::string_view(Attribut(e, "display").value()) == "none")
                            versteckt_.insert(name);
                    if (const char* liste = Attribut(s, "list-style-name").value(); *liste)
                        absatzListen_[name] = liste;
                    if (const char* eltern = Attribut(s, "parent-style-name").value(); *eltern)
                        elternStile_[name] = eltern;
                } else if (art == "list-style") {
                    listen_[name] = ListenStilLesen(s);
                } else if (art == "outline-style") {
                    gliederung_ = ListenStilLesen(s);
                }
            }
        }
    }

    static ListenStil ListenStilLesen(pugi::xml_node s) {
        ListenStil stil;
        for (pugi::xml_node l : s.children()) {
            const std::string_view art = Lokal(l.name());
            ListenEbene e;
            if (art == "list-level-style-bullet") {
                e.aufzaehlung = true;
                e.zeichen = Aufzaehlungszeichen(Attribut(l, "bullet-char").value());
            } else if (art != "list-level-style-number" && art != "outline-level-style") {
                continue;
            }
            e.format = Attribut(l, "num-format").value();
            e.vor = Attribut(l, "num-prefix").value();
            e.nach = Attribut(l, "num-suffix").value();
            if (const char* s = Attribut(l, "start-value").value(); *s)
                e.start = std::atol(s);
            if (const char* s = Attribut(l, "display-levels").value(); *s)
                e.stufen = std::clamp(std::atoi(s), 1, kEbenen);
            for (pugi::xml_node p : l.children())
                for (pugi::xml_node a : p.children())
                    if (Lokal(a.name()) == "list-level-label-alignment") {
                        const std::string_view f = Attribut(a, "label-followed-by").value();
                        // A label glued to its text is still kept apart by a space.
                        e.folgt = f == "space" || f == "nothing" ? " " : "\t";
                    }
            // ODF knows ten levels; a hostile file's other numbers would
            // size the counters.
            if (const int ebene = std::atoi(Attribut(l, "level").value());
                ebene >= 1 && ebene <= kEbenen)
                stil[ebene] = e;
        }
        return stil;
    }

    // The label for a list item or a numbered heading, from its style.
    static std::string Bezeichnung(const ListenStil& stil, std::vector<long>& zaehler, int ebene,
                                   long neuBeginn) {
        auto it = stil.find(ebene);
        if (it == stil.end())
            return {};
        const ListenEbene& e = it->second;
        if (zaehler.size() < std::size_t(ebene))
            zaehler.resize(std::size_t(ebene), 0);
        long& z = zaehler[std::size_t(ebene - 1)];
        z = neuBeginn > 0 ? neuBeginn : (z == 0 ? e.start : z + 1);
        zaehler.resize(std::size_t(ebene)); // deeper levels start afresh
        if (e.aufzaehlung)
            return e.zeichen.empty() ? std::string() : e.zeichen + e.folgt;
        if (e.format.empty())
            return e.vor.empty() && e.nach.empty() ? std::string() : e.vor + e.nach + e.folgt;
        std::string zahl;
        for (int i = std::max(1, ebene - e.stufen + 1); i <= ebene; ++i) {
            auto s = stil.find(i);
            const long wert = zaehler[std::size_t(i - 1)] > 0
                                  ? zaehler[std::size_t(i - 1)]
                                  : (s != stil.end() ? s->second.start : 1);
            if (!zahl.empty())
                zahl += '.';
            zahl += NummerFormat(wert, s != stil.end() ? s->second.format : "1");
        }
        return e.vor + zahl + e.nach + e.folgt;
    }

    void Block(pugi::xml_node knoten, bool inZelle) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        bool erster = true;
        for (pugi::xml_node k : knoten.children()) {
            const std::string_view art = Lokal(k.name());
            const bool absatz = art == "p" || art == "h";
            if (absatz || art == "list" || art == "table") {
                if (inZelle && !erster)
                    aus_ += "\r\n";
                erster = false;
            }
            if (absatz)
                Absatz(k, Ueberschrift(k), !inZelle);
            else if (art == "list")
                Liste(k, 1, nullptr, inZelle);
            else if (art == "table")
                Tabelle(k);
            else if (art == "section" || art == "index-body" || art == "table-of-content" ||
                     art == "alphabetical-index" || art == "illustration-index" ||
                     art == "table-index" || art == "object-index" || art == "user-index" ||
                     art == "bibliography")
                Block(k, inZelle);
            // tracked-changes, declarations, forms and drawings hold no body text.
        }
    }

    std::string Ueberschrift(pugi::xml_node h) {
        if (Lokal(h.name()) != "h" || gliederung_.empty())
            return {};
        if (std::string_view(Attribut(h, "is-list-header").value()) == "true")
            return {};
        const int ebene = std::max(1, std::atoi(Attribut(h, "outline-level").value()));
        if (ebene > kEbenen)
            return {}; // no style for it, and no counters sized by it
        std::string label = Bezeichnung(gliederung_, gliederungsZaehler_, ebene, 0);
        // A heading label is followed by a space, not a tab, in the text.
        return label;
    }

    void Absatz(pugi::xml_node p, const std::string& label, bool zeilenende) {
        aus_ += label;
        Inhalt(p);
        if (zeilenende)
            aus_ += "\r\n";
    }

    void Liste(pugi::xml_node liste, int ebene, std::vector<long>* zaehler, bool inZelle) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        std::string stilName = Attribut(liste, "style-name").value();
        if (stilName.empty())
            stilName = aktuellerListenStil_;
        if (stilName.empty())
            stilName = ListenStilDerAbsaetze(liste);
        const std::string alterStil = aktuellerListenStil_;
        aktuellerListenStil_ = stilName;
        // A new outer list counts afresh unless it says it continues.
        std::vector<long> eigene;
        if (!zaehler) {
            const std::string_view weiter = Attribut(liste, "continue-numbering").value();
            const bool fortsetzen = weiter == "true" || *Attribut(liste, "continue-list").value();
            auto& letzte = listenZaehler_[stilName];
            if (!fortsetzen)
                letzte.clear();
            zaehler = &letzte;
        }
        auto it = listen_.find(stilName);
        static const ListenStil kLeer;
        const ListenStil& stil = it == listen_.end() ? kLeer : it->second;
        bool erster = true;
        for (pugi::xml_node punkt : liste.children()) {
            const std::string_view art = Lokal(punkt.name());
            if (art != "list-item" && art != "list-header")
                continue;
            bool labelFaellig = art == "list-item";
            const long neu = std::atol(Attribut(punkt, "start-value").value());
            for (pugi::xml_node k : punkt.children()) {
                const std::string_view ka = Lokal(k.name());
                if (ka == "p" || ka == "h") {
                    std::string label;
                    if (labelFaellig) {
                        // The label as the writing program rendered it, if it
                        // kept it; otherwise from the list style.
                        if (pugi::xml_node n = punkt.child("text:number"))
                            label = std::string(n.text().get()) + "\t";
                        else
                            label = Bezeichnung(stil, *zaehler, ebene, neu);
                        labelFaellig = false;
                    }
                    if (inZelle && !erster)
                        aus_ += "\r\n";
                    erster = false;
                    Absatz(k, label, !inZelle);
                } else if (ka == "list") {
                    if (labelFaellig) {
                        // An item that only holds a sublist still counts.
                        Bezeichnung(stil, *zaehler, ebene, neu);
                        labelFaellig = false;
                    }
                    Liste(k, ebene + 1, zaehler, inZelle);
                    erster = false;
                } else if (ka == "table") {
                    Tabelle(k);
                }
            }
        }
        aktuellerListenStil_ = alterStil;
    }

    // A list without a style of its own takes the one its first paragraph's
    // style (or a style it is based on) names.
    std::string ListenStilDerAbsaetze(pugi::xml_node liste) {
        for (pugi::xml_node punkt : liste.children())
            for (pugi::xml_node k : punkt.children()) {
                const std::string_view art = Lokal(k.name());
                if (art != "p" && art != "h")
                    continue;
                std::string stil = Attribut(k, "style-name").value();
                for (int schritt = 0; schritt < 32 && !stil.empty(); ++schritt) {
                    if (auto it = absatzListen_.find(stil); it != absatzListen_.end())
                        return it->second;
                    auto e = elternStile_.find(stil);
                    stil = e == elternStile_.end() ? std::string() : e->second;
                }
                return {};
            }
        return {};
    }

    void Zeilen(pugi::xml_node knoten) {
        // Row groups nest without end in a hostile file.
        Tiefe t(tiefe_, grenzen_.Tiefe);
        for (pugi::xml_node z : knoten.children()) {
            const std::string_view art = Lokal(z.name());
            if (art == "table-header-rows" || art == "table-rows" || art == "table-row-group") {
                Zeilen(z);
                continue;
            }
            if (art != "table-row")
                continue;
            bool erste = true;
            for (pugi::xml_node zelle : z.children()) {
                const std::string_view za = Lokal(zelle.name());
                if (za != "table-cell" && za != "covered-table-cell")
                    continue;
                // Repeated empty cells each keep their place; the count is
                // bounded so a hostile value cannot blow the text up.
                const long mal =
                    std::clamp(std::atol(Attribut(zelle, "number-columns-repeated").value()), 1L,
                               zelle.first_child() ? 1L : 64L);
                for (long i = 0; i < mal; ++i) {
                    if (!erste)
                        aus_ += '\t';
                    erste = false;
                    if (za == "table-cell")
                        Block(zelle, true);
                }
            }
            aus_ += "\r\n";
        }
    }

    void Tabelle(pugi::xml_node tabelle) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        Zeilen(tabelle);
    }

    void Inhalt(pugi::xml_node knoten) {
        Tiefe t(tiefe_, grenzen_.Tiefe);
        for (pugi::xml_node k : knoten.children()) {
            if (k.type() == pugi::node_pcdata || k.type() == pugi::node_cdata) {
                aus_ += k.value();
                continue;
            }
            if (k.type() != pugi::node_element)
                continue;
            const std::string_view name(k.name());
            const std::string_view art = Lokal(k.name());
            if (art == "s") {
                const long n = std::clamp(std::atol(Attribut(k, "c").value()), 1L, 10000L);
                aus_.append(std::size_t(n), ' ');
            } else if (art == "tab") {
                aus_ += '\t';
            } else if (art == "line-break") {
                aus_ += "\r\n";
            } else if (art == "note") {
                Notiz n;
                n.endnote = std::string_view(Attribut(k, "note-class").value()) == "endnote";
                for (pugi::xml_node c : k.children()) {
                    if (Lokal(c.name()) == "note-citation") {
                        n.zitat = c.text().get();
                        if (const char* label = Attribut(c, "label").value(); *label)
                            n.zitat = label;
                    } else if (Lokal(c.name()) == "note-body") {
                        n.koerper = c;
                    }
                }
                aus_ += n.zitat;
                notizen_.push_back(n);
            } else if (art == "span") {
                if (!versteckt_.count(Attribut(k, "style-name").value()))
                    Inhalt(k);
            } else if (art == "ruby") {
                for (pugi::xml_node r : k.children())
                    if (Lokal(r.name()) == "ruby-base")
                        Inhalt(r);
            } else if (art == "hidden-text" || art == "hidden-paragraph" ||
                       art == "soft-page-break" || art == "change" || art == "change-start" ||
                       art == "change-end" || art == "note-citation" ||
                       art == "alphabetical-index-mark" || art == "toc-mark" ||
                       art == "user-index-mark") {
                // Hidden or deleted text, and marks without text of their own.
            } else if (name.starts_with("text:")) {
                // Links, fields, references, metadata: their shown text counts.
                Inhalt(k);
            }
            // office:annotation (comments), draw:* (frames, pictures) are left out.
        }
    }

    Behaelter& behaelter_;
    const Grenzen& grenzen_;
    std::string aus_;
    unsigned tiefe_ = 0;
    std::set<std::string> versteckt_;
    std::map<std::string, std::string> absatzListen_; // paragraph style -> its list style
    std::map<std::string, std::string> elternStile_;
    std::map<std::string, ListenStil> listen_;
    std::map<std::string, std::vector<long>> listenZaehler_;
    ListenStil gliederung_;
    std::vector<long> gliederungsZaehler_;
    std::string aktuellerListenStil_;
    std::vector<Notiz> notizen_;
};

} // namespace

Dokument OdfLesen(Behaelter& behaelter, const Grenzen& grenzen) {
    return OdfLeser(behaelter, grenzen).Lesen();
}

} // namespace zw::dok
