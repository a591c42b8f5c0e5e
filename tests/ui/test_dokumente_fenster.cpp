// The main window and the table editor with the files people have today:
// Word and OpenDocument files, UTF-8 without a mark, NUL, files that are no
// text.
#include "../ZipBauen.h"
#include "FensterTest.h"

#include "core/Erkennung.h"
#include "ui/BearbeitenDlg.h"
#include "ui/EditFeld.h"

using namespace zw;
using namespace zwtest;

TEST_F(FensterTest, OeffnenDialogeBietenWordUndOpenDocumentAn) {
    const QString eintrag =
        QStringLiteral("|Word- und OpenDocument-Text (*.DOCX; *.ODT)|*.DOCX;*.ODT|");
    // After the described entries, so their indexes stay.
    EXPECT_TRUE(form->DialogOeffnen.Filter.startsWith(
        QStringLiteral("Rich Text Format (*.RTF)|*.RTF|Textdokument (*.TXT; *.BRL)|*.TXT;*.BRL|"
                       "Alle Dateien (*.*)|*.*|")));
    EXPECT_TRUE(form->DialogOeffnen.Filter.endsWith(eintrag.mid(1)));
    EXPECT_EQ(form->DialogOeffnen.FilterIndex, 2);
    TSchrift schrift;
    TTabBearbeitenForm editor(form.get(), dialoge, Pfad("programm"), schrift, 0xFFFFFF, abTabelle);
    EXPECT_TRUE(editor.DialogOeffnen.Filter.startsWith(
        QStringLiteral("Tabelle (*.TAB)|*.TAB|Rich Text Format (*.RTF)|*.RTF|"
                       "Textdokument (*.TXT)|*.TXT|Alle Dateien (*.*)|*.*|")));
    EXPECT_TRUE(editor.DialogOeffnen.Filter.endsWith(eintrag.mid(1)));
}

TEST_F(FensterTest, WordTextWirdNebenDemDokumentGespeichert) {
    const std::string docx = WordDokument("<w:p><w:r><w:t>Haus am See</w:t></w:r></w:p>");
    const QString quelle = Datei("Brief.docx", docx);
    Oeffnen(quelle);
    EXPECT_EQ(Text(), u"Haus am See\r\n");
    EXPECT_EQ(form->FileType, tfText);
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 2);
    Konvertieren();

    // Cancelling the offered save writes nothing anywhere.
    dialoge.DateiBricht();
    Speichern();
    ASSERT_EQ(dialoge.Texte(Art::Datei).size(), 2u);
    const DateiDialog& angeboten = dialoge.Aufrufe.back().dialog;
    EXPECT_EQ(angeboten.Titel, QStringLiteral("Speichern unter"));
    EXPECT_EQ(angeboten.DateiName, QStringLiteral("Brief.TXT"));
    EXPECT_EQ(QDir(angeboten.Ordner), QFileInfo(quelle).absoluteDir());
    EXPECT_TRUE(form->TextGeaendertS());
    EXPECT_EQ(zwtest::Lesen(quelle), docx);

    dialoge.DateiWaehlt(Pfad("Brief.TXT"));
    Speichern();
    EXPECT_EQ(zwtest::Lesen(quelle), docx);
    EXPECT_EQ(zwtest::Lesen(Pfad("Brief.TXT")), "Hbus bm See\r\n");
    EXPECT_EQ(form->DateiStr, Pfad("Brief.TXT"));
    EXPECT_FALSE(form->TextGeaendertS());
}

TEST_F(FensterTest, ErsetzenEinesDokumentsFragtErst) {
    const std::string odt = ZipBauen(
        {Gespeichert("mimetype", "application/vnd.oasis.opendocument.text"),
         Gespeichert("content.xml", "<office:document-content xmlns:office=\"o\" xmlns:text=\"t\">"
                                    "<office:body><office:text><text:p>Alt</text:p>"
                                    "</office:text></office:body></office:document-content>")});
    const QString ziel = Datei("Ziel.odt", odt);
    Oeffnen(brief);
    Konvertieren();
    for (const Antwort antwort : {Antwort::Nein, Antwort::Ja}) {
        dialoge.Antwortet(antwort);
        SpeichernUnter(ziel, 2);
        EXPECT_EQ(dialoge.Texte(Art::JaNein).back(),
                  QStringLiteral("\"Ziel.odt\" ist ein Word- oder OpenDocument-Dokument. Wenn Sie "
                                 "es durch den Text ersetzen, gehen seine Formatierung, Bilder "
                                 "und alles andere außer dem Text verloren. Trotzdem ersetzen?"));
        if (antwort == Antwort::Nein) {
            EXPECT_EQ(zwtest::Lesen(ziel), odt);
            EXPECT_EQ(form->DateiStr, brief);
            EXPECT_TRUE(form->TextGeaendertS());
        } else {
            EXPECT_EQ(zwtest::Lesen(ziel), "Hbus bm See\r\n");
        }
    }
}

TEST_F(FensterTest, NulImTextWirdGemeldetUndSpeichernFragt) {
    std::string bytes = std::string("Haus am See\nZwei\0te Zeile\n", 26);
    for (int i = 3; i <= 52; ++i)
        bytes += "Zeile " + std::to_string(i) + "\n";
    const QString datei = Datei("mitnul.txt", bytes);
    const std::size_t rest = bytes.size() - bytes.find('\0');
    Oeffnen(datei);
    EXPECT_EQ(Text(), u"Haus am See\r\nZwei\r\n");
    ASSERT_EQ(dialoge.Texte(Art::Information).size(), 1u);
    EXPECT_EQ(dialoge.Texte(Art::Information)[0], QString::fromStdString(NulMeldung({2, rest})));
    Konvertieren();
    dialoge.Vergessen();

    // "Nein" keeps the file whole and the text unsaved.
    dialoge.Antwortet(Antwort::Nein);
    Speichern();
    EXPECT_EQ(
        dialoge.Texte(Art::JaNein),
        std::vector<QString>{
            QStringLiteral(
                "\"mitnul.txt\" wurde nur bis zu einem NUL-Zeichen gelesen. Beim Speichern gehen "
                "die restlichen %1 Bytes der Datei verloren. Trotzdem speichern?")
                .arg(rest)});
    EXPECT_EQ(zwtest::Lesen(datei), bytes);
    EXPECT_TRUE(form->TextGeaendertS());

    // Saved elsewhere, nothing is lost: no question.
    SpeichernUnter(Pfad("kopie.txt"), 2);
    EXPECT_EQ(zwtest::Lesen(Pfad("kopie.txt")), "Hbus bm See\r\nZwei\r\n");
    EXPECT_EQ(dialoge.Texte(Art::JaNein).size(), 1u);
}

TEST_F(FensterTest, Utf8OhneMarkeWirdAlsAnsiGespeichert) {
    const QString datei = Datei("gruss.txt", "Gr\xC3\xA4te aus \xC3\x84pfeln\n");
    Oeffnen(datei);
    EXPECT_EQ(Text(), u"Gräte aus Äpfeln\r\n");
    // Like a UTF-8 file with a mark: the plain save writes ANSI text.
    EXPECT_EQ(form->DialogSpeichern.FilterIndex, 2);
    Konvertieren();
    Speichern();
    EXPECT_EQ(zwtest::Lesen(datei), "Gr{te bus \xC4pfeln\r\n");
}

TEST_F(FensterTest, KeineTextdateiEndetMitDemDateifehler) {
    Oeffnen(brief);
    const QString pdf = Datei("Rechnung.pdf", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    Oeffnen(pdf);
    ASSERT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
    EXPECT_EQ(dialoge.Texte(Art::Fehler)[0],
              QStringLiteral("Datei %1 kann nicht geöffnet werden. Die Datei ist keine "
                             "Textdatei, sondern ein PDF-Dokument.")
                  .arg(QDir::toNativeSeparators(pdf)));
    // The text shown before stays, and so does its path.
    EXPECT_EQ(Text(), u"Haus am See\r\n");
    EXPECT_EQ(form->DateiStr, brief);
}

TEST_F(FensterTest, TabellenEditorSpeichertWordTabelleDaneben) {
    const std::string docx = WordDokument("<w:p><w:r><w:t>097 098</w:t></w:r></w:p>");
    const QString quelle = Datei("Tabelle.docx", docx);
    TSchrift schrift;
    TTabBearbeitenForm editor(form.get(), dialoge, Pfad("programm"), schrift, 0xFFFFFF, quelle);
    EXPECT_EQ(editor.RichEdit->Text(), u"097 098\r\n");
    editor.RichEdit->moveCursor(QTextCursor::End);
    editor.RichEdit->insertPlainText(QStringLiteral("098 099\n"));
    dialoge.DateiWaehlt(Pfad("Tabelle.TXT"));
    editor.MenuTabelleSpeichern->trigger();
    EXPECT_EQ(dialoge.Aufrufe.back().dialog.DateiName, QStringLiteral("Tabelle.TXT"));
    EXPECT_EQ(zwtest::Lesen(quelle), docx);
    EXPECT_EQ(zwtest::Lesen(Pfad("Tabelle.TXT")), "097 098\r\n098 099\r\n");
    EXPECT_EQ(editor.TabDatei(), Pfad("Tabelle.TXT"));
}
