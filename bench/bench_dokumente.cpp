// Word documents against the same text as a UTF-8 file (without a mark), as
// the loader reads them; and how fast a Word file that would inflate to 2 GB
// is turned away.
#include "../tests/Hilfen.h"
#include "WordDatei.h"
#include "core/Fehler.h"
#include "core/MoFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr std::int64_t kMB = 1000 * 1000;

std::filesystem::path Ordner() {
    static const std::filesystem::path ordner = [] {
        auto p = std::filesystem::temp_directory_path() / "zw-bench-dokumente";
        std::filesystem::create_directories(p);
        return p;
    }();
    return ordner;
}

// The docx and the UTF-8 file of the same text, `bytes` of text each.
std::pair<std::filesystem::path, std::filesystem::path> Dateien(std::int64_t bytes) {
    const auto docx = Ordner() / ("text-" + std::to_string(bytes) + ".docx");
    const auto utf8 = Ordner() / ("text-" + std::to_string(bytes) + ".txt");
    if (!std::filesystem::exists(docx)) {
        // About one code unit per byte of UTF-8 German prose.
        const zwbench::WordUndText w = zwbench::WordDokument(std::size_t(bytes));
        zwtest::Schreiben(docx, w.docx);
        zwtest::Schreiben(utf8, zw::Utf16ZuUtf8(w.text));
    }
    return {docx, utf8};
}

void LadenUtf8OhneMarke(benchmark::State& state) {
    const auto datei = Dateien(state.range(0)).second;
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::DokumentLaden(datei));
    state.SetBytesProcessed(state.iterations() * std::int64_t(std::filesystem::file_size(datei)));
}

void LadenWord(benchmark::State& state) {
    const auto datei = Dateien(state.range(0)).first;
    const auto vergleich = Dateien(state.range(0)).second;
    if (zw::DokumentLaden(datei).Text != zw::DokumentLaden(vergleich).Text)
        state.SkipWithError("nicht derselbe Text");
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::DokumentLaden(datei));
    // Counted in bytes of the same text as UTF-8, so both lines compare.
    state.SetBytesProcessed(state.iterations() *
                            std::int64_t(std::filesystem::file_size(vergleich)));
}

// A few megabytes whose text would inflate to 2 GB: the reader must stop at
// its limit, fast. With the true size in the ZIP directory it stops before
// inflating; when the directory lies (state.range(0) == 1) it inflates up to
// the limit of 96 MB.
void WordBombeAbweisen(benchmark::State& state) {
    const bool luege = state.range(0) == 1;
    const auto datei = Ordner() / (luege ? "bombe-luege.docx" : "bombe.docx");
    if (!std::filesystem::exists(datei)) {
        std::vector<zwtest::ZipEintrag> e = zwtest::WordGeruest();
        e.push_back(zwtest::Aufgeblasen("word/document.xml",
                                        std::string(zwtest::kWordKopf) + "<w:p><w:r><w:t>",
                                        std::string(1 << 20, 'a'), 2048,
                                        std::string("</w:t></w:r></w:p>") + zwtest::kWordFuss));
        if (luege)
            e.back().entpackt = 1000;
        zwtest::Schreiben(datei, zwtest::ZipBauen(e));
    }
    state.counters["Dateigroesse_MB"] = double(std::filesystem::file_size(datei)) / kMB;
    for (auto _ : state) {
        try {
            zw::DokumentLaden(datei);
            state.SkipWithError("nicht abgewiesen");
        } catch (const zw::DateiFehler&) {
        }
    }
}

void Groessen(benchmark::internal::Benchmark* b) {
    b->Arg(1 * kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
}

BENCHMARK(LadenUtf8OhneMarke)->Apply(Groessen);
BENCHMARK(LadenWord)->Apply(Groessen);
BENCHMARK(WordBombeAbweisen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
