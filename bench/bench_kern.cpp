// The core's hot paths at 1, 10 and 100 MB, each beside a memcpy of the same
// number of bytes in the same run.
#include "DeutscherText.h"
#include "core/Konvertierung.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMB = 1000 * 1000;

using zwbench::DeutscherText;

// The conversion works in place, so a benchmark that converts the same text
// again and again uses a table that swaps pairs: every run replaces as many
// characters as the first.
const zw::TTabListe& Tauschtabelle() {
    static const zw::TTabListe tabelle =
        zw::TabTextAuswerten(u"228 246\r\n246 228\r\n196 214\r\n214 196\r\n252 223\r\n223 "
                             u"252\r\n220 7838\r\n7838 220\r\n");
    return tabelle;
}

const zw::TTabListe& Tabelle() {
    static const zw::TTabListe tabelle =
        zw::TabTextAuswerten(u"228 062\r\n196 062\r\n246 091\r\n214 091\r\n252 092\r\n220 "
                             u"092\r\n223 033\r\n7838 033\r\n");
    return tabelle;
}

fs::path Ordner() {
    static const fs::path ordner = [] {
        fs::path p = fs::temp_directory_path() / "zw-bench";
        fs::create_directories(p);
        return p;
    }();
    return ordner;
}

// A document file of about `bytes` bytes in a type, made once per run.
fs::path Dokument(zw::TTextFileType typ, std::int64_t bytes) {
    static std::map<std::pair<int, std::int64_t>, fs::path> fertig;
    auto& pfad = fertig[{int(typ), bytes}];
    if (pfad.empty()) {
        const std::size_t einheiten = typ == zw::tfUnicode ? bytes / 2 : bytes;
        pfad = Ordner() / ("dok-" + std::to_string(int(typ)) + "-" + std::to_string(bytes));
        zw::TextDateiSpeichern(pfad, DeutscherText(einheiten), typ);
    }
    return pfad;
}

void MemcpyGrundlinie(benchmark::State& state) {
    const std::size_t n = std::size_t(state.range(0));
    std::vector<char> quelle(n, 'x'), ziel(n);
    for (auto _ : state) {
        std::memcpy(ziel.data(), quelle.data(), n);
        benchmark::DoNotOptimize(ziel.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The conversion over a text of range(0) bytes of UTF-16.
void Konvertierung(benchmark::State& state) {
    std::u16string text = DeutscherText(std::size_t(state.range(0)) / 2);
    const zw::Ersetzungen ersetzungen(Tauschtabelle());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ersetzungen.Anwenden(text));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size() * 2));
}

void Laden(benchmark::State& state, zw::TTextFileType typ) {
    const fs::path datei = Dokument(typ, state.range(0));
    for (auto _ : state) {
        zw::TTextFileType gelesen;
        std::u16string text;
        zw::TextDateiLaden(datei, gelesen, text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(datei)));
}

void Speichern(benchmark::State& state, zw::TTextFileType typ) {
    zw::TTextFileType gelesen;
    std::u16string text;
    zw::TextDateiLaden(Dokument(typ, state.range(0)), gelesen, text);
    const fs::path ziel = Ordner() / "gespeichert";
    for (auto _ : state)
        zw::TextDateiSpeichern(ziel, text, typ);
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(ziel)));
    fs::remove(ziel);
}

// What `zeichenwandler-cli konvertieren` does: load, convert, save.
void Kette(benchmark::State& state) {
    const fs::path quelle = Dokument(zw::tfText, state.range(0));
    const fs::path ziel = Ordner() / "kette";
    for (auto _ : state) {
        zw::TTextFileType typ;
        std::u16string text;
        zw::TextDateiLaden(quelle, typ, text);
        const auto ergebnis = zw::TextKonvertieren(std::move(text), Tabelle());
        zw::TextDateiSpeichern(ziel, ergebnis.Text, typ);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    fs::remove(ziel);
}

void Groessen(benchmark::internal::Benchmark* b) {
    b->Arg(1 * kMB)->Arg(10 * kMB)->Arg(100 * kMB)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(MemcpyGrundlinie)->Apply(Groessen);
BENCHMARK(Konvertierung)->Apply(Groessen);
// The worst case: every character is listed and replaced.
void KonvertierungAlles(benchmark::State& state) {
    std::u16string text(std::size_t(state.range(0)) / 2, u'ä');
    const zw::Ersetzungen ersetzungen(Tauschtabelle());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ersetzungen.Anwenden(text));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size() * 2));
}
BENCHMARK(KonvertierungAlles)->Apply(Groessen);
BENCHMARK_CAPTURE(Laden, Ansi, zw::tfText)->Apply(Groessen);
BENCHMARK_CAPTURE(Laden, Utf8, zw::tfUtf8)->Apply(Groessen);
BENCHMARK_CAPTURE(Laden, Unicode, zw::tfUnicode)->Apply(Groessen);
BENCHMARK_CAPTURE(Speichern, Ansi, zw::tfText)->Apply(Groessen);
BENCHMARK_CAPTURE(Speichern, Utf8, zw::tfUtf8)->Apply(Groessen);
BENCHMARK_CAPTURE(Speichern, Unicode, zw::tfUnicode)->Apply(Groessen);
BENCHMARK(Kette)->Apply(Groessen);

BENCHMARK_MAIN();
