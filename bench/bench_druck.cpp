// Printing: three copies of a 1 MB text to a network embosser on 127.0.0.1,
// counted until the printer has read the last byte, beside a memcpy of the
// same number of bytes in the same run. Once through the transport alone,
// once through the print dialog, which also turns the text into bytes.
#include "../tests/DruckHilfen.h"
#include "core/Drucktext.h"
#include "platform/Dialoge.h"
#include "platform/Druckausgabe.h"
#include "ui/DruckDlg.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kZeichen = 1000 * 1000;
constexpr int kKopien = 3;

// A German text with line ends, umlauts and a few characters beyond 255.
std::u16string Text() {
    const std::u16string zeile = u"Größere Übungstexte für die Prägemaschine \u201eBraille\u201c – "
                                 u"Zeile\r\n";
    std::u16string text;
    while (text.size() + zeile.size() <= kZeichen)
        text += zeile;
    text.resize(kZeichen, u'x');
    return text;
}

class StilleDialoge : public zw::Dialoge {
public:
    bool DateiWaehlen(QWidget*, zw::DateiDialog&) override { return false; }
    void Information(QWidget*, const QString&) override {}
    zw::Antwort Bestaetigung(QWidget*, const QString&) override { return zw::Antwort::Nein; }
    zw::Antwort JaNein(QWidget*, const QString&) override { return zw::Antwort::Nein; }
    zw::Antwort FehlerWiederholen(QWidget*, const QString&) override {
        ++Fehler_;
        return zw::Antwort::Abbrechen;
    }
    void Warnung(QWidget*, const QString&) override {}
    void Fehler(QWidget*, const QString&) override { ++Fehler_; }
    int Fehler_ = 0;
};

// A copy has reached the printer when the printer has read all of it.
void Abschliessen(benchmark::State& state, zwtest::TcpDrucker& drucker) {
    if (!drucker.WartenAufKopien(std::size_t(kKopien)))
        state.SkipWithError("Der Drucker hat nicht alle Kopien bekommen");
    drucker.Leeren();
}

void BM_Memcpy(benchmark::State& state) {
    const std::string quelle(kKopien * (kZeichen + 1), 'x');
    std::string ziel(quelle.size(), '\0');
    for (auto _ : state) {
        std::memcpy(ziel.data(), quelle.data(), quelle.size());
        benchmark::DoNotOptimize(ziel.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(quelle.size()));
}

void BM_DreiKopienTransport(benchmark::State& state) {
    zwtest::TcpDrucker drucker;
    const std::string bytes = zw::DruckBytes(zw::DruckTextBilden(Text()));
    for (auto _ : state) {
        for (int k = 0; k < kKopien; ++k)
            if (!zw::KopieDrucken(drucker.PortString(), bytes).Ok())
                state.SkipWithError("Kopie nicht geschrieben");
        Abschliessen(state, drucker);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kKopien *
                            std::int64_t(bytes.size()));
}

void BM_DreiKopienDruckDialog(benchmark::State& state) {
    zwtest::TcpDrucker drucker;
    const std::u16string text = Text();
    StilleDialoge dialoge;
    for (auto _ : state) {
        zw::TDruckenForm form(nullptr, dialoge, QString::fromStdString(drucker.PortString()), text);
        form.EditKopien->setText(QString::number(kKopien));
        form.ButtonDruckenClick();
        // The copies go out from the event loop.
        while (form.Druckt())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        Abschliessen(state, drucker);
    }
    if (dialoge.Fehler_ > 0)
        state.SkipWithError("Der Drucker war nicht bereit");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kKopien *
                            std::int64_t(text.size() + 1));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DreiKopienTransport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DreiKopienDruckDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
