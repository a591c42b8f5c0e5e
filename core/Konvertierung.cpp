#include "core/Konvertierung.h"

#include <memory>

namespace zw {

Ersetzungen::Ersetzungen(const TTabListe& tabelle) {
    for (std::size_t c = 0; c < ziel_.size(); ++c)
        ziel_[c] = char16_t(c);
    treffer_.fill(0);
    for (const TabEintrag& e : tabelle) {
        if (!treffer_[e.Suchzeichen]) {
            treffer_[e.Suchzeichen] = 1;
            ziel_[e.Suchzeichen] = e.Ersatzzeichen;
        }
    }
}

std::int64_t Ersetzungen::Anwenden(std::u16string& text) const {
    char16_t* p = text.data();
    const std::size_t n = text.size();
    std::int64_t anzahl = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = p[i];
        p[i] = ziel_[c];
        anzahl += treffer_[c];
    }
    return anzahl;
}

KonvertierErgebnis TextKonvertieren(std::u16string text, const TTabListe& tabelle) {
    KonvertierErgebnis ergebnis;
    if (!tabelle.empty()) {
        const auto ersetzungen = std::make_unique<Ersetzungen>(tabelle);
        ergebnis.Anzahl = ersetzungen->Anwenden(text);
    }
    ergebnis.Text = std::move(text);
    return ergebnis;
}

std::string ZahlGruppieren(std::int64_t anzahl) {
    const std::string ziffern = std::to_string(anzahl < 0 ? 0 : anzahl);
    std::string aus;
    aus.reserve(ziffern.size() + ziffern.size() / 3);
    for (std::size_t i = 0; i < ziffern.size(); ++i) {
        if (i != 0 && (ziffern.size() - i) % 3 == 0)
            aus.push_back('.');
        aus.push_back(ziffern[i]);
    }
    return aus;
}

std::string KonvertierungsMeldung(std::int64_t anzahl) {
    return ZahlGruppieren(anzahl) + (anzahl == 1 ? " Zeichen wurde ersetzt" : " Zeichen wurden ersetzt");
}

} // namespace zw
