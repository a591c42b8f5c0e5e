// The requests of a later start reaching the main window over the real
// socket: to the front, and the close request with and without unsaved
// changes.
#include "FensterTest.h"
#include "ModalFenster.h"

#include "platform/EineInstanz.h"
#include "ui/MoHintergrund.h"
#include "ui/Suchen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
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
    }

    // Sends from another thread, as another process would, while this one
    // goes on handling its events; then lets the queued request run.
    SendeErgebnis Senden(InstanzAnfrage anfrage) {
        auto ergebnis = std::async(std::launch::async,
                                   [this, anfrage] { return AnfrageSenden(name, anfrage, 2s); });
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
    EXPECT_EQ(DateiInhalt(brief), "Haus am See\r\n");
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
