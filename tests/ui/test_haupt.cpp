// The main window driven through its commands, with its dialogs answered
// from a script.
#include "FensterTest.h"

#include "core/Tabelle.h"
#include "platform/Pfad.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>

#include <functional>

#include <unistd.h>

#include "core/Rtf.h"

using namespace zw;
using namespace zwtest;

namespace {

const QString Titel = QStringLiteral(" - Zeichenwandler V1.22");

// A file that exists but cannot be read: without permission, or for root,
// who reads everything, a file of the kernel that fails every read.
QString UnlesbareDatei(const QString& pfad) {
    if (geteuid() != 0) {
        QFile(pfad).setPermissions(QFileDevice::Permissions());
        return pfad;
    }
    return QStringLiteral("/proc/self/mem");
}

} // namespace

// ---------------------------------------------------------------------------
// The state table, row by row.

// Each row in a fresh window.
class Zustandstabelle;
struct ZustandsZeile {
    const char* situation;
    void (*herbei)(Zustandstabelle&);
    Zustand erwartet;
    friend void PrintTo(const ZustandsZeile& z, std::ostream* os) { *os << z.situation; }
};

class Zustandstabelle : public FensterTest, public testing::WithParamInterface<ZustandsZeile> {
public:
    static std::vector<ZustandsZeile> Zeilen() {
        return {
            {"FensterErzeugt",
             [](Zustandstabelle&) {},
             {false, false, false, false, false, "ButtonOpen", HinweisO}},
            {"GeoeffnetTabelleMitEintraegen",
             [](Zustandstabelle& t) {
                 t.form->ButtonOpen->setFocus();
                 t.Oeffnen(t.brief);
             },
             // The open command hands the focus back to the button it came from.
             {false, true, false, true, false, "ButtonOpen", HinweisK}},
            {"GeoeffnetNachdemSpeichernDenFokusHatte",
             [](Zustandstabelle& t) {
                 t.Oeffnen(t.brief);
                 t.Konvertieren();
                 t.dialoge.Antwortet(Antwort::Nein);
                 t.Oeffnen(t.brief);
             },
             // Save is disabled again, so the focus the setter gave stays.
             {false, true, false, true, false, "ButtonKonvertieren", HinweisK}},
            {"GeoeffnetOhneTabellenDatei",
             [](Zustandstabelle& t) {
                 t.OhneTabelle();
                 t.form->ButtonOpen->setFocus();
                 t.Oeffnen(t.brief);
             },
             {false, true, false, false, false, "ButtonOpen", HinweisT}},
            {"GeoeffnetTabelleOhneEintraege",
             [](Zustandstabelle& t) {
                 t.form->TabListe.clear();
                 t.TabelleSetzen(t.leereTabelle);
                 t.form->RichEdit->setFocus();
                 t.Oeffnen(t.brief);
             },
             {false, true, false, false, false, "RichEdit", HinweisT}},
            {"KonvertiertZeichenErsetzt",
             [](Zustandstabelle& t) {
                 t.Oeffnen(t.brief);
                 t.Konvertieren();
             },
             {true, true, true, false, true, "ButtonSpeichern", HinweisS}},
            {"KonvertiertNichtsErsetzt",
             [](Zustandstabelle& t) {
                 t.Oeffnen(t.Datei("ohne.txt", "Wiese\r\n"));
                 t.Konvertieren();
             },
             {true, true, false, false, false, "ButtonOpen", HinweisO}},
            {"Gespeichert",
             [](Zustandstabelle& t) {
                 t.Oeffnen(t.brief);
                 t.Konvertieren();
                 t.Speichern();
             },
             {true, false, false, false, false, "ButtonOpen", HinweisO}},
        };
    }
};

TEST_P(Zustandstabelle, Zeile) {
    GetParam().herbei(*this);
    EXPECT_EQ(Lesen(), GetParam().erwartet);
}

INSTANTIATE_TEST_SUITE_P(Fenster, Zustandstabelle, testing::ValuesIn(Zustandstabelle::Zeilen()),
                         [](const auto& info) { return std::string(info.param.situation); });

TEST_F(FensterTest, StartZeigtKeinNameUndNurDieImmerVerfuegbarenBefehle) {
    EXPECT_EQ(form->windowTitle(), "KeinName" + Titel);
    EXPECT_EQ(form->DateiStr, "KeinName");
    EXPECT_EQ(qApp->applicationDisplayName(), "Zeichenwandler V1.22");

    struct Befehl {
        QAction* aktion;
        bool an;
    };
    const Befehl befehle[] = {
        {form->MenuDateiOeffnen, true},
        {form->MenuDateiSpeichern, false},
        {form->MenuDateiSpeichernUnter, false},
        {form->MenuDateiDrucken, false},
        {form->MenuDateiBeenden, true},
        {form->MenuBearbeitenKonvertieren, false},
        {form->MenuBearbeitenSuchen, false},
        {form->MenuBearbeitenWeiterSuchen, false},
        {form->MenuBearbeitenAllesMarkieren, false},
        {form->MenuBearbeitenKopieren, false},
        {form->MenuTabelleWechseln, true},
        {form->MenuTabelleBearbeiten, true}, // the table file exists
        {form->MenuDruckerLokal, true},
        {form->MenuDruckerNetzwerk, true},
        {form->MenuAnsSchriftart, true},
        {form->MenuAnsHintergrund, true},
        {form->MenuHilfeHilfe, true},
        {form->MenuHilfeProgrammInfo, true},
        {form->MenuHilfeHomepage, true},
        {form->MenuHilfeMail, true},
        {form->MenuHilfeSpenden, true},
        {form->RePopupSchriftart, true},
        {form->RePopupKopieren, false},
        {form->RePopupAllesMarkieren, false},
    };
    for (const auto& b : befehle)
        EXPECT_EQ(b.aktion->isEnabled(), b.an) << b.aktion->objectName().toStdString();
    for (QPushButton* k : {form->ButtonKonvertieren, form->ButtonSpeichern, form->ButtonSuchen,
                           form->ButtonWeiterSuchen, form->ButtonDrucken})
        EXPECT_FALSE(k->isEnabled()) << k->objectName().toStdString();
    EXPECT_TRUE(form->ButtonOpen->isEnabled());
}

TEST_F(FensterTest, JederKnopfIstDasGesichtSeinesMenuebefehls) {
    // A button is switched with its menu command and runs it through the
    // command, so the two can never disagree.
    struct Paar {
        QPushButton* knopf;
        QAction* aktion;
    };
    const Paar paare[] = {
        {form->ButtonOpen, form->MenuDateiOeffnen},
        {form->ButtonKonvertieren, form->MenuBearbeitenKonvertieren},
        {form->ButtonSpeichern, form->MenuDateiSpeichern},
        {form->ButtonSuchen, form->MenuBearbeitenSuchen},
        {form->ButtonWeiterSuchen, form->MenuBearbeitenWeiterSuchen},
        {form->ButtonDrucken, form->MenuDateiDrucken},
    };
    for (const Paar& p : paare) {
        SCOPED_TRACE(p.knopf->objectName().toStdString());
        const bool vorher = p.aktion->isEnabled();
        for (bool an : {true, false}) {
            p.aktion->setEnabled(an);
            EXPECT_EQ(p.knopf->isEnabled(), an);
        }
        p.aktion->setEnabled(true);
        int ausgeloest = 0;
        const auto verbindung =
            QObject::connect(p.aktion, &QAction::triggered, [&ausgeloest] { ++ausgeloest; });
        // Only the trigger is looked at, not what the command does.
        QObject::disconnect(p.aktion, &QAction::triggered, form.get(), nullptr);
        p.knopf->click();
        EXPECT_EQ(ausgeloest, 1);
        QObject::disconnect(verbindung);
        p.aktion->setEnabled(vorher);
    }
}

TEST_F(FensterTest, StartLiestDieTabelleNebenDemProgramm) {
    // A new window reads its table when it is first shown.
    SkriptDialoge andere;
    TForm1 neu(andere);
    EXPECT_TRUE(neu.TabDateiStr.isEmpty());
    neu.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&neu));
    EXPECT_EQ(neu.TabDateiStr,
              QDir(QCoreApplication::applicationDirPath()).filePath("Eng-Ger.tab"));
    ASSERT_TRUE(neu.TabDateiS) << "data/Eng-Ger.tab liegt nicht neben dem Programm";
    TTabListe erwartet;
    TabDateiAuswerten(AlsPfad(neu.TabDateiStr), erwartet);
    EXPECT_EQ(neu.TabListe, erwartet);
    EXPECT_FALSE(erwartet.empty());
    EXPECT_EQ(neu.LabelTabDatei->text(), "Tabellen-Datei: Eng-Ger.tab");
    EXPECT_EQ(neu.LabelTabEintraege->text(),
              "Tabellen-Einträge: " + QString::number(erwartet.size()));
    EXPECT_TRUE(neu.MenuTabelleBearbeiten->isEnabled());
    EXPECT_TRUE(andere.Aufrufe.empty());
}

// ---------------------------------------------------------------------------
// Open.

TEST_F(FensterTest, OeffnenZeigtDenTextUndSchaltetDieBefehle) {
    Oeffnen(brief);
    ASSERT_EQ(dialoge.Arten(), std::vector<Art>{Art::Datei}); // nothing to save: no question
    EXPECT_EQ(dialoge.Aufrufe[0].dialog.Titel, "Öffnen");
    EXPECT_EQ(dialoge.Aufrufe[0].dialog.FilterIndex, 2);
    EXPECT_EQ(dialoge.Aufrufe[0].dialog.StandardEndung, "TXT");
    EXPECT_TRUE(dialoge.Aufrufe[0].dialog.Ordner.isEmpty()); // KeinName has no folder
    EXPECT_EQ(Text(), u"Haus am See\r\n");
    EXPECT_EQ(form->DateiStr, brief);
    EXPECT_EQ(form->windowTitle(), "brief.txt" + Titel);
    EXPECT_EQ(form->FileType, tfText);
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 2);
    for (QAction* a : {form->MenuDateiDrucken, form->MenuBearbeitenSuchen,
                       form->MenuBearbeitenAllesMarkieren, form->RePopupAllesMarkieren})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(form->ButtonDrucken->isEnabled());
    EXPECT_TRUE(form->ButtonSuchen->isEnabled());
    EXPECT_FALSE(form->ButtonWeiterSuchen->isEnabled()); // the search switches it

    // The next open starts in the document's folder with no file name.
    dialoge.DateiBricht();
    form->MenuDateiOeffnen->trigger();
    EXPECT_EQ(QDir(dialoge.Aufrufe.back().dialog.Ordner), QDir(Pfad("")));
    EXPECT_TRUE(dialoge.Aufrufe.back().dialog.DateiName.isEmpty());
}

TEST_F(FensterTest, OeffnenAbgebrochenFragtNichtsUndAendertNichts) {
    Oeffnen(brief);
    Konvertieren();
    const Zustand vorher = Lesen();
    const auto text = Text();
    dialoge.Vergessen();

    dialoge.DateiBricht();
    form->MenuDateiOeffnen->trigger();
    EXPECT_EQ(dialoge.Arten(), std::vector<Art>{Art::Datei});
    EXPECT_EQ(Lesen(), vorher);
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(form->DateiStr, brief);
}

TEST_F(FensterTest, DieTypenDesGeoeffnetenDokumentsWaehlenDenSpeicherFilter) {
    struct Fall {
        const char* name;
        std::string bytes;
        TTextFileType typ;
        int index;
    } faelle[] = {
        {"ansi.txt", "Wiese\r\n", tfText, 2},
        {"utf8.txt", "\xEF\xBB\xBFWiese\r\n", tfText, 2}, // no UTF-8 entry: saved as ANSI
        {"utf16.txt", std::string("\xFF\xFEW\0i\0", 6), tfUnicode, 3},
        {"alt16.txt", std::string("\xFF\xFE\0\0", 4), tfUnicode, 3},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        Oeffnen(Datei(f.name, f.bytes));
        EXPECT_EQ(form->FileType, f.typ);
        EXPECT_EQ(form->DialogSpeichern.FilterIndex, f.index);
        EXPECT_EQ(form->windowTitle(), f.name + Titel);
    }
}

// Each answer in a fresh window.
struct SpeicherFall {
    const char* name;
    Antwort antwort;
    bool altGeschrieben;
    bool neuGeladen;
    friend void PrintTo(const SpeicherFall& f, std::ostream* os) { *os << f.name; }
};

class SpeicherfrageBeimOeffnen : public FensterTest,
                                 public testing::WithParamInterface<SpeicherFall> {};

TEST_P(SpeicherfrageBeimOeffnen, KommtNachDemDialogUndNenntDasAlteDokument) {
    const SpeicherFall& f = GetParam();
    const QString alt = Datei("alt.txt", "Haus\r\n");
    const QString neu = Datei("neu.txt", "Neu\r\n");
    Oeffnen(alt);
    Konvertieren();
    ASSERT_EQ(Text(), u"Hbus\r\n");
    dialoge.Vergessen();

    dialoge.Antwortet(f.antwort);
    Oeffnen(neu);
    ASSERT_EQ(dialoge.Arten(), (std::vector<Art>{Art::Datei, Art::Bestaetigung}));
    EXPECT_EQ(dialoge.Aufrufe[1].text, "Änderungen in \"alt.txt\" speichern?");
    EXPECT_EQ(zwtest::Lesen(alt), f.altGeschrieben ? "Hbus\r\n" : "Haus\r\n");
    EXPECT_EQ(Text(), f.neuGeladen ? u"Neu\r\n" : u"Hbus\r\n");
    EXPECT_EQ(form->DateiStr, f.neuGeladen ? neu : alt);
    EXPECT_EQ(form->TextGeaendertS(), !f.neuGeladen);
    if (f.neuGeladen) {
        // The old save button cannot take the focus back.
        EXPECT_FALSE(form->ButtonSpeichern->isEnabled());
        EXPECT_EQ(Fokus(), "ButtonKonvertieren");
    } else {
        EXPECT_EQ(Fokus(), "ButtonSpeichern");
    }
}

INSTANTIATE_TEST_SUITE_P(Fenster, SpeicherfrageBeimOeffnen,
                         testing::Values(SpeicherFall{"Abbrechen", Antwort::Abbrechen, false,
                                                      false},
                                         SpeicherFall{"Ja", Antwort::Ja, true, true},
                                         SpeicherFall{"Nein", Antwort::Nein, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FensterTest, LeeresDokument) {
    Oeffnen(Datei("leer.txt", ""));
    EXPECT_TRUE(form->ButtonDrucken->isEnabled());
    EXPECT_TRUE(form->ButtonSuchen->isEnabled());
    EXPECT_FALSE(form->MenuBearbeitenAllesMarkieren->isEnabled());
    EXPECT_FALSE(form->RePopupAllesMarkieren->isEnabled());
    EXPECT_TRUE(form->ButtonKonvertieren->isEnabled());
    dialoge.Vergessen();

    Konvertieren();
    EXPECT_EQ(dialoge.Texte(Art::Information), std::vector<QString>{"0 Zeichen wurden ersetzt"});
    EXPECT_TRUE(Text().empty());
    EXPECT_EQ(Lesen(), (Zustand{true, true, false, false, false, "ButtonOpen", HinweisO}));

    // Select-all follows the last opened text.
    Oeffnen(brief);
    EXPECT_TRUE(form->MenuBearbeitenAllesMarkieren->isEnabled());
    Oeffnen(Datei("leer.txt", ""));
    EXPECT_FALSE(form->MenuBearbeitenAllesMarkieren->isEnabled());
}

// ---------------------------------------------------------------------------
// Conversion.

TEST_F(FensterTest, KonvertierungErsetztMeldetUndSchreibtDenTextZurueck) {
    Oeffnen(Datei("viel.txt", "Haus am Bach, B\xE4r\r\n"));
    dialoge.Vergessen();
    form->MenuBearbeitenKonvertieren->trigger();
    EXPECT_EQ(Text(), u"Hbus bm Bbch, B{r\r\n");
    EXPECT_EQ(dialoge.Texte(Art::Information), std::vector<QString>{"4 Zeichen wurden ersetzt"});
    EXPECT_TRUE(form->RichEdit->updatesEnabled());
    // Converted: the command stays off until a document is opened.
    EXPECT_FALSE(form->ButtonKonvertieren->isEnabled());
    form->MenuBearbeitenKonvertieren->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Information).size(), 1u);
}

TEST_F(FensterTest, GrosseZahlenWerdenGruppiert) {
    std::string zeilen;
    for (int i = 0; i < 1234; ++i)
        zeilen += std::to_string(1000 + i) + " " + std::to_string(2000 + i) + "\r\n";
    TabelleSetzen(Datei("gross.tab", zeilen));
    EXPECT_EQ(form->LabelTabEintraege->text(), "Tabellen-Einträge: 1.234");

    TabelleSetzen(abTabelle);
    Oeffnen(Datei("as.txt", std::string(2000, 'a') + "\r\n"));
    dialoge.Vergessen();
    Konvertieren();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{"2.000 Zeichen wurden ersetzt"});
}

// ---------------------------------------------------------------------------
// Table.

TEST_F(FensterTest, TabellenLabelsUndGeloeschteTabellenDatei) {
    EXPECT_EQ(form->LabelTabDatei->text(), "Tabellen-Datei: ab.tab");
    EXPECT_EQ(form->LabelTabEintraege->text(), "Tabellen-Einträge: 2");
    EXPECT_TRUE(form->MenuTabelleBearbeiten->isEnabled());

    QFile::remove(abTabelle);
    form->TabListeEinlesen();
    EXPECT_FALSE(form->TabDateiS);
    EXPECT_EQ(form->LabelTabDatei->text(), "Tabellen-Datei: (Keine ausgewählt!)");
    // The entries read before stay, and so does their count.
    EXPECT_EQ(form->TabListe.size(), 2u);
    EXPECT_EQ(form->LabelTabEintraege->text(), "Tabellen-Einträge: 2");
    EXPECT_FALSE(form->MenuTabelleBearbeiten->isEnabled());
    // A table that is not there offers no conversion, entries or not.
    Oeffnen(brief);
    EXPECT_FALSE(form->ButtonKonvertieren->isEnabled());
    EXPECT_EQ(form->StatusHinweis(), HinweisT);

    OhneTabelle();
    EXPECT_EQ(form->LabelTabEintraege->text(), "Tabellen-Einträge: 0");
}

TEST_F(FensterTest, TabellenWechselMeldetUndStartetImOrdnerDerTabelle) {
    const QString andere = Datei("andere.tab", "97 99\r\n");
    TabelleWechseln(andere);
    ASSERT_EQ(dialoge.Arten(), (std::vector<Art>{Art::Datei, Art::Information}));
    const DateiDialog& d = dialoge.Aufrufe[0].dialog;
    EXPECT_EQ(d.Titel, "Tabelle wechseln");
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_EQ(d.StandardEndung, "TAB");
    EXPECT_EQ(QDir(d.Ordner), QDir(Pfad("")));
    EXPECT_EQ(d.DateiName, "ab.tab");
    EXPECT_EQ(dialoge.Aufrufe[1].text, "Die Tabellen-Datei wurde geändert");
    EXPECT_EQ(form->TabDateiStr, andere);
    EXPECT_EQ(form->LabelTabDatei->text(), "Tabellen-Datei: andere.tab");
    EXPECT_EQ(form->LabelTabEintraege->text(), "Tabellen-Einträge: 1");

    // Without a table file the dialog starts where the user left it.
    QFile::remove(andere);
    form->TabListeEinlesen();
    dialoge.Vergessen();
    dialoge.DateiBricht();
    form->MenuTabelleWechseln->trigger();
    EXPECT_EQ(dialoge.Aufrufe[0].dialog.DateiName, andere);
    EXPECT_EQ(dialoge.Arten(), std::vector<Art>{Art::Datei});
}

TEST_F(FensterTest, KlickAufDasTabellenLabelWechseltDieTabelle) {
    EXPECT_EQ(form->LabelTabDatei->toolTip(), "Hier können Sie die Tabellen-Datei wählen");
    dialoge.DateiBricht();
    QTest::mouseClick(form->LabelTabDatei, Qt::LeftButton);
    ASSERT_EQ(dialoge.Arten(), std::vector<Art>{Art::Datei});
    EXPECT_EQ(dialoge.Aufrufe[0].text, "Tabelle wechseln");
}

TEST_F(FensterTest, TabellenWechselSchaltetDieKonvertierung) {
    // No usable table at opening; a table with entries switches it on.
    OhneTabelle();
    Oeffnen(brief);
    ASSERT_FALSE(form->ButtonKonvertieren->isEnabled());
    form->ButtonOpen->setFocus();
    TabelleWechseln(abTabelle);
    EXPECT_TRUE(form->ButtonKonvertieren->isEnabled());
    EXPECT_TRUE(form->MenuBearbeitenKonvertieren->isEnabled());
    EXPECT_EQ(form->StatusHinweis(), HinweisK);
    EXPECT_EQ(Fokus(), "ButtonOpen"); // had the focus before the dialog

    // A table without valid lines switches it off again.
    form->ButtonKonvertieren->setFocus();
    dialoge.Vergessen();
    TabelleWechseln(leereTabelle);
    EXPECT_EQ(dialoge.Texte(Art::Information),
              (std::vector<QString>{"Die Tabellen-Datei wurde geändert",
                                    "Kein gültiger Tabelleneintrag gefunden!"}));
    EXPECT_FALSE(form->ButtonKonvertieren->isEnabled());
    EXPECT_FALSE(form->MenuBearbeitenKonvertieren->isEnabled());
    EXPECT_EQ(form->StatusHinweis(), HinweisT);
    EXPECT_EQ(Fokus(), "ButtonOpen");
}

TEST_F(FensterTest, NachNichtsErsetztSchaltetEineAndereTabelleDieKonvertierungWiederAn) {
    Oeffnen(Datei("wiese.txt", "Wiese\r\n"));
    Konvertieren();
    ASSERT_FALSE(form->ButtonKonvertieren->isEnabled());
    TabelleWechseln(Datei("e.tab", "101 69\r\n"));
    ASSERT_TRUE(form->ButtonKonvertieren->isEnabled());
    EXPECT_TRUE(form->KonvertiertS());
    Konvertieren();
    EXPECT_EQ(Text(), u"WiEsE\r\n");
    EXPECT_TRUE(form->TextGeaendertS());
}

TEST_F(FensterTest, UngespeicherteKonvertierungBleibtBeimTabellenWechselAus) {
    // Converting twice would convert the converted text: with unsaved
    // changes a new table does not offer the conversion again.
    Oeffnen(brief);
    Konvertieren();
    ASSERT_TRUE(form->ButtonSpeichern->isEnabled());
    TabelleWechseln(Datei("e.tab", "101 69\r\n"));
    EXPECT_FALSE(form->ButtonKonvertieren->isEnabled());
    EXPECT_FALSE(form->MenuBearbeitenKonvertieren->isEnabled());
    EXPECT_EQ(form->StatusHinweis(), HinweisS);
}

TEST_F(FensterTest, NachDemSpeichernBleibtDieKonvertierungAusAuchNachTabellenWechsel) {
    Oeffnen(brief);
    Konvertieren();
    Speichern();
    EXPECT_EQ(zwtest::Lesen(brief), "Hbus bm See\r\n"); // to the path it came from
    TabelleWechseln(Datei("e.tab", "101 69\r\n"));
    EXPECT_FALSE(form->ButtonKonvertieren->isEnabled());
    EXPECT_EQ(form->StatusHinweis(), HinweisO);
    // Until a document is opened.
    Oeffnen(brief);
    EXPECT_TRUE(form->ButtonKonvertieren->isEnabled());
}

// ---------------------------------------------------------------------------
// Save and save as.

TEST_F(FensterTest, Utf8DokumentWirdAlsAnsiUndDannAlsUnicodeGespeichert) {
    const std::string utf8 = "\xEF\xBB\xBFHaus \xC3\xBC\r\n"; // "Haus ü"
    const QString dok = Datei("utf8.txt", utf8);
    Oeffnen(dok);
    Konvertieren();
    Speichern();
    EXPECT_EQ(zwtest::Lesen(dok), "Hbus \xFC\r\n"); // ANSI, no mark

    // Save as Unicode writes UTF-16, and that document's next plain save
    // keeps the type.
    Datei("utf8.txt", utf8);
    Oeffnen(dok);
    Konvertieren();
    const QString unicode = Pfad("unicode.txt");
    SpeichernUnter(unicode, 3);
    EXPECT_EQ(zwtest::Lesen(unicode), std::string("\xFF\xFEH\0b\0u\0s\0 \0\xFC\0\r\0\n\0", 18));
    EXPECT_EQ(form->DateiStr, unicode);
    EXPECT_EQ(form->windowTitle(), "unicode.txt" + Titel);
    EXPECT_EQ(form->FileType, tfUnicode);
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 3);

    TabelleWechseln(Datei("bc.tab", "98 99\r\n"));
    Oeffnen(unicode);
    Konvertieren();
    Speichern();
    EXPECT_EQ(zwtest::Lesen(unicode), std::string("\xFF\xFEH\0c\0u\0s\0 \0\xFC\0\r\0\n\0", 18));
}

TEST_F(FensterTest, SpeichernUnterStartetBeimDokumentUndNimmtDenGewaehltenTyp) {
    Oeffnen(brief);
    Konvertieren();
    const QString ziel = Pfad("brief16.txt");
    SpeichernUnter(ziel, 3);
    const DateiDialog& d = dialoge.Aufrufe.back().dialog;
    EXPECT_EQ(d.Titel, "Speichern unter");
    EXPECT_EQ(d.Art, DateiDialogArt::Speichern);
    EXPECT_EQ(QDir(d.Ordner), QDir(Pfad("")));
    EXPECT_EQ(d.DateiName, "brief.txt");
    EXPECT_EQ(d.FilterIndex, 2);
    TTextFileType typ;
    std::u16string text;
    TextDateiLaden(AlsPfad(ziel), typ, text);
    EXPECT_EQ(typ, tfUnicode);
    EXPECT_EQ(text, u"Hbus bm See\r\n");
    EXPECT_EQ(zwtest::Lesen(brief), "Haus am See\r\n");
    EXPECT_EQ(Lesen(), (Zustand{true, false, false, false, false, "ButtonOpen", HinweisO}));
}

TEST_F(FensterTest, RtfDokumentWirdAlsRtfGeoeffnetUndGespeichert) {
    const QString rtf = Datei("doku.rtf", "{\\rtf1\\ansi Haus\\par}");
    Oeffnen(rtf);
    EXPECT_EQ(form->FileType, tfRtf);
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 1);
    EXPECT_EQ(Text(), u"Haus\r\n");
    Konvertieren();
    Speichern();
    EXPECT_EQ(DateiTypErmitteln(AlsPfad(rtf)), tfRtf);
    TTextFileType typ;
    std::u16string text;
    TextDateiLaden(AlsPfad(rtf), typ, text);
    EXPECT_EQ(text, u"Hbus\r\n");

    // A bare text saved as rich text.
    Oeffnen(brief);
    Konvertieren();
    SpeichernUnter(Pfad("brief.rtf"), 1);
    EXPECT_EQ(DateiTypErmitteln(AlsPfad(Pfad("brief.rtf"))), tfRtf);
}

TEST_F(FensterTest, SpeichernUnterAbgebrochenAendertNichts) {
    Oeffnen(brief);
    Konvertieren();
    const Zustand vorher = Lesen();
    dialoge.DateiBricht();
    form->MenuDateiSpeichernUnter->trigger();
    EXPECT_EQ(Lesen(), vorher);
    EXPECT_EQ(form->DateiStr, brief);
    EXPECT_EQ(zwtest::Lesen(brief), "Haus am See\r\n");
}

// Braille characters have no place in the ANSI code page.
class AnsiVerlust : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        TabelleSetzen(Datei("braille.tab", "97 10241 a\r\n115 10254 s\r\n"));
        Oeffnen(brief);
        Konvertieren();
        ASSERT_EQ(Text(), u"H\u2801u\u280E \u2801m See\r\n");
        dialoge.Vergessen();
    }
    const QString frage = QStringLiteral("3 Zeichen können im Textdokument nicht dargestellt "
                                         "werden und werden durch \"?\" ersetzt. Trotzdem "
                                         "speichern?");
};

TEST_F(AnsiVerlust, NeinSchreibtNichtsUndSpeichernUnterUnicodeBleibt) {
    const Zustand vorher = Lesen();
    dialoge.Antwortet(Antwort::Nein);
    Speichern();
    EXPECT_EQ(dialoge.Texte(Art::JaNein), std::vector<QString>{frage});
    EXPECT_EQ(zwtest::Lesen(brief), "Haus am See\r\n");
    EXPECT_EQ(Lesen(), vorher);
    EXPECT_EQ(form->FileType, tfText);

    SpeichernUnter(brief, 3);
    EXPECT_EQ(dialoge.Texte(Art::JaNein).size(), 1u); // no loss, no question
    EXPECT_EQ(zwtest::Lesen(brief).substr(0, 6), std::string("\xFF\xFEH\0\x01\x28", 6));
    EXPECT_FALSE(form->TextGeaendertS());
}

TEST_F(AnsiVerlust, JaSchreibtFragezeichen) {
    dialoge.Antwortet(Antwort::Ja);
    Speichern();
    EXPECT_EQ(zwtest::Lesen(brief), "H?u? ?m See\r\n");
    EXPECT_FALSE(form->TextGeaendertS());
}

TEST_F(AnsiVerlust, NeinImSpeichernUnterLaesstNameTypUndDateiWieVorher) {
    const QString ziel = Pfad("ziel.txt");
    dialoge.Antwortet(Antwort::Nein);
    SpeichernUnter(ziel, 2);
    EXPECT_FALSE(QFile::exists(ziel));
    EXPECT_EQ(form->DateiStr, brief);
    EXPECT_EQ(form->windowTitle(), "brief.txt" + Titel);
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 2);
    EXPECT_TRUE(form->TextGeaendertS());

    // Also when the user picked the ANSI entry over the loaded Unicode one.
    form->DialogSpeichern.FilterIndex = 3;
    form->FileType = tfUnicode;
    dialoge.Antwortet(Antwort::Nein);
    SpeichernUnter(ziel, 2);
    EXPECT_FALSE(QFile::exists(ziel));
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 3);
    EXPECT_EQ(form->FileType, tfUnicode);
}

TEST_F(AnsiVerlust, NeinInDerFrageBeimSchliessenHaeltDasFensterOffen) {
    dialoge.Antwortet(Antwort::Ja);   // save changes?
    dialoge.Antwortet(Antwort::Nein); // lose characters?
    EXPECT_FALSE(form->close());
    EXPECT_EQ(dialoge.Arten(), (std::vector<Art>{Art::Bestaetigung, Art::JaNein}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->IsClosing);
    EXPECT_EQ(zwtest::Lesen(brief), "Haus am See\r\n");
    EXPECT_TRUE(form->TextGeaendertS());
}

TEST_F(AnsiVerlust, NeinInDerFrageBeimOeffnenBehaeltDenAltenText) {
    dialoge.Antwortet(Antwort::Ja);
    dialoge.Antwortet(Antwort::Nein);
    Oeffnen(Datei("neu.txt", "Neu\r\n"));
    EXPECT_EQ(Text(), u"H\u2801u\u280E \u2801m See\r\n");
    EXPECT_EQ(form->DateiStr, brief);
    EXPECT_TRUE(form->TextGeaendertS());
}

// ---------------------------------------------------------------------------
// Failures: the general error handler shows the file layer's text, the
// command ends, and the window goes on.

TEST_F(FensterTest, UnlesbaresDokumentLaesstAllesWieVorher) {
    Oeffnen(brief);
    Konvertieren();
    form->RichEdit->setFocus();
    const Zustand vorher = Lesen();
    const QString titel = form->windowTitle();
    dialoge.Vergessen();

    struct Fall {
        const char* name;
        QString pfad;
    } faelle[] = {
        {"verschwunden", Pfad("weg.txt")},
        {"unlesbar", UnlesbareDatei(Datei("gesperrt.txt", "x"))},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        dialoge.Vergessen();
        dialoge.Antwortet(Antwort::Nein);
        Oeffnen(f.pfad);
        ASSERT_EQ(dialoge.Arten(), (std::vector<Art>{Art::Datei, Art::Bestaetigung, Art::Fehler}));
        EXPECT_TRUE(
            dialoge.Aufrufe[2].text.startsWith("Datei " + f.pfad + " kann nicht geöffnet werden."))
            << dialoge.Aufrufe[2].text.toStdString();
        EXPECT_EQ(Text(), u"Hbus bm See\r\n");
        EXPECT_EQ(form->DateiStr, brief);
        EXPECT_EQ(form->windowTitle(), titel);
        EXPECT_EQ(form->FileType, tfText);
        // The focus comes back to where it was, also after the error.
        EXPECT_EQ(Lesen(), vorher);
    }
}

TEST_F(FensterTest, UnbeschreibbaresZielLaesstDieFlaggen) {
    Oeffnen(brief);
    Konvertieren();
    const Zustand vorher = Lesen();
    // A folder that is a file cannot hold anything, not even for root.
    const QString ziel = Datei("kein-ordner", "x") + "/neu.txt";

    SpeichernUnter(ziel, 2);
    ASSERT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
    EXPECT_TRUE(dialoge.Texte(Art::Fehler)[0].startsWith("Datei \"" + ziel +
                                                         "\" kann nicht erstellt werden."))
        << dialoge.Texte(Art::Fehler)[0].toStdString();
    EXPECT_EQ(Lesen(), vorher);
    // The name is already the new one, so a plain save retries it.
    EXPECT_EQ(form->DateiStr, ziel);
    EXPECT_EQ(form->windowTitle(), "neu.txt" + Titel);

    Speichern();
    EXPECT_EQ(dialoge.Texte(Art::Fehler).size(), 2u);
    EXPECT_EQ(Lesen(), vorher);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FensterTest, UnlesbareTabelleBeendetDenWechsel) {
    const QString gesperrt = UnlesbareDatei(Datei("gesperrt.tab", "97 98\r\n"));
    TabelleWechseln(gesperrt);
    ASSERT_EQ(dialoge.Arten(), (std::vector<Art>{Art::Datei, Art::Fehler}));
    EXPECT_TRUE(dialoge.Aufrufe[1].text.contains("kann nicht geöffnet werden"));
    // The label names the new file; entries, count and the edit command stay.
    EXPECT_EQ(form->LabelTabDatei->text(), "Tabellen-Datei: " + QFileInfo(gesperrt).fileName());
    EXPECT_EQ(form->TabListe.size(), 2u);
    EXPECT_EQ(form->LabelTabEintraege->text(), "Tabellen-Einträge: 2");
}

// ---------------------------------------------------------------------------
// Closing.

// Each case in a fresh window.
struct SchliessFall {
    const char* name;
    bool geaendert;
    Antwort antwort;
    bool zu;
    bool geschrieben;
    friend void PrintTo(const SchliessFall& f, std::ostream* os) { *os << f.name; }
};

class SchliessenFrage : public FensterTest, public testing::WithParamInterface<SchliessFall> {};

TEST_P(SchliessenFrage, NurBeiAenderungen) {
    const SchliessFall& f = GetParam();
    Oeffnen(brief);
    if (f.geaendert)
        Konvertieren();
    dialoge.Vergessen();
    if (f.antwort != Antwort::Keine)
        dialoge.Antwortet(f.antwort);
    form->MenuDateiBeenden->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Bestaetigung).size(), f.geaendert ? 1u : 0u);
    EXPECT_EQ(form->isVisible(), !f.zu);
    EXPECT_EQ(form->IsClosing, f.zu);
    EXPECT_EQ(zwtest::Lesen(brief), f.geschrieben ? "Hbus bm See\r\n" : "Haus am See\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Fenster, SchliessenFrage,
    testing::Values(SchliessFall{"OhneAenderungen", false, Antwort::Keine, true, false},
                    SchliessFall{"Abbrechen", true, Antwort::Abbrechen, false, false},
                    SchliessFall{"Nein", true, Antwort::Nein, true, false},
                    SchliessFall{"Ja", true, Antwort::Ja, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FensterTest, MisslingtDasSpeichernBeimSchliessenBleibtDasFensterOffen) {
    const QString dok = Datei("dok.txt", "Haus\r\n");
    Oeffnen(dok);
    Konvertieren();
    // By the time it is saved, a folder has taken the document's place.
    ASSERT_TRUE(QFile::remove(dok));
    ASSERT_TRUE(QDir().mkdir(dok));
    dialoge.Vergessen();
    dialoge.Antwortet(Antwort::Ja);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(dialoge.Arten(), (std::vector<Art>{Art::Bestaetigung, Art::Fehler}));
    EXPECT_TRUE(dialoge.Aufrufe[1].text.contains("kann nicht erstellt werden"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->IsClosing);
    EXPECT_TRUE(form->TextGeaendertS());
    EXPECT_TRUE(form->ButtonSpeichern->isEnabled());
}

// ---------------------------------------------------------------------------
// Text commands, keyboard, names.

TEST_F(FensterTest, AllesMarkierenUndKopieren) {
    // An ANSI file with a no-break space, which must reach the clipboard as it is.
    Oeffnen(Datei("zwei.txt", "eins\r\nzwei\xA0"
                              "drei\r\n"));
    EXPECT_FALSE(form->MenuBearbeitenKopieren->isEnabled());
    form->MenuBearbeitenAllesMarkieren->trigger();
    EXPECT_EQ(Fokus(), "RichEdit");
    EXPECT_EQ(form->RichEdit->AuswahlStart(), 0);
    EXPECT_EQ(form->RichEdit->AuswahlLaenge(), form->RichEdit->Laenge());
    EXPECT_TRUE(form->MenuBearbeitenKopieren->isEnabled());
    EXPECT_TRUE(form->RePopupKopieren->isEnabled());

    QGuiApplication::clipboard()->clear();
    form->RePopupKopieren->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("eins\nzwei\u00A0drei\n"));

    form->RichEdit->Markieren(2, 0);
    EXPECT_FALSE(form->MenuBearbeitenKopieren->isEnabled());
    EXPECT_FALSE(form->RePopupKopieren->isEnabled());

    form->RePopupAllesMarkieren->trigger();
    EXPECT_EQ(form->RichEdit->AuswahlLaenge(), form->RichEdit->Laenge());
}

TEST_F(FensterTest, KontextmenueMitTastaturUndMaus) {
    // From the keyboard (Shift+F10 or the Menu key) the menu opens at the
    // caret with its first available entry selected, so the arrow keys start
    // there and a screen reader speaks it; a right click selects nothing.
    Oeffnen(brief);
    struct Fall {
        const char* wie;
        std::function<void()> oeffnen;
        bool eintragGewaehlt;
    } faelle[] = {
        {"Umschalt+F10", [&] { QTest::keyClick(form->RichEdit, Qt::Key_F10, Qt::ShiftModifier); },
         true},
        {"Menütaste",
         [&] {
             // What the window system sends the focused control for the key.
             QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                 form->RichEdit->mapToGlobal(QPoint(1, 1)));
             QApplication::sendEvent(form->RichEdit, &e);
         },
         true},
        {"rechte Maustaste",
         [&] {
             const QPoint punkt(40, 30);
             QContextMenuEvent e(QContextMenuEvent::Mouse, punkt,
                                 form->RichEdit->viewport()->mapToGlobal(punkt));
             QApplication::sendEvent(form->RichEdit->viewport(), &e);
         },
         false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.wie);
        form->RichEdit->setFocus();
        ASSERT_FALSE(form->RePopup->isVisible());
        f.oeffnen();
        ASSERT_TRUE(form->RePopup->isVisible());
        EXPECT_EQ(form->RePopup->activeAction(),
                  f.eintragGewaehlt ? form->RePopupSchriftart : nullptr);
        if (f.eintragGewaehlt) {
            const QPoint caret =
                form->RichEdit->viewport()->mapToGlobal(form->RichEdit->cursorRect().center());
            // At the caret, which is at the start of the text; the menu keeps
            // to the screen.
            const int links = form->RePopup->screen()->availableGeometry().left();
            EXPECT_EQ(form->RePopup->pos(), QPoint(qMax(caret.x(), links), caret.y()));
        }
        // Escape closes it and the text has the focus again.
        QTest::keyClick(form->RePopup, Qt::Key_Escape);
        EXPECT_FALSE(form->RePopup->isVisible());
        EXPECT_EQ(Fokus(), "RichEdit");
    }
}

TEST_F(FensterTest, DerKursMitDerTastatur) {
    // Ctrl+O, Return on the conversion button, Ctrl+S: the shortcuts the
    // status hints name.
    form->ButtonKonvertieren->setFocus(); // disabled: the focus stays on Öffnen
    dialoge.DateiWaehlt(brief);
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(form->DateiStr, brief);
    EXPECT_EQ(form->StatusHinweis(), HinweisK);
    form->ButtonKonvertieren->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Text(), u"Hbus bm See\r\n");
    EXPECT_EQ(Fokus(), "ButtonSpeichern");
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(zwtest::Lesen(brief), "Hbus bm See\r\n");
    EXPECT_EQ(Fokus(), "ButtonOpen");

    dialoge.DateiBricht();
    QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(dialoge.Aufrufe.back().text, "Tabelle wechseln");
}

TEST_F(FensterTest, TabReihenfolge) {
    const QList<QWidget*> erwartet = {
        form->ButtonOpen,   form->ButtonKonvertieren, form->ButtonSpeichern, form->RichEdit,
        form->ButtonSuchen, form->ButtonWeiterSuchen, form->ButtonDrucken};
    QList<QWidget*> kette;
    QWidget* w = form->ButtonOpen;
    do {
        if (erwartet.contains(w))
            kette << w;
        w = w->nextInFocusChain();
    } while (w != form->ButtonOpen && kette.size() < erwartet.size());
    EXPECT_EQ(kette, erwartet);
    for (QWidget* l :
         {static_cast<QWidget*>(form->LabelTabDatei),
          static_cast<QWidget*>(form->LabelTabEintraege), static_cast<QWidget*>(form->StatusZeile)})
        EXPECT_EQ(l->focusPolicy(), Qt::NoFocus) << l->objectName().toStdString();
}

TEST_F(FensterTest, MenuesMitBeschriftungenUndKuerzeln) {
    struct Eintrag {
        QAction* aktion;
        const char* text;
        const char* kuerzel;
    } eintraege[] = {
        {form->MenuDateiOeffnen, "Ö&ffnen...", "Ctrl+O"},
        {form->MenuDateiSpeichern, "&Speichern", "Ctrl+S"},
        {form->MenuDateiSpeichernUnter, "Speichern &unter...", "Ctrl+U"},
        {form->MenuDateiDrucken, "&Drucken...", "Ctrl+P"},
        {form->MenuDateiBeenden, "&Beenden", "Alt+F4"},
        {form->MenuBearbeitenKonvertieren, "&Konvertierung starten", "Ctrl+K"},
        {form->MenuBearbeitenSuchen, "&Suchen...", "Ctrl+F"},
        {form->MenuBearbeitenWeiterSuchen, "&Weitersuchen", "F3"},
        {form->MenuBearbeitenAllesMarkieren, "Alles &markieren", "Ctrl+A"},
        {form->MenuBearbeitenKopieren, "&Kopieren", "Ctrl+C"},
        {form->MenuTabelleWechseln, "&Wechseln...", "Ctrl+T"},
        {form->MenuTabelleBearbeiten, "&Bearbeiten", "Ctrl+B"},
        {form->MenuDruckerLokal, "&Lokal...", "Ctrl+L"},
        {form->MenuDruckerNetzwerk, "&Netzwerk...", "Ctrl+N"},
        {form->MenuAnsSchriftart, "Schriftart...", ""},
        {form->MenuAnsHintergrund, "Schrift&hintergrund...", ""},
        {form->MenuHilfeHilfe, "&Hilfe", "F1"},
        {form->MenuHilfeProgrammInfo, "Programm-&Info", ""},
        {form->MenuHilfeHomepage, "Programm-Home&page...", ""},
        {form->MenuHilfeUpdate, "Programm-&Aktualisierung...", ""},
        {form->MenuHilfeHistory, "Programm-&Änderungen...", ""},
        {form->MenuHilfeMail, "&Mail an den Programmierer...", ""},
        {form->MenuHilfeSpenden, "&Spenden...", ""},
        {form->RePopupSchriftart, "&Schriftart...", ""},
        {form->RePopupKopieren, "&Kopieren", ""},
        {form->RePopupAllesMarkieren, "Alles &markieren", ""},
    };
    for (const auto& e : eintraege) {
        EXPECT_EQ(e.aktion->text(), QString::fromUtf8(e.text));
        EXPECT_EQ(e.aktion->shortcut().toString(QKeySequence::PortableText),
                  QString::fromUtf8(e.kuerzel))
            << e.text;
    }
    QStringList menues;
    for (QAction* a : form->menuBar()->actions())
        menues << a->text();
    EXPECT_EQ(menues,
              (QStringList{"&Datei", "&Bearbeiten", "&Tabelle", "Dr&ucker", "&Ansicht", "&Hilfe"}));
    EXPECT_EQ(form->MenuHilfe->actions().size(), 7);
    EXPECT_EQ(form->MenuHilfe->actions().first(), form->MenuHilfeHilfe);
}

TEST_F(FensterTest, KnoepfeUndStatusZeile) {
    struct Knopf {
        QPushButton* knopf;
        const char* text;
    } knoepfe[] = {
        {form->ButtonOpen, "Öffnen..."},
        {form->ButtonKonvertieren, "Konvertieren"},
        {form->ButtonSpeichern, "Speichern"},
        {form->ButtonSuchen, "Suchen..."},
        {form->ButtonWeiterSuchen, "Weitersuchen"},
        {form->ButtonDrucken, "Drucken..."},
    };
    for (const auto& k : knoepfe)
        EXPECT_EQ(k.knopf->text(), QString::fromUtf8(k.text));
    EXPECT_FALSE(form->StatusZeile->isSizeGripEnabled());
    EXPECT_TRUE(form->RichEdit->isReadOnly());
    EXPECT_FALSE(form->RichEdit->isUndoRedoEnabled());
}

TEST_F(FensterTest, HilfeMenueFolgtDenDateienNebenDemProgramm) {
    // The build puts History.txt beside the test program, but no updater.
    ASSERT_TRUE(QFile::exists(QDir(TForm1::ProgrammOrdner()).filePath("History.txt")));
    emit form->MenuHilfe->aboutToShow();
    EXPECT_TRUE(form->MenuHilfeHistory->isEnabled());
    EXPECT_FALSE(form->MenuHilfeUpdate->isVisible());
}

TEST_F(FensterTest, JedesSteuerelementHatEinenZugaenglichenNamen) {
    Oeffnen(brief); // labels and hint with their real texts
    QList<QWidget*> steuerelemente;
    for (QWidget* w : form->findChildren<QWidget*>())
        if (qobject_cast<QDialog*>(w->window())) // dialogs owned by the window test their own
            continue;
        else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) ||
                 qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QMenu*>(w) ||
                 qobject_cast<QMenuBar*>(w) || qobject_cast<QStatusBar*>(w))
            steuerelemente << w;
    EXPECT_GE(steuerelemente.size(), 19);
    for (QWidget* w : steuerelemente) {
        QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(zugang);
        EXPECT_FALSE(w->accessibleName().isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString() << " in "
            << (w->parentWidget() ? w->parentWidget()->metaObject()->className() : "");
        EXPECT_FALSE(zugang->text(QAccessible::Name).isEmpty()) << w->objectName().toStdString();
    }
    EXPECT_EQ(form->LabelTabDatei->accessibleName(), form->LabelTabDatei->text());
    EXPECT_EQ(form->LabelTabEintraege->accessibleName(), form->LabelTabEintraege->text());

    // Menu items are named by their captions without the access key.
    for (QMenu* m : form->findChildren<QMenu*>()) {
        if (m->actions().isEmpty()) // the menu bar's overflow, filled when needed
            continue;
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(m);
        ASSERT_TRUE(menu);
        int eintraege = 0;
        for (int i = 0; i < menu->childCount(); ++i) {
            QAccessibleInterface* kind = menu->child(i);
            if (kind->role() == QAccessible::Separator)
                continue;
            ++eintraege;
            EXPECT_FALSE(kind->text(QAccessible::Name).isEmpty()) << m->objectName().toStdString();
            EXPECT_FALSE(kind->text(QAccessible::Name).contains(u'&'));
        }
        EXPECT_GT(eintraege, 0) << m->objectName().toStdString();
    }
}
