// The main window driven offscreen: a 10 MB document opened and shown, and
// converted, written back into the text control and reported, each beside a
// memcpy of the same number of bytes in the same run.
#include "../tests/Hilfen.h"
#include "DeutscherText.h"
#include "WordDatei.h"
#include "core/MoFiles.h"
#include "core/Tabelle.h"
#include "platform/Dialoge.h"
#include "platform/Einstellungen.h"
#include "platform/Pfad.h"
#include "ui/Haupt.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::int64_t kMB = 1000 * 1000;

// Every file dialog picks the one document; reports are read by nobody.
class StilleDialoge : public zw::Dialoge {
public:
    QString Dokument;
    bool DateiWaehlen(QWidget*, zw::DateiDialog& dialog) override {
        dialog.DateiName = Dokument;
        return true;
    }
    void Information(QWidget*, const QString&) override {}
    zw::Antwort Bestaetigung(QWidget*, const QString&) override { return zw::Antwort::Nein; }
    zw::Antwort JaNein(QWidget*, const QString&) override { return zw::Antwort::Nein; }
    zw::Antwort FehlerWiederholen(QWidget*, const QString&) override {
        return zw::Antwort::Abbrechen;
    }
    void Warnung(QWidget*, const QString&) override {}
    void Fehler(QWidget*, const QString& text) override {
        std::fprintf(stderr, "Fehler: %s\n", text.toLocal8Bit().constData());
    }
};

using zwbench::DeutscherText;

struct Umgebung {
    QTemporaryDir ordner;
    StilleDialoge dialoge;
    // A private settings file: a benchmark never touches the user's settings.
    std::unique_ptr<zw::QtEinstellungen> einstellungen;
    std::unique_ptr<zw::TForm1> form;

    explicit Umgebung(std::int64_t bytes) {
        dialoge.Dokument = ordner.filePath(QStringLiteral("dokument.txt"));
        zw::TextDateiSpeichern(zw::AlsPfad(dialoge.Dokument), DeutscherText(std::size_t(bytes)),
                               zw::tfText);
        const QString tabelle = ordner.filePath(QStringLiteral("umlaute.tab"));
        zw::TextDateiSpeichern(zw::AlsPfad(tabelle),
                               u"228 062\r\n196 062\r\n246 091\r\n214 091\r\n252 092\r\n"
                               u"220 092\r\n223 033\r\n",
                               zw::tfText);
        einstellungen = std::make_unique<zw::QtEinstellungen>(ordner.filePath("einstellungen.ini"));
        form = std::make_unique<zw::TForm1>(dialoge, *einstellungen);
        form->show();
        QApplication::processEvents();
        form->TabDateiStr = tabelle;
        form->TabListeEinlesen();
    }

    // Lets the window do what it does before the user sees the text: layout
    // and painting of the visible part.
    void Zeigen() {
        QApplication::processEvents();
        form->RichEdit->viewport()->repaint();
    }
};

void MemcpyGrundlinie(benchmark::State& state) {
    // The document's text in memory is UTF-16: two bytes per file byte.
    const std::size_t n = std::size_t(state.range(0)) * 2;
    std::vector<char> quelle(n, 'x'), ziel(n);
    for (auto _ : state) {
        std::memcpy(ziel.data(), quelle.data(), n);
        benchmark::DoNotOptimize(ziel.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void OeffnenUndZeigen(benchmark::State& state) {
    Umgebung u(state.range(0));
    for (auto _ : state) {
        u.form->MenuDateiOeffnen->trigger();
        u.Zeigen();
    }
    if (u.form->DateiStr != u.dialoge.Dokument)
        state.SkipWithError("Dokument nicht geöffnet");
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The same text as a Word document and as a UTF-8 file without a mark,
// opened and shown; bytes are those of the text as UTF-8 in both.
void OeffnenWordGegenUtf8(benchmark::State& state, bool word) {
    Umgebung u(0);
    const zwbench::WordUndText w = zwbench::WordDokument(std::size_t(state.range(0)));
    const QString docx = u.ordner.filePath(QStringLiteral("dokument.docx"));
    const QString utf8 = u.ordner.filePath(QStringLiteral("dokument-utf8.txt"));
    const std::string text = zw::Utf16ZuUtf8(w.text);
    zwtest::Schreiben(docx, w.docx);
    zwtest::Schreiben(utf8, text);
    u.dialoge.Dokument = word ? docx : utf8;
    for (auto _ : state) {
        u.form->MenuDateiOeffnen->trigger();
        u.Zeigen();
    }
    if (u.form->RichEdit->Text() != w.text)
        state.SkipWithError("nicht derselbe Text");
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
}

void OeffnenWord(benchmark::State& state) {
    OeffnenWordGegenUtf8(state, true);
}
void OeffnenUtf8OhneMarke(benchmark::State& state) {
    OeffnenWordGegenUtf8(state, false);
}

void KonvertierenZurueckschreibenMelden(benchmark::State& state) {
    Umgebung u(state.range(0));
    std::int64_t geaendert = 0;
    for (auto _ : state) {
        state.PauseTiming();
        u.form->MenuDateiOeffnen->trigger();
        u.Zeigen();
        state.ResumeTiming();
        u.form->ButtonKonvertieren->click();
        u.Zeigen();
        geaendert += u.form->TextGeaendertS();
    }
    if (geaendert != std::int64_t(state.iterations()))
        state.SkipWithError("nichts ersetzt");
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void Groessen(benchmark::internal::Benchmark* b) {
    b->Arg(1 * kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
}

BENCHMARK(MemcpyGrundlinie)->Apply(Groessen);
BENCHMARK(OeffnenUndZeigen)->Apply(Groessen);
BENCHMARK(KonvertierenZurueckschreibenMelden)->Apply(Groessen);
BENCHMARK(OeffnenUtf8OhneMarke)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(OeffnenWord)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);

} // namespace
