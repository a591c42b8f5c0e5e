// The table check and the search for characters an output type cannot hold:
// both run on demand (the editor's command, a conversion that lost
// characters), so what counts is that a large input stays quick.
#include "DeutscherText.h"
#include "core/Strom.h"
#include "core/Tabelle.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

// A table of `zeilen` lines: entries, comments, and a bad line of each kind.
std::u16string GrosseTabelle(int zeilen) {
    static const char16_t* schlecht[] = {u"65\t66",        u"65",  u"66 66",       u"-1 65",
                                         u"2147483648 65", u"abc", u"; Kommentar", u""};
    std::u16string text;
    for (int i = 0; i < zeilen; ++i) {
        if (i % 4 == 3) {
            text += schlecht[(i / 4) % 8];
        } else {
            const std::string zeile = std::to_string(i % 70000) + " " +
                                      std::to_string((i * 7) % 65536 + 1) + " Kommentar";
            text.append(zeile.begin(), zeile.end());
        }
        text += u"\r\n";
    }
    return text;
}

void TabellePruefen(benchmark::State& state) {
    const std::u16string text = GrosseTabelle(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::TabTextPruefen(text));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size() * 2));
}

void TabelleAuswerten(benchmark::State& state) {
    const std::u16string text = GrosseTabelle(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::TabTextAuswerten(text));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size() * 2));
}

// German text in which every hundredth character is a braille cell that
// Windows-1252 cannot hold.
void FehlendeZeichenAnsi(benchmark::State& state) {
    std::u16string text = zwbench::DeutscherText(std::size_t(state.range(0)));
    for (std::size_t i = 50; i < text.size(); i += 100)
        if (text[i] != u'\r' && text[i] != u'\n')
            text[i] = char16_t(0x2800 + i % 64);
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::FehlendeZeichen(text, text, zw::tfText));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size() * 2));
}

void MemcpyGrundlinie(benchmark::State& state) {
    const std::size_t n = std::size_t(state.range(0)) * 2;
    std::string von(n, 'x'), nach(n, ' ');
    for (auto _ : state) {
        std::memcpy(nach.data(), von.data(), n);
        benchmark::DoNotOptimize(nach.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(n));
}

} // namespace

BENCHMARK(TabelleAuswerten)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(TabellePruefen)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyGrundlinie)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMillisecond);
BENCHMARK(FehlendeZeichenAnsi)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
