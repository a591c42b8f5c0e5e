// The braille preview of a 1 MB text: laying it out in the embosser's code
// and page size, checking it, and the preview window shown with it, beside a
// memcpy of the same bytes in the same run.
#include "DeutscherText.h"
#include "core/BrailleCodes.h"
#include "core/BrailleSatz.h"
#include "core/Drucktext.h"
#include "ui/Vorschau.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <cstring>

namespace {

constexpr std::size_t kZeichen = 1000 * 1000;

const std::u16string& Text() {
    static const std::u16string text = zw::DruckTextBilden(zwbench::DeutscherText(kZeichen));
    return text;
}

const std::string& Bytes() {
    static const std::string bytes = zw::DruckBytes(Text());
    return bytes;
}

const zw::ZellenTabelle& Us6() {
    return zw::ZellenLaden(*zw::BrailleCodeFinden("us6"));
}

void BM_Memcpy(benchmark::State& state) {
    std::string ziel(Bytes().size(), '\0');
    for (auto _ : state) {
        std::memcpy(ziel.data(), Bytes().data(), Bytes().size());
        benchmark::DoNotOptimize(ziel.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Bytes().size()));
}

void BM_BrailleSetzen(benchmark::State& state) {
    for (auto _ : state) {
        zw::BrailleSatz satz = zw::BrailleSetzen(Bytes(), Us6(), 40, 25);
        benchmark::DoNotOptimize(satz.Seiten.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Bytes().size()));
}

void BM_DruckPruefen(benchmark::State& state) {
    for (auto _ : state) {
        auto liste = zw::DruckPruefen(Text(), Us6());
        benchmark::DoNotOptimize(liste.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Bytes().size()));
}

// From the command to a shown window: layout, the text set, the umlauts
// marked, every waiting event handled.
void BM_VorschauFenster(benchmark::State& state) {
    for (auto _ : state) {
        zw::TVorschauForm form(nullptr, Bytes(), {"us6", 40, 25});
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            state.SkipWithError("Fenster nicht gezeigt");
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.TextVorschau->document());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Bytes().size()));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrailleSetzen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DruckPruefen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VorschauFenster)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
