// The help viewer: RTF shown with its formatting in the program font, plain
// text decoded by its byte order mark, the commands that an empty text
// disables, the missing and the unreadable file, the font command and
// printing as one job.
#include "../Hilfen.h"
#include "ModalFenster.h"
#include "SkriptDialoge.h"

#include "core/Rtf.h"
#include "platform/Fehlerbehandlung.h"
#include "ui/Hilfe.h"
#include "ui/Suchen.h"
#include "ui/TextFeld.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

using namespace zw;
using namespace zwtest;

namespace {

// A heading, body text with a word in italics, and an example in a font of
// its own.
const std::string kRtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}"
                         "{\\f1\\fmodern Courier New;}}\\f0\\fs24 "
                         "{\\b\\fs36 \\'dcberschrift}\\par "
                         "Text mit {\\i kursiv} und mehr Text als die \\'dcberschrift hat.\\par "
                         "{\\f1 097 065}\\par}";

class HilfeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ordner_.isValid());
        schrift.Name = u"DejaVu Sans";
        schrift.Groesse = 20;
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

    // The viewer for a file, shown as HilfeAnzeigen shows it, but not modal.
    THilfeForm& Zeigen(const QString& pfad) {
        form = std::make_unique<THilfeForm>(&eltern, dialoge, schrift, 0xFFFFFF, pfad);
        form->SchriftartZuweisen();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    // The character format of the character at a position.
    QTextCharFormat FormatAn(qsizetype position) const {
        QTextCursor c(form->RichEdit->document());
        c.setPosition(int(position + 1));
        return c.charFormat();
    }
    qsizetype Stelle(const std::u16string& teil) const {
        const std::u16string text = form->RichEdit->PositionsText();
        const std::size_t p = text.find(teil);
        EXPECT_NE(p, std::u16string::npos);
        return qsizetype(p);
    }

    QWidget eltern;
    SkriptDialoge dialoge;
    TSchrift schrift;
    std::unique_ptr<THilfeForm> form;

private:
    QTemporaryDir ordner_;
};

} // namespace

TEST_F(HilfeTest, RtfErscheintFormatiertInDerProgrammschrift) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", kRtf));
    ASSERT_TRUE(h.Formatiert());
    EXPECT_EQ(h.RichEdit->Text(), RtfZuText(kRtf));

    // The body text (12 points in the file) takes the program font and its
    // size; the heading stays larger in the same proportion, the example
    // keeps its own face.
    struct Fall {
        std::u16string wo;
        QString familie;
        double punkte;
        bool fett, kursiv;
    };
    std::vector<Fall> faelle = {
        {u"Überschrift", "DejaVu Sans", 30, true, false},
        {u"Text mit", "DejaVu Sans", 20, false, false},
        {u"kursiv", "DejaVu Sans", 20, false, true},
        {u"097 065", "Courier New", 20, false, false},
    };
    auto pruefen = [&] {
        for (const Fall& f : faelle) {
            const QTextCharFormat fmt = FormatAn(Stelle(f.wo));
            SCOPED_TRACE(QString::fromStdU16String(f.wo).toStdString());
            EXPECT_EQ(fmt.fontFamilies().toStringList().value(0), f.familie);
            EXPECT_DOUBLE_EQ(fmt.fontPointSize(), f.punkte);
            EXPECT_EQ(fmt.fontWeight() >= QFont::Bold, f.fett);
            EXPECT_EQ(fmt.fontItalic(), f.kursiv);
        }
    };
    pruefen();

    // A smaller program font shrinks all of it; the text and a selection
    // stay as they were.
    h.RichEdit->Markieren(3, 5);
    schrift.Groesse = 10;
    for (Fall& f : faelle)
        f.punkte /= 2;
    h.SchriftartZuweisen();
    pruefen();
    EXPECT_EQ(h.RichEdit->Text(), RtfZuText(kRtf));
    EXPECT_EQ(h.RichEdit->AuswahlStart(), 3);
    EXPECT_EQ(h.RichEdit->AuswahlLaenge(), 5);

    // A size of 0 is the application's, as in every other window: the body
    // text takes it, not a fixed 12 points.
    const QFont anwendung = QApplication::font();
    QFont gross = anwendung;
    gross.setPointSizeF(16);
    QApplication::setFont(gross);
    schrift.Groesse = 0;
    for (Fall& f : faelle)
        f.punkte *= 16.0 / 10;
    h.SchriftartZuweisen();
    QApplication::setFont(anwendung);
    pruefen();
    EXPECT_EQ(h.RichEdit->font().pointSizeF(), 16);
}

TEST_F(HilfeTest, TextOhneRtfErscheintWieErIst) {
    struct Fall {
        const char* name;
        std::string bytes;
        std::u16string text;
    };
    // Every line ends with CR LF, as the file layer reads any text.
    const std::vector<Fall> faelle = {
        {"Windows-1252",
         "Gr\xFC\xDF"
         "e \x80\r\nzweite Zeile",
         u"Grüße €\r\nzweite Zeile\r\n"},
        {"UTF-8 mit BOM",
         "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC",
         u"Grüße €\r\n"},
        {"UTF-16 LE",
         std::string("\xFF\xFE"
                     "a\0\xFC\0\n\0b\0",
                     10),
         u"aü\r\nb\r\n"},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0\xFC", 6), u"aü\r\n"},
        // Valid UTF-8 with a multi-byte character needs no mark.
        {"UTF-8 ohne BOM",
         "Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC",
         u"Grüße €\r\n"},
        // Markup that is not at the very start is text.
        {"RTF-Zeichen mitten im Text", " {\\rtf1 x}", u" {\\rtf1 x}\r\n"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        THilfeForm& h = Zeigen(Datei("ZWD.hlp", f.bytes));
        EXPECT_FALSE(h.Formatiert());
        EXPECT_EQ(h.RichEdit->Text(), f.text);
        EXPECT_EQ(h.RichEdit->font().family(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(h.RichEdit->font().pointSize(), 20);
        form.reset();
    }
}

TEST_F(HilfeTest, LeererTextSperrtDruckenSuchenUndAllesMarkieren) {
    struct Fall {
        const char* name;
        QString pfad;
        bool text;
    };
    const std::vector<Fall> faelle = {
        {"leere Datei", Datei("leer.hlp", ""), false},
        // Gone between the test for it and the loading.
        {"Datei verschwunden", Pfad("weg.hlp"), false},
        {"Text", Datei("text.hlp", "Hilfe"), true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        THilfeForm& h = Zeigen(f.pfad);
        for (QAction* a : {h.MenuHilfeDrucken, h.RePopupDrucken, h.MenuBearbeitenSuchen,
                           h.MenuBearbeitenAllesMarkieren, h.RePopupAllesMarkieren})
            EXPECT_EQ(a->isEnabled(), f.text) << a->objectName().toStdString();
        for (QAction* a : {h.MenuHilfeBeenden, h.MenuSchriftartWechseln, h.RePopupSchriftart})
            EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
        // Find-next waits for the first search, copy for a selection.
        for (QAction* a :
             {h.MenuBearbeitenWeitersuchen, h.MenuBearbeitenKopieren, h.RePopupKopieren})
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        EXPECT_EQ(h.HilfeDatei(), f.pfad);
        EXPECT_EQ(h.DruckenTitel(), QStringLiteral("Drucke Hilfe"));
        form.reset();
    }
}

TEST_F(HilfeTest, TippenAendertNichts) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", kRtf));
    const std::u16string vorher = h.RichEdit->Text();
    QGuiApplication::clipboard()->setText(QStringLiteral("eingefügt"));
    h.RichEdit->setFocus();
    h.RichEdit->Markieren(0, 4);
    QTest::keyClicks(h.RichEdit, QStringLiteral("abc"));
    QTest::keyClick(h.RichEdit, Qt::Key_Delete);
    QTest::keyClick(h.RichEdit, Qt::Key_Backspace);
    QTest::keyClick(h.RichEdit, Qt::Key_Return);
    QTest::keyClick(h.RichEdit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(h.RichEdit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(h.RichEdit->Text(), vorher);
}

TEST_F(HilfeTest, KopierenFolgtDerAuswahl) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", "erste Zeile\r\nzweite"));
    h.RichEdit->Markieren(6, 11);
    EXPECT_TRUE(h.MenuBearbeitenKopieren->isEnabled());
    EXPECT_TRUE(h.RePopupKopieren->isEnabled());
    QGuiApplication::clipboard()->clear();
    h.MenuBearbeitenKopieren->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Zeile\nzweit"));

    h.RichEdit->Markieren(2, 0);
    EXPECT_FALSE(h.MenuBearbeitenKopieren->isEnabled());
    EXPECT_FALSE(h.RePopupKopieren->isEnabled());

    h.RePopupAllesMarkieren->trigger();
    EXPECT_EQ(h.RichEdit->AuswahlLaenge(), h.RichEdit->Laenge());
    EXPECT_TRUE(h.RePopupKopieren->isEnabled());
}

TEST_F(HilfeTest, SucheMitSuchcodesUndWeitersuchen) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", "Ende\r\nEnde\r\n"));
    h.MenuBearbeitenSuchen->trigger();
    TSuchDialog& d = h.DialogSuchen->Dialog();
    ASSERT_TRUE(d.isVisible());
    d.EditSuchen->setText(QStringLiteral("e^a"));
    d.ButtonWeitersuchen->click();
    EXPECT_EQ(h.RichEdit->AuswahlStart(), 3);
    EXPECT_EQ(h.RichEdit->AuswahlLaenge(), 2);
    EXPECT_TRUE(h.MenuBearbeitenWeitersuchen->isEnabled());
    h.MenuBearbeitenWeitersuchen->trigger();
    EXPECT_EQ(h.RichEdit->AuswahlStart(), 8);
    h.MenuBearbeitenWeitersuchen->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{QStringLiteral("Keinen weiteren Suchstring gefunden!")});
    EXPECT_EQ(h.RichEdit->AuswahlStart(), 8);
}

TEST_F(HilfeTest, SchriftartWechselnAendertDieProgrammschrift) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", kRtf));
    h.RichEdit->setFocus();
    // The dialog layer's font dialog, opened on the program font.
    dialoge.SchriftBricht();
    h.MenuSchriftartWechseln->trigger();
    ASSERT_EQ(dialoge.Arten(), std::vector<Art>{Art::Schrift});
    EXPECT_EQ(dialoge.Aufrufe[0].schrift, schrift);
    EXPECT_EQ(schrift.Groesse, 20) << "Abbrechen ändert nichts";

    TSchrift gewaehlt;
    gewaehlt.Name = u"DejaVu Serif";
    gewaehlt.Groesse = 16;
    dialoge.SchriftWaehlt(gewaehlt);
    h.RePopupSchriftart->trigger();
    EXPECT_EQ(schrift.Name, u"DejaVu Serif");
    EXPECT_EQ(schrift.Groesse, 16);
    EXPECT_EQ(FormatAn(Stelle(u"Text mit")).fontFamilies().toStringList().value(0),
              QStringLiteral("DejaVu Serif"));
    EXPECT_DOUBLE_EQ(FormatAn(Stelle(u"Überschrift")).fontPointSize(), 24);
    EXPECT_EQ(QApplication::focusWidget(), h.RichEdit);
}

TEST_F(HilfeTest, FehlendeHilfeDateiMeldetDenVollenPfad) {
    const QString ordner = Pfad("ohne");
    QDir().mkpath(ordner);
    HilfeAnzeigen(&eltern, dialoge, ordner, schrift, 0xFFFFFF);
    EXPECT_EQ(dialoge.Texte(Art::Information),
              std::vector<QString>{
                  QStringLiteral("Die Hilfe-Datei \"%1/ZWD.hlp\" existiert nicht!").arg(ordner)});
    EXPECT_TRUE(eltern.findChildren<THilfeForm*>().isEmpty());
}

TEST_F(HilfeTest, UnlesbareHilfeDateiEndetMitIhremFehler) {
    // Root reads every file; a file of the kernel fails every read instead.
    const QString pfad =
        geteuid() == 0 ? QStringLiteral("/proc/self/mem") : Datei("ZWD.hlp", "Hilfe");
    if (geteuid() != 0)
        QFile(pfad).setPermissions(QFileDevice::Permissions());
    const bool ok = BefehlAusfuehren(dialoge, &eltern, [&] {
        THilfeForm h(&eltern, dialoge, schrift, 0xFFFFFF, pfad);
        ADD_FAILURE() << "das Fenster entstand";
    });
    EXPECT_FALSE(ok);
    ASSERT_EQ(dialoge.Texte(Art::Fehler).size(), 1u);
    EXPECT_TRUE(dialoge.Texte(Art::Fehler)[0].startsWith(
        QStringLiteral("Datei %1 kann nicht geöffnet werden.").arg(pfad)))
        << dialoge.Texte(Art::Fehler)[0].toStdString();
}

TEST_F(HilfeTest, HilfeAnzeigenZeigtVollbildMitTitelUndGibtDieSchriftZurueck) {
    const QString ordner = Pfad("programm");
    QDir().mkpath(ordner);
    Datei("programm/ZWD.hlp", kRtf);
    bool gesehen = false;
    BeimNaechstenModalFenster([&](QWidget* w) {
        auto* h = qobject_cast<THilfeForm*>(w);
        ASSERT_NE(h, nullptr);
        gesehen = true;
        EXPECT_EQ(h->windowTitle(), QStringLiteral("Hilfe zum Zeichenwandler V1.22"));
        EXPECT_EQ(h->HilfeDatei(), QDir(ordner).filePath(QStringLiteral("ZWD.hlp")));
        EXPECT_EQ(h->parentWidget(), &eltern);
        EXPECT_EQ(h->frameGeometry(), h->screen()->geometry()) << "das ganze Bildschirm";
        EXPECT_EQ(h->minimumSize(), h->maximumSize()) << "feste Größe";
        h->FontDialog1 = [](TSchrift& s) {
            s.Groesse = 28;
            return true;
        };
        h->MenuSchriftartWechseln->trigger();
        h->MenuHilfeBeenden->trigger();
    });
    HilfeAnzeigen(&eltern, dialoge, ordner, schrift, 0xFFFFFF);
    EXPECT_TRUE(gesehen);
    EXPECT_EQ(schrift.Groesse, 28);
    EXPECT_TRUE(eltern.findChildren<THilfeForm*>().isEmpty()) << "nach dem Schließen zerstört";
}

// ---------------------------------------------------------------------------
// Printing, on a printer that writes a PDF file.

namespace {

int Seiten(const std::string& pdf) {
    static const QRegularExpression seite(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(pdf).count(seite));
}

// Qt writes the document title as UTF-16 with its byte order mark, as raw
// bytes or in hex, or as a plain string.
bool HatTitel(const std::string& pdf, const QString& titel) {
    const QByteArray utf16(reinterpret_cast<const char*>(titel.utf16()), titel.size() * 2);
    QByteArray be;
    for (qsizetype i = 0; i < utf16.size(); i += 2)
        be.append(utf16[i + 1]).append(utf16[i]);
    const QString hex = QStringLiteral("FEFF") + QString::fromLatin1(be.toHex()).toUpper();
    const QString text = QString::fromLatin1(pdf);
    const std::string roh = "/Title (\xFE\xFF" + be.toStdString() + ")";
    return text.contains(QStringLiteral("(") + titel + QStringLiteral(")")) ||
           text.contains(hex, Qt::CaseInsensitive) || pdf.find(roh) != std::string::npos;
}

} // namespace

TEST_F(HilfeTest, DruckenSchreibtEinenAuftragMitTitelUndAllenSeiten) {
    std::string lang;
    for (int i = 1; i <= 300; ++i)
        lang += "Zeile " + std::to_string(i) + " der Hilfe\r\n";
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", lang));
    h.RichEdit->setFocus();

    struct Fall {
        const char* name;
        int kopien;
        int erste, letzte; // 0: all pages
    };
    const std::vector<Fall> faelle = {
        {"alles", 1, 0, 0}, {"zwei Kopien", 2, 0, 0}, {"Seite 2", 1, 2, 2}};
    int alleSeiten = 0;
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const QString pdf = Pfad(QStringLiteral("hilfe-%1.pdf").arg(f.name));
        QString titel;
        h.DialogDrucken = [&](QPrinter& drucker) {
            EXPECT_EQ(drucker.copyCount(), 1) << "voreingestellt eine Kopie";
            drucker.setOutputFormat(QPrinter::PdfFormat);
            drucker.setOutputFileName(pdf);
            drucker.setCopyCount(f.kopien);
            if (f.erste > 0) {
                drucker.setPrintRange(QPrinter::PageRange);
                drucker.setFromTo(f.erste, f.letzte);
            }
            return true;
        };
        h.MenuHilfeDrucken->trigger();
        const std::string inhalt = Lesen(pdf);
        ASSERT_FALSE(inhalt.empty());
        EXPECT_TRUE(HatTitel(inhalt, QStringLiteral("Drucke Hilfe")));
        if (f.kopien == 1 && f.erste == 0) {
            alleSeiten = Seiten(inhalt);
            EXPECT_GT(alleSeiten, 2) << "300 Zeilen füllen mehrere Seiten";
        } else if (f.kopien == 2) {
            EXPECT_EQ(Seiten(inhalt), 2 * alleSeiten);
        } else {
            EXPECT_EQ(Seiten(inhalt), 1);
        }
        EXPECT_EQ(QApplication::focusWidget(), h.RichEdit);
    }

    // Cancelled: nothing printed.
    const QString pdf = Pfad("abgebrochen.pdf");
    h.DialogDrucken = [&](QPrinter& drucker) {
        drucker.setOutputFormat(QPrinter::PdfFormat);
        drucker.setOutputFileName(pdf);
        return false;
    };
    h.RePopupDrucken->trigger();
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

TEST_F(HilfeTest, MenuesInIhrerOrdnungUndJederPunktBeiSeinemBefehl) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", "Hilfe zum Suchen und Kopieren\r\n"));
    // Caption and shortcut per item; an empty caption is a separator.
    struct Punkt {
        QString Text;
        QKeySequence Kuerzel;
    };
    const std::pair<QMenu*, std::vector<Punkt>> menues[] = {
        {h.MenuHilfe,
         {{"&Drucken...", QKeySequence("Ctrl+P")}, {}, {"S&chließen", QKeySequence("Alt+F4")}}},
        {h.MenuBearbeiten,
         {{"&Suchen...", QKeySequence("Ctrl+F")},
          {"&Weitersuchen", QKeySequence("F3")},
          {},
          {"&Kopieren", QKeySequence("Ctrl+C")},
          {"Alles &markieren", QKeySequence("Ctrl+A")}}},
        {h.MenuSchriftart, {{"&Wechseln...", {}}}},
        {h.RePopup,
         {{"&Schriftart...", {}},
          {"&Drucken...", {}},
          {"&Kopieren", {}},
          {"Alles &markieren", {}}}},
    };
    for (const auto& [menu, punkte] : menues) {
        SCOPED_TRACE(menu->objectName().toStdString());
        const QList<QAction*> aktionen = menu->actions();
        ASSERT_EQ(aktionen.size(), qsizetype(punkte.size()));
        for (std::size_t i = 0; i < punkte.size(); ++i) {
            EXPECT_EQ(aktionen[qsizetype(i)]->isSeparator(), punkte[i].Text.isEmpty());
            EXPECT_EQ(aktionen[qsizetype(i)]->text(), punkte[i].Text);
            EXPECT_EQ(aktionen[qsizetype(i)]->shortcut(), punkte[i].Kuerzel);
        }
    }

    // The popup's items run the commands of their menu items.
    h.RePopupAllesMarkieren->trigger();
    EXPECT_EQ(h.RichEdit->AuswahlLaenge(), h.RichEdit->document()->characterCount() - 1);
    QGuiApplication::clipboard()->clear();
    h.RePopupKopieren->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Hilfe zum Suchen und Kopieren"))
        << QGuiApplication::clipboard()->text().toStdString();
    // A command that fails ends with its message over the viewer, through
    // the one error handler; the viewer stays.
    h.DialogDrucken = [](QPrinter&) -> bool { throw std::runtime_error("Drucker fort"); };
    h.RePopupDrucken->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Fehler), std::vector<QString>{QStringLiteral("Drucker fort")});
    EXPECT_TRUE(h.isVisible());
}

TEST_F(HilfeTest, EscapeSchliesstNichtDasMenueSchon) {
    THilfeForm& h = Zeigen(Datei("ZWD.hlp", "Hilfe\r\n"));
    for (QWidget* ziel : {static_cast<QWidget*>(&h), static_cast<QWidget*>(h.RichEdit)}) {
        QTest::keyClick(ziel, Qt::Key_Escape);
        EXPECT_TRUE(h.isVisible()) << ziel->metaObject()->className();
    }
    h.MenuHilfeBeenden->trigger();
    EXPECT_FALSE(h.isVisible());
}
