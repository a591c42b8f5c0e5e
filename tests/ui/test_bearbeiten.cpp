// The table editor: loading, the template of a new table, open with its late
// save question, the four save types and the filter index they follow, the
// save question on closing, the commands that an empty text or a missing
// selection disables, failing reads and writes, and the main window's table
// edit command around it.
#include "FensterTest.h"
#include "ModalFenster.h"
#include "SkriptDialoge.h"

#include "core/MoFiles.h"
#include "core/Rtf.h"
#include "platform/Pfad.h"
#include "ui/BearbeitenDlg.h"
#include "ui/EditFeld.h"
#include "ui/Suchen.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

using namespace zw;
using namespace zwtest;

namespace {

const QString Titel = QStringLiteral(" - Tabelle bearbeiten");

// Types text as keys; a line end is the Return key.
void Eintippen(QWidget* feld, const QString& text) {
    const QStringList zeilen = text.split(u'\n');
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        if (i > 0)
            QTest::keyClick(feld, Qt::Key_Return);
        QTest::keyClicks(feld, zeilen[i]);
    }
}

class EditorTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ordner_.isValid());
        tabelle = Datei("Eng-Ger.tab", "97 98 a wird b\r\n");
    }
    void TearDown() override {
        EXPECT_TRUE(dialoge.AllesBeantwortet()) << "nicht alle Antworten wurden gebraucht";
    }

    QString Pfad(const QString& name) const { return ordner_.filePath(name); }
    QString Datei(const QString& name, const std::string& bytes) const {
        const QString pfad = Pfad(name);
        Schreiben(pfad, bytes);
        return pfad;
    }
    QString Datei(const QString& name, std::u16string_view text, TTextFileType typ) const {
        const QString pfad = Pfad(name);
        TextDateiSpeichern(AlsPfad(pfad), text, typ);
        return pfad;
    }

    TTabBearbeitenForm& Zeigen(const QString& pfad) {
        form = std::make_unique<TTabBearbeitenForm>(&eltern, dialoge, Pfad("programm"), schrift,
                                                    0xFFFFFF, pfad);
        form->SchriftartZuweisen();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    void Tippen(const QString& text) {
        form->RichEdit->setFocus();
        Eintippen(form->RichEdit, text);
    }
    void Oeffnen(const QString& pfad) {
        dialoge.DateiWaehlt(pfad);
        form->MenuTabelleOeffnen->trigger();
    }
    void SpeichernUnter(const QString& pfad, int filterIndex) {
        dialoge.DateiWaehlt(pfad, filterIndex);
        form->MenuTabelleSpeichernUnter->trigger();
    }
    std::u16string Text() const { return form->RichEdit->Text(); }
    bool Geaendert() const { return form->RichEdit->Geaendert(); }

    QWidget eltern;
    SkriptDialoge dialoge;
    TSchrift schrift;
    std::unique_ptr<TTabBearbeitenForm> form;
    QString tabelle;

private:
    QTemporaryDir ordner_;
};

} // namespace

TEST_F(EditorTest, ErzeugenLaedtDieTabelleUnveraendert) {
    TTabBearbeitenForm& e = Zeigen(tabelle);
    EXPECT_EQ(e.windowTitle(), QStringLiteral("Eng-Ger.tab") + Titel);
    EXPECT_EQ(e.TabDatei(), tabelle);
    EXPECT_EQ(Text(), u"97 98 a wird b\r\n");
    EXPECT_EQ(e.FileType, tfText);
    EXPECT_FALSE(Geaendert());
    for (QAction* a :
         {e.MenuTabelleSpeichern, e.MenuBearbeitenWeiterSuchen, e.MenuBearbeitenLoeschen,
          e.MenuBearbeitenKopieren, e.RePopupKopieren, e.MenuBearbeitenAusschneiden,
          e.RePopupAusschneiden, e.MenuBearbeitenRueckgaengig})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a : {e.MenuTabelleNeu, e.MenuTabelleOeffnen, e.MenuTabelleSpeichernUnter,
                       e.MenuTabelleBeenden, e.MenuBearbeitenSuchen, e.MenuBearbeitenAllesMarkieren,
                       e.RePopupAllesMarkieren, e.MenuHilfeHilfe, e.RePopupSchriftart})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    EXPECT_EQ(e.DialogOeffnen.Titel, QStringLiteral("Öffnen"));
    EXPECT_EQ(e.DialogOeffnen.Filter,
              QStringLiteral("Tabelle (*.TAB)|*.TAB|Rich Text Format (*.RTF)|*.RTF|Textdokument "
                             "(*.TXT)|*.TXT|Alle Dateien (*.*)|*.*|Word- und OpenDocument-Text "
                             "(*.DOCX; *.ODT)|*.DOCX;*.ODT|"));
    EXPECT_EQ(e.DialogSpeichern.Titel, QStringLiteral("Speichern unter"));
    EXPECT_EQ(e.DialogSpeichern.Filter,
              QStringLiteral("Tabelle (*.TAB)|*.TAB|Rich Text Format (*.RTF)|*.RTF|Textdokument "
                             "(*.TXT)|*.TXT|Unicode-Textdokument (*.TXT)|*.TXT|"));
    EXPECT_EQ(e.DialogOeffnen.StandardEndung, QStringLiteral("TAB"));
    EXPECT_EQ(e.DialogSpeichern.StandardEndung, QStringLiteral("TAB"));
    EXPECT_EQ(e.DialogOeffnen.FilterIndex, 1);
    EXPECT_EQ(e.DialogSpeichern.FilterIndex, 1);

    // The editor covers the screen from its top left corner, at a fixed size.
    EXPECT_EQ(e.frameGeometry(), e.screen()->geometry());
    EXPECT_EQ(e.minimumSize(), e.maximumSize());
}

TEST_F(EditorTest, VorlageHatFuenfZeilenMit251Zeichen) {
    EXPECT_EQ(TabellenVorlage.size(), 251u);
    std::size_t zeilen = 0;
    for (std::size_t p = 0; (p = TabellenVorlage.find(u"\r\n", p)) != std::u16string::npos; p += 2)
        ++zeilen;
    EXPECT_EQ(zeilen, 5u);
    EXPECT_TRUE(TabellenVorlage.ends_with(u"; Such-Dez., Ersetz-Dez., Kommentartext\r\n"));
}

TEST_F(EditorTest, NeuAufUnveraendertemText) {
    TTabBearbeitenForm& e = Zeigen(tabelle);
    e.MenuTabelleNeu->trigger();
    EXPECT_TRUE(dialoge.Aufrufe.empty()) << "keine Frage bei unverändertem Text";
    EXPECT_EQ(e.windowTitle(), QStringLiteral("NoName.tab") + Titel);
    EXPECT_EQ(e.TabDatei(), Pfad("NoName.tab"));
    EXPECT_EQ(Text(), TabellenVorlage);
    EXPECT_EQ(e.RichEdit->AuswahlStart(), e.RichEdit->Laenge()) << "Schreibmarke am Ende";
    EXPECT_EQ(e.RichEdit->AuswahlLaenge(), 0);
    EXPECT_FALSE(e.MenuTabelleSpeichern->isEnabled());

    // Ctrl+S does nothing until the user types.
    QTest::keyClick(e.RichEdit, Qt::Key_S, Qt::ControlModifier);
    e.Speichern();
    EXPECT_FALSE(QFileInfo::exists(Pfad("NoName.tab")));

    Tippen(QStringLiteral("65 66"));
    EXPECT_TRUE(e.MenuTabelleSpeichern->isEnabled());
    QTest::keyClick(e.RichEdit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(zwtest::Lesen(Pfad("NoName.tab")),
              QString::fromStdU16String(TabellenVorlage + u"65 66\r\n").toLatin1().toStdString())
        << "die letzte Zeile endet wie jede mit CR LF";
    EXPECT_FALSE(e.MenuTabelleSpeichern->isEnabled());
    EXPECT_TRUE(dialoge.Aufrufe.empty()) << "gespeichert ohne Dialog";
}

TEST_F(EditorTest, NeuNachUnicodeTabelleSpeichertNoNameAlsUtf16) {
    QDir().mkpath(Pfad("alt"));
    const QString unicode = Datei("alt/breit.tab", u"8364 69 € wird E\r\n", tfUnicode);
    Datei("alt/NoName.tab", "alter Inhalt");
    TTabBearbeitenForm& e = Zeigen(tabelle);
    Oeffnen(unicode);
    EXPECT_EQ(e.FileType, tfUnicode);
    EXPECT_EQ(e.DialogSpeichern.FilterIndex, 4);
    e.MenuTabelleNeu->trigger();
    Tippen(QStringLiteral("x"));
    e.MenuTabelleSpeichern->trigger();

    TTextFileType typ = tfError;
    std::u16string gelesen;
    TextDateiLaden(AlsPfad(Pfad("alt/NoName.tab")), typ, gelesen);
    EXPECT_EQ(typ, tfUnicode);
    EXPECT_EQ(gelesen, TabellenVorlage + u"x\r\n");
    EXPECT_EQ(zwtest::Lesen(Pfad("alt/NoName.tab")).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(dialoge.Arten(), std::vector<Art>{Art::Datei}) << "nur der Öffnen-Dialog";
}

TEST_F(EditorTest, OeffnenFragtErstNachDerWahl) {
    const QString andere = Datei("andere.tab", "65 66\r\n");
    struct Fall {
        const char* name;
        bool waehlt;
        Antwort antwort; // Keine: no question expected
        bool gelesen;
        bool gespeichert;
    };
    const std::vector<Fall> faelle = {
        {"Dialog abgebrochen", false, Antwort::Keine, false, false},
        {"Abbrechen", true, Antwort::Abbrechen, false, false},
        {"Nein", true, Antwort::Nein, true, false},
        {"Ja", true, Antwort::Ja, true, true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Datei("Eng-Ger.tab", "97 98 a wird b\r\n");
        TTabBearbeitenForm& e = Zeigen(tabelle);
        Tippen(QStringLiteral("x"));
        const std::u16string geaendert = Text();
        dialoge.Vergessen();
        if (f.waehlt)
            dialoge.DateiWaehlt(andere);
        else
            dialoge.DateiBricht();
        if (f.antwort != Antwort::Keine)
            dialoge.Antwortet(f.antwort);
        e.MenuTabelleOeffnen->trigger();

        const std::vector<Art> erwartet = f.antwort == Antwort::Keine
                                              ? std::vector<Art>{Art::Datei}
                                              : std::vector<Art>{Art::Datei, Art::Bestaetigung};
        EXPECT_EQ(dialoge.Arten(), erwartet);
        if (f.antwort != Antwort::Keine) {
            EXPECT_EQ(dialoge.Texte(Art::Bestaetigung)[0],
                      QStringLiteral("Änderungen in \"Eng-Ger.tab\" speichern?"));
        }
        EXPECT_EQ(dialoge.Aufrufe[0].dialog.Ordner, QFileInfo(tabelle).absolutePath());
        EXPECT_TRUE(dialoge.Aufrufe[0].dialog.DateiName.isEmpty());
        if (f.gelesen) {
            EXPECT_EQ(Text(), u"65 66\r\n");
            EXPECT_EQ(e.windowTitle(), QStringLiteral("andere.tab") + Titel);
            EXPECT_FALSE(Geaendert());
            EXPECT_FALSE(e.MenuTabelleSpeichern->isEnabled());
        } else {
            EXPECT_EQ(Text(), geaendert);
            EXPECT_EQ(e.windowTitle(), QStringLiteral("Eng-Ger.tab") + Titel);
            EXPECT_TRUE(Geaendert());
            EXPECT_TRUE(e.MenuTabelleSpeichern->isEnabled());
        }
        EXPECT_EQ(zwtest::Lesen(tabelle),
                  f.gespeichert ? "x97 98 a wird b\r\n" : "97 98 a wird b\r\n");
        EXPECT_EQ(QApplication::focusWidget(), e.RichEdit);
        form.reset();
    }
}

TEST_F(EditorTest, FilterIndexFolgtTypUndDenDreiZeichenDerEndung) {
    struct Fall {
        const char* name;
        QString datei;
        int index;
        TTextFileType typ;
    };
    const std::vector<Fall> faelle = {
        {"liste.tab", Datei("liste.tab", "1 2"), 1, tfText},
        {"liste.TABX", Datei("liste.TABX", "1 2"), 1, tfText},
        {"liste.txt", Datei("liste.txt", "1 2"), 3, tfText},
        {"liste.ta", Datei("liste.ta", "1 2"), 3, tfText},
        {"ohne Endung", Datei("liste", "1 2"), 3, tfText},
        {"UTF-8 .tab",
         Datei("utf8.tab", "\xEF\xBB\xBF"
                           "1 2"),
         1, tfText},
        {"UTF-8 .txt",
         Datei("utf8.txt", "\xEF\xBB\xBF"
                           "1 2"),
         3, tfText},
        {"UTF-16 .tab", Datei("breit.tab", u"1 2", tfUnicode), 4, tfUnicode},
        {"RTF .tab", Datei("reich.tab", "{\\rtf1 1 2}"), 2, tfRtf},
    };
    TTabBearbeitenForm& e = Zeigen(tabelle);
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        e.DialogSpeichern.FilterIndex = 0;
        Oeffnen(f.datei);
        EXPECT_EQ(e.DialogSpeichern.FilterIndex, f.index);
        EXPECT_EQ(e.FileType, f.typ);
    }
}

TEST_F(EditorTest, Utf8TabelleWirdAlsAnsiGespeichert) {
    const QString utf8 = Datei("utf8.tab", "\xEF\xBB\xBF"
                                           "228 062 \xC3\xA4 wird >\r\n");
    TTabBearbeitenForm& e = Zeigen(utf8);
    EXPECT_EQ(e.FileType, tfText) << "beim Zeigen umgestellt";
    EXPECT_EQ(e.DialogSpeichern.FilterIndex, 1);
    Tippen(QStringLiteral(";"));
    e.MenuTabelleSpeichern->trigger();
    EXPECT_EQ(zwtest::Lesen(utf8), ";228 062 \xE4 wird >\r\n");
}

TEST_F(EditorTest, SpeichernUnterSchreibtJeEintragSeinenTyp) {
    schrift.Name = u"DejaVu Sans Mono";
    struct Fall {
        int index;
        TTextFileType typ;
        const char* name;
    };
    const std::vector<Fall> faelle = {
        {1, tfText, "a.tab"}, {2, tfRtf, "b.rtf"}, {3, tfText, "c.txt"}, {4, tfUnicode, "d.txt"}};
    const std::u16string text = u"228 062 ä wird >\r\n";
    Datei("Eng-Ger.tab", text, tfText);
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        TTabBearbeitenForm& e = Zeigen(tabelle);
        // Written although nothing was changed.
        SpeichernUnter(Pfad(f.name), f.index);
        const Aufruf& dialog = dialoge.Aufrufe.back();
        EXPECT_EQ(dialog.dialog.Ordner, QFileInfo(tabelle).absolutePath());
        EXPECT_EQ(dialog.dialog.DateiName, QStringLiteral("Eng-Ger.tab"));
        EXPECT_EQ(e.FileType, f.typ);
        EXPECT_EQ(e.TabDatei(), Pfad(f.name));
        EXPECT_EQ(e.windowTitle(), QString::fromLatin1(f.name) + Titel);
        EXPECT_FALSE(e.MenuTabelleSpeichern->isEnabled());

        const std::string bytes = zwtest::Lesen(Pfad(f.name));
        EXPECT_EQ(DateiTypErmitteln(AlsPfad(Pfad(f.name))), f.typ);
        TTextFileType typ = tfError;
        std::u16string gelesen;
        TextDateiLaden(AlsPfad(Pfad(f.name)), typ, gelesen);
        EXPECT_EQ(gelesen, text);
        if (f.typ == tfRtf) {
            EXPECT_NE(bytes.find("DejaVu Sans Mono"), std::string::npos)
                << "in der Programmschrift";
        }
        if (f.typ == tfText) {
            EXPECT_EQ(bytes, "228 062 \xE4 wird >\r\n");
        }
        dialoge.Vergessen();
        form.reset();
    }
}

TEST_F(EditorTest, SchliessenFragtBeiAenderungen) {
    struct Fall {
        const char* name;
        Antwort antwort;
        bool offen;
        bool geschrieben;
    };
    const std::vector<Fall> faelle = {{"Abbrechen", Antwort::Abbrechen, true, false},
                                      {"Nein", Antwort::Nein, false, false},
                                      {"Ja", Antwort::Ja, false, true}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Datei("Eng-Ger.tab", "97 98 a wird b\r\n");
        TTabBearbeitenForm& e = Zeigen(tabelle);
        Tippen(QStringLiteral("1 2\n"));
        dialoge.Antwortet(f.antwort);
        e.MenuTabelleBeenden->trigger();
        EXPECT_EQ(dialoge.Texte(Art::Bestaetigung),
                  std::vector<QString>{QStringLiteral("Änderungen in \"Eng-Ger.tab\" speichern?")});
        EXPECT_EQ(e.isVisible(), f.offen);
        EXPECT_EQ(zwtest::Lesen(tabelle),
                  f.geschrieben ? "1 2\r\n97 98 a wird b\r\n" : "97 98 a wird b\r\n");
        dialoge.Vergessen();
        form.reset();
    }

    // Unchanged: closes without a question, also from the close box.
    TTabBearbeitenForm& e = Zeigen(tabelle);
    e.close();
    EXPECT_FALSE(e.isVisible());
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(EditorTest, LeererTextUndFehlendeAuswahlSperrenBefehle) {
    TTabBearbeitenForm& e = Zeigen(Datei("leer.tab", ""));
    for (QAction* a :
         {e.MenuBearbeitenSuchen, e.MenuBearbeitenAllesMarkieren, e.RePopupAllesMarkieren})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();

    Tippen(QStringLiteral("97 65"));
    for (QAction* a :
         {e.MenuBearbeitenSuchen, e.MenuBearbeitenAllesMarkieren, e.RePopupAllesMarkieren,
          e.MenuBearbeitenRueckgaengig, e.MenuTabelleSpeichern})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    const std::vector<QAction*> auswahl = {e.MenuBearbeitenKopieren, e.RePopupKopieren,
                                           e.MenuBearbeitenAusschneiden, e.RePopupAusschneiden,
                                           e.MenuBearbeitenLoeschen};
    for (QAction* a : auswahl)
        EXPECT_FALSE(a->isEnabled()) << "ohne Auswahl: " << a->objectName().toStdString();
    e.RichEdit->Markieren(0, 2);
    for (QAction* a : auswahl)
        EXPECT_TRUE(a->isEnabled()) << "mit Auswahl: " << a->objectName().toStdString();

    e.MenuBearbeitenLoeschen->trigger();
    EXPECT_EQ(Text(), u" 65");
    for (QAction* a : auswahl)
        EXPECT_FALSE(a->isEnabled()) << "nach Löschen: " << a->objectName().toStdString();

    // Deleting everything disables them again.
    e.MenuBearbeitenAllesMarkieren->trigger();
    e.MenuBearbeitenAusschneiden->trigger();
    EXPECT_TRUE(e.RichEdit->IstLeer());
    for (QAction* a :
         {e.MenuBearbeitenSuchen, e.MenuBearbeitenAllesMarkieren, e.RePopupAllesMarkieren})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(EditorTest, ZwischenablageUndRueckgaengig) {
    QGuiApplication::clipboard()->clear();
    TTabBearbeitenForm& e = Zeigen(tabelle);
    EXPECT_FALSE(e.MenuBearbeitenEinfuegen->isEnabled());
    EXPECT_FALSE(e.RePopupEinfuegen->isEnabled());

    // Text put there by another program counts at the next selection change.
    QGuiApplication::clipboard()->setText(QStringLiteral("228 062\r\n"));
    EXPECT_FALSE(e.MenuBearbeitenEinfuegen->isEnabled());
    e.RichEdit->Markieren(0, 0);
    e.RichEdit->Markieren(16, 0);
    EXPECT_TRUE(e.MenuBearbeitenEinfuegen->isEnabled());
    EXPECT_TRUE(e.RePopupEinfuegen->isEnabled());

    e.RePopupEinfuegen->trigger();
    EXPECT_EQ(Text(), u"97 98 a wird b\r\n228 062\r\n");
    EXPECT_TRUE(e.MenuBearbeitenRueckgaengig->isEnabled());
    e.RichEdit->Markieren(0, 5);
    e.MenuBearbeitenKopieren->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("97 98"));
    e.RePopupAusschneiden->trigger();
    EXPECT_EQ(Text(), u" a wird b\r\n228 062\r\n");

    e.MenuBearbeitenRueckgaengig->trigger();
    e.MenuBearbeitenRueckgaengig->trigger();
    EXPECT_EQ(Text(), u"97 98 a wird b\r\n");
    EXPECT_FALSE(e.MenuBearbeitenRueckgaengig->isEnabled());

    // Tab and Shift+Return go into the text as a tab and a line end.
    e.RichEdit->Markieren(0, 0);
    QTest::keyClick(e.RichEdit, Qt::Key_Tab);
    QTest::keyClick(e.RichEdit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Text(), u"\t\r\n97 98 a wird b\r\n");
    EXPECT_EQ(QApplication::focusWidget(), e.RichEdit);
}

TEST_F(EditorTest, UnlesbareDateiBehaeltDenBisherigenPfad) {
    TTabBearbeitenForm& e = Zeigen(tabelle);
    Tippen(QStringLiteral("x"));
    dialoge.Vergessen();
    // Root reads every file; a file of the kernel fails every read instead.
    const QString unlesbar =
        geteuid() == 0 ? QStringLiteral("/proc/self/mem") : Datei("unlesbar.tab", "1 2");
    if (geteuid() != 0)
        QFile(unlesbar).setPermissions(QFileDevice::Permissions());
    dialoge.DateiWaehlt(unlesbar);
    dialoge.Antwortet(Antwort::Nein);
    e.MenuTabelleOeffnen->trigger();
    ASSERT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
    EXPECT_TRUE(dialoge.Texte(Art::Fehler)[0].startsWith(
        QStringLiteral("Datei %1 kann nicht geöffnet werden.").arg(unlesbar)));

    EXPECT_EQ(e.TabDatei(), tabelle);
    EXPECT_EQ(e.windowTitle(), QStringLiteral("Eng-Ger.tab") + Titel);
    EXPECT_EQ(e.FileType, tfText);
    EXPECT_EQ(Text(), u"x97 98 a wird b\r\n");
    EXPECT_TRUE(Geaendert());
    e.MenuTabelleSpeichern->trigger();
    EXPECT_EQ(zwtest::Lesen(tabelle), "x97 98 a wird b\r\n");
}

TEST_F(EditorTest, SchreibfehlerLassenDieAenderungStehen) {
    QDir().mkpath(Pfad("weg"));
    const QString inWeg = Datei("weg/t.tab", "1 2\r\n");
    TTabBearbeitenForm& e = Zeigen(inWeg);
    Tippen(QStringLiteral("x"));
    QDir(Pfad("weg")).removeRecursively();

    struct Fall {
        const char* name;
        std::function<void()> tun;
    };
    const std::vector<Fall> faelle = {
        {"Speichern", [&] { e.MenuTabelleSpeichern->trigger(); }},
        {"Ja vor Neu",
         [&] {
             dialoge.Antwortet(Antwort::Ja);
             e.MenuTabelleNeu->trigger();
         }},
        {"Ja vor Öffnen",
         [&] {
             dialoge.DateiWaehlt(tabelle);
             dialoge.Antwortet(Antwort::Ja);
             e.MenuTabelleOeffnen->trigger();
         }},
        {"Ja beim Schließen",
         [&] {
             dialoge.Antwortet(Antwort::Ja);
             e.close();
         }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        dialoge.Vergessen();
        f.tun();
        ASSERT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
        EXPECT_TRUE(dialoge.Texte(Art::Fehler)[0].startsWith(
            QStringLiteral("Datei \"%1\" kann nicht erstellt werden.").arg(inWeg)))
            << dialoge.Texte(Art::Fehler)[0].toStdString();
        // The command was abandoned: no template, nothing read, still open.
        EXPECT_EQ(Text(), u"x1 2\r\n");
        EXPECT_EQ(e.TabDatei(), inWeg);
        EXPECT_TRUE(Geaendert());
        EXPECT_TRUE(e.MenuTabelleSpeichern->isEnabled());
        EXPECT_TRUE(e.isVisible());
    }

    // Save as into a missing folder: path and type are already the chosen
    // ones, the caption is not.
    dialoge.Vergessen();
    SpeichernUnter(Pfad("fehlt/neu.txt"), 4);
    EXPECT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
    EXPECT_EQ(e.TabDatei(), Pfad("fehlt/neu.txt"));
    EXPECT_EQ(e.FileType, tfUnicode);
    EXPECT_EQ(e.windowTitle(), QStringLiteral("t.tab") + Titel);
    EXPECT_TRUE(Geaendert());
    EXPECT_TRUE(e.MenuTabelleSpeichern->isEnabled());

    dialoge.Antwortet(Antwort::Nein);
    e.close();
}

TEST_F(EditorTest, SchriftartUndHilfe) {
    TTabBearbeitenForm& e = Zeigen(tabelle);
    // Through the dialog layer's font dialog, opened on the program font.
    schrift.Farbe = 0x0000FF;
    dialoge.SchriftBricht();
    e.RePopupSchriftart->trigger();
    ASSERT_EQ(dialoge.Arten(), std::vector<Art>{Art::Schrift});
    EXPECT_EQ(dialoge.Aufrufe[0].schrift, schrift);
    EXPECT_EQ(schrift.Name, u"Arial") << "Abbrechen ändert nichts";

    TSchrift gewaehlt;
    gewaehlt.Name = u"DejaVu Serif";
    gewaehlt.Groesse = 26;
    dialoge.SchriftWaehlt(gewaehlt);
    e.RePopupSchriftart->trigger();
    dialoge.Vergessen();
    EXPECT_EQ(schrift.Farbe, 0x0000FFu) << "die Farbe bleibt";
    EXPECT_EQ(schrift.Name, u"DejaVu Serif");
    EXPECT_EQ(schrift.Groesse, 26);
    EXPECT_EQ(e.RichEdit->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(e.RichEdit->font().pointSize(), 26);
    EXPECT_EQ(QApplication::focusWidget(), e.RichEdit);

    // Without a help file only the message, with the full path.
    QTest::keyClick(e.RichEdit, Qt::Key_F1);
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Die Hilfe-Datei \"%1\" existiert nicht!")
                                       .arg(Pfad("programm/ZWD.hlp"))});
    EXPECT_TRUE(e.isVisible());
}

TEST_F(EditorTest, SuchenImEditor) {
    TTabBearbeitenForm& e = Zeigen(Datei("s.tab", "97 98\r\n228 062\r\n"));
    EXPECT_FALSE(e.MenuBearbeitenWeiterSuchen->isEnabled());
    e.MenuBearbeitenSuchen->trigger();
    TSuchDialog& d = e.DialogSuchen->Dialog();
    d.EditSuchen->setText(QStringLiteral("^a228"));
    d.ButtonWeitersuchen->click();
    EXPECT_EQ(e.RichEdit->AuswahlStart(), 5);
    EXPECT_EQ(e.RichEdit->AuswahlLaenge(), 4);
    EXPECT_TRUE(e.MenuBearbeitenWeiterSuchen->isEnabled());
    // Typing before the hit moves it, and find-next sees the new text.
    e.RichEdit->Markieren(0, 0);
    Tippen(QStringLiteral("1 2\n"));
    e.RichEdit->Markieren(0, 0);
    e.MenuBearbeitenWeiterSuchen->trigger();
    EXPECT_EQ(e.RichEdit->AuswahlStart(), 9);
}

// ---------------------------------------------------------------------------
// The main window's table edit command.

using HauptEditorTest = FensterTest;

TEST_F(HauptEditorTest, BearbeitenOeffnetDieTabelleUndLiestSieDanachNeu) {
    bool gesehen = false;
    BeimNaechstenModalFenster([&](QWidget* w) {
        auto* e = qobject_cast<TTabBearbeitenForm*>(w);
        ASSERT_NE(e, nullptr);
        gesehen = true;
        EXPECT_EQ(e->TabDatei(), abTabelle);
        EXPECT_EQ(e->windowTitle(), QStringLiteral("ab.tab - Tabelle bearbeiten"));
        e->FontDialog1 = [](TSchrift& s) {
            s.Groesse = 23;
            return true;
        };
        e->RePopupSchriftart->trigger();
        e->RichEdit->selectAll();
        Eintippen(e->RichEdit, QStringLiteral("65 66\n66 67\n67 68\n"));
        e->MenuTabelleSpeichern->trigger();
        // A table saved elsewhere does not become the main window's.
        dialoge.DateiWaehlt(Pfad("anders.tab"), 1);
        e->MenuTabelleSpeichernUnter->trigger();
        e->MenuTabelleBeenden->trigger();
    });
    QTest::keyClick(form.get(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(form->TabDateiStr, abTabelle);
    EXPECT_EQ(form->TabListe.size(), 3u);
    EXPECT_EQ(form->LabelTabEintraege->text(), QStringLiteral("Tabellen-Einträge: 3"));
    EXPECT_TRUE(dialoge.Texte(Art::Information).empty());
    // The font chosen in the editor is the main window's now.
    EXPECT_EQ(form->ProgrammSchrift.Groesse, 23);
    EXPECT_EQ(form->RichEdit->font().pointSize(), 23);
}

TEST_F(HauptEditorTest, TabelleOhneEintraegeWirdNachDemSchliessenGemeldet) {
    BeimNaechstenModalFenster([&](QWidget* w) {
        auto* e = qobject_cast<TTabBearbeitenForm*>(w);
        ASSERT_NE(e, nullptr);
        e->MenuBearbeitenAllesMarkieren->trigger();
        e->MenuBearbeitenLoeschen->trigger();
        dialoge.Antwortet(Antwort::Ja);
        e->close();
    });
    form->MenuTabelleBearbeiten->trigger();
    EXPECT_EQ(zwtest::Lesen(abTabelle), "");
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Kein gültiger Tabelleneintrag gefunden!")});
    EXPECT_EQ(form->LabelTabEintraege->text(), QStringLiteral("Tabellen-Einträge: 0"));
}

TEST_F(HauptEditorTest, BearbeitenNurMitVorhandenerTabelle) {
    EXPECT_TRUE(form->MenuTabelleBearbeiten->isEnabled());
    OhneTabelle();
    EXPECT_FALSE(form->MenuTabelleBearbeiten->isEnabled());
}

TEST_F(HauptEditorTest, UnlesbareTabelleOeffnetKeinenEditor) {
    // The table can no longer be read when the command runs: its error is
    // shown, and the main window does not read its table again.
    const QString unlesbar = geteuid() == 0 ? QStringLiteral("/proc/self/mem") : abTabelle;
    if (geteuid() == 0) {
        form->TabDateiStr = unlesbar;
    } else {
        QFile(abTabelle).setPermissions(QFileDevice::Permissions());
    }
    form->MenuTabelleBearbeiten->trigger();
    ASSERT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
    EXPECT_TRUE(dialoge.Texte(Art::Fehler)[0].startsWith(
        QStringLiteral("Datei %1 kann nicht geöffnet werden.").arg(unlesbar)));
    EXPECT_EQ(form->TabListe.size(), 2u);
    EXPECT_EQ(form->LabelTabEintraege->text(), QStringLiteral("Tabellen-Einträge: 2"));
    EXPECT_TRUE(form->findChildren<TTabBearbeitenForm*>().isEmpty());
}

// "Tabelle &prüfen": the lines that are no entries and the entries that never
// take effect, in a list from which the keyboard jumps to the line; a clean
// table is reported as such.
TEST_F(EditorTest, TabellePruefenSpringtZurZeile) {
    TTabBearbeitenForm& e = Zeigen(Datei("pruefen.tab", "; Kopf\r\n65\t66\r\n65 66\r\n"
                                                        "\r\n97 98\r\n65 67 wirkt nie\r\n"));
    ASSERT_EQ(e.MenuTabellePruefen->text(), "Tabelle &prüfen");
    ASSERT_EQ(e.MenuTabellePruefen->shortcut(), QKeySequence(Qt::Key_F7));
    QStringList eintraege;
    QString titel, beschriftung;
    zwtest::BeimNaechstenModalFenster([&](QWidget* oben) {
        auto* liste = oben->findChild<QListWidget*>(QStringLiteral("ListBefunde"));
        ASSERT_NE(liste, nullptr);
        titel = oben->windowTitle();
        beschriftung = oben->findChild<QLabel*>(QStringLiteral("LabelBefunde"))->text();
        // The list has the focus when the window does.
        EXPECT_EQ(oben->focusWidget(), liste);
        for (int i = 0; i < liste->count(); ++i)
            eintraege << liste->item(i)->text();
        // Down to the second finding, Enter jumps there.
        QTest::keyClick(liste, Qt::Key_Down);
        QTest::keyClick(liste, Qt::Key_Return);
    });
    e.RichEdit->setFocus();
    QTest::keyClick(e.RichEdit, Qt::Key_F7);
    EXPECT_EQ(titel, "Tabelle prüfen");
    EXPECT_EQ(beschriftung, "2 &Auffälligkeiten:");
    EXPECT_EQ(eintraege, (QStringList{"Zeile 2: Tabulator zwischen den Zahlen: Nur Leerzeichen "
                                      "trennen die Zahlen und den Kommentar.",
                                      "Zeile 6: Wirkt nie: Zeile 3 ersetzt schon „A“ (65)."}));
    // Line 6 is selected, the caret in it, and the text has the focus again.
    const QTextCursor c = e.RichEdit->textCursor();
    EXPECT_EQ(c.block().blockNumber(), 5);
    EXPECT_EQ(c.selectedText(), "65 67 wirkt nie");
    EXPECT_EQ(e.focusWidget(), e.RichEdit);
    EXPECT_TRUE(dialoge.Aufrufe.empty());

    // Schließen (Esc) leaves the caret where it was.
    zwtest::BeimNaechstenModalFenster(
        [](QWidget* oben) { QTest::keyClick(oben->findChild<QListWidget*>(), Qt::Key_Escape); });
    e.MenuTabellePruefen->trigger();
    EXPECT_EQ(e.RichEdit->textCursor().block().blockNumber(), 5);

    // Mended, the check reports a clean table.
    e.RichEdit->selectAll();
    Tippen("65 66\n97 98");
    e.MenuTabellePruefen->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{"Die Tabelle hat 2 Einträge und keine Auffälligkeiten."});
    dialoge.Antwortet(Antwort::Nein);
    e.close();
}

// The decimal code of the character at the caret, as a table writes it, in
// a status bar a screen reader reads.
TEST_F(EditorTest, CodeDesZeichensAnDerSchreibmarke) {
    TTabBearbeitenForm& e = Zeigen(Datei("codes.tab", u"€ a\t\r\n😀\r\n", tfUtf8));
    auto anzeige = [&](int position) {
        QTextCursor c = e.RichEdit->textCursor();
        c.setPosition(position);
        e.RichEdit->setTextCursor(c);
        EXPECT_EQ(e.LabelZeichen->accessibleName(), e.LabelZeichen->text());
        return e.LabelZeichen->text();
    };
    EXPECT_EQ(anzeige(0), "Zeichen 8364 „€“, Zeile 1, Spalte 1");
    EXPECT_EQ(anzeige(1), "Zeichen 32 (Leerzeichen), Zeile 1, Spalte 2");
    EXPECT_EQ(anzeige(2), "Zeichen 97 „a“, Zeile 1, Spalte 3");
    EXPECT_EQ(anzeige(3), "Zeichen 9 (Tabulator), Zeile 1, Spalte 4");
    EXPECT_EQ(anzeige(4), "Zeilenende, Zeile 1, Spalte 5");
    EXPECT_EQ(anzeige(5), "Zeichen „😀“ aus den Codes 55357 und 56832, Zeile 2, Spalte 1");
    // The caret moved by the keyboard updates it too.
    e.RichEdit->setFocus();
    QTest::keyClick(e.RichEdit, Qt::Key_End);
    EXPECT_EQ(e.LabelZeichen->text(), "Zeilenende, Zeile 2, Spalte 3");
    QTest::keyClick(e.RichEdit, Qt::Key_Down);
    EXPECT_EQ(e.LabelZeichen->text(), "Textende, Zeile 3, Spalte 1");
    EXPECT_EQ(e.StatusZeile->accessibleName().isEmpty(), false);
}
