// Find-next over a 10 MB document in the text control, offscreen: the worst
// case, where the only hit lies at the far end of the text, in both
// directions and with and without letter case.
#include "platform/Dialoge.h"
#include "ui/Fokus.h"
#include "ui/Suchen.h"
#include "ui/TextFeld.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextDocument>

#include <cstring>
#include <memory>
#include <vector>

namespace {

class StilleDialoge : public zw::Dialoge {
public:
    bool DateiWaehlen(QWidget*, zw::DateiDialog&) override { return false; }
    void Information(QWidget*, const QString&) override {}
    zw::Antwort Bestaetigung(QWidget*, const QString&) override { return zw::Antwort::Nein; }
    zw::Antwort JaNein(QWidget*, const QString&) override { return zw::Antwort::Nein; }
    zw::Antwort FehlerWiederholen(QWidget*, const QString&) override {
        return zw::Antwort::Abbrechen;
    }
    void Warnung(QWidget*, const QString&) override {}
    void Fehler(QWidget*, const QString&) override {}
};

constexpr std::size_t kZeichen = 10 * 1000 * 1000;

struct Umgebung {
    StilleDialoge dialoge;
    QWidget fenster;
    zw::TextFeld* feld = new zw::TextFeld(&fenster);
    zw::FokusMerker merk;
    zw::Suche suche{&fenster, *feld, dialoge, [] {}, merk};

    Umgebung() {
        const std::u16string zeile =
            u"Am Abend gingen die beiden Freunde noch einmal hinunter an den Fluss, wo das\r\n"
            u"Wasser ruhig unter der alten Brücke hindurchzog. Später saßen sie am Ufer.\r\n";
        std::u16string text = u"Anfang\r\n";
        while (text.size() < kZeichen)
            text += zeile;
        text += u"Schlusswort\r\n";
        feld->TextSetzen(text);
    }
};

Umgebung& U() {
    static Umgebung u;
    return u;
}

void FindNext(benchmark::State& state, zw::Richtung richtung, bool grossKlein, bool neu) {
    auto& u = U();
    auto& d = u.suche.Dialog();
    const bool ab = richtung == zw::Richtung::Abwaerts;
    d.EditSuchen->setText(ab ? QStringLiteral("schlusswort") : QStringLiteral("anfang"));
    (ab ? d.RadioUnten : d.RadioOben)->setChecked(true);
    d.CheckGrossKlein->setChecked(grossKlein);
    for (auto _ : state) {
        state.PauseTiming();
        u.feld->Markieren(ab ? 0 : u.feld->Laenge(), 0);
        state.ResumeTiming();
        // The first run after a change reads the text out of the control.
        if (neu)
            emit u.feld->document()->contentsChanged();
        u.suche.SuchLauf();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kZeichen) * 2);
}

void Memcpy(benchmark::State& state) {
    std::vector<char> a(kZeichen * 2, 'x'), b(kZeichen * 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(a.size()));
}

} // namespace

BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNext, AbwaertsOhneFall, zw::Richtung::Abwaerts, false, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNext, AbwaertsMitFall, zw::Richtung::Abwaerts, true, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNext, AufwaertsOhneFall, zw::Richtung::Aufwaerts, false, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNext, AufwaertsMitFall, zw::Richtung::Aufwaerts, true, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNext, ErsterLaufNachAenderung, zw::Richtung::Abwaerts, false, true)
    ->Unit(benchmark::kMillisecond);
