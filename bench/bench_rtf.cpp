// The RTF reader on a 10 MB document beside loading the same text as UTF-8,
// a memcpy of the document's bytes, and the writer.
#include "core/Kodierung.h"
#include "core/MoFiles.h"
#include "core/Rtf.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kGroesse = 10 * 1000 * 1000;

// A document as a word processor writes it: header with font, colour and
// style tables, German prose with umlauts as \'hh, quotation marks and a
// euro sign as \u, some bold and italic runs, one paragraph per line.
std::string RtfDokument() {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{"
        "\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fswiss\\fcharset204 "
        "Arial Cyr;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
        "{\\stylesheet{\\s0\\f0\\fs22 Normal;}{\\s1\\b\\fs32 heading 1;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n";
    const std::string absaetze[] = {
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang1031 Am Abend gingen die beiden Freunde "
        "noch einmal hinunter an den Fluss, wo das Wasser ruhig unter der alten Br\\'fccke "
        "hindurchzog.\\par\r\n",
        "Sie sprachen \\'fcber die Reise, die sie im n\\'e4chsten Sommer machen wollten, und "
        "\\'fcber die {\\b B\\'fccher}, die sie noch lesen mussten.\\par\r\n",
        "Sp\\'e4ter sa\\'dfen sie auf der Mauer und sahen den Schiffen nach; \\u8222?sch\\'f6n"
        "\\u8220?, sagte der eine, und die Fahrt kostete 12 \\u8364? pro Person.\\par\r\n",
        "{\\i Gr\\'f6\\'dfere} \\'c4nderungen an der \\cf1 \\'d6ffnungszeit\\cf0  wurden im "
        "M\\'e4rz bekannt gegeben, wie die Zeitung berichtete.\\par\r\n",
    };
    for (std::size_t i = 0; rtf.size() < kGroesse; ++i)
        rtf += absaetze[i % std::size(absaetze)];
    rtf += "}\r\n";
    return rtf;
}

const std::string& Rtf() {
    static const std::string rtf = RtfDokument();
    return rtf;
}

// The same text as a UTF-8 file with byte order mark.
const std::string& Utf8() {
    static const std::string utf8 = "\xEF\xBB\xBF" + zw::Utf16ZuUtf8(zw::RtfZuText(Rtf()));
    return utf8;
}

const std::u16string& Text() {
    static const std::u16string text = zw::RtfZuText(Rtf());
    return text;
}

void MemcpyGrundlinie(benchmark::State& state) {
    const std::string& quelle = Rtf();
    std::vector<char> ziel(quelle.size());
    for (auto _ : state) {
        std::memcpy(ziel.data(), quelle.data(), quelle.size());
        benchmark::DoNotOptimize(ziel.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(quelle.size()));
}
BENCHMARK(MemcpyGrundlinie)->Unit(benchmark::kMillisecond);

void Utf8Laden(benchmark::State& state) {
    const std::string& bytes = Utf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::TextDekodieren(bytes, zw::tfUtf8));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(Utf8Laden)->Unit(benchmark::kMillisecond);

void RtfZuText(benchmark::State& state) {
    const std::string& rtf = Rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::RtfZuText(rtf));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}
BENCHMARK(RtfZuText)->Unit(benchmark::kMillisecond);

void RtfLesen(benchmark::State& state) {
    const std::string& rtf = Rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(zw::RtfLesen(rtf));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}
BENCHMARK(RtfLesen)->Unit(benchmark::kMillisecond);

void TextZuRtf(benchmark::State& state) {
    const std::u16string& text = Text();
    const zw::TSchrift schrift;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string rtf = zw::TextZuRtf(text, schrift);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
BENCHMARK(TextZuRtf)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
