// The main window's help menu: what the files beside the program switch, the
// hand-over file for the updater, the information box, and the requests
// handed to the desktop.
#include "FensterTest.h"
#include "ModalFenster.h"
#include "SkriptShell.h"

#include "ui/Hilfe.h"
#include "ui/ProgrammInfo.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>

using namespace zw;
using namespace zwtest;

namespace {

class HilfeMenueTest : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        ASSERT_TRUE(programm_.isValid());
        ASSERT_TRUE(temp_.isValid());
        shell.Programm = programm_.filePath(QStringLiteral("zeichenwandler"));
        shell.Temp = temp_.path() + u'/';
        form->Desktop = &shell;
    }

    QString ImProgramm(const QString& name) const { return programm_.filePath(name); }
    QString ImTemp(const QString& name) const { return temp_.filePath(name); }
    void Anlegen(const QString& pfad, const std::string& bytes = "x") const {
        Schreiben(pfad, bytes);
    }
    void MenueOeffnen() { emit form->MenuHilfe->aboutToShow(); }

    SkriptShell shell;

private:
    QTemporaryDir programm_;
    QTemporaryDir temp_;
};

} // namespace

TEST_F(HilfeMenueTest, DateienNebenDemProgrammSchaltenDieBefehle) {
    struct Fall {
        bool history, updater;
    };
    for (const Fall f : {Fall{false, false}, Fall{true, false}, Fall{false, true}, Fall{true, true},
                         Fall{false, false}}) {
        SCOPED_TRACE(testing::Message() << "History " << f.history << ", Updater " << f.updater);
        QFile::remove(ImProgramm("History.txt"));
        QFile::remove(ImProgramm(UpdaterName));
        if (f.history)
            Anlegen(ImProgramm("History.txt"));
        if (f.updater)
            Anlegen(ImProgramm(UpdaterName));
        MenueOeffnen();
        EXPECT_EQ(form->MenuHilfeHistory->isEnabled(), f.history);
        EXPECT_TRUE(form->MenuHilfeHistory->isVisible());
        EXPECT_EQ(form->MenuHilfeUpdate->isVisible(), f.updater);
        for (QAction* a : {form->MenuHilfeHilfe, form->MenuHilfeProgrammInfo,
                           form->MenuHilfeHomepage, form->MenuHilfeMail, form->MenuHilfeSpenden})
            EXPECT_TRUE(a->isEnabled() && a->isVisible()) << a->objectName().toStdString();
    }
    // A folder of that name is no file.
    QDir().mkpath(ImProgramm("History.txt"));
    MenueOeffnen();
    EXPECT_FALSE(form->MenuHilfeHistory->isEnabled());
}

TEST_F(HilfeMenueTest, AktualisierungSchreibtFuenfZeilenUndStartetDenAuffrischer) {
    form->ProgrammSchrift.Name = u"Arial";
    form->ProgrammSchrift.Groesse = 12;
    // A read-only file of an earlier run is replaced.
    Anlegen(ImTemp("ZWD.cfg"), "alt");
    QFile(ImTemp("ZWD.cfg")).setPermissions(QFileDevice::ReadOwner);
    Oeffnen(Datei("Grüße.txt", "Text\r\n"));
    form->MenuHilfeUpdate->trigger();

    EXPECT_EQ(zwtest::Lesen(ImTemp("ZWD.cfg")),
              "Zeichenwandler V1.22\r\n"
              "Gr\xFC\xDF"
              "e.txt - Zeichenwandler V1.22\r\n" +
                  QFile::encodeName(shell.Programm).toStdString() +
                  "\r\n"
                  "ZWD\r\n"
                  "12 Arial\r\n");
    EXPECT_EQ(shell.Anfragen,
              (std::vector<ShellAnfrage>{
                  {ShellAnfrage::Programm, ImProgramm(UpdaterName), {QStringLiteral("ZWD.cfg")}}}));
    EXPECT_TRUE(dialoge.Texte(Art::Fehler).empty());
}

TEST_F(HilfeMenueTest, AktualisierungOhneSchreibbareDateiMeldetDenFehler) {
    shell.Temp = ImTemp("fehlt/");
    form->MenuHilfeUpdate->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Fehler),
              std::vector<QString>{QStringLiteral("Es ist ein Fehler beim Aktualisieren "
                                                  "aufgetreten!\nDie Datei \"%1\" konnte nicht "
                                                  "gespeichert werden.")
                                       .arg(ImTemp("fehlt/ZWD.cfg"))});
    EXPECT_TRUE(shell.Anfragen.empty()) << "kein Start ohne die Datei";
}

TEST_F(HilfeMenueTest, ProgrammInfoBeginntMitTitelUndZweck) {
    form->MenuHilfeProgrammInfo->trigger();
    const auto texte = dialoge.Texte(Art::Information);
    ASSERT_EQ(texte.size(), 1u);
    const QStringList zeilen = texte[0].split(u'\n');
    ASSERT_GE(zeilen.size(), 3);
    EXPECT_EQ(zeilen[0], QStringLiteral("Zeichenwandler V1.22"));
    EXPECT_EQ(zeilen[1], QStringLiteral("Umwandlung von bestimmten Zeichen eines Textes."));
    EXPECT_EQ(zeilen.last(), QStringLiteral("Erstellt mit C++ und Qt"));
    EXPECT_TRUE(texte[0].contains(MailAdresse()));
    EXPECT_TRUE(texte[0].contains(HomepageAdresse()));
    EXPECT_TRUE(shell.Anfragen.empty());
}

TEST_F(HilfeMenueTest, WebUndMailGehenAnDenDesktop) {
    form->MenuHilfeHomepage->trigger();
    form->MenuHilfeSpenden->trigger();
    form->MenuHilfeMail->trigger();
    ASSERT_EQ(shell.Anfragen.size(), 3u);
    for (const ShellAnfrage& a : shell.Anfragen) {
        EXPECT_EQ(a.art, ShellAnfrage::Adresse);
        EXPECT_TRUE(a.argumente.isEmpty());
    }
    EXPECT_EQ(shell.Anfragen[0].ziel, HomepageAdresse());
    // The donation page lies on the same site, beside the home page.
    const QUrl heim(HomepageAdresse()), spenden(shell.Anfragen[1].ziel);
    EXPECT_EQ(spenden.host(), heim.host());
    EXPECT_EQ(spenden.fileName(), QStringLiteral("spenden.htm"));
    EXPECT_EQ(shell.Anfragen[2].ziel, QStringLiteral("mailto:") + MailAdresse() +
                                          QStringLiteral("?subject=Zeichenwandler V1.22"));
}

TEST_F(HilfeMenueTest, SpendenseiteLiegtImOrdnerDerHomepage) {
    // The address rule itself, for the forms a build may set.
    struct Fall {
        QString heim, spenden;
    };
    for (const Fall& f :
         {Fall{"https://a.example/", "https://a.example/spenden.htm"},
          Fall{"https://a.example/zw/", "https://a.example/zw/spenden.htm"},
          Fall{"https://a.example/zw/index.htm", "https://a.example/zw/spenden.htm"}})
        EXPECT_EQ(QUrl(f.heim).resolved(QUrl(QStringLiteral("spenden.htm"))).toString(), f.spenden);
    EXPECT_EQ(SpendenAdresse(),
              QUrl(HomepageAdresse()).resolved(QUrl(QStringLiteral("spenden.htm"))).toString());
}

TEST_F(HilfeMenueTest, AenderungenOeffnenDieHistoryImTextbetrachter) {
    Anlegen(ImProgramm("History.txt"));
    MenueOeffnen();
    form->MenuHilfeHistory->trigger();
    EXPECT_EQ(shell.Anfragen,
              (std::vector<ShellAnfrage>{{ShellAnfrage::Datei, ImProgramm("History.txt"), {}}}));
}

TEST_F(HilfeMenueTest, HilfeOhneDateiMeldetDenPfad) {
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(
        dialoge.Texte(Art::Information),
        std::vector<QString>{
            QStringLiteral("Die Hilfe-Datei \"%1\" existiert nicht!").arg(ImProgramm("ZWD.hlp"))});
    EXPECT_TRUE(form->findChildren<THilfeForm*>().isEmpty());
}

TEST_F(HilfeMenueTest, SchriftAusDerHilfeGiltDanachImHauptfenster) {
    Anlegen(ImProgramm("ZWD.hlp"), "{\\rtf1 {\\b Hilfe}\\par}");
    bool gesehen = false;
    BeimNaechstenModalFenster([&](QWidget* w) {
        auto* h = qobject_cast<THilfeForm*>(w);
        ASSERT_NE(h, nullptr);
        gesehen = true;
        EXPECT_EQ(h->parentWidget(), form.get());
        EXPECT_TRUE(h->Formatiert());
        h->FontDialog1 = [](TSchrift& s) {
            s.Name = u"DejaVu Serif";
            s.Groesse = 19;
            return true;
        };
        h->MenuSchriftartWechseln->trigger();
        h->close();
    });
    form->MenuHilfeHilfe->trigger();
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(form->ProgrammSchrift.Name, u"DejaVu Serif");
    EXPECT_EQ(form->ProgrammSchrift.Groesse, 19);
    EXPECT_EQ(form->RichEdit->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(form->RichEdit->font().pointSize(), 19);
}
