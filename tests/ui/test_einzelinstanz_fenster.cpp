// The requests of a later start reaching the main window over the real
// socket: to the front, a file to open, and the close request with and
// without unsaved changes.
#include "FensterTest.h"
#include "ModalFenster.h"

#include "platform/EineInstanz.h"
#include "ui/DateiUebergabe.h"
#include "ui/MoHintergrund.h"
#include "ui/Suchen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

#include <future>

using namespace zw;
using namespace zwtest;
using namespace std::chrono_literals;

namespace {

class InstanzFensterTest : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        ASSERT_TRUE(laufzeit_.isValid());
        name = laufzeit_.filePath("zw");
        instanz = std::make_unique<EineInstanz>(name);
        ASSERT_TRUE(instanz->Starten());
        ASSERT_TRUE(instanz->Lauscht());
        QObject::connect(instanz.get(), &EineInstanz::Zeigen, form.get(), &TForm1::WMZeigen);
        QObject::connect(instanz.get(), &EineInstanz::Beenden, form.get(), &TForm1::WMBeenden);
        uebergabe = std::make_unique<DateiUebergabe>(*form);
        QObject::connect(instanz.get(), &EineInstanz::Oeffnen, uebergabe.get(),
                         &DateiUebergabe::Uebernehmen);
    }

    void TearDown() override {
        uebergabe.reset();
        FensterTest::TearDown();
    }

    // Sends from another thread, as another process would, while this one
    // goes on handling its events; then lets the queued request run.
    SendeErgebnis Senden(InstanzAnfrage anfrage, const QString& datei = QString()) {
        auto ergebnis = std::async(std::launch::async, [this, anfrage, datei] {
            return AnfrageSenden(name, anfrage, 2s, datei);
        });
        while (ergebnis.wait_for(0ms) != std::future_status::ready)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(20);
        return ergebnis.get();
    }

    bool Gespeichert(const QString& wert) {
        QtEinstellungen s(einstellungen->Ort());
        return s.Oeffnen() && s.WertVorhanden(wert);
    }

    QString name;
    std::unique_ptr<EineInstanz> instanz;
    std::unique_ptr<DateiUebergabe> uebergabe;

private:
    QTemporaryDir laufzeit_;
};

} // namespace

TEST_F(InstanzFensterTest, ZeigenHoltDasMinimierteFensterNachVorn) {
    QWidget fremd;
    fremd.setWindowTitle("ein anderes Programm");
    form->showMinimized();
    fremd.show();
    fremd.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fremd));
    ASSERT_TRUE(form->isMinimized());

    EXPECT_EQ(Senden(InstanzAnfrage::Zeigen), SendeErgebnis::Angenommen);
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(InstanzFensterTest, ZeigenHoltAuchDieOffenenFensterUndDenModalenDialogZuletzt) {
    // The find dialog stays open beside the window; the colour dialog is
    // modal above both. Another program is in front when the request comes.
    form->MenuBearbeitenSuchen->setEnabled(true);
    form->MenuBearbeitenSuchen->trigger();
    QWidget* suchen = &form->DialogSuchen->Dialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(suchen));
    QWidget* aktiv = nullptr;
    zwtest::BeimNaechstenModalFenster([&](QWidget* dialog) {
        QWidget fremd;
        fremd.show();
        fremd.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&fremd));
        EXPECT_EQ(Senden(InstanzAnfrage::Zeigen), SendeErgebnis::Angenommen);
        // Whichever window is active after the wait is what the test checks.
        (void)QTest::qWaitForWindowActive(dialog);
        aktiv = QApplication::activeWindow();
        EXPECT_TRUE(suchen->isVisible());
        static_cast<THintergrundForm*>(dialog)->Button2->click();
    });
    form->MenuAnsHintergrund->trigger();
    EXPECT_EQ(aktiv, form->HintergrundForm);
}

TEST_F(InstanzFensterTest, ZeigenOhneModalenDialogEndetBeimLetztenEigenenFenster) {
    form->MenuBearbeitenSuchen->setEnabled(true);
    form->MenuBearbeitenSuchen->trigger();
    QWidget* suchen = &form->DialogSuchen->Dialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(suchen));
    QWidget fremd;
    fremd.show();
    fremd.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fremd));
    EXPECT_EQ(Senden(InstanzAnfrage::Zeigen), SendeErgebnis::Angenommen);
    // The main window first, then what it owns: the find dialog ends in
    // front. The hidden colour dialog stays hidden.
    EXPECT_TRUE(QTest::qWaitForWindowActive(suchen));
    EXPECT_FALSE(form->HintergrundForm->isVisible());
}

TEST_F(InstanzFensterTest, BeendenOhneAenderungenSchliesst) {
    EXPECT_EQ(Senden(InstanzAnfrage::Beenden), SendeErgebnis::Angenommen);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->IsClosing);
    EXPECT_TRUE(dialoge.Aufrufe.empty());
    EXPECT_TRUE(Gespeichert("Tabelle"));
}

TEST_F(InstanzFensterTest, BeendenMitAenderungenFragtUndAbbrechenLaesstEsLaufen) {
    Oeffnen(brief);
    Konvertieren();
    ASSERT_TRUE(form->TextGeaendertS());
    dialoge.Vergessen();

    dialoge.Antwortet(Antwort::Abbrechen);
    // The sender has its answer before the user has given one.
    EXPECT_EQ(Senden(InstanzAnfrage::Beenden), SendeErgebnis::Angenommen);
    EXPECT_EQ(dialoge.Texte(Art::Bestaetigung),
              std::vector<QString>{"Änderungen in \"brief.txt\" speichern?"});
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->IsClosing);
    EXPECT_TRUE(Gespeichert("Tabelle")) << "die Einstellungen werden trotzdem geschrieben";

    dialoge.Antwortet(Antwort::Nein);
    EXPECT_EQ(Senden(InstanzAnfrage::Beenden), SendeErgebnis::Angenommen);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(zwtest::Lesen(brief), "Haus am See\r\n");
}

TEST_F(InstanzFensterTest, UnbekannteAnfrageBleibtOhneFolgen) {
    auto antwort = std::async(std::launch::async, [this] {
        QLocalSocket s;
        s.connectToServer(name);
        if (!s.waitForConnected(2000))
            return QByteArray("keine Verbindung");
        s.write("loeschen\n");
        s.waitForBytesWritten(2000);
        while (!s.canReadLine() && s.waitForReadyRead(2000)) {
        }
        return s.readLine();
    });
    while (antwort.wait_for(0ms) != std::future_status::ready)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(antwort.get(), "unbekannt\n");
    QTest::qWait(20);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(InstanzFensterTest, OeffnenHoltNachVornUndOeffnetDieDatei) {
    QWidget fremd;
    form->showMinimized();
    fremd.show();
    fremd.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fremd));

    EXPECT_EQ(Senden(InstanzAnfrage::Oeffnen, brief), SendeErgebnis::Angenommen);
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // Through the open command: type, state and caption as after its dialog.
    EXPECT_EQ(form->DateiStr, brief);
    EXPECT_EQ(form->windowTitle(), "brief.txt - " + ProgrammTitel);
    EXPECT_EQ(Text(), u"Haus am See\r\n");
    EXPECT_EQ(form->FileType, tfText);
    EXPECT_TRUE(form->DateiOffenS());
    EXPECT_FALSE(form->TextGeaendertS());
    EXPECT_TRUE(dialoge.Aufrufe.empty()) << "kein Dateidialog";
}

TEST_F(InstanzFensterTest, OeffnenFragtNachUngespeichertenAenderungen) {
    Oeffnen(brief);
    Konvertieren();
    ASSERT_TRUE(form->TextGeaendertS());
    const std::u16string konvertiert = Text();
    dialoge.Vergessen();
    const QString zweiter = Datei("zweiter.txt", "Boot\r\n");

    dialoge.Antwortet(Antwort::Abbrechen);
    EXPECT_EQ(Senden(InstanzAnfrage::Oeffnen, zweiter), SendeErgebnis::Angenommen);
    EXPECT_EQ(dialoge.Texte(Art::Bestaetigung),
              std::vector<QString>{"Änderungen in \"brief.txt\" speichern?"});
    EXPECT_EQ(form->DateiStr, brief) << "Abbrechen behält den Text";
    EXPECT_EQ(Text(), konvertiert);

    dialoge.Vergessen();
    dialoge.Antwortet(Antwort::Nein);
    EXPECT_EQ(Senden(InstanzAnfrage::Oeffnen, zweiter), SendeErgebnis::Angenommen);
    EXPECT_EQ(form->DateiStr, zweiter);
    EXPECT_EQ(Text(), u"Boot\r\n");
    EXPECT_EQ(zwtest::Lesen(brief), "Haus am See\r\n");
}

TEST_F(InstanzFensterTest, OeffnenWartetBisDerModaleDialogZuIst) {
    bool waehrendDesDialogs = true;
    zwtest::BeimNaechstenModalFenster([&](QWidget* dialog) {
        EXPECT_EQ(Senden(InstanzAnfrage::Oeffnen, brief), SendeErgebnis::Angenommen);
        QTest::qWait(300);
        waehrendDesDialogs = form->DateiStr == KeinName;
        EXPECT_EQ(uebergabe->Wartend(), brief);
        static_cast<THintergrundForm*>(dialog)->Button2->click();
    });
    form->MenuAnsHintergrund->trigger();
    EXPECT_TRUE(waehrendDesDialogs) << "nichts wird unter dem Dialog geöffnet";
    QTRY_COMPARE(form->DateiStr, brief);
    EXPECT_TRUE(uebergabe->Wartend().isEmpty());
}

TEST_F(InstanzFensterTest, EineFehlendeDateiGehtAnDieFehlerbehandlung) {
    const QString fehlt = QDir(QFileInfo(brief).absolutePath()).filePath("fehlt.txt");
    EXPECT_EQ(Senden(InstanzAnfrage::Oeffnen, fehlt), SendeErgebnis::Angenommen);
    const std::vector<QString> fehler = dialoge.Texte(Art::Fehler);
    ASSERT_EQ(fehler.size(), 1u);
    EXPECT_TRUE(fehler[0].startsWith("Datei " + QDir::toNativeSeparators(fehlt) +
                                     " kann nicht geöffnet werden."))
        << fehler[0].toStdString();
    EXPECT_EQ(form->DateiStr, KeinName);
    EXPECT_TRUE(form->isVisible());
}

// Any name travels in one ASCII line, and only a full path is taken.
TEST(InstanzProtokoll, DateiZeile) {
    for (const QString& pfad :
         {QStringLiteral("/tmp/brief.txt"), QStringLiteral("/tmp/mit Leerzeichen/Grüße €.rtf"),
          QStringLiteral("/tmp/zeilen\nende%25 und \\ und ;"), QStringLiteral("/ok\nbeenden")}) {
        const QByteArray zeile = AnfrageZeile(InstanzAnfrage::Oeffnen, pfad);
        EXPECT_TRUE(zeile.startsWith("oeffnen ")) << zeile.toStdString();
        EXPECT_EQ(zeile.count('\n'), 1) << zeile.toStdString();
        EXPECT_TRUE(zeile.endsWith('\n'));
        for (char c : zeile)
            EXPECT_LT(static_cast<unsigned char>(c), 0x80);
        InstanzAnfrage anfrage = InstanzAnfrage::Zeigen;
        QString gelesen;
        ASSERT_TRUE(AnfrageLesen(zeile, anfrage, gelesen)) << zeile.toStdString();
        EXPECT_EQ(anfrage, InstanzAnfrage::Oeffnen);
        EXPECT_EQ(gelesen, pfad);
    }
    InstanzAnfrage anfrage;
    QString datei;
    EXPECT_FALSE(AnfrageLesen("oeffnen brief.txt\n", anfrage, datei)) << "kein voller Pfad";
    EXPECT_FALSE(AnfrageLesen("oeffnen\n", anfrage, datei));
    EXPECT_FALSE(AnfrageLesen("oeffnen \n", anfrage, datei));
    EXPECT_TRUE(AnfrageLesen("zeigen\n", anfrage, datei));
    EXPECT_EQ(anfrage, InstanzAnfrage::Zeigen);
    EXPECT_TRUE(AnfrageLesen("beenden\n", anfrage, datei));
    EXPECT_EQ(anfrage, InstanzAnfrage::Beenden);
    EXPECT_EQ(AnfrageZeile(InstanzAnfrage::Zeigen), "zeigen\n");
    EXPECT_EQ(AnfrageZeile(InstanzAnfrage::Beenden), "beenden\n");
}

TEST(StartDatei, Befehlszeile) {
    // A relative name is taken from the folder the start was made in.
    QTemporaryDir ordner;
    ASSERT_TRUE(ordner.isValid());
    const QString vorher = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ordner.path()));
    const auto zurueck = qScopeGuard([&] { QDir::setCurrent(vorher); });
    const QString hier = QDir::currentPath();
    struct Fall {
        QStringList argumente;
        QString datei;
    } faelle[] = {
        {{}, QString()},
        {{QStringLiteral("-x")}, QString()},
        {{QStringLiteral("/tmp/a.txt")}, QStringLiteral("/tmp/a.txt")},
        {{QStringLiteral("b.txt")}, hier + QStringLiteral("/b.txt")},
        {{QStringLiteral("--irgendwas"), QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b")},
         QStringLiteral("/tmp/a.txt")},
        {{QStringLiteral("--"), QStringLiteral("-minus.txt")},
         hier + QStringLiteral("/-minus.txt")},
        {{QStringLiteral("file:///tmp/Gr%C3%BC%C3%9Fe.txt")}, QStringLiteral("/tmp/Grüße.txt")},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(StartDatei(f.argumente), QDir::toNativeSeparators(f.datei))
            << f.argumente.join(' ').toStdString();
}
