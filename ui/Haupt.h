#pragma once
// The main window: opens a document, converts it through the code table and
// saves it, and leads the user through that course with its three state
// flags, which switch the commands, the focus and the status hint.

#include "core/MoFiles.h"
#include "core/Programm.h"
#include "core/Schrift.h"
#include "core/Tabelle.h"
#include "platform/Dialoge.h"
#include "platform/Einstellungen.h"
#include "platform/Shell.h"
#include "ui/Fokus.h"
#include "ui/Speicherschutz.h"
#include "ui/TextBefehle.h"
#include "ui/TextFeld.h"

#include <QMainWindow>

#include <cstdint>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;

namespace zw {

class Suche;

// Product name and version: the application title and the tail of the caption.
inline const QString ProgrammTitel = QString::fromUtf8(ProgrammTitelText);

// The name a window shows while no document is open.
inline const QString KeinName = QStringLiteral("KeinName");

class THintergrundForm;

class TForm1 : public QMainWindow, public TextBefehle {
    Q_OBJECT
public:
    // With the user's own settings store.
    explicit TForm1(Dialoge& dialoge, QWidget* eltern = nullptr);
    TForm1(Dialoge& dialoge, Einstellungen& einstellungen, QWidget* eltern = nullptr);

    // Controls.
    QLabel* LabelTabDatei;
    QLabel* LabelTabEintraege;
    QStatusBar* StatusZeile;
    TextFeld* RichEdit;
    QPushButton* ButtonOpen;
    QPushButton* ButtonKonvertieren;
    QPushButton* ButtonSpeichern;
    QPushButton* ButtonSuchen;
    QPushButton* ButtonWeiterSuchen;
    QPushButton* ButtonDrucken;

    // Main menu.
    QMenu* MenuDatei;
    QAction* MenuDateiOeffnen;
    QAction* MenuDateiSpeichern;
    QAction* MenuDateiSpeichernUnter;
    QAction* MenuDateiDrucken;
    QAction* MenuDateiVorschau;
    QAction* MenuDateiBeenden;
    QMenu* MenuBearbeiten;
    QAction* MenuBearbeitenKonvertieren;
    QAction* MenuBearbeitenSuchen;
    QAction* MenuBearbeitenWeiterSuchen;
    QAction* MenuBearbeitenAllesMarkieren;
    QAction* MenuBearbeitenKopieren;
    QMenu* MenuTabelle;
    QAction* MenuTabelleWechseln;
    QAction* MenuTabelleBearbeiten;
    QMenu* MenuDrucker;
    QAction* MenuDruckerLokal;
    QAction* MenuDruckerNetzwerk;
    QMenu* MenuAnsicht;
    QAction* MenuAnsSchriftart;
    QAction* MenuAnsHintergrund;
    QMenu* MenuHilfe;
    QAction* MenuHilfeHilfe;
    QAction* MenuHilfeProgrammInfo;
    QAction* MenuHilfeHomepage;
    QAction* MenuHilfeUpdate;
    QAction* MenuHilfeHistory;
    QAction* MenuHilfeMail;
    QAction* MenuHilfeSpenden;

    // Context menu of the text.
    QMenu* RePopup;
    QAction* RePopupSchriftart;
    QAction* RePopupKopieren;
    QAction* RePopupAllesMarkieren;

    // The find dialog with its search run; it keeps text and options.
    Suche* DialogSuchen = nullptr;

    // The file dialogs; each keeps what the user chose for its next run.
    DateiDialog DialogOeffnen;
    DateiDialog DialogSpeichern;
    DateiDialog DialogTabOeffnen;

    // State flags; every change goes through the setter.
    bool KonvertiertS() const { return FKonvertiertS; }
    bool DateiOffenS() const { return FDateiOffenS; }
    bool TextGeaendertS() const { return FTextGeaendertS; }
    void SetKonvertiertS(bool wert);
    void SetDateiOffenS(bool wert);
    void SetTextGeaendertS(bool wert);

    bool IsClosing = false;
    FokusMerker MerkActiveControl;
    TTextFileType FileType = tfError;
    QString DateiStr = KeinName;
    TTabListe TabListe;
    QString TabDateiStr;
    bool TabDateiS = false;
    QString DruckerPortStr;
    bool DruckerPortS = false;
    TSchrift ProgrammSchrift;
    std::uint32_t SchriftHintergrundFarbe = 0xFFFFFF;

    // The hint the status bar shows.
    QString StatusHinweis() const;

    void CaptionAnzeigen();
    // Keine when there is nothing to save, otherwise the answer to the question.
    Antwort SpeichernTest();
    // Writes the shown text to DateiStr if it has unsaved changes. Returns
    // false when the user declined to lose characters in an ANSI file, to
    // replace a Word or OpenDocument file or to shorten a file cut at a NUL:
    // then nothing is written and nothing changes. The text of a Word or
    // OpenDocument file goes through "Speichern unter" instead, offered as
    // a ".TXT" file beside its source.
    bool Speichern();
    void TabListeEinlesen();
    bool TabEintraegeVorhanden();
    void SetSaveFileType();
    void SetSaveFilterIndex();
    // Loads (LadenS) or writes all eight settings: table, port, background
    // number and the font. A store that cannot be opened loads and writes
    // nothing; a value of the wrong type or a failing write ends the call
    // with its error. Loading reads the table in any case but that one.
    void RegistryLadenSpeichern(bool LadenS);

    // The background colour dialog, kept for the whole run; its selected
    // entry is the program's text background.
    THintergrundForm* HintergrundForm = nullptr;
    int HintergrundNr() const;
    // Takes the entry's colour as SchriftHintergrundFarbe and lays the window
    // out anew with the program font.
    void SetHintergrundNr(int nr);

    // Layout from the program font: font and background onto the controls
    // (then SchalterEinrichten), the controls' places and the window's size,
    // the window's place in the work area.
    void SchriftartZuweisen();
    void SchalterEinrichten();
    void FensterEinrichten();

    void MenuAnsHintergrundClick();
    void MenuAnsSchriftartClick();
    void RePopupSchriftartClick();

    // Requests of other processes: a later start asks to come to the front,
    // another program asks to close as if the user chose Datei > Beenden.
    void WMZeigen();
    void WMBeenden();

    // Opens a file named from outside (the command line, a later start)
    // as the open command does after its dialog: the save question, the
    // type, the state and the caption as after the dialog. Errors go to the
    // general error handler.
    void DateiOeffnen(const QString& pfad);

    // Commands.
    void MenuDateiOeffnenClick();
    void MenuDateiSpeichernClick();
    void MenuDateiSpeichernUnterClick();
    void MenuDateiBeendenClick();
    void MenuBearbeitenKonvertierenClick();
    void MenuTabelleWechselnClick();
    void RichEditSelectionChange();
    void MenuBearbeitenWeiterSuchenClick();
    void MenuDateiDruckenClick();
    void MenuDateiVorschauClick();
    void MenuDruckerLokalClick();
    void MenuDruckerNetzwerkClick();
    void MenuHilfeClick();
    void MenuTabelleBearbeitenClick();
    void MenuHilfeHilfeClick();
    void MenuHilfeProgrammInfoClick();
    void MenuHilfeHomepageClick();
    void MenuHilfeSpendenClick();
    void MenuHilfeMailClick();
    void MenuHilfeUpdateClick();
    void MenuHilfeHistoryClick();

    // The desktop for the help menu's web, mail, update and history
    // commands, and where the program and the temporary files live.
    Shell* Desktop = &StandardShell();

    // The folder of the running program.
    static QString ProgrammOrdner();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;
    void moveEvent(QMoveEvent* ereignis) override;

private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    void SteuerelementeErzeugen();
    void MenuErzeugen();
    void StatusHinweisSetzen(const QString& text);
    bool SpeichernUnter(const QString& vorschlag);
    // After the save question, the file becomes the shown text; false when
    // the question was cancelled or the save failed.
    bool DateiLaden(const QString& pfad);
    bool TextSchreiben();
    // Every command's state from the window's state: the flags, the fields
    // below, the selection and the table file.
    void BefehleSchalten();
    void KonvertierenAnbieten(bool an);

    Dialoge& dialoge_;
    Einstellungen& einstellungen_;
    // A layout resizes the window, which would lay it out again.
    bool layoutLaeuft_ = false;
    // The client size of the last layout, and a size the window system set
    // against it.
    QSize layoutGroesse_;
    QSize fremdeGroesse_;
    // The frame the last layout reckoned with; the window system adds it
    // only some time after the window is shown.
    QSize layoutRahmen_;
    QSize Rahmen() const;
    QRect Arbeitsflaeche() const;
    // Where the shown text was read from: a document's source, a NUL.
    Geladen geladen_;
    bool FKonvertiertS = false;
    bool FDateiOffenS = false;
    bool FTextGeaendertS = false;
    // What the commands follow besides the flags: the course offers the
    // conversion; a document has been opened in this run, and the last one
    // was empty; a search has run; the table file could be edited when it
    // was last read.
    bool konvertierenAn_ = false;
    bool geoeffnet_ = false;
    bool geoeffnetLeer_ = true;
    bool weiterSuchenAn_ = false;
    bool tabelleBearbeitenAn_ = false;
    bool gezeigt_ = false;
    QLabel* statusText_ = nullptr;
};

} // namespace zw
