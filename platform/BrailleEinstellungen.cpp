#include "platform/BrailleEinstellungen.h"

#include <QScopeGuard>

namespace zw {

BrailleEinstellung BrailleLaden(Einstellungen& reg) {
    BrailleEinstellung b;
    if (!reg.Oeffnen())
        return b;
    const auto zu = qScopeGuard([&reg] { reg.Schliessen(); });
    const std::string code = reg.StringLesen(kWertBrailleCode).toStdString();
    if (const BrailleCode* c = BrailleCodeFinden(code))
        b.Code = std::string(c->Name);
    auto zahl = [&](const QString& name, int vorgabe) {
        if (!reg.WertVorhanden(name))
            return vorgabe;
        const int wert = reg.IntegerLesen(name);
        return (wert >= kBrailleMin && wert <= kBrailleMax) ? wert : vorgabe;
    };
    b.Zeichen = zahl(kWertBrailleZeichen, b.Zeichen);
    b.Zeilen = zahl(kWertBrailleZeilen, b.Zeilen);
    return b;
}

void BrailleSpeichern(Einstellungen& reg, const BrailleEinstellung& b) {
    if (!reg.Oeffnen())
        return;
    const auto zu = qScopeGuard([&reg] { reg.Schliessen(); });
    reg.StringSchreiben(kWertBrailleCode, QString::fromStdString(b.Code));
    reg.IntegerSchreiben(kWertBrailleZeichen, b.Zeichen);
    reg.IntegerSchreiben(kWertBrailleZeilen, b.Zeilen);
}

} // namespace zw
