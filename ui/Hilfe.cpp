#include "ui/Hilfe.h"

#include "core/MoFiles.h"
#include "platform/Fehlerbehandlung.h"
#include "platform/Pfad.h"
#include "platform/QtSchrift.h"
#include "ui/Haupt.h"
#include "ui/Layout.h"
#include "ui/Menues.h"
#include "ui/Suchen.h"
#include "ui/TextFeld.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>

namespace zw {

namespace {

// The body text of a document: the font and size that most characters have.
struct Grundschrift {
    std::u16string Name;
    double Groesse = 12;
};

Grundschrift GrundschriftVon(const RtfDokument& dokument) {
    std::map<std::u16string, std::size_t> namen;
    std::map<double, std::size_t> groessen;
    for (const RtfAbsatz& absatz : dokument.Absaetze)
        for (const RtfLauf& lauf : absatz.Laeufe) {
            namen[lauf.Schriftname] += lauf.Text.size();
            groessen[lauf.Groesse] += lauf.Text.size();
        }
    Grundschrift grund;
    auto meiste = [](const auto& a, const auto& b) { return a.second < b.second; };
    if (!namen.empty())
        grund.Name = std::max_element(namen.begin(), namen.end(), meiste)->first;
    if (!groessen.empty())
        grund.Groesse = std::max_element(groessen.begin(), groessen.end(), meiste)->first;
    if (grund.Groesse <= 0)
        grund.Groesse = 12;
    return grund;
}

// The document in the program font: the body text takes its face, every
// size grows or shrinks with it so headings stay larger than the text, and
// a font of its own (an example in a fixed-width face) stays. The style of
// the program font adds to the document's own.
void DokumentEinfuegen(QTextDocument& ziel, const RtfDokument& dokument, const TSchrift& schrift) {
    const Grundschrift grund = GrundschriftVon(dokument);
    // The size the controls show the program font in: a size of 0 is the
    // application's, a height in pixels as many points as it measures.
    const QFont programm = QtSchrift(schrift);
    const double punkte =
        programm.pointSizeF() > 0 ? programm.pointSizeF() : QFontInfo(programm).pointSizeF();
    const double faktor = punkte / grund.Groesse;
    // A system colour stays the control's own text colour.
    const bool mitProgrammFarbe = (schrift.Farbe & 0xFF000000u) == 0;
    const QColor programmFarbe = FarbeAusWert(schrift.Farbe, QPalette());

    QTextCursor c(&ziel);
    c.beginEditBlock();
    bool erster = true;
    for (const RtfAbsatz& absatz : dokument.Absaetze) {
        if (!erster)
            c.insertBlock();
        erster = false;
        for (const RtfLauf& lauf : absatz.Laeufe) {
            QTextCharFormat f;
            const bool grundFont = lauf.Schriftname.empty() || lauf.Schriftname == grund.Name;
            f.setFontFamilies(
                {QString::fromStdU16String(grundFont ? schrift.Name : lauf.Schriftname)});
            f.setFontPointSize(std::max(1.0, std::round(lauf.Groesse * faktor * 2) / 2));
            f.setFontWeight(lauf.Fett || (schrift.Stil & StilFett) ? QFont::Bold : QFont::Normal);
            f.setFontItalic(lauf.Kursiv || (schrift.Stil & StilKursiv));
            f.setFontUnderline(lauf.Unterstrichen || (schrift.Stil & StilUnterstrichen));
            f.setFontStrikeOut(lauf.Durchgestrichen || (schrift.Stil & StilDurchgestrichen));
            if (lauf.HatFarbe)
                f.setForeground(QColor(QRgb(lauf.Farbe)));
            else if (mitProgrammFarbe)
                f.setForeground(programmFarbe);
            c.insertText(QString::fromStdU16String(lauf.Text), f);
        }
    }
    // A last paragraph mark leaves an empty line, as the plain text has it.
    if (dokument.LetzterAbsatzEndet && !dokument.Absaetze.empty())
        c.insertBlock();
    c.endEditBlock();
}

} // namespace

THilfeForm::THilfeForm(QWidget* owner, Dialoge& dialoge, TSchrift& programmSchrift,
                       std::uint32_t hintergrund, const QString& hilfeDateiOderText)
    : TTextFenster(owner), dialoge_(dialoge), programmSchrift_(programmSchrift),
      hintergrund_(hintergrund) {
    setObjectName(QStringLiteral("HilfeForm"));
    setWindowTitle(QStringLiteral("Hilfe"));

    RichEdit = new TextFeld(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setAccessibleName(QStringLiteral("Hilfetext"));
    MenuErzeugen();

    auto* lage = new QVBoxLayout(this);
    lage->setContentsMargins(0, 0, 0, 0);
    lage->setSpacing(0);
    lage->setMenuBar(MainMenu1);
    lage->addWidget(RichEdit);

    FDruckenTitel = QStringLiteral("Drucke Hilfe");
    FHilfeDatei = hilfeDateiOderText;
    if (QFileInfo(FHilfeDatei).isFile()) {
        const std::string bytes = DateiLesen(AlsPfad(FHilfeDatei));
        const TTextFileType typ = TypAusAnfang(bytes);
        if (typ == tfRtf)
            rtf_ = RtfLesen(bytes);
        else
            text_ = DokumentDekodieren(bytes, typ, AlsPfad(FHilfeDatei)).Text;
    }
    InhaltZeigen();

    MenuBearbeitenWeitersuchen->setEnabled(false);
    MenuBearbeitenKopieren->setEnabled(false);
    RePopupKopieren->setEnabled(false);

    DialogDrucken = [this](QPrinter& drucker) {
        drucker.setCopyCount(1);
        QPrintDialog dialog(&drucker, this);
        return dialog.exec() == QDialog::Accepted;
    };
    FontDialog1 = [this](TSchrift& schrift) { return dialoge_.SchriftWaehlen(this, schrift); };

    DialogSuchen = new Suche(
        this, *RichEdit, dialoge_, [this] { MenuBearbeitenWeitersuchen->setEnabled(true); },
        MerkActiveControl);
    TextBefehleAn(*RichEdit, *DialogSuchen);

    connect(RichEdit, &QPlainTextEdit::selectionChanged, this,
            [this] { Ausfuehren(this, dialoge_, &THilfeForm::RichEditSelectionChange); });
    RichEdit->KontextmenueSetzen(RePopup);
}

void THilfeForm::MenuErzeugen() {
    using T = THilfeForm;
    MainMenu1 = MenuLeisteAnlegen(this);

    MenuHilfe =
        MenuAnlegen<T>(this, dialoge_, MainMenu1, "MenuHilfe", QStringLiteral("&Hilfe"),
                       {{&MenuHilfeDrucken, "MenuHilfeDrucken", QStringLiteral("&Drucken..."),
                         QKeySequence(Qt::CTRL | Qt::Key_P), &T::MenuHilfeDruckenClick},
                        {},
                        {&MenuHilfeBeenden, "MenuHilfeBeenden", QStringLiteral("S&chließen"),
                         QKeySequence(Qt::ALT | Qt::Key_F4), &T::MenuHilfeBeendenClick}});

    MenuBearbeiten = MenuAnlegen<T>(
        this, dialoge_, MainMenu1, "MenuBearbeiten", QStringLiteral("&Bearbeiten"),
        {{&MenuBearbeitenSuchen, "MenuBearbeitenSuchen", QStringLiteral("&Suchen..."),
          QKeySequence(Qt::CTRL | Qt::Key_F), &T::MenuBearbeitenSuchenClick},
         {&MenuBearbeitenWeitersuchen, "MenuBearbeitenWeitersuchen",
          QStringLiteral("&Weitersuchen"), QKeySequence(Qt::Key_F3),
          &T::MenuBearbeitenWeitersuchenClick},
         {},
         {&MenuBearbeitenKopieren, "MenuBearbeitenKopieren", QStringLiteral("&Kopieren"),
          QKeySequence(Qt::CTRL | Qt::Key_C), &T::MenuBearbeitenKopierenClick},
         {&MenuBearbeitenAllesMarkieren, "MenuBearbeitenAllesMarkieren",
          QStringLiteral("Alles &markieren"), QKeySequence(Qt::CTRL | Qt::Key_A),
          &T::MenuBearbeitenAllesMarkierenClick}});

    MenuSchriftart =
        MenuAnlegen<T>(this, dialoge_, MainMenu1, "MenuSchriftart", QStringLiteral("&Schriftart"),
                       {{&MenuSchriftartWechseln,
                         "MenuSchriftartWechseln",
                         QStringLiteral("&Wechseln..."),
                         {},
                         &T::MenuSchriftartWechselnClick}});

    RePopup = new QMenu(this);
    RePopup->setObjectName(QStringLiteral("RePopup"));
    RePopup->setAccessibleName(QStringLiteral("Kontextmenü der Hilfe"));
    PunkteAnlegen<T>(this, dialoge_, RePopup,
                     {{&RePopupSchriftart,
                       "RePopupSchriftart",
                       QStringLiteral("&Schriftart..."),
                       {},
                       &T::MenuSchriftartWechselnClick},
                      {&RePopupDrucken,
                       "RePopupDrucken",
                       QStringLiteral("&Drucken..."),
                       {},
                       &T::MenuHilfeDruckenClick},
                      {&RePopupKopieren,
                       "RePopupKopieren",
                       QStringLiteral("&Kopieren"),
                       {},
                       &T::MenuBearbeitenKopierenClick},
                      {&RePopupAllesMarkieren,
                       "RePopupAllesMarkieren",
                       QStringLiteral("Alles &markieren"),
                       {},
                       &T::RePopupAllesMarkierenClick}});
}

void THilfeForm::InhaltZeigen() {
    if (!rtf_) {
        RichEdit->TextSetzen(text_);
        return;
    }
    // The font command lays the same document out again; what the user had
    // selected stays selected.
    const qsizetype start = RichEdit->AuswahlStart();
    const qsizetype laenge = RichEdit->AuswahlLaenge();
    const bool auswahl = laenge > 0 || start > 0;
    RichEdit->clear();
    DokumentEinfuegen(*RichEdit->document(), *rtf_, programmSchrift_);
    if (auswahl)
        RichEdit->Markieren(start, laenge);
    else
        RichEdit->moveCursor(QTextCursor::Start);
}

void THilfeForm::SchriftartZuweisen() {
    SchriftUndHintergrundZuweisen(RichEdit, programmSchrift_, hintergrund_);
    if (rtf_)
        InhaltZeigen();
    SchalterEinrichten();
}

void THilfeForm::SchalterEinrichten() {
    // The viewer covers the whole screen; the text fills it below the menu.
    if (BildschirmGross(this))
        FensterEinrichten();
}

void THilfeForm::FensterEinrichten() {
    DialogMittig(this);
}

void THilfeForm::FormShow() {
    SchalterEinrichten();
    // The text does not change while the viewer is open.
    const bool text = !RichEdit->IstLeer();
    MenuHilfeDrucken->setEnabled(text);
    RePopupDrucken->setEnabled(text);
    MenuBearbeitenSuchen->setEnabled(text);
    MenuBearbeitenAllesMarkieren->setEnabled(text);
    RePopupAllesMarkieren->setEnabled(text);
}

void THilfeForm::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    if (!ereignis->spontaneous())
        Ausfuehren(this, dialoge_, &THilfeForm::FormShow);
}

void THilfeForm::RichEditSelectionChange() {
    const bool auswahl = RichEdit->textCursor().hasSelection();
    MenuBearbeitenKopieren->setEnabled(auswahl);
    RePopupKopieren->setEnabled(auswahl);
}

void THilfeForm::Drucken(QPrinter& drucker) const {
    drucker.setDocName(FDruckenTitel);
    // A copy laid out for the printer: its fonts measured on the printer,
    // its pages the printable area, no margin of its own.
    std::unique_ptr<QTextDocument> kopie(RichEdit->document()->clone());
    kopie->setDocumentMargin(0);
    QAbstractTextDocumentLayout* layout = kopie->documentLayout();
    layout->setPaintDevice(&drucker);

    QPainter maler;
    if (!maler.begin(&drucker))
        throw std::runtime_error(
            "Der Druckauftrag \"Drucke Hilfe\" konnte nicht gestartet werden.");
    const QSizeF seite(drucker.width(), drucker.height());
    kopie->setPageSize(seite);
    const int seiten = kopie->pageCount();
    int erste = 1;
    int letzte = seiten;
    if (drucker.printRange() == QPrinter::PageRange) {
        erste = qMax(1, drucker.fromPage());
        letzte = qMin(seiten, drucker.toPage() > 0 ? drucker.toPage() : seiten);
    }
    // Copies that the printer does not make itself are printed in the job.
    const int kopien = drucker.supportsMultipleCopies() ? 1 : qMax(1, drucker.copyCount());
    bool neueSeite = false;
    for (int k = 0; k < kopien; ++k)
        for (int s = erste; s <= letzte; ++s) {
            if (neueSeite)
                drucker.newPage();
            neueSeite = true;
            const QRectF ausschnitt(0, (s - 1) * seite.height(), seite.width(), seite.height());
            maler.save();
            maler.translate(0, -ausschnitt.top());
            maler.setClipRect(ausschnitt);
            QAbstractTextDocumentLayout::PaintContext zusammenhang;
            zusammenhang.clip = ausschnitt;
            // Black on paper, whatever colour the screen shows text in.
            zusammenhang.palette.setColor(QPalette::Text, Qt::black);
            layout->draw(&maler, zusammenhang);
            maler.restore();
        }
    maler.end();
}

void THilfeForm::MenuHilfeDruckenClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    QPrinter drucker(QPrinter::HighResolution);
    if (!DialogDrucken(drucker))
        return;
    Drucken(drucker);
}

void THilfeForm::MenuHilfeBeendenClick() {
    close();
}

void THilfeForm::MenuSchriftartWechselnClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    if (ProgrammSchriftWaehlen(FontDialog1, programmSchrift_))
        SchriftartZuweisen();
}

void THilfeForm::MenuBearbeitenWeitersuchenClick() {
    DialogSuchen->SuchLauf();
}

void HilfeAnzeigen(QWidget* aufrufer, Dialoge& dialoge, const QString& programmOrdner,
                   TSchrift& programmSchrift, std::uint32_t hintergrund) {
    const QString pfad = QDir::toNativeSeparators(QDir(programmOrdner).filePath(HilfeDateiName));
    if (!QFileInfo(pfad).isFile()) {
        dialoge.Information(aufrufer,
                            QStringLiteral("Die Hilfe-Datei \"%1\" existiert nicht!").arg(pfad));
        return;
    }
    THilfeForm form(aufrufer, dialoge, programmSchrift, hintergrund, pfad);
    form.SchriftartZuweisen();
    form.setWindowTitle(QStringLiteral("Hilfe zum ") + ProgrammTitel);
    form.exec();
}

} // namespace zw
