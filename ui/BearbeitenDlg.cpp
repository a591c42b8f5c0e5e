#include "ui/BearbeitenDlg.h"

#include "platform/Fehlerbehandlung.h"
#include "platform/Pfad.h"
#include "ui/EditFeld.h"
#include "ui/Hilfe.h"
#include "ui/Layout.h"
#include "ui/Menues.h"
#include "ui/SpeicherTypen.h"
#include "ui/Suchen.h"
#include "ui/TabPruefenDlg.h"

#include "core/Tabelle.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace zw {

const std::u16string TabellenVorlage =
    u"; Kommentarzeilen beginnen mit Semikolon (;)\r\n"
    u"; Die Dezimal-Werte müssen mindestens durch ein Leerzeichen voneinander getrennt sein\r\n"
    u"; Beispiel (Normalerweise ohne Semikolon):\r\n"
    u"; 097 065 Ersetzt \"a\" durch \"A\"\r\n"
    u"; Such-Dez., Ersetz-Dez., Kommentartext\r\n";

namespace {

const QString kFilterOeffnen =
    QStringLiteral("Tabelle (*.TAB)|*.TAB|Rich Text Format (*.RTF)|*.RTF|"
                   "Textdokument (*.TXT)|*.TXT|Alle Dateien (*.*)|*.*|"
                   "Word- und OpenDocument-Text (*.DOCX; *.ODT)|*.DOCX;*.ODT|");
// A table saved as "Tabelle" is ANSI text like one saved as "Textdokument";
// the entry a loaded table preselects follows its extension.
const SpeicherTypen kSpeicherTypen = {
    {QStringLiteral("Tabelle (*.TAB)"), QStringLiteral("*.TAB"), tfText},
    {QStringLiteral("Rich Text Format (*.RTF)"), QStringLiteral("*.RTF"), tfRtf},
    {QStringLiteral("Textdokument (*.TXT)"), QStringLiteral("*.TXT"), tfText},
    {QStringLiteral("Unicode-Textdokument (*.TXT)"), QStringLiteral("*.TXT"), tfUnicode},
};
const QString kStandardEndung = QStringLiteral("TAB");

bool ZwischenablageHatText() {
    const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
    return daten && daten->hasText();
}

} // namespace

TTabBearbeitenForm::TTabBearbeitenForm(QWidget* owner, Dialoge& dialoge,
                                       const QString& programmOrdner, TSchrift& programmSchrift,
                                       std::uint32_t hintergrund, const QString& tabDatei)
    : TTextFenster(owner), dialoge_(dialoge), programmOrdner_(programmOrdner),
      programmSchrift_(programmSchrift), hintergrund_(hintergrund) {
    setObjectName(QStringLiteral("TabBearbeitenForm"));

    RichEdit = new EditFeld(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setAccessibleName(QStringLiteral("Tabelle"));
    MenuErzeugen();

    StatusZeile = new QStatusBar(this);
    StatusZeile->setObjectName(QStringLiteral("StatusZeile"));
    StatusZeile->setSizeGripEnabled(false);
    StatusZeile->setAccessibleName(QStringLiteral("Zeichen an der Schreibmarke"));
    LabelZeichen = new QLabel(StatusZeile);
    LabelZeichen->setObjectName(QStringLiteral("LabelZeichen"));
    StatusZeile->addWidget(LabelZeichen, 1);

    auto* lage = new QVBoxLayout(this);
    lage->setContentsMargins(0, 0, 0, 0);
    lage->setSpacing(0);
    lage->setMenuBar(MainMenu1);
    lage->addWidget(RichEdit);
    lage->addWidget(StatusZeile);

    // Every change of the text and of the selection switches the commands,
    // the loading below included.
    connect(RichEdit, &QPlainTextEdit::textChanged, this,
            [this] { Ausfuehren(this, dialoge_, &TTabBearbeitenForm::RichEditChange); });
    connect(RichEdit, &QPlainTextEdit::modificationChanged, this,
            [this] { Ausfuehren(this, dialoge_, &TTabBearbeitenForm::RichEditChange); });
    connect(RichEdit, &QPlainTextEdit::undoAvailable, this,
            [this] { Ausfuehren(this, dialoge_, &TTabBearbeitenForm::RichEditChange); });
    connect(RichEdit, &QPlainTextEdit::selectionChanged, this,
            [this] { Ausfuehren(this, dialoge_, &TTabBearbeitenForm::RichEditSelectionChange); });
    connect(RichEdit, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { Ausfuehren(this, dialoge_, &TTabBearbeitenForm::RichEditSelectionChange); });
    const auto zeichenZeigen = [this] {
        const QString text = ZeichenAnzeige();
        LabelZeichen->setText(text);
        LabelZeichen->setAccessibleName(text);
    };
    connect(RichEdit, &QPlainTextEdit::cursorPositionChanged, this, zeichenZeigen);
    connect(RichEdit, &QPlainTextEdit::textChanged, this, zeichenZeigen);

    FTabDatei = tabDatei;
    CaptionAnzeigen();
    MenuBearbeitenWeiterSuchen->setEnabled(false);
    MenuBearbeitenLoeschen->setEnabled(false);

    // The type is stored before a failure, as the loader does.
    FileType = DateiTypErmitteln(AlsPfad(FTabDatei));
    const Dokument dokument = DokumentLaden(AlsPfad(FTabDatei));
    FileType = dokument.Typ;
    geladen_ = Geladen::Aus(FTabDatei, dokument);
    RichEdit->TextSetzen(dokument.Text);

    RichEdit->GeaendertSetzen(false);
    MenuTabelleSpeichern->setEnabled(false);
    MenuBearbeitenKopieren->setEnabled(false);
    RePopupKopieren->setEnabled(false);
    RePopupAusschneiden->setEnabled(false);
    MenuBearbeitenAusschneiden->setEnabled(false);

    DialogOeffnen.Art = DateiDialogArt::Oeffnen;
    DialogOeffnen.Titel = QStringLiteral("Öffnen");
    DialogOeffnen.Filter = kFilterOeffnen;
    DialogOeffnen.FilterIndex = 1;
    DialogOeffnen.StandardEndung = kStandardEndung;
    DialogSpeichern.Art = DateiDialogArt::Speichern;
    DialogSpeichern.Titel = QStringLiteral("Speichern unter");
    DialogSpeichern.Filter = kSpeicherTypen.Filter();
    DialogSpeichern.FilterIndex = 1;
    DialogSpeichern.StandardEndung = kStandardEndung;

    FontDialog1 = [this](TSchrift& schrift) { return dialoge_.SchriftWaehlen(this, schrift); };
    DialogSuchen = new Suche(
        this, *RichEdit, dialoge_, [this] { MenuBearbeitenWeiterSuchen->setEnabled(true); },
        MerkActiveControl);
    TextBefehleAn(*RichEdit, *DialogSuchen);

    RichEdit->KontextmenueSetzen(RePopup);
}

void TTabBearbeitenForm::MenuErzeugen() {
    using T = TTabBearbeitenForm;
    MainMenu1 = MenuLeisteAnlegen(this);
    const auto taste = [](QKeyCombination kombination) { return QKeySequence(kombination); };
    const QKeySequence ohne;

    MenuTabelle = MenuAnlegen<T>(
        this, dialoge_, MainMenu1, "MenuTabelle", QStringLiteral("&Tabelle"),
        {{&MenuTabelleNeu, "MenuTabelleNeu", QStringLiteral("&Neu"), taste(Qt::CTRL | Qt::Key_N),
          &T::MenuTabelleNeuClick},
         {&MenuTabelleOeffnen, "MenuTabelleOeffnen", QStringLiteral("Ö&ffnen..."),
          taste(Qt::CTRL | Qt::Key_O), &T::MenuTabelleOeffnenClick},
         {&MenuTabelleSpeichern, "MenuTabelleSpeichern", QStringLiteral("&Speichern"),
          taste(Qt::CTRL | Qt::Key_S), &T::MenuTabelleSpeichernClick},
         {&MenuTabelleSpeichernUnter, "MenuTabelleSpeichernUnter",
          QStringLiteral("Speichern &unter..."), taste(Qt::CTRL | Qt::Key_U),
          &T::MenuTabelleSpeichernUnterClick},
         {},
         {&MenuTabellePruefen, "MenuTabellePruefen", QStringLiteral("Tabelle &prüfen"),
          taste(Qt::Key_F7), &T::MenuTabellePruefenClick},
         {},
         {&MenuTabelleBeenden, "MenuTabelleBeenden", QStringLiteral("S&chließen"),
          taste(Qt::ALT | Qt::Key_F4), &T::MenuTabelleBeendenClick}});

    MenuBearbeiten = MenuAnlegen<T>(
        this, dialoge_, MainMenu1, "MenuBearbeiten", QStringLiteral("&Bearbeiten"),
        {{&MenuBearbeitenSuchen, "MenuBearbeitenSuchen", QStringLiteral("&Suchen..."),
          taste(Qt::CTRL | Qt::Key_F), &T::MenuBearbeitenSuchenClick},
         {&MenuBearbeitenWeiterSuchen, "MenuBearbeitenWeiterSuchen",
          QStringLiteral("&Weitersuchen"), taste(Qt::Key_F3), &T::MenuBearbeitenWeiterSuchenClick},
         {},
         {&MenuBearbeitenRueckgaengig, "MenuBearbeitenRueckgaengig", QStringLiteral("&Rückgängig"),
          taste(Qt::CTRL | Qt::Key_Z), &T::MenuBearbeitenRueckgaengigClick},
         {},
         {&MenuBearbeitenAllesMarkieren, "MenuBearbeitenAllesMarkieren",
          QStringLiteral("Alles &markieren"), taste(Qt::CTRL | Qt::Key_A),
          &T::MenuBearbeitenAllesMarkierenClick},
         {&MenuBearbeitenKopieren, "MenuBearbeitenKopieren", QStringLiteral("&Kopieren"),
          taste(Qt::CTRL | Qt::Key_C), &T::MenuBearbeitenKopierenClick},
         {&MenuBearbeitenAusschneiden, "MenuBearbeitenAusschneiden",
          QStringLiteral("&Ausschneiden"), taste(Qt::CTRL | Qt::Key_X),
          &T::MenuBearbeitenAusschneidenClick},
         {&MenuBearbeitenEinfuegen, "MenuBearbeitenEinfuegen", QStringLiteral("&Einfügen"),
          taste(Qt::CTRL | Qt::Key_V), &T::MenuBearbeitenEinfuegenClick},
         {&MenuBearbeitenLoeschen, "MenuBearbeitenLoeschen", QStringLiteral("&Löschen"), ohne,
          &T::MenuBearbeitenLoeschenClick}});

    MenuHilfe = MenuAnlegen<T>(this, dialoge_, MainMenu1, "MenuHilfe", QStringLiteral("&Hilfe"),
                               {{&MenuHilfeHilfe, "MenuHilfeHilfe", QStringLiteral("&Hilfe..."),
                                 taste(Qt::Key_F1), &T::MenuHilfeHilfeClick}});

    RePopup = new QMenu(this);
    RePopup->setObjectName(QStringLiteral("RePopup"));
    RePopup->setAccessibleName(QStringLiteral("Kontextmenü der Tabelle"));
    PunkteAnlegen<T>(this, dialoge_, RePopup,
                     {{&RePopupSchriftart, "RePopupSchriftart", QStringLiteral("&Schriftart..."),
                       ohne, &T::RePopupSchriftartClick},
                      {},
                      {&RePopupKopieren, "RePopupKopieren", QStringLiteral("&Kopieren"), ohne,
                       &T::MenuBearbeitenKopierenClick},
                      {&RePopupAusschneiden, "RePopupAusschneiden", QStringLiteral("&Ausschneiden"),
                       ohne, &T::MenuBearbeitenAusschneidenClick},
                      {&RePopupEinfuegen, "RePopupEinfuegen", QStringLiteral("&Einfügen"), ohne,
                       &T::MenuBearbeitenEinfuegenClick},
                      {},
                      {&RePopupAllesMarkieren, "RePopupAllesMarkieren",
                       QStringLiteral("Alles &markieren"), ohne, &T::RePopupAllesMarkierenClick}});
}

void TTabBearbeitenForm::CaptionAnzeigen() {
    setWindowTitle(QStringLiteral("%1 - Tabelle bearbeiten").arg(DateiName(FTabDatei)));
}

Antwort TTabBearbeitenForm::SpeichernTest() {
    if (!RichEdit->Geaendert())
        return Antwort::Keine;
    const Antwort antwort = dialoge_.Bestaetigung(
        this, QStringLiteral("Änderungen in \"%1\" speichern?").arg(DateiName(FTabDatei)));
    return antwort == Antwort::Ja || antwort == Antwort::Nein ? antwort : Antwort::Abbrechen;
}

bool TTabBearbeitenForm::FrageUndSpeichern() {
    switch (SpeichernTest()) {
    case Antwort::Abbrechen:
        return false;
    case Antwort::Ja:
        // A failed save ends the command here: nothing after it runs; a
        // declined one ends it as well.
        return Speichern();
    default:
        return true;
    }
}

bool TTabBearbeitenForm::Speichern() {
    if (!RichEdit->Geaendert())
        return true;
    // The text of a Word or OpenDocument file never goes back over it.
    if (geladen_.DokumentQuelle(FTabDatei))
        return SpeichernUnter(TextNameFuer(FTabDatei));
    if (!ErsetzenErlaubt(dialoge_, this, geladen_, FTabDatei))
        return false;
    TextDateiSpeichern(AlsPfad(FTabDatei), RichEdit->Text(), FileType, &programmSchrift_);
    Gespeichert();
    return true;
}

void TTabBearbeitenForm::Gespeichert() {
    if (SelbeDatei(FTabDatei, geladen_.Pfad))
        geladen_ = Geladen{FTabDatei, Herkunft::Textdatei, std::nullopt};
    RichEdit->GeaendertSetzen(false);
    MenuTabelleSpeichern->setEnabled(false);
}

void TTabBearbeitenForm::SetSaveFileType() {
    FileType = kSpeicherTypen.TypZu(DialogSpeichern.FilterIndex);
}

void TTabBearbeitenForm::SetSaveFilterIndex() {
    // No entry saves UTF-8: such a table is written back as ANSI text.
    DialogSpeichern.FilterIndex = kSpeicherTypen.IndexZu(FileType, FTabDatei);
}

void TTabBearbeitenForm::SchriftartZuweisen() {
    SchriftUndHintergrundZuweisen(RichEdit, programmSchrift_, hintergrund_);
    SchalterEinrichten();
}

void TTabBearbeitenForm::SchalterEinrichten() {
    // The editor covers the whole screen; the text fills it below the menu.
    if (BildschirmGross(this, &layoutRahmen_))
        FensterEinrichten();
}

void TTabBearbeitenForm::moveEvent(QMoveEvent* ereignis) {
    QDialog::moveEvent(ereignis);
    if (isVisible() && frameGeometry().size() - geometry().size() != layoutRahmen_)
        SchalterEinrichten();
}

void TTabBearbeitenForm::FensterEinrichten() {
    DialogMittig(this);
}

void TTabBearbeitenForm::EinfuegenSchalten() {
    const bool text = ZwischenablageHatText();
    MenuBearbeitenEinfuegen->setEnabled(text);
    RePopupEinfuegen->setEnabled(text);
}

void TTabBearbeitenForm::FormShow() {
    SchalterEinrichten();
    MenuBearbeitenRueckgaengig->setEnabled(RichEdit->KannRueckgaengig());
    EinfuegenSchalten();
    SetSaveFilterIndex();
}

void TTabBearbeitenForm::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    if (!ereignis->spontaneous())
        Ausfuehren(this, dialoge_, &TTabBearbeitenForm::FormShow);
}

bool TTabBearbeitenForm::FormCloseQuery() {
    // Yes: a failed save leaves this by its error, and the window stays.
    return FrageUndSpeichern();
}

void TTabBearbeitenForm::closeEvent(QCloseEvent* ereignis) {
    bool schliessen = false;
    BefehlAusfuehren(dialoge_, this, [&] { schliessen = FormCloseQuery(); });
    if (schliessen)
        QDialog::closeEvent(ereignis);
    else
        ereignis->ignore();
}

void TTabBearbeitenForm::RichEditChange() {
    MenuBearbeitenRueckgaengig->setEnabled(RichEdit->KannRueckgaengig());
    const bool text = !RichEdit->IstLeer();
    MenuBearbeitenAllesMarkieren->setEnabled(text);
    RePopupAllesMarkieren->setEnabled(text);
    MenuBearbeitenSuchen->setEnabled(text);
    MenuTabelleSpeichern->setEnabled(RichEdit->Geaendert());
}

void TTabBearbeitenForm::RichEditSelectionChange() {
    const bool auswahl = RichEdit->textCursor().hasSelection();
    MenuBearbeitenLoeschen->setEnabled(auswahl);
    MenuBearbeitenKopieren->setEnabled(auswahl);
    RePopupKopieren->setEnabled(auswahl);
    MenuBearbeitenAusschneiden->setEnabled(auswahl);
    RePopupAusschneiden->setEnabled(auswahl);
    EinfuegenSchalten();
}

void TTabBearbeitenForm::MenuTabelleNeuClick() {
    if (!FrageUndSpeichern())
        return;
    FTabDatei =
        QDir::toNativeSeparators(QDir(Ordner(FTabDatei)).filePath(QStringLiteral("NoName.tab")));
    CaptionAnzeigen();
    RichEdit->TextSetzen(TabellenVorlage);
    RichEdit->GeaendertSetzen(false);
    RichEdit->moveCursor(QTextCursor::End);
    MenuTabelleSpeichern->setEnabled(false);
}

void TTabBearbeitenForm::MenuTabelleOeffnenClick() {
    DialogOeffnen.Ordner = Ordner(FTabDatei);
    DialogOeffnen.DateiName.clear();
    const FokusBereich fokus(MerkActiveControl, RichEdit);
    if (!dialoge_.DateiWaehlen(this, DialogOeffnen))
        return;
    // Asked only now, when it is clear that another file is to be read.
    if (!FrageUndSpeichern())
        return;

    // Read first: a file that cannot be read leaves text, changes and path
    // as they were, so a later save never writes the old text over it.
    const QString pfad = DialogOeffnen.DateiName;
    const Dokument dokument = DokumentLaden(AlsPfad(pfad));
    FTabDatei = pfad;
    geladen_ = Geladen::Aus(pfad, dokument);
    RichEdit->TextSetzen(dokument.Text);
    FileType = dokument.Typ;
    SetSaveFilterIndex();
    CaptionAnzeigen();
    RichEdit->GeaendertSetzen(false);
    MenuTabelleSpeichern->setEnabled(false);
    NulMelden(dialoge_, this, geladen_);
}

void TTabBearbeitenForm::MenuTabelleSpeichernClick() {
    Speichern();
}

void TTabBearbeitenForm::MenuTabelleSpeichernUnterClick() {
    SpeichernUnter(FTabDatei);
}

bool TTabBearbeitenForm::SpeichernUnter(const QString& vorschlag) {
    DialogSpeichern.Ordner = Ordner(vorschlag);
    DialogSpeichern.DateiName = DateiName(vorschlag);
    const FokusBereich fokus(MerkActiveControl, RichEdit);
    if (!dialoge_.DateiWaehlen(this, DialogSpeichern))
        return false;
    if (!ErsetzenErlaubt(dialoge_, this, geladen_, DialogSpeichern.DateiName))
        return false;
    FTabDatei = DialogSpeichern.DateiName;
    SetSaveFileType();
    // Written whether changed or not: the user asked for this file.
    TextDateiSpeichern(AlsPfad(FTabDatei), RichEdit->Text(), FileType, &programmSchrift_);
    CaptionAnzeigen();
    Gespeichert();
    return true;
}

void TTabBearbeitenForm::MenuTabellePruefenClick() {
    const FokusBereich fokus(MerkActiveControl, RichEdit);
    const std::u16string text = RichEdit->Text();
    const std::vector<TabBefund> befunde = TabTextPruefen(text);
    if (befunde.empty()) {
        const std::size_t n = TabTextAuswerten(text).size();
        dialoge_.Information(this, n == 1 ? QStringLiteral("Die Tabelle hat 1 Eintrag und keine "
                                                           "Auffälligkeiten.")
                                          : QStringLiteral("Die Tabelle hat %1 Einträge und keine "
                                                           "Auffälligkeiten.")
                                                .arg(n));
        return;
    }
    TTabPruefenForm form(this, befunde);
    form.SchriftartZuweisen(programmSchrift_, hintergrund_);
    if (form.exec() == QDialog::Accepted && form.Zeile() > 0)
        ZeileMarkieren(form.Zeile());
}

void TTabBearbeitenForm::ZeileMarkieren(std::size_t zeile) {
    const QTextBlock block = RichEdit->document()->findBlockByNumber(int(zeile) - 1);
    if (!block.isValid())
        return;
    QTextCursor c(block);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    RichEdit->setTextCursor(c);
    RichEdit->ensureCursorVisible();
}

QString TTabBearbeitenForm::ZeichenAnzeige() const {
    const QTextCursor c = RichEdit->textCursor();
    const QTextBlock block = c.block();
    const int spalte = c.position() - block.position();
    const QString ort =
        QStringLiteral("Zeile %1, Spalte %2").arg(block.blockNumber() + 1).arg(spalte + 1);
    const QString zeile = block.text();
    if (spalte >= zeile.size())
        return (block.next().isValid() ? QStringLiteral("Zeilenende, ")
                                       : QStringLiteral("Textende, ")) +
               ort;
    const char16_t z = zeile[spalte].unicode();
    // A character beyond 16 bits: a table writes its two halves one by one.
    if (QChar::isHighSurrogate(z) && spalte + 1 < zeile.size() &&
        QChar::isLowSurrogate(zeile[spalte + 1].unicode()))
        return QStringLiteral("Zeichen „%1“ aus den Codes %2 und %3, ")
                   .arg(zeile.mid(spalte, 2))
                   .arg(int(z))
                   .arg(int(zeile[spalte + 1].unicode())) +
               ort;
    QString name;
    if (z == u' ')
        name = QStringLiteral(" (Leerzeichen)");
    else if (z == u'\t')
        name = QStringLiteral(" (Tabulator)");
    else if (z >= 0x20 && !(z >= 0x7F && z < 0xA0) && !QChar::isSurrogate(z))
        name = QStringLiteral(" „%1“").arg(QChar(z));
    return QStringLiteral("Zeichen %1%2, ").arg(int(z)).arg(name) + ort;
}

void TTabBearbeitenForm::MenuTabelleBeendenClick() {
    close();
}

void TTabBearbeitenForm::MenuBearbeitenRueckgaengigClick() {
    RichEdit->undo();
}

void TTabBearbeitenForm::MenuBearbeitenAusschneidenClick() {
    RichEdit->cut();
}

void TTabBearbeitenForm::MenuBearbeitenEinfuegenClick() {
    RichEdit->paste();
}

void TTabBearbeitenForm::MenuBearbeitenLoeschenClick() {
    QTextCursor c = RichEdit->textCursor();
    c.removeSelectedText();
    RichEdit->setTextCursor(c);
}

void TTabBearbeitenForm::MenuBearbeitenWeiterSuchenClick() {
    DialogSuchen->SuchLauf();
}

void TTabBearbeitenForm::RePopupSchriftartClick() {
    const FokusBereich fokus(MerkActiveControl, RichEdit);
    if (ProgrammSchriftWaehlen(FontDialog1, programmSchrift_))
        SchriftartZuweisen();
}

void TTabBearbeitenForm::MenuHilfeHilfeClick() {
    HilfeAnzeigen(this, dialoge_, programmOrdner_, programmSchrift_, hintergrund_);
    // The font may have been changed in the viewer.
    SchriftartZuweisen();
}

} // namespace zw
