#include "ui/Haupt.h"

#include "core/Drucktext.h"
#include "core/Kodierung.h"
#include "core/Konvertierung.h"
#include "platform/BrailleEinstellungen.h"
#include "platform/Fehlerbehandlung.h"
#include "platform/Pfad.h"
#include "platform/Vordergrund.h"
#include "ui/BearbeitenDlg.h"
#include "ui/DruckDlg.h"
#include "ui/Hilfe.h"
#include "ui/Layout.h"
#include "ui/LokalDlg.h"
#include "ui/Menues.h"
#include "ui/MoHintergrund.h"
#include "ui/NetzwerkDlg.h"
#include "ui/ProgrammInfo.h"
#include "ui/SpeicherTypen.h"
#include "ui/Speicherschutz.h"
#include "ui/Suchen.h"
#include "ui/Vorschau.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zw {

namespace {

const QString kHinweisOeffnen = QStringLiteral("Mit Strg+O können Sie eine Datei öffnen");
const QString kHinweisKonvertieren = QStringLiteral("Mit Strg+K starten Sie die Konvertierung");
const QString kHinweisSpeichern = QStringLiteral("Mit Strg+S können Sie den Text speichern");
const QString kHinweisTabelle = QStringLiteral("Mit Strg+T können Sie eine Tabellen-Datei wählen");

const QString kFilterOeffnen =
    QStringLiteral("Rich Text Format (*.RTF)|*.RTF|Textdokument (*.TXT; *.BRL)|*.TXT;*.BRL|"
                   "Alle Dateien (*.*)|*.*|"
                   "Word- und OpenDocument-Text (*.DOCX; *.ODT)|*.DOCX;*.ODT|");
const SpeicherTypen kSpeicherTypen = {
    {QStringLiteral("Rich Text Format (*.RTF)"), QStringLiteral("*.RTF"), tfRtf},
    {QStringLiteral("Textdokument (*.TXT; *.BRL)"), QStringLiteral("*.TXT;*.BRL"), tfText},
    {QStringLiteral("Unicode-Textdokument (*.TXT)"), QStringLiteral("*.TXT"), tfUnicode},
};
const QString kFilterTabelle =
    QStringLiteral("Tabelle (*.TAB)|*.TAB|Rich Text Format (*.RTF)|*.RTF|"
                   "Textdokument (*.TXT)|*.TXT|Alle Dateien (*.*)|*.*|");

QString ZahlText(std::int64_t zahl) {
    return QString::fromStdString(ZahlGruppieren(zahl));
}

// A label's text is also its accessible name, so a screen reader reads what
// is shown, the file name and the count included.
void LabelSetzen(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text);
    // The window places its labels itself; each is as large as its text.
    label->adjustSize();
}

// A button that runs a menu command is the command's second face: it takes
// the action's state and triggers it.
void KnopfFuerAktion(QPushButton* knopf, QAction* aktion) {
    knopf->setEnabled(aktion->isEnabled());
    QObject::connect(aktion, &QAction::enabledChanged, knopf, &QWidget::setEnabled);
    QObject::connect(knopf, &QPushButton::clicked, aktion, &QAction::trigger);
}

} // namespace

TForm1::TForm1(Dialoge& dialoge, QWidget* eltern)
    : TForm1(dialoge, BenutzerEinstellungen(), eltern) {}

TForm1::TForm1(Dialoge& dialoge, Einstellungen& einstellungen, QWidget* eltern)
    : QMainWindow(eltern), dialoge_(dialoge), einstellungen_(einstellungen) {
    FormCreate();
}

QString TForm1::ProgrammOrdner() {
    return QCoreApplication::applicationDirPath();
}

void TForm1::SteuerelementeErzeugen() {
    auto* flaeche = new QWidget(this);
    setCentralWidget(flaeche);

    RichEdit = new TextFeld(flaeche);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setAccessibleName(QStringLiteral("Text"));

    LabelTabDatei = new QLabel(flaeche);
    LabelTabDatei->setObjectName(QStringLiteral("LabelTabDatei"));
    LabelTabDatei->setToolTip(QStringLiteral("Hier können Sie die Tabellen-Datei wählen"));
    LabelTabDatei->setAccessibleDescription(LabelTabDatei->toolTip());
    LabelTabDatei->setCursor(Qt::PointingHandCursor);
    LabelTabDatei->installEventFilter(this);
    LabelTabEintraege = new QLabel(flaeche);
    LabelTabEintraege->setObjectName(QStringLiteral("LabelTabEintraege"));

    auto knopf = [&](const char* name, const QString& text) {
        auto* k = new QPushButton(text, flaeche);
        k->setObjectName(QLatin1String(name));
        k->setAccessibleName(UndZeichenEntfernen(text));
        k->setAutoDefault(false);
        k->installEventFilter(this);
        return k;
    };
    ButtonOpen = knopf("ButtonOpen", QStringLiteral("Öffnen..."));
    ButtonKonvertieren = knopf("ButtonKonvertieren", QStringLiteral("Konvertieren"));
    ButtonSpeichern = knopf("ButtonSpeichern", QStringLiteral("Speichern"));
    ButtonSuchen = knopf("ButtonSuchen", QStringLiteral("Suchen..."));
    ButtonWeiterSuchen = knopf("ButtonWeiterSuchen", QStringLiteral("Weitersuchen"));
    ButtonDrucken = knopf("ButtonDrucken", QStringLiteral("Drucken..."));

    // Text on top, the two table labels, then two rows of three buttons;
    // SchalterEinrichten places them from the font.

    StatusZeile = new QStatusBar(this);
    StatusZeile->setObjectName(QStringLiteral("StatusZeile"));
    StatusZeile->setAccessibleName(QStringLiteral("Statuszeile"));
    StatusZeile->setSizeGripEnabled(false);
    statusText_ = new QLabel(StatusZeile);
    statusText_->setObjectName(QStringLiteral("StatusText"));
    statusText_->setAlignment(Qt::AlignCenter);
    StatusZeile->addWidget(statusText_, 1);
    setStatusBar(StatusZeile);

    QWidget::setTabOrder(ButtonOpen, ButtonKonvertieren);
    QWidget::setTabOrder(ButtonKonvertieren, ButtonSpeichern);
    QWidget::setTabOrder(ButtonSpeichern, RichEdit);
    QWidget::setTabOrder(RichEdit, ButtonSuchen);
    QWidget::setTabOrder(ButtonSuchen, ButtonWeiterSuchen);
    QWidget::setTabOrder(ButtonWeiterSuchen, ButtonDrucken);
}

void TForm1::MenuErzeugen() {
    using T = TForm1;
    menuBar()->setAccessibleName(QStringLiteral("Hauptmenü"));
    QMenuBar* const leiste = menuBar();
    const auto taste = [](QKeyCombination kombination) { return QKeySequence(kombination); };
    const QKeySequence ohne;

    MenuDatei =
        MenuAnlegen<T>(this, dialoge_, leiste, "MenuDatei", QStringLiteral("&Datei"),
                       {{&MenuDateiOeffnen, "MenuDateiOeffnen", QStringLiteral("Ö&ffnen..."),
                         taste(Qt::CTRL | Qt::Key_O), &T::MenuDateiOeffnenClick},
                        {&MenuDateiSpeichern, "MenuDateiSpeichern", QStringLiteral("&Speichern"),
                         taste(Qt::CTRL | Qt::Key_S), &T::MenuDateiSpeichernClick},
                        {&MenuDateiSpeichernUnter, "MenuDateiSpeichernUnter",
                         QStringLiteral("Speichern &unter..."), taste(Qt::CTRL | Qt::Key_U),
                         &T::MenuDateiSpeichernUnterClick},
                        {},
                        {&MenuDateiDrucken, "MenuDateiDrucken", QStringLiteral("&Drucken..."),
                         taste(Qt::CTRL | Qt::Key_P), &T::MenuDateiDruckenClick},
                        {&MenuDateiVorschau, "MenuDateiVorschau",
                         QStringLiteral("Braille-&Vorschau..."), ohne, &T::MenuDateiVorschauClick},
                        {},
                        {&MenuDateiBeenden, "MenuDateiBeenden", QStringLiteral("&Beenden"),
                         taste(Qt::ALT | Qt::Key_F4), &T::MenuDateiBeendenClick}});

    MenuBearbeiten = MenuAnlegen<T>(
        this, dialoge_, leiste, "MenuBearbeiten", QStringLiteral("&Bearbeiten"),
        {{&MenuBearbeitenKonvertieren, "MenuBearbeitenKonvertieren",
          QStringLiteral("&Konvertierung starten"), taste(Qt::CTRL | Qt::Key_K),
          &T::MenuBearbeitenKonvertierenClick},
         {},
         {&MenuBearbeitenSuchen, "MenuBearbeitenSuchen", QStringLiteral("&Suchen..."),
          taste(Qt::CTRL | Qt::Key_F), &T::MenuBearbeitenSuchenClick},
         {&MenuBearbeitenWeiterSuchen, "MenuBearbeitenWeiterSuchen",
          QStringLiteral("&Weitersuchen"), taste(Qt::Key_F3), &T::MenuBearbeitenWeiterSuchenClick},
         {},
         {&MenuBearbeitenAllesMarkieren, "MenuBearbeitenAllesMarkieren",
          QStringLiteral("Alles &markieren"), taste(Qt::CTRL | Qt::Key_A),
          &T::MenuBearbeitenAllesMarkierenClick},
         {&MenuBearbeitenKopieren, "MenuBearbeitenKopieren", QStringLiteral("&Kopieren"),
          taste(Qt::CTRL | Qt::Key_C), &T::MenuBearbeitenKopierenClick}});

    MenuTabelle = MenuAnlegen<T>(
        this, dialoge_, leiste, "MenuTabelle", QStringLiteral("&Tabelle"),
        {{&MenuTabelleWechseln, "MenuTabelleWechseln", QStringLiteral("&Wechseln..."),
          taste(Qt::CTRL | Qt::Key_T), &T::MenuTabelleWechselnClick},
         {&MenuTabelleBearbeiten, "MenuTabelleBearbeiten", QStringLiteral("&Bearbeiten"),
          taste(Qt::CTRL | Qt::Key_B), &T::MenuTabelleBearbeitenClick}});

    MenuDrucker = MenuAnlegen<T>(
        this, dialoge_, leiste, "MenuDrucker", QStringLiteral("Dr&ucker"),
        {{&MenuDruckerLokal, "MenuDruckerLokal", QStringLiteral("&Lokal..."),
          taste(Qt::CTRL | Qt::Key_L), &T::MenuDruckerLokalClick},
         {&MenuDruckerNetzwerk, "MenuDruckerNetzwerk", QStringLiteral("&Netzwerk..."),
          taste(Qt::CTRL | Qt::Key_N), &T::MenuDruckerNetzwerkClick}});

    MenuAnsicht = MenuAnlegen<T>(
        this, dialoge_, leiste, "MenuAnsicht", QStringLiteral("&Ansicht"),
        {{&MenuAnsSchriftart, "MenuAnsSchriftart", QStringLiteral("Schriftart..."), ohne,
          &T::MenuAnsSchriftartClick},
         {&MenuAnsHintergrund, "MenuAnsHintergrund", QStringLiteral("Schrift&hintergrund..."), ohne,
          &T::MenuAnsHintergrundClick}});

    MenuHilfe = MenuAnlegen<T>(
        this, dialoge_, leiste, "MenuHilfe", QStringLiteral("&Hilfe"),
        {{&MenuHilfeHilfe, "MenuHilfeHilfe", QStringLiteral("&Hilfe"), taste(Qt::Key_F1),
          &T::MenuHilfeHilfeClick},
         {&MenuHilfeProgrammInfo, "MenuHilfeProgrammInfo", QStringLiteral("Programm-&Info"), ohne,
          &T::MenuHilfeProgrammInfoClick},
         {&MenuHilfeHomepage, "MenuHilfeHomepage", QStringLiteral("Programm-Home&page..."), ohne,
          &T::MenuHilfeHomepageClick},
         {&MenuHilfeUpdate, "MenuHilfeUpdate", QStringLiteral("Programm-&Aktualisierung..."), ohne,
          &T::MenuHilfeUpdateClick},
         {&MenuHilfeHistory, "MenuHilfeHistory", QStringLiteral("Programm-&Änderungen..."), ohne,
          &T::MenuHilfeHistoryClick},
         {&MenuHilfeMail, "MenuHilfeMail", QStringLiteral("&Mail an den Programmierer..."), ohne,
          &T::MenuHilfeMailClick},
         {&MenuHilfeSpenden, "MenuHilfeSpenden", QStringLiteral("&Spenden..."), ohne,
          &T::MenuHilfeSpendenClick}});
    connect(MenuHilfe, &QMenu::aboutToShow, this,
            [this] { Ausfuehren(this, dialoge_, &T::MenuHilfeClick); });

    RePopup = new QMenu(this);
    RePopup->setObjectName(QStringLiteral("RePopup"));
    RePopup->setAccessibleName(QStringLiteral("Kontextmenü des Textes"));
    PunkteAnlegen<T>(this, dialoge_, RePopup,
                     {{&RePopupSchriftart, "RePopupSchriftart", QStringLiteral("&Schriftart..."),
                       ohne, &T::RePopupSchriftartClick},
                      {&RePopupKopieren, "RePopupKopieren", QStringLiteral("&Kopieren"), ohne,
                       &T::MenuBearbeitenKopierenClick},
                      {&RePopupAllesMarkieren, "RePopupAllesMarkieren",
                       QStringLiteral("Alles &markieren"), ohne, &T::RePopupAllesMarkierenClick}});
}

void TForm1::FormCreate() {
    SteuerelementeErzeugen();
    MenuErzeugen();

    IsClosing = false;
    // The background colour dialog lives as long as the window; until the
    // settings are read the background is its second entry, white.
    HintergrundForm = new THintergrundForm(this, kLayoutAbstand);
    HintergrundForm->SetHintergrundNr(1);
    SchriftHintergrundFarbe = HintergrundForm->HintergrundFarbe();
    // The font the window is designed with, until the settings give the
    // user's own.
    ProgrammSchrift = TSchrift{};
    ProgrammSchrift.Groesse = 8;
    QGuiApplication::setApplicationDisplayName(ProgrammTitel);
    StatusHinweisSetzen(kHinweisOeffnen);
    SetKonvertiertS(false);
    SetDateiOffenS(false);
    SetTextGeaendertS(false);
    DateiStr = KeinName;
    CaptionAnzeigen();
    TabListe.clear();

    DialogTabOeffnen.Art = DateiDialogArt::Oeffnen;
    DialogTabOeffnen.Titel = QStringLiteral("Tabelle wechseln");
    DialogTabOeffnen.Filter = kFilterTabelle;
    DialogTabOeffnen.FilterIndex = 1;
    DialogTabOeffnen.StandardEndung = QStringLiteral("TAB");
    DialogOeffnen.Art = DateiDialogArt::Oeffnen;
    DialogOeffnen.Titel = QStringLiteral("Öffnen");
    DialogOeffnen.Filter = kFilterOeffnen;
    DialogOeffnen.FilterIndex = 2;
    DialogOeffnen.StandardEndung = QStringLiteral("TXT");
    DialogSpeichern.Art = DateiDialogArt::Speichern;
    DialogSpeichern.Titel = QStringLiteral("Speichern unter");
    DialogSpeichern.Filter = kSpeicherTypen.Filter();
    DialogSpeichern.FilterIndex = 2;
    DialogSpeichern.StandardEndung = QStringLiteral("TXT");

    LabelSetzen(LabelTabDatei, QStringLiteral("Tabellen-Datei: (Keine ausgewählt!)"));
    LabelSetzen(LabelTabEintraege, QStringLiteral("Tabellen-Einträge: 0"));

    DialogSuchen = new Suche(
        this, *RichEdit, dialoge_,
        [this] {
            // The first search run makes find-next available for good.
            weiterSuchenAn_ = true;
            BefehleSchalten();
        },
        MerkActiveControl);
    TextBefehleAn(*RichEdit, *DialogSuchen);
    KnopfFuerAktion(ButtonOpen, MenuDateiOeffnen);
    KnopfFuerAktion(ButtonKonvertieren, MenuBearbeitenKonvertieren);
    KnopfFuerAktion(ButtonSpeichern, MenuDateiSpeichern);
    KnopfFuerAktion(ButtonSuchen, MenuBearbeitenSuchen);
    KnopfFuerAktion(ButtonWeiterSuchen, MenuBearbeitenWeiterSuchen);
    KnopfFuerAktion(ButtonDrucken, MenuDateiDrucken);
    connect(RichEdit, &QPlainTextEdit::selectionChanged, this,
            [this] { Ausfuehren(this, dialoge_, &TForm1::RichEditSelectionChange); });
    RichEdit->KontextmenueSetzen(RePopup);

    // Laid out once with the designed font, so the window is whole also when
    // the settings cannot be read; loading them lays it out again.
    SchriftartZuweisen();
    FensterEinrichten();
    ButtonOpen->setFocus();
}

void TForm1::FormShow() {
    RegistryLadenSpeichern(true);
}

void TForm1::showEvent(QShowEvent* ereignis) {
    QMainWindow::showEvent(ereignis);
    // The menu bar makes its button and menu for the menus that do not fit
    // once it has been laid out.
    for (QToolButton* knopf : menuBar()->findChildren<QToolButton*>())
        knopf->setAccessibleName(QStringLiteral("Weitere Menüs"));
    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        if (m->accessibleName().isEmpty())
            m->setAccessibleName(QStringLiteral("Weitere Menüs"));
    if (!gezeigt_ && !ereignis->spontaneous()) {
        gezeigt_ = true;
        Ausfuehren(this, dialoge_, &TForm1::FormShow);
        // Placed once more now that the window has its frame.
        FensterEinrichten();
    }
}

void TForm1::RegistryLadenSpeichern(bool LadenS) {
    int hintergrund = HintergrundNr();
    const ProgrammWerte werte{TabDateiStr, DruckerPortStr, hintergrund, ProgrammSchrift};
    if (!LadenS) {
        ProgrammWerteSpeichern(einstellungen_, werte);
        return;
    }
    {
        // A port read before a broken value still counts as chosen.
        const auto port = qScopeGuard([this] { DruckerPortS = !DruckerPortStr.isEmpty(); });
        if (ProgrammWerteLaden(einstellungen_, werte))
            // Shows the loaded font too: the window is laid out for it here.
            SetHintergrundNr(hintergrund);
    }
    TabListeEinlesen();
}

int TForm1::HintergrundNr() const {
    return HintergrundForm->HintergrundNr();
}

void TForm1::SetHintergrundNr(int nr) {
    HintergrundForm->SetHintergrundNr(nr);
    SchriftHintergrundFarbe = HintergrundForm->HintergrundFarbe();
    SchriftartZuweisen();
}

void TForm1::SchriftartZuweisen() {
    // The status bar keeps its own font.
    SchriftartAnwenden({LabelTabDatei, LabelTabEintraege, RichEdit},
                       {ButtonOpen, ButtonKonvertieren, ButtonSpeichern, ButtonSuchen,
                        ButtonWeiterSuchen, ButtonDrucken},
                       ProgrammSchrift, SchriftHintergrundFarbe);
    SchalterEinrichten();
}

void TForm1::SchalterEinrichten() {
    const QScopedValueRollback<bool> laeuft(layoutLaeuft_, true);
    const int rand = kLayoutAbstand;

    const int statusHoehe = SteuerelementHoehe(StatusZeile->font(), StatusZeile);
    StatusZeile->setFixedHeight(statusHoehe);
    for (QPushButton* k : {ButtonOpen, ButtonKonvertieren, ButtonSpeichern, ButtonSuchen,
                           ButtonWeiterSuchen, ButtonDrucken})
        k->resize(kLayoutKnopfBreite, SteuerelementHoehe(k->font(), k));

    // Three columns of buttons with a button's width before, between and
    // after them.
    const int suchenLinks = ButtonSuchen->width();
    const int weiterLinks = 2 * suchenLinks + ButtonWeiterSuchen->width();
    const int druckenLinks = weiterLinks + ButtonWeiterSuchen->width() + suchenLinks;
    const int breite = suchenLinks + druckenLinks + ButtonDrucken->width();

    // The window is as high as the work area. The controls sit in the area
    // between the menu bar and the status bar, which Qt's main window lays
    // out itself, so its menu bar height is reckoned here the same way.
    const QRect flaeche = Arbeitsflaeche();
    layoutRahmen_ = Rahmen();
    const int rahmenHoehe = layoutRahmen_.height();
    const int hoehe = flaeche.height() - rahmenHoehe;
    int menueHoehe = 0;
    if (!menuBar()->isNativeMenuBar()) {
        menueHoehe = menuBar()->heightForWidth(qMax(breite, menuBar()->minimumWidth()));
        if (menueHoehe < 0)
            menueHoehe = menuBar()->sizeHint().height();
    }
    const int statusOben = hoehe - menueHoehe - statusHoehe;

    ButtonSuchen->move(suchenLinks, statusOben - rand - ButtonSuchen->height());
    ButtonWeiterSuchen->move(weiterLinks, ButtonSuchen->y());
    ButtonDrucken->move(druckenLinks, ButtonSuchen->y());
    ButtonOpen->move(ButtonSuchen->x(), ButtonSuchen->y() - ButtonOpen->height() - rand);
    ButtonKonvertieren->move(ButtonWeiterSuchen->x(), ButtonOpen->y());
    ButtonSpeichern->move(ButtonDrucken->x(), ButtonOpen->y());

    LabelTabEintraege->adjustSize();
    LabelTabDatei->adjustSize();
    LabelTabEintraege->move(rand, ButtonOpen->y() - rand - LabelTabEintraege->height());
    LabelTabDatei->move(LabelTabEintraege->x(),
                        LabelTabEintraege->y() - rand - LabelTabDatei->height());
    RichEdit->setGeometry(rand, rand, breite - 2 * rand, qMax(0, LabelTabDatei->y() - rand - rand));

    // Height fixed to the work area's, width free: a drag to another width
    // is laid out at once and so snaps back.
    setMinimumHeight(hoehe);
    setMaximumHeight(hoehe);
    layoutGroesse_ = QSize(breite, hoehe);
    resize(layoutGroesse_);
}

QRect TForm1::Arbeitsflaeche() const {
    const QScreen* bildschirm = screen();
    if (!bildschirm)
        bildschirm = QGuiApplication::primaryScreen();
    return bildschirm ? bildschirm->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TForm1::FensterEinrichten() {
    const QRect flaeche = Arbeitsflaeche();
    if (isMaximized()) {
        move(flaeche.topLeft());
        return;
    }
    const QSize aussen = size() + Rahmen();
    move((flaeche.width() - aussen.width()) / 2 + flaeche.left(),
         (flaeche.height() - aussen.height()) / 2 + flaeche.top());
}

QSize TForm1::Rahmen() const {
    return frameGeometry().size() - geometry().size();
}

void TForm1::moveEvent(QMoveEvent* ereignis) {
    QMainWindow::moveEvent(ereignis);
    // A frame that came after the layout makes the window higher than the
    // work area; laid out again, it fits.
    if (IsClosing || !isVisible() || layoutLaeuft_ || Rahmen() == layoutRahmen_)
        return;
    SchriftartZuweisen();
    FensterEinrichten();
}

void TForm1::resizeEvent(QResizeEvent* ereignis) {
    QMainWindow::resizeEvent(ereignis);
    if (IsClosing || !isVisible() || layoutLaeuft_)
        return;
    // The window's own size coming back from the window system.
    if (ereignis->size() == layoutGroesse_) {
        fremdeGroesse_ = QSize();
        return;
    }
    // A window system that holds on to a size it imposed is not fought.
    if (ereignis->size() == fremdeGroesse_)
        return;
    fremdeGroesse_ = ereignis->size();
    SchriftartZuweisen();
    FensterEinrichten();
}

void TForm1::MenuAnsHintergrundClick() {
    HintergrundForm->SchriftartZuweisen(ProgrammSchrift, SchriftHintergrundFarbe);
    if (HintergrundForm->exec() != QDialog::Accepted)
        return;
    SetHintergrundNr(HintergrundForm->HintergrundNr());
    RegistryLadenSpeichern(false);
}

void TForm1::MenuAnsSchriftartClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    // The dialog edits the program font itself.
    if (!dialoge_.SchriftWaehlen(this, ProgrammSchrift))
        return;
    SetHintergrundNr(HintergrundNr());
    RegistryLadenSpeichern(false);
}

void TForm1::RePopupSchriftartClick() {
    MenuAnsSchriftartClick();
}

void TForm1::WMZeigen() {
    FensterNachVorn(this);
    FormulareNachVorn(this);
}

void TForm1::WMBeenden() {
    MenuDateiBeenden->trigger();
}

QString TForm1::StatusHinweis() const {
    return statusText_->text();
}

void TForm1::StatusHinweisSetzen(const QString& text) {
    statusText_->setText(text);
    statusText_->setAccessibleName(text);
}

void TForm1::BefehleSchalten() {
    MenuBearbeitenKonvertieren->setEnabled(konvertierenAn_);
    for (QAction* speichern : {MenuDateiSpeichern, MenuDateiSpeichernUnter})
        speichern->setEnabled(FTextGeaendertS);
    // Print and find stay available once a document has been opened;
    // select-all follows whether the last opened text is empty.
    for (QAction* befehl : {MenuDateiDrucken, MenuDateiVorschau, MenuBearbeitenSuchen})
        befehl->setEnabled(geoeffnet_);
    for (QAction* alles : {MenuBearbeitenAllesMarkieren, RePopupAllesMarkieren})
        alles->setEnabled(geoeffnet_ && !geoeffnetLeer_);
    MenuBearbeitenWeiterSuchen->setEnabled(weiterSuchenAn_);
    const bool auswahl = RichEdit->textCursor().hasSelection();
    for (QAction* kopieren : {MenuBearbeitenKopieren, RePopupKopieren})
        kopieren->setEnabled(auswahl);
    MenuTabelleBearbeiten->setEnabled(tabelleBearbeitenAn_);
}

void TForm1::KonvertierenAnbieten(bool an) {
    konvertierenAn_ = an;
    BefehleSchalten();
}

void TForm1::SetKonvertiertS(bool wert) {
    FKonvertiertS = wert;
    KonvertierenAnbieten(!wert);
    if (wert && !FTextGeaendertS) {
        ButtonOpen->setFocus();
        StatusHinweisSetzen(kHinweisOeffnen);
    }
}

void TForm1::SetDateiOffenS(bool wert) {
    FDateiOffenS = wert;
    geoeffnet_ = geoeffnet_ || wert;
    if (wert && TabDateiS && !TabListe.empty()) {
        StatusHinweisSetzen(kHinweisKonvertieren);
        KonvertierenAnbieten(true);
        ButtonKonvertieren->setFocus();
    } else {
        KonvertierenAnbieten(false);
    }
}

void TForm1::SetTextGeaendertS(bool wert) {
    FTextGeaendertS = wert;
    BefehleSchalten();
    if (wert) {
        ButtonSpeichern->setFocus();
        StatusHinweisSetzen(kHinweisSpeichern);
    } else if (FKonvertiertS) {
        ButtonOpen->setFocus();
        StatusHinweisSetzen(kHinweisOeffnen);
    }
}

void TForm1::CaptionAnzeigen() {
    setWindowTitle(QStringLiteral("%1 - %2").arg(DateiName(DateiStr), ProgrammTitel));
}

Antwort TForm1::SpeichernTest() {
    if (!FTextGeaendertS)
        return Antwort::Keine;
    return dialoge_.Bestaetigung(
        this, QStringLiteral("Änderungen in \"%1\" speichern?").arg(DateiName(DateiStr)));
}

void TForm1::SetSaveFileType() {
    FileType = kSpeicherTypen.TypZu(DialogSpeichern.FilterIndex);
}

void TForm1::SetSaveFilterIndex() {
    DialogSpeichern.FilterIndex = kSpeicherTypen.IndexZu(FileType, DateiStr);
}

bool TForm1::Speichern() {
    if (!FTextGeaendertS)
        return true;
    // The text of a Word or OpenDocument file never goes back over it: it is
    // offered as a text file beside it.
    if (geladen_.DokumentQuelle(DateiStr))
        return SpeichernUnter(TextNameFuer(DateiStr));
    return TextSchreiben();
}

bool TForm1::TextSchreiben() {
    if (!FTextGeaendertS)
        return true;
    if (!ErsetzenErlaubt(dialoge_, this, geladen_, DateiStr))
        return false;
    const TTextFileType vorher = FileType;
    SetSaveFileType();
    const std::u16string text = RichEdit->Text();
    if (FileType == tfText) {
        // An ANSI file writes "?" for what the code page lacks; after a
        // conversion to Braille characters that would be most of the text.
        const std::size_t verloren = AnsiNichtDarstellbar(text);
        if (verloren > 0 &&
            dialoge_.JaNein(this, QStringLiteral("%1 Zeichen können im Textdokument nicht "
                                                 "dargestellt werden und werden durch \"?\" "
                                                 "ersetzt. Trotzdem speichern?")
                                      .arg(ZahlText(std::int64_t(verloren)))) != Antwort::Ja) {
            FileType = vorher;
            return false;
        }
    }
    TextDateiSpeichern(AlsPfad(DateiStr), text, FileType, &ProgrammSchrift);
    // The file now holds this text and nothing else.
    if (SelbeDatei(DateiStr, geladen_.Pfad))
        geladen_ = Geladen{DateiStr, Herkunft::Textdatei, std::nullopt};
    ButtonOpen->setFocus();
    SetTextGeaendertS(false);
    SetDateiOffenS(false);
    return true;
}

void TForm1::MenuDateiOeffnenClick() {
    DialogOeffnen.Ordner = DateiStr == KeinName ? QString() : Ordner(DateiStr);
    DialogOeffnen.DateiName.clear();
    const FokusBereich fokus(MerkActiveControl, focusWidget());

    if (dialoge_.DateiWaehlen(this, DialogOeffnen))
        DateiLaden(DialogOeffnen.DateiName);
}

bool TForm1::DateiLaden(const QString& pfad) {
    switch (SpeichernTest()) {
    case Antwort::Abbrechen:
        return false;
    case Antwort::Ja:
        // A declined loss keeps the old text, so it can still be saved in
        // another type.
        if (!Speichern())
            return false;
        break;
    default:
        break;
    }

    const Dokument dokument = DokumentLaden(AlsPfad(pfad));
    RichEdit->TextSetzen(dokument.Text);
    geoeffnetLeer_ = dokument.Text.empty();
    FileType = dokument.Typ;
    geladen_ = Geladen::Aus(pfad, dokument);
    SetSaveFilterIndex();

    SetKonvertiertS(false);
    SetTextGeaendertS(false);
    SetDateiOffenS(true);
    DateiStr = pfad;
    CaptionAnzeigen();

    if (!TabDateiS || TabListe.empty())
        StatusHinweisSetzen(kHinweisTabelle);
    NulMelden(dialoge_, this, geladen_);
    return true;
}

void TForm1::DateiOeffnen(const QString& pfad) {
    BefehlAusfuehren(dialoge_, this, [this, &pfad] {
        const FokusBereich fokus(MerkActiveControl, focusWidget());
        DateiLaden(pfad);
    });
}

void TForm1::MenuDateiSpeichernClick() {
    Speichern();
}

void TForm1::MenuDateiSpeichernUnterClick() {
    SpeichernUnter(DateiStr);
}

bool TForm1::SpeichernUnter(const QString& vorschlag) {
    DialogSpeichern.Ordner = Ordner(vorschlag);
    DialogSpeichern.DateiName = DateiName(vorschlag);
    const FokusBereich fokus(MerkActiveControl, focusWidget());

    const int alterIndex = DialogSpeichern.FilterIndex;
    if (!dialoge_.DateiWaehlen(this, DialogSpeichern))
        return false;
    const QString alterName = DateiStr;
    DateiStr = DialogSpeichern.DateiName;
    CaptionAnzeigen();
    if (!TextSchreiben()) {
        // Declined before anything was written: as if the dialog had been
        // cancelled.
        DateiStr = alterName;
        DialogSpeichern.FilterIndex = alterIndex;
        CaptionAnzeigen();
        return false;
    }
    return true;
}

void TForm1::MenuDateiBeendenClick() {
    close();
}

void TForm1::MenuTabelleWechselnClick() {
    if (TabDateiS) {
        DialogTabOeffnen.Ordner = Ordner(TabDateiStr);
        DialogTabOeffnen.DateiName = DateiName(TabDateiStr);
    }
    const FokusBereich fokus(MerkActiveControl, focusWidget());

    if (!dialoge_.DateiWaehlen(this, DialogTabOeffnen))
        return;
    TabDateiStr = DialogTabOeffnen.DateiName;
    TabListeEinlesen();
    RegistryLadenSpeichern(false);
    dialoge_.Information(this, QStringLiteral("Die Tabellen-Datei wurde geändert"));

    if (!TabEintraegeVorhanden()) {
        if (FDateiOffenS && konvertierenAn_) {
            KonvertierenAnbieten(false);
            ButtonOpen->setFocus();
            StatusHinweisSetzen(kHinweisTabelle);
        }
    } else if (FDateiOffenS && !konvertierenAn_ && !FTextGeaendertS) {
        // KonvertiertS stays: a text the last table left unchanged can be
        // converted again with this one.
        KonvertierenAnbieten(true);
        ButtonKonvertieren->setFocus();
        StatusHinweisSetzen(kHinweisKonvertieren);
    }
}

void TForm1::RichEditSelectionChange() {
    BefehleSchalten();
}

void TForm1::MenuBearbeitenWeiterSuchenClick() {
    DialogSuchen->SuchLauf();
}

bool TForm1::FormCloseQuery() {
    bool schliessen = true;
    switch (SpeichernTest()) {
    case Antwort::Abbrechen:
        schliessen = false;
        break;
    case Antwort::Ja:
        // A declined loss keeps the window open with the text unsaved.
        schliessen = Speichern();
        break;
    default:
        break;
    }
    RegistryLadenSpeichern(false);
    return schliessen;
}

void TForm1::FormClose() {
    IsClosing = true;
}

void TForm1::closeEvent(QCloseEvent* ereignis) {
    ereignis->ignore();
    bool schliessen = false;
    BefehlAusfuehren(dialoge_, this, [&] { schliessen = FormCloseQuery(); });
    if (schliessen) {
        FormClose();
        ereignis->accept();
    }
}

void TForm1::MenuBearbeitenKonvertierenClick() {
    RichEdit->setFocus();
    StatusHinweisSetzen(QStringLiteral("Es wird konvertiert ..."));
    StatusZeile->repaint();
    std::int64_t anzahl = 0;
    {
        const TextFeld::ZeichnenAus ohneZeichnen(*RichEdit);
        KonvertierErgebnis ergebnis = TextKonvertieren(RichEdit->Text(), TabListe);
        anzahl = ergebnis.Anzahl;
        if (anzahl > 0)
            RichEdit->TextSetzen(ergebnis.Text);
        SetTextGeaendertS(anzahl > 0);
    }
    dialoge_.Information(this, QString::fromStdString(KonvertierungsMeldung(anzahl)));
    SetKonvertiertS(true);
}

void TForm1::TabListeEinlesen() {
    TabDateiS = QFileInfo(TabDateiStr).isFile();
    LabelSetzen(LabelTabDatei,
                QStringLiteral("Tabellen-Datei: ") +
                    (TabDateiS ? DateiName(TabDateiStr) : QStringLiteral("(Keine ausgewählt!)")));
    if (TabDateiS)
        TabDateiAuswerten(AlsPfad(TabDateiStr), TabListe);
    LabelSetzen(LabelTabEintraege,
                QStringLiteral("Tabellen-Einträge: ") + ZahlText(std::int64_t(TabListe.size())));
    tabelleBearbeitenAn_ = TabDateiS;
    BefehleSchalten();
}

bool TForm1::TabEintraegeVorhanden() {
    if (TabListe.empty())
        dialoge_.Information(this, QStringLiteral("Kein gültiger Tabelleneintrag gefunden!"));
    return !TabListe.empty();
}

void TForm1::MenuHilfeClick() {
    const QDir ordner(Desktop->ProgrammOrdner());
    MenuHilfeHistory->setEnabled(
        QFileInfo(ordner.filePath(QStringLiteral("History.txt"))).isFile());
    MenuHilfeUpdate->setVisible(QFileInfo(ordner.filePath(UpdaterName)).isFile());
}

void TForm1::MenuTabelleBearbeitenClick() {
    {
        TTabBearbeitenForm form(this, dialoge_, Desktop->ProgrammOrdner(), ProgrammSchrift,
                                SchriftHintergrundFarbe, TabDateiStr);
        form.SchriftartZuweisen();
        form.exec();
        // The font may have been changed in the editor.
        SchriftartZuweisen();
    }
    // The editor may have written this very file; its own paths stay its own.
    TabListeEinlesen();
    TabEintraegeVorhanden();
}

void TForm1::MenuHilfeHilfeClick() {
    HilfeAnzeigen(this, dialoge_, Desktop->ProgrammOrdner(), ProgrammSchrift,
                  SchriftHintergrundFarbe);
    // The font may have been changed in the viewer.
    SchriftartZuweisen();
}

void TForm1::MenuHilfeProgrammInfoClick() {
    dialoge_.Information(this, ProgrammInfoText());
}

void TForm1::MenuHilfeHomepageClick() {
    Desktop->AdresseOeffnen(HomepageAdresse());
}

void TForm1::MenuHilfeSpendenClick() {
    Desktop->AdresseOeffnen(SpendenAdresse());
}

void TForm1::MenuHilfeMailClick() {
    Desktop->AdresseOeffnen(MailAufruf());
}

void TForm1::MenuHilfeUpdateClick() {
    UpdateUebergeben(*Desktop, dialoge_, this, ProgrammSchrift);
}

void TForm1::MenuHilfeHistoryClick() {
    Desktop->DateiAnzeigen(QDir::toNativeSeparators(
        QDir(Desktop->ProgrammOrdner()).filePath(QStringLiteral("History.txt"))));
}

bool TForm1::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == LabelTabDatei && ereignis->type() == QEvent::MouseButtonRelease) {
        auto* maus = static_cast<QMouseEvent*>(ereignis);
        if (maus->button() == Qt::LeftButton &&
            LabelTabDatei->rect().contains(maus->position().toPoint())) {
            Ausfuehren(this, dialoge_, &TForm1::MenuTabelleWechselnClick);
            return true;
        }
    }
    // Return on a focused button presses it, so the course open, convert,
    // save runs from the keyboard with the focus the state rules set.
    if (ereignis->type() == QEvent::KeyPress) {
        auto* knopf = qobject_cast<QPushButton*>(objekt);
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        if (knopf && (taste == Qt::Key_Return || taste == Qt::Key_Enter) &&
            static_cast<QKeyEvent*>(ereignis)->modifiers() == Qt::NoModifier) {
            knopf->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

void TForm1::MenuDateiDruckenClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    if (!DruckerPortS) {
        dialoge_.Information(this, QStringLiteral("Es wurde noch kein Drucker gewählt!\nKlicken "
                                                  "Sie auf den Menüpunkt \"Drucker\", um einen "
                                                  "Druckeranschluss zu wählen."));
        return;
    }
    const std::u16string text = RichEdit->Text();
    const std::u16string_view getrimmt = RechtsGetrimmt(text);
    if (getrimmt.empty()) {
        dialoge_.Information(this, QStringLiteral("Kein Text zum Drucken vorhanden"));
        return;
    }
    TDruckenForm form(this, dialoge_, DruckerPortStr, getrimmt, BrailleLaden(einstellungen_));
    form.SchriftartZuweisen(ProgrammSchrift, SchriftHintergrundFarbe);
    if (!FKonvertiertS)
        form.SetNichtKonvertiert(TextKonvertieren(text, TabListe).Anzahl);
    form.BrailleGeaendert = [this](const BrailleEinstellung& b) {
        BrailleSpeichern(einstellungen_, b);
    };
    form.exec();
}

void TForm1::MenuDateiVorschauClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    const std::u16string text = RichEdit->Text();
    const BrailleEinstellung vorher = BrailleLaden(einstellungen_);
    TVorschauForm form(this, DruckBytes(DruckTextBilden(RechtsGetrimmt(text))), vorher);
    form.SchriftartZuweisen(ProgrammSchrift, SchriftHintergrundFarbe);
    form.exec();
    const BrailleEinstellung neu = form.Einstellung();
    if (neu != vorher)
        BrailleSpeichern(einstellungen_, neu);
}

void TForm1::MenuDruckerLokalClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    TLptWechselnForm form(this, DruckerPortStr);
    form.SchriftartZuweisen(ProgrammSchrift, SchriftHintergrundFarbe);
    if (form.exec() != QDialog::Accepted)
        return;
    DruckerPortS = true;
    DruckerPortStr = form.DruckerPortStr();
    RegistryLadenSpeichern(false);
}

void TForm1::MenuDruckerNetzwerkClick() {
    const FokusBereich fokus(MerkActiveControl, focusWidget());
    QString pfad;
    for (;;) {
        if (!NetzwerkpfadWaehlen(this, dialoge_, pfad, QStringLiteral("Netzwerk-Anschluss"),
                                 QStringLiteral("Wählen Sie einen Anschluss für die druckausgabe "
                                                "aus der Baumansicht oder geben Sie den "
                                                "Netzwerkpfad ein"),
                                 ProgrammSchrift, SchriftHintergrundFarbe))
            return;
        if (!pfad.isEmpty())
            break;
        dialoge_.Information(this, QStringLiteral("Dieser Drucker kann nicht ausgewählt werden"));
    }
    DruckerPortStr = pfad;
    DruckerPortS = true;
    RegistryLadenSpeichern(false);
    dialoge_.Information(this, QStringLiteral("Der Drucker-Anschluss wurde geändert"));
}

} // namespace zw
