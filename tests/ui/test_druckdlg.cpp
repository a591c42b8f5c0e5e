// The print dialog, the local port dialog and the network choice, shown
// offscreen and driven as a user would, writing to printers the tests start.
#include "FensterTest.h"
#include "ModalFenster.h"
#include "SkriptDialoge.h"

#include "../DruckHilfen.h"
#include "../Hilfen.h"
#include "core/Drucktext.h"
#include "ui/DruckDlg.h"
#include "ui/LokalDlg.h"
#include "ui/NetzwerkDlg.h"
#include "ui/Vorschau.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace zw;
using namespace zwtest;
using Uhr = std::chrono::steady_clock;

namespace {

template <class T> T* Als(QWidget* w) {
    T* t = qobject_cast<T*>(w);
    EXPECT_NE(t, nullptr) << (w ? w->metaObject()->className() : "kein Fenster");
    return t;
}

// The print system the client library talks to; it keeps what it read, so
// it is told to read again. A fixture holds one: what its test chose ends with
// the test, and the next test in the process meets the machine's own again.
class CupsServerWahl {
public:
    CupsServerWahl()
        : hatte_(qEnvironmentVariableIsSet("CUPS_SERVER")), vorher_(qgetenv("CUPS_SERVER")) {}
    ~CupsServerWahl() {
        if (hatte_)
            qputenv("CUPS_SERVER", vorher_);
        else
            qunsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
    CupsServerWahl(const CupsServerWahl&) = delete;
    CupsServerWahl& operator=(const CupsServerWahl&) = delete;

    void operator()(const QByteArray& server) const {
        qputenv("CUPS_SERVER", server);
        cupsSetServer(nullptr);
    }

private:
    bool hatte_;
    QByteArray vorher_;
};

double Sekunden(Uhr::time_point seit) {
    return std::chrono::duration<double>(Uhr::now() - seit).count();
}

const QString kNichtBereit = QStringLiteral("Der Braille-Drucker ist nicht betriebsbereit!");

using namespace std::chrono_literals;

// The print job runs from the event loop; this waits for the dialog to close.
bool WartenBisZu(QWidget* w, double sekunden = 10) {
    const auto start = Uhr::now();
    while (w->isVisible() && Sekunden(start) < sekunden)
        QTest::qWait(5);
    return !w->isVisible();
}

// A print dialog of its own, shown, with the beeps of its key filter counted.
class DruckDialogTest : public testing::Test {
protected:
    void Zeigen(const QString& port, std::u16string_view text = u"Haus am See") {
        form = std::make_unique<TDruckenForm>(nullptr, dialoge, port, text);
        form->Signalton = [this] { ++pieptoene; };
        form->StockLimit = 300ms;
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        EXPECT_TRUE(dialoge.AllesBeantwortet()) << "nicht alle Antworten wurden gebraucht";
    }

    CupsServerWahl CupsServer;
    SkriptDialoge dialoge;
    std::unique_ptr<TDruckenForm> form;
    int pieptoene = 0;
};

} // namespace

// ---------------------------------------------------------------------------
// Print dialog.

TEST_F(DruckDialogTest, OeffnetMitEinerKopieUndStatusStrich) {
    Zeigen(QStringLiteral("LPT1"), u"Zeile\r\n");
    EXPECT_EQ(form->windowTitle(), "Drucken");
    EXPECT_EQ(form->LabelPort->text(), "Anschluss:");
    EXPECT_EQ(form->LabelPortText->text(), "LPT1");
    EXPECT_EQ(form->LabelKopien->text(), "&Kopien:");
    EXPECT_EQ(form->LabelKopien->buddy(), form->EditKopien);
    EXPECT_EQ(form->LabelStatus->text(), "Status:");
    EXPECT_EQ(form->LabelStatusText->text(), "-");
    EXPECT_EQ(form->ButtonDrucken->text(), "&Drucken");
    EXPECT_TRUE(form->ButtonDrucken->isDefault());
    EXPECT_EQ(form->ButtonAbbrechen->text(), "&Abbrechen");

    EXPECT_EQ(form->EditKopien->text(), "1");
    EXPECT_EQ(form->EditKopien->selectedText(), "1");
    EXPECT_EQ(form->EditKopien->maxLength(), 2);
    EXPECT_EQ(QApplication::focusWidget(), form->EditKopien);
    EXPECT_TRUE(form->ButtonDrucken->isEnabled());
    EXPECT_EQ(form->Kopien(), 1);
    // The given text and the form feed.
    EXPECT_EQ(form->DruckTextStr(), u"Zeile\r\n\f");
    // All pages, in the embosser's default page size; nothing to warn of.
    EXPECT_EQ(form->LabelSeiten->text(), "&Seiten von:");
    EXPECT_EQ(form->LabelSeiten->buddy(), form->EditSeitenVon);
    EXPECT_EQ(form->LabelSeitenBis->buddy(), form->EditSeitenBis);
    EXPECT_EQ(form->EditSeitenVon->value(), 1);
    EXPECT_EQ(form->EditSeitenBis->value(), 1);
    EXPECT_EQ(form->ButtonVorschau->text(), "Braille-&Vorschau...");
    EXPECT_FALSE(form->LabelPruefung->isVisible());
    QTest::keyClick(form->EditKopien, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->EditSeitenVon);
}

TEST_F(DruckDialogTest, TastenfilterNimmtNurZiffernUndRuecktaste) {
    Zeigen(QStringLiteral("LPT1"));
    QLineEdit* edit = form->EditKopien;
    edit->clear();
    struct Schritt {
        const char* was;
        std::function<void()> tippen;
        QString text;
        int pieptoene;
    };
    QApplication::clipboard()->setText(QStringLiteral("12"));
    const Schritt schritte[] = {
        {"Buchstabe", [&] { QTest::keyClicks(edit, QStringLiteral("a")); }, "", 1},
        {"Minus", [&] { QTest::keyClicks(edit, QStringLiteral("-")); }, "", 2},
        {"Leerzeichen", [&] { QTest::keyClick(edit, Qt::Key_Space); }, "", 3},
        {"Einfügen", [&] { QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); }, "", 4},
        {"0 und 5", [&] { QTest::keyClicks(edit, QStringLiteral("05")); }, "05", 4},
        // At most two characters; the edit itself refuses the third.
        {"dritte Ziffer", [&] { QTest::keyClicks(edit, QStringLiteral("7")); }, "05", 4},
        {"Rücktaste", [&] { QTest::keyClick(edit, Qt::Key_Backspace); }, "0", 4},
        {"Pfeil und Entf",
         [&] {
             QTest::keyClick(edit, Qt::Key_Home);
             QTest::keyClick(edit, Qt::Key_Delete);
         },
         "", 4},
    };
    for (const auto& s : schritte) {
        SCOPED_TRACE(s.was);
        s.tippen();
        EXPECT_EQ(edit->text(), s.text);
        EXPECT_EQ(pieptoene, s.pieptoene);
    }
}

TEST_F(DruckDialogTest, DruckenNurBeiMindestensEinerKopie) {
    Zeigen(QStringLiteral("LPT1"));
    struct Fall {
        const char* text;
        bool an;
    };
    const Fall faelle[] = {{"", false},  {"0", false}, {"00", false}, {"1", true},
                           {"05", true}, {"99", true}, {"10", true}};
    for (const auto& f : faelle) {
        form->EditKopien->setText(QString::fromLatin1(f.text));
        EXPECT_EQ(form->ButtonDrucken->isEnabled(), f.an) << f.text;
    }
}

TEST_F(DruckDialogTest, SetKopienMachtAusNullEineKopie) {
    Zeigen(QStringLiteral("LPT1"));
    form->EditKopien->setText(QStringLiteral("00"));
    form->SetKopien(0);
    EXPECT_EQ(form->Kopien(), 1);
    EXPECT_EQ(form->EditKopien->text(), "1");
    form->EditKopien->setText(QStringLiteral("07"));
    form->SetKopien(7);
    EXPECT_EQ(form->Kopien(), 7);
    EXPECT_EQ(form->EditKopien->text(), "07");
}

TEST_F(DruckDialogTest, DreiKopienGehenJedeGanzAnDenDrucker) {
    TcpDrucker drucker;
    const std::u16string text = u"Ä-Zeile\r\n\u2801 \u20ac";
    Zeigen(QString::fromStdString(drucker.PortString()), text);
    form->EditKopien->selectAll();
    QTest::keyClicks(form->EditKopien, QStringLiteral("3"));
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);

    ASSERT_TRUE(WartenBisZu(form.get()));
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->LabelStatusText->text(), "Es wird gedruckt... Kopie 3 von 3, 13 von 13 Bytes");
    EXPECT_EQ(form->Kopien(), 3);
    ASSERT_TRUE(drucker.WartenAufKopien(3));
    const std::string erwartet("\xc4-Zeile\r\n? \x80\f");
    for (const auto& k : drucker.Kopien())
        EXPECT_EQ(k, erwartet);
    EXPECT_EQ(drucker.Kopien().size(), 3u);
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(DruckDialogTest, WiederholenNachZeitlimitSchreibtDieKopieNochEinmal) {
    TcpDrucker drucker(4096);
    drucker.Setzen(TcpDrucker::Verhalten::Stocken);
    // Larger than what the kernel takes for a stalled printer.
    const std::u16string text(256 * 1024, u'x');
    Zeigen(QString::fromStdString(drucker.PortString()), text);
    form->EditKopien->setText(QStringLiteral("2"));

    double bisZurFrage = 0;
    const auto start = Uhr::now();
    dialoge.BeimAufruf = [&](const Aufruf&) {
        bisZurFrage = Sekunden(start);
        // The printer is made ready while the question is open.
        drucker.Setzen(TcpDrucker::Verhalten::Lesen);
    };
    dialoge.Antwortet(Antwort::Wiederholen);
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));

    const auto texte = dialoge.Texte(Art::FehlerWiederholen);
    ASSERT_EQ(texte.size(), 1u);
    // The first line as ever, then why and how much went out.
    EXPECT_TRUE(texte[0].startsWith(kNichtBereit + "\n\nDer Drucker nimmt seit 0,3 Sekunden "
                                                   "keine Daten an. "))
        << texte[0].toStdString();
    EXPECT_TRUE(texte[0].contains(" von 262.145 Bytes wurden gesendet.")) << texte[0].toStdString();
    EXPECT_GE(bisZurFrage, 0.29);
    EXPECT_LT(bisZurFrage, 1.3);
    ASSERT_TRUE(drucker.WartenAufKopien(2));
    const std::string kopie = DruckBytes(DruckTextBilden(text));
    ASSERT_EQ(drucker.Kopien().size(), 2u);
    for (const auto& k : drucker.Kopien())
        EXPECT_TRUE(k == kopie);
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(DruckDialogTest, AbbrechenBeimNichtBereitenDruckerBeendetDenAuftrag) {
    const std::string port = "socket://127.0.0.1:" + std::to_string(FreierPort());
    Zeigen(QString::fromStdString(port));
    form->EditKopien->setText(QStringLiteral("2"));
    dialoge.Antwortet(Antwort::Abbrechen);
    const auto start = Uhr::now();
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    // One question for the first copy; the second is not tried.
    EXPECT_EQ(dialoge.Arten(), std::vector<Art>{Art::FehlerWiederholen});
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_LT(Sekunden(start), 1.0);
}

TEST_F(DruckDialogTest, AbbrechenDrucktNichts) {
    TcpDrucker drucker;
    for (const bool perTaste : {true, false}) {
        Zeigen(QString::fromStdString(drucker.PortString()));
        if (perTaste)
            QTest::keyClick(form->EditKopien, Qt::Key_Escape);
        else
            QTest::mouseClick(form->ButtonAbbrechen, Qt::LeftButton);
        EXPECT_EQ(form->result(), QDialog::Rejected);
        EXPECT_FALSE(form->isVisible());
    }
    QTest::qWait(50);
    EXPECT_EQ(drucker.Verbindungen(), 0);
}

TEST_F(DruckDialogTest, LangerPortWirdWieEinPfadGekuerzt) {
    const QString lang = QStringLiteral("/home/benutzerin/Dokumente/Braille/Ausgaben/2026/Dezember/"
                                        "Woche-50/Praegeauftraege/fuer-die-Schule/Klasse-7b/"
                                        "Deutsch/der-lange-brief.brl");
    Zeigen(lang);
    const QString gezeigt = form->LabelPortText->text();
    EXPECT_NE(gezeigt, lang);
    EXPECT_TRUE(gezeigt.contains(QStringLiteral("..."))) << gezeigt.toStdString();
    EXPECT_TRUE(gezeigt.endsWith(QStringLiteral("/der-lange-brief.brl"))) << gezeigt.toStdString();
    EXPECT_LE(form->LabelPortText->fontMetrics().horizontalAdvance(gezeigt),
              form->LabelPortText->width());
    // The whole string is what is written to.
    EXPECT_EQ(form->DruckerPortStr(), lang);
    EXPECT_EQ(form->LabelPortText->toolTip(), lang);
}

namespace {

// Whether a screen reader finds `beschriftung` as the caption of `wert`, and
// the other way round (Qt names the two directions Label and Labelled).
bool Beschriftet(QWidget* wert, QWidget* beschriftung) {
    QAccessibleInterface* w = QAccessible::queryAccessibleInterface(wert);
    QAccessibleInterface* b = QAccessible::queryAccessibleInterface(beschriftung);
    auto zeigtAuf = [](QAccessibleInterface* von, QAccessibleInterface* auf) {
        const auto relationen = von->relations();
        return std::any_of(relationen.begin(), relationen.end(),
                           [auf](const auto& r) { return r.first == auf; });
    };
    return w && b && zeigtAuf(w, b) && zeigtAuf(b, w);
}

QString Gesprochen(QWidget* w) {
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(w);
    return zugang ? zugang->text(QAccessible::Name) : QString();
}

} // namespace

TEST_F(DruckDialogTest, WerteSindMitIhrenBeschriftungenVerbunden) {
    const QString lang = QStringLiteral("/home/benutzerin/Dokumente/Braille/Ausgaben/2026/Dezember/"
                                        "Woche-50/Praegeauftraege/fuer-die-Schule/Klasse-7b/"
                                        "Deutsch/der-lange-brief.brl");
    Zeigen(lang);
    EXPECT_TRUE(Beschriftet(form->LabelPortText, form->LabelPort));
    EXPECT_TRUE(Beschriftet(form->LabelStatusText, form->LabelStatus));
    EXPECT_TRUE(Beschriftet(form->EditKopien, form->LabelKopien));
    // The port is spoken whole, though it is shown shortened.
    EXPECT_NE(form->LabelPortText->text(), lang);
    EXPECT_EQ(Gesprochen(form->LabelPortText), lang);
    EXPECT_EQ(Gesprochen(form->LabelStatusText), "-");
}

TEST_F(DruckDialogTest, GesprochenerStatusFolgtDemGezeigten) {
    const std::string port = "socket://127.0.0.1:" + std::to_string(FreierPort());
    Zeigen(QString::fromStdString(port));
    // Read while the printer is not ready and the print is under way.
    QString gezeigt, gesprochen;
    dialoge.BeimAufruf = [&](const Aufruf&) {
        gezeigt = form->LabelStatusText->text();
        gesprochen = Gesprochen(form->LabelStatusText);
    };
    dialoge.Antwortet(Antwort::Abbrechen);
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    EXPECT_EQ(gezeigt, "Es wird gedruckt... Kopie 1 von 1, 0 von 12 Bytes");
    EXPECT_EQ(gesprochen, gezeigt);

    // Shown again, the status is back at its dash, spoken as shown.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->LabelStatusText->text(), "-");
    EXPECT_EQ(Gesprochen(form->LabelStatusText), "-");
}

TEST_F(DruckDialogTest, AbbrechenBeendetDenLaufendenAuftragZwischenZweiStuecken) {
    for (const bool perTaste : {true, false}) {
        SCOPED_TRACE(perTaste);
        TcpDrucker drucker(1024);
        drucker.Setzen(TcpDrucker::Verhalten::Langsam, 2048);
        const std::u16string text(200 * 1024, u'x');
        Zeigen(QString::fromStdString(drucker.PortString()), text);
        form->StockLimit = 10s;
        form->EditKopien->setText(QStringLiteral("2"));
        QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
        EXPECT_TRUE(form->Druckt());
        // The status shows the progress of the first copy.
        QString status;
        const auto start = Uhr::now();
        while (Sekunden(start) < 5 && !status.contains(QStringLiteral("von 204.801 Bytes")))
            status = (QTest::qWait(10), form->LabelStatusText->text());
        EXPECT_TRUE(status.startsWith("Es wird gedruckt... Kopie 1 von 2, "))
            << status.toStdString();
        EXPECT_FALSE(form->ButtonDrucken->isEnabled());
        const auto ende = Uhr::now();
        if (perTaste)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            QTest::mouseClick(form->ButtonAbbrechen, Qt::LeftButton);
        ASSERT_TRUE(WartenBisZu(form.get(), 1.0));
        EXPECT_LT(Sekunden(ende), 1.0);
        QTest::qWait(100);
        // Nothing counts as written, and no message.
        EXPECT_TRUE(drucker.Kopien().empty());
        EXPECT_TRUE(dialoge.Aufrufe.empty());
    }
}

// Every transport runs from the event loop: a file takes its copies piece by
// piece, a device that stops reading stalls, a print queue gets raw jobs.
TEST_F(DruckDialogTest, DateiGeraetUndWarteschlangeAusDerEreignisschleife) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("ausgabe.brl"));
    QFile(datei).open(QIODevice::WriteOnly);
    const std::u16string text(300 * 1024, u'a');
    Zeigen(datei, text);
    form->EditKopien->setText(QStringLiteral("2"));
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    QFile gelesen(datei);
    ASSERT_TRUE(gelesen.open(QIODevice::ReadOnly));
    const std::string kopie = DruckBytes(DruckTextBilden(text));
    EXPECT_TRUE(gelesen.readAll().toStdString() == kopie + kopie);

    // A device that takes nothing more after a while.
    FifoLeser leser(ordner.filePath(QStringLiteral("lp0")).toStdString(),
                    FifoLeser::Verhalten::Stocken);
    Zeigen(QString::fromStdString(leser.Pfad()), std::u16string(1024 * 1024, u'b'));
    dialoge.Antwortet(Antwort::Abbrechen);
    const auto start = Uhr::now();
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    EXPECT_LT(Sekunden(start), 0.3 + 1.0);
    const auto texte = dialoge.Texte(Art::FehlerWiederholen);
    ASSERT_EQ(texte.size(), 1u);
    EXPECT_TRUE(texte[0].contains("Der Drucker nimmt seit 0,3 Sekunden keine Daten an."))
        << texte[0].toStdString();

    if (!CupsTestDienst::Installiert())
        ZW_OHNE(CupsTestDienst::kFehlt);
    CupsTestDienst dienst;
    const std::string warum = dienst.Starten();
    ASSERT_TRUE(warum.empty()) << "Der CUPS-Testdienst startet nicht: " << warum;
    CupsServer(QByteArray::fromStdString(dienst.Socket()));
    const std::u16string lang(100 * 1024, u'c');
    Zeigen(QStringLiteral("roh"), lang);
    form->StockLimit = DruckZeitLimit;
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    EXPECT_TRUE(dienst.WartenAufAusgabe(DruckBytes(DruckTextBilden(lang)))) << dienst.Protokoll();
}

TEST_F(DruckDialogTest, PruefungNenntWasDerDruckerNichtDarstellenKann) {
    Zeigen(QStringLiteral("LPT1"), u"Bär \u201egrün\u201c\r\nä\u20ac");
    const QString erwartet =
        QStringLiteral("Achtung: 6 Zeichen kann der Drucker nicht darstellen: ä "
                       "(2), \u201e (1), ü (1), \u201c (1), \u20ac (1)");
    EXPECT_TRUE(form->LabelPruefung->isVisible());
    EXPECT_EQ(form->LabelPruefung->text(), erwartet);
    form->SetNichtKonvertiert(1234);
    EXPECT_EQ(form->LabelPruefung->text(),
              "Achtung: Der Text wurde noch nicht konvertiert; die Tabelle würde 1.234 Zeichen "
              "ersetzen.\n" +
                  erwartet);
    // Read out with the field that has the focus; printing stays possible.
    EXPECT_EQ(form->EditKopien->accessibleDescription(), form->LabelPruefung->text());
    EXPECT_EQ(QApplication::focusWidget(), form->EditKopien);
    EXPECT_TRUE(form->ButtonDrucken->isEnabled());
    // In 8 dots the umlauts have cells of their own.
    form->SetBraille({"us8", 40, 25});
    EXPECT_EQ(form->LabelPruefung->text(),
              "Achtung: Der Text wurde noch nicht konvertiert; die Tabelle würde 1.234 Zeichen "
              "ersetzen.\nAchtung: 3 Zeichen kann der Drucker nicht darstellen: \u201e (1), "
              "\u201c (1), \u20ac (1)");
    EXPECT_LE(form->LabelPruefung->geometry().bottom(), form->ButtonDrucken->y());
}

TEST_F(DruckDialogTest, SeitenbereichDrucktNurDieseSeiten) {
    TcpDrucker drucker;
    // Five cells a line, two lines a page: "aaaaabbbbb" fills page 1.
    const std::u16string text = u"aaaaabbbbbcc\r\ndd\fee\r\n";
    Zeigen(QString::fromStdString(drucker.PortString()), RechtsGetrimmt(text));
    form->SetBraille({"us6", 5, 2});
    EXPECT_EQ(form->SeitenAnzahl(), 3);
    EXPECT_EQ(form->EditSeitenVon->value(), 1);
    EXPECT_EQ(form->EditSeitenBis->value(), 3);
    EXPECT_EQ(form->LabelSeitenAnzahl->text(), "(3 Seiten zu 5 x 2)");
    form->EditSeitenVon->setValue(2);
    form->EditSeitenBis->setValue(2);
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    ASSERT_TRUE(drucker.WartenAufKopien(1));
    EXPECT_EQ(drucker.Kopien()[0], "cc\r\ndd\f");
    // From a page on to the end after a paper jam.
    Zeigen(QString::fromStdString(drucker.PortString()), RechtsGetrimmt(text));
    form->SetBraille({"us6", 5, 2});
    form->EditSeitenVon->setValue(3);
    EXPECT_EQ(form->EditSeitenBis->value(), 3);
    QTest::mouseClick(form->ButtonDrucken, Qt::LeftButton);
    ASSERT_TRUE(WartenBisZu(form.get()));
    ASSERT_TRUE(drucker.WartenAufKopien(2));
    EXPECT_EQ(drucker.Kopien()[1], "ee\f");
}

TEST_F(DruckDialogTest, VorschauZeigtDenDrucktextUndGibtDieGeometrieZurueck) {
    Zeigen(QStringLiteral("LPT1"), u"aA\u00e4");
    BrailleEinstellung gemeldet;
    form->BrailleGeaendert = [&](const BrailleEinstellung& b) { gemeldet = b; };
    zwtest::BeimNaechstenModalFenster([](QWidget* w) {
        auto* v = Als<TVorschauForm>(w);
        ASSERT_NE(v, nullptr);
        // a and A are one cell in 6 dots; the umlaut has none and is marked.
        EXPECT_EQ(v->TextVorschau->toPlainText(),
                  QStringLiteral("Seite 1 von 1\n\u2801\u2801") + QChar(0x2800 + (0xAF & 0x3F)));
        EXPECT_TRUE(v->LabelOhneZelle->text().contains("Byte 228 (ä) 1-mal"))
            << v->LabelOhneZelle->text().toStdString();
        v->EditZeichen->setValue(2);
        v->close();
    });
    QTest::mouseClick(form->ButtonVorschau, Qt::LeftButton);
    EXPECT_EQ(gemeldet.Zeichen, 2);
    EXPECT_EQ(form->Braille().Zeichen, 2);
    EXPECT_EQ(form->SeitenAnzahl(), 1);
    EXPECT_TRUE(form->isVisible());
}

TEST(PortKuerzen, OrdnerWeichenEinerNachDemAnderen) {
    const QFontMetrics m(QApplication::font());
    struct Fall {
        QString port;
        QStringList stufen; // from the widest to the narrowest
    };
    const Fall faelle[] = {
        {QStringLiteral("C:\\Ordner\\bbbb\\cccc\\datei.txt"),
         {QStringLiteral("C:\\Ordner\\bbbb\\cccc\\datei.txt"),
          QStringLiteral("C:\\...\\bbbb\\cccc\\datei.txt"),
          QStringLiteral("C:\\...\\cccc\\datei.txt"), QStringLiteral("C:\\...\\datei.txt"),
          QStringLiteral("...\\datei.txt"), QStringLiteral("datei.txt")}},
        {QStringLiteral("/geraete/usb-braille/lp0"),
         {QStringLiteral("/geraete/usb-braille/lp0"), QStringLiteral("/.../usb-braille/lp0"),
          QStringLiteral("/.../lp0"), QStringLiteral(".../lp0"), QStringLiteral("lp0")}},
        {QStringLiteral("\\\\server\\freigabe\\praeger"),
         {QStringLiteral("\\\\server\\freigabe\\praeger"),
          QStringLiteral("\\\\server\\...\\praeger"), QStringLiteral("...\\praeger"),
          QStringLiteral("praeger")}},
        {QStringLiteral("socket://praege.example.org:9100"),
         {QStringLiteral("socket://praege.example.org:9100"),
          QStringLiteral("praege.example.org:9100")}},
    };
    for (const auto& f : faelle) {
        for (const QString& stufe : f.stufen)
            EXPECT_EQ(PortKuerzen(f.port, m, m.horizontalAdvance(stufe)), stufe)
                << f.port.toStdString();
        // Narrower than everything: the name alone, clipped by the label.
        EXPECT_EQ(PortKuerzen(f.port, m, 1), f.stufen.last());
    }
}

// ---------------------------------------------------------------------------
// Local port dialog.

TEST(LokalDialog, VorauswahlNachDemPortString) {
    struct Fall {
        const char* port;
        int item;
    };
    const Fall faelle[] = {
        {"LPT1", 0},
        {"LPT2", 1},
        {"LPT3", 2},
        {"LPT4", 3},
        {"LPT5", 3},
        {"LPT7", 3},
        {"LPT9", 3},
        {"lpt2", 0},
        {"LPT0", 0},
        {"LPT12", 0},
        {"Lpt3", 0},
        {"LPTx", 0},
        {"", 0},
        {"LPT", 0},
        {" LPT2", 0},
        {"\\\\server\\praeger", 0},
        {"socket://praege:9100", 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.port);
        EXPECT_EQ(LptVorauswahl(QString::fromLatin1(f.port)), f.item);
        TLptWechselnForm form(nullptr, QString::fromLatin1(f.port));
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_EQ(form.ItemIndex(), f.item);
        EXPECT_TRUE(form.RadioItems[std::size_t(f.item)]->isChecked());
        // The group has the focus.
        EXPECT_EQ(QApplication::focusWidget(), form.RadioItems[std::size_t(f.item)]);
    }
}

TEST(LokalDialog, OkGibtDenGewaehltenPortAbbrechenNichts) {
    TLptWechselnForm form(nullptr, QStringLiteral("LPT3"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Lokaler Anschluss");
    EXPECT_EQ(form.RadioGroup->title(), "Anschluss");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(form.RadioItems[std::size_t(i)]->text(), QStringLiteral("LPT%1").arg(i + 1));
    EXPECT_EQ(form.ButtonOk->text(), "O&K");
    EXPECT_TRUE(form.ButtonOk->isDefault());
    EXPECT_EQ(form.ButtonAbbrechen->text(), "&Abbrechen");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.DruckerPortStr(), "LPT3");

    TLptWechselnForm zweite(nullptr, QStringLiteral("\\\\server\\praeger"));
    zweite.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&zweite));
    zweite.RadioItems[1]->click();
    QTest::mouseClick(zweite.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(zweite.DruckerPortStr(), "LPT2");

    TLptWechselnForm dritte(nullptr, QStringLiteral("\\\\server\\praeger"));
    dritte.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dritte));
    dritte.RadioItems[3]->click();
    QTest::keyClick(&dritte, Qt::Key_Escape);
    EXPECT_EQ(dritte.result(), QDialog::Rejected);
    EXPECT_EQ(dritte.DruckerPortStr(), "\\\\server\\praeger");
}

// ---------------------------------------------------------------------------
// Network choice.

namespace {

const QString kNetzTitel = QStringLiteral("Netzwerk-Anschluss");
const QString kNetzHinweis = QStringLiteral("Wählen Sie einen Anschluss");

class NetzwerkDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ordner.isValid());
        // No print system of the machine answers: the list stays empty and a
        // queue name is unknown.
        CupsServer(QFile::encodeName(ordner.filePath(QStringLiteral("kein.sock"))));
        vorher = QDir::currentPath();
        QDir().mkpath(ordner.filePath(QStringLiteral("geraete/lp0")));
    }
    void TearDown() override {
        EXPECT_EQ(QDir::currentPath(), vorher);
        QDir::setCurrent(vorher);
        EXPECT_TRUE(dialoge.AllesBeantwortet());
    }

    // Shows the choice; `tun` acts in the dialog.
    bool Waehlen(QString& pfad, std::function<void(TNetzwerkForm*)> tun) {
        zwtest::BeimNaechstenModalFenster([tun](QWidget* w) {
            if (auto* form = Als<TNetzwerkForm>(w))
                tun(form);
            else
                w->close();
        });
        return NetzwerkpfadWaehlen(nullptr, dialoge, pfad, kNetzTitel, kNetzHinweis, TSchrift{},
                                   0xFFFFFF);
    }

    CupsServerWahl CupsServer;
    QTemporaryDir ordner;
    QString vorher;
    SkriptDialoge dialoge;
};

} // namespace

TEST_F(NetzwerkDialogTest, AbbrechenGibtFalschUndLaesstDenOrdner) {
    QString pfad = QStringLiteral("LPT2");
    const bool gewaehlt = Waehlen(pfad, [&](TNetzwerkForm* f) {
        EXPECT_EQ(f->windowTitle(), kNetzTitel);
        EXPECT_EQ(f->LabelHinweis->text(), kNetzHinweis);
        EXPECT_EQ(f->EditPfad->text(), "LPT2");
        // Whatever moves the current directory meanwhile is undone.
        QDir::setCurrent(ordner.path());
        QTest::keyClick(f, Qt::Key_Escape);
    });
    EXPECT_FALSE(gewaehlt);
}

TEST_F(NetzwerkDialogTest, GetippterPfadKommtOhneTrennerZurueck) {
    QString pfad;
    const QString geraet = ordner.filePath(QStringLiteral("geraete/lp0"));
    const bool gewaehlt = Waehlen(pfad, [&](TNetzwerkForm* f) {
        f->EditPfad->setText(geraet + u'/');
        QTest::mouseClick(f->ButtonOk, Qt::LeftButton);
    });
    EXPECT_TRUE(gewaehlt);
    EXPECT_EQ(pfad, geraet);
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(NetzwerkDialogTest, NichtsGewaehltGibtWahrUndEinenLeerenPfad) {
    QString pfad = QStringLiteral("alt");
    const bool gewaehlt = Waehlen(pfad, [&](TNetzwerkForm* f) {
        f->EditPfad->clear();
        QTest::keyClick(f->EditPfad, Qt::Key_Return);
    });
    EXPECT_TRUE(gewaehlt);
    EXPECT_TRUE(pfad.isEmpty());
}

TEST_F(NetzwerkDialogTest, UnbekannterNameWirdGemeldetUndDerDialogBleibtOffen) {
    QDir::setCurrent(ordner.path());
    vorher = QDir::currentPath();
    QString pfad;
    bool nochOffen = false;
    const bool gewaehlt = Waehlen(pfad, [&](TNetzwerkForm* f) {
        for (const QString& name : {QStringLiteral("fehlt/praeger"), QStringLiteral("Praeger")}) {
            f->EditPfad->setText(name);
            QTest::mouseClick(f->ButtonOk, Qt::LeftButton);
        }
        nochOffen = f->isVisible();
        QTest::mouseClick(f->ButtonAbbrechen, Qt::LeftButton);
    });
    EXPECT_FALSE(gewaehlt);
    EXPECT_TRUE(nochOffen);
    const QString tail = QStringLiteral(
        "\" ist nicht vorhanden.\n\nStellen Sie sicher, dass der Zugriff auf den "
        "Netzwerk-Anschluss möglich ist oder geben Sie einen anderen Netzwerkpfad ein.");
    // A relative path is named in full, against the current directory.
    const std::vector<QString> erwartet = {"Der Netzwerk-Anschluss \"" +
                                               QDir(ordner.path()).filePath("fehlt/praeger") + tail,
                                           "Der Netzwerk-Anschluss \"Praeger" + tail};
    EXPECT_EQ(dialoge.Texte(Art::Warnung), erwartet);
}

TEST_F(NetzwerkDialogTest, DruckerAusDerListeDesDruckdienstes) {
    CupsTestDienst dienst;
    if (!CupsTestDienst::Installiert())
        ZW_OHNE(CupsTestDienst::kFehlt);
    const std::string warum = dienst.Starten();
    ASSERT_TRUE(warum.empty()) << "Der CUPS-Testdienst startet nicht: " << warum;
    CupsServer(QByteArray::fromStdString(dienst.Socket()));
    QString pfad;
    QStringList gezeigt;
    const bool gewaehlt = Waehlen(pfad, [&](TNetzwerkForm* f) {
        for (int i = 0; i < f->ListeDrucker->count(); ++i)
            gezeigt << f->ListeDrucker->item(i)->text();
        f->ListeDrucker->setCurrentRow(0);
        EXPECT_EQ(f->EditPfad->text(), "roh");
        QTest::mouseClick(f->ButtonOk, Qt::LeftButton);
    });
    EXPECT_EQ(gezeigt, (QStringList{"roh (Prägemaschine, Raum 3)", "zu (Gesperrt)"}));
    EXPECT_TRUE(gewaehlt);
    EXPECT_EQ(pfad, "roh");
}

// ---------------------------------------------------------------------------
// The main window's commands.

namespace {

class HauptDruckTest : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        CupsServer(QFile::encodeName(Pfad(QStringLiteral("kein.sock"))));
        // No port chosen yet, as when the settings could not be read.
        form->DruckerPortStr.clear();
        form->DruckerPortS = false;
    }
    void Drucken(std::function<void(TDruckenForm*)> tun) {
        zwtest::BeimNaechstenModalFenster([tun](QWidget* w) {
            if (auto* f = Als<TDruckenForm>(w))
                tun(f);
            else
                w->close();
        });
        form->MenuDateiDrucken->trigger();
    }

    CupsServerWahl CupsServer;
};

} // namespace

TEST_F(HauptDruckTest, OhneGewaehltenDruckerKeinDialog) {
    Oeffnen(brief);
    ASSERT_FALSE(form->DruckerPortS);
    form->ButtonDrucken->click();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{"Es wurde noch kein Drucker gewählt!\nKlicken Sie auf den "
                                   "Menüpunkt \"Drucker\", um einen Druckeranschluss zu wählen."});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(HauptDruckTest, NurLeerzeichenUndLeerzeilenSindKeinText) {
    Oeffnen(Datei("leer.txt", "  \r\n\r\n\t \r\n"));
    form->DruckerPortStr = QStringLiteral("LPT1");
    form->DruckerPortS = true;
    form->MenuDateiDrucken->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{"Kein Text zum Drucken vorhanden"});
}

TEST_F(HauptDruckTest, GedrucktWirdDerTextOhneLeerzeilenAmEndeMitSeitenvorschub) {
    TcpDrucker drucker;
    Oeffnen(Datei("brief2.txt", "\r\n  Haus am See\r\nZeile 2\r\n\r\n\r\n   \r\n"));
    form->DruckerPortStr = QString::fromStdString(drucker.PortString());
    form->DruckerPortS = true;
    Drucken([](TDruckenForm* f) {
        EXPECT_EQ(f->LabelPortText->text(), f->DruckerPortStr());
        QTest::mouseClick(f->ButtonDrucken, Qt::LeftButton);
    });
    ASSERT_TRUE(drucker.WartenAufKopien(1));
    EXPECT_EQ(drucker.Kopien(), std::vector<std::string>{"\r\n  Haus am See\r\nZeile 2\f"});
    dialoge.Aufrufe.erase(dialoge.Aufrufe.begin()); // the open dialog
    // Nothing is reported after printing.
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(HauptDruckTest, JederDruckbefehlBeginntMitEinerKopieUndStrich) {
    Oeffnen(brief);
    form->DruckerPortStr = QStringLiteral("LPT1");
    form->DruckerPortS = true;
    Drucken([](TDruckenForm* f) {
        f->EditKopien->setText(QStringLiteral("7"));
        f->LabelStatusText->setText(QStringLiteral("Es wird gedruckt..."));
        f->reject();
    });
    QString kopien, status;
    Drucken([&](TDruckenForm* f) {
        kopien = f->EditKopien->text();
        status = f->LabelStatusText->text();
        f->reject();
    });
    EXPECT_EQ(kopien, "1");
    EXPECT_EQ(status, "-");
}

TEST_F(HauptDruckTest, LokalerAnschlussOhneMeldung) {
    form->DruckerPortStr = QStringLiteral("LPT3");
    int vorausgewaehlt = -1;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* f = Als<TLptWechselnForm>(w);
        vorausgewaehlt = f->ItemIndex();
        QTest::mouseClick(f->ButtonOk, Qt::LeftButton);
    });
    form->MenuDruckerLokal->trigger();
    EXPECT_EQ(vorausgewaehlt, 2);
    EXPECT_EQ(form->DruckerPortStr, "LPT3");
    EXPECT_TRUE(form->DruckerPortS);
    EXPECT_TRUE(dialoge.Aufrufe.empty());

    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* f = Als<TLptWechselnForm>(w);
        f->RadioItems[0]->click();
        f->reject();
    });
    form->MenuDruckerLokal->trigger();
    EXPECT_EQ(form->DruckerPortStr, "LPT3");
}

TEST_F(HauptDruckTest, LokalAbgebrochenAendertNichts) {
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    form->MenuDruckerLokal->trigger();
    EXPECT_TRUE(form->DruckerPortStr.isEmpty());
    EXPECT_FALSE(form->DruckerPortS);
}

TEST_F(HauptDruckTest, NetzwerkOhneAuswahlFragtErneutUndAbbrechenLaesstAlles) {
    const QString vorher = QDir::currentPath();
    form->DruckerPortStr = QStringLiteral("LPT2");
    // The first dialog is confirmed with nothing chosen; the message, then the
    // dialog opens again and is cancelled.
    dialoge.BeimAufruf = [&](const Aufruf& a) {
        if (a.art == Art::Information && a.text == "Dieser Drucker kann nicht ausgewählt werden")
            zwtest::BeimNaechstenModalFenster(
                [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    };
    zwtest::BeimNaechstenModalFenster([](QWidget* w) {
        auto* f = Als<TNetzwerkForm>(w);
        EXPECT_EQ(f->windowTitle(), "Netzwerk-Anschluss");
        EXPECT_EQ(f->LabelHinweis->text(),
                  "Wählen Sie einen Anschluss für die druckausgabe aus der Baumansicht oder geben "
                  "Sie den Netzwerkpfad ein");
        // The browse starts empty, not from the current port.
        EXPECT_TRUE(f->EditPfad->text().isEmpty());
        QTest::mouseClick(f->ButtonOk, Qt::LeftButton);
    });
    form->MenuDruckerNetzwerk->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{"Dieser Drucker kann nicht ausgewählt werden"});
    EXPECT_EQ(form->DruckerPortStr, "LPT2");
    EXPECT_FALSE(form->DruckerPortS);
    EXPECT_EQ(QDir::currentPath(), vorher);
}

TEST_F(HauptDruckTest, NetzwerkAnschlussWirdUebernommenUndGemeldet) {
    const QString geraet = Pfad(QStringLiteral("lp0"));
    QDir().mkpath(geraet);
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* f = Als<TNetzwerkForm>(w);
        f->EditPfad->setText(geraet + u'/');
        QTest::mouseClick(f->ButtonOk, Qt::LeftButton);
    });
    form->MenuDruckerNetzwerk->trigger();
    EXPECT_EQ(form->DruckerPortStr, geraet);
    EXPECT_TRUE(form->DruckerPortS);
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{"Der Drucker-Anschluss wurde geändert"});
}
