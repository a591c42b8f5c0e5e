#pragma once
// The table editor: code table files written as plain text, with a template
// for a new table, open, save in four types, search, undo, the clipboard,
// the program font and the help. It does not read the table itself; the
// main window reads its table file again when the editor has closed.

#include "core/MoFiles.h"
#include "core/Schrift.h"
#include "platform/Dialoge.h"
#include "ui/Fokus.h"
#include "ui/Speicherschutz.h"
#include "ui/TextFenster.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QMenuBar;

namespace zw {

class EditFeld;
class Suche;

// The text of a new table: five comment lines, each ended by CR LF.
extern const std::u16string TabellenVorlage;

class TTabBearbeitenForm : public TTextFenster {
    Q_OBJECT
public:
    // Reads tabDatei; a file that cannot be read throws its error out of the
    // constructor. programmSchrift is the program-wide font, which the font
    // command changes and every save in rich text uses; the help is looked
    // for in programmOrdner.
    TTabBearbeitenForm(QWidget* owner, Dialoge& dialoge, const QString& programmOrdner,
                       TSchrift& programmSchrift, std::uint32_t hintergrund,
                       const QString& tabDatei);

    EditFeld* RichEdit;
    // Below the text: the code of the character at the caret, as a table
    // writes it, for a screen reader in a status bar.
    QStatusBar* StatusZeile;
    QLabel* LabelZeichen;

    QMenuBar* MainMenu1;
    QMenu* MenuTabelle;
    QAction* MenuTabelleNeu;
    QAction* MenuTabelleOeffnen;
    QAction* MenuTabelleSpeichern;
    QAction* MenuTabelleSpeichernUnter;
    QAction* MenuTabellePruefen;
    QAction* MenuTabelleBeenden;
    QMenu* MenuBearbeiten;
    QAction* MenuBearbeitenSuchen;
    QAction* MenuBearbeitenWeiterSuchen;
    QAction* MenuBearbeitenRueckgaengig;
    QAction* MenuBearbeitenAllesMarkieren;
    QAction* MenuBearbeitenKopieren;
    QAction* MenuBearbeitenAusschneiden;
    QAction* MenuBearbeitenEinfuegen;
    QAction* MenuBearbeitenLoeschen;
    QMenu* MenuHilfe;
    QAction* MenuHilfeHilfe;

    QMenu* RePopup;
    QAction* RePopupSchriftart;
    QAction* RePopupKopieren;
    QAction* RePopupAusschneiden;
    QAction* RePopupEinfuegen;
    QAction* RePopupAllesMarkieren;

    Suche* DialogSuchen = nullptr;
    // The file dialogs keep the user's last choice between two uses.
    DateiDialog DialogOeffnen;
    DateiDialog DialogSpeichern;
    // The font dialog: true when the user confirmed. The dialog layer's
    // unless replaced.
    std::function<bool(TSchrift&)> FontDialog1;

    TTextFileType FileType = tfError;
    FokusMerker MerkActiveControl;

    const QString& TabDatei() const { return FTabDatei; }

    // Keine when the text is unchanged, otherwise the answer to the question.
    Antwort SpeichernTest();
    // Writes a changed text to TabDatei in FileType; an unchanged one is not
    // written. Returns false when the user declined to replace a document or
    // to shorten a file cut at a NUL; a document's text goes through
    // "Speichern unter" as a ".TXT" file beside it.
    bool Speichern();
    void SetSaveFileType();
    void SetSaveFilterIndex();

    void SchriftartZuweisen();
    void SchalterEinrichten();
    void FensterEinrichten();

    void FormShow();
    bool FormCloseQuery();
    void RichEditChange();
    void RichEditSelectionChange();
    void MenuTabelleNeuClick();
    void MenuTabelleOeffnenClick();
    void MenuTabelleSpeichernClick();
    void MenuTabelleSpeichernUnterClick();
    // Lists the lines that are no entries and the entries that never take
    // effect; the line the user picks is selected.
    void MenuTabellePruefenClick();
    // Selects the line (counted from 1) and shows it.
    void ZeileMarkieren(std::size_t zeile);
    // "Zeichen 8364 „€“, Zeile 3, Spalte 5" for the caret.
    QString ZeichenAnzeige() const;
    void MenuTabelleBeendenClick();
    void MenuBearbeitenRueckgaengigClick();
    void MenuBearbeitenAusschneidenClick();
    void MenuBearbeitenEinfuegenClick();
    void MenuBearbeitenLoeschenClick();
    void MenuBearbeitenWeiterSuchenClick();
    void RePopupSchriftartClick();
    void MenuHilfeHilfeClick();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;
    // The window system adds its frame some time after the window is shown;
    // laid out again then, the status bar at the bottom stays on screen.
    void moveEvent(QMoveEvent* ereignis) override;

private:
    void MenuErzeugen();
    void CaptionAnzeigen();
    void EinfuegenSchalten();
    // Cancel stops the command (false); yes saves first.
    bool SpeichernUnter(const QString& vorschlag);
    void Gespeichert();
    Geladen geladen_;
    bool FrageUndSpeichern();

    Dialoge& dialoge_;
    QString programmOrdner_;
    TSchrift& programmSchrift_;
    std::uint32_t hintergrund_;
    QString FTabDatei;
    QSize layoutRahmen_;
};

} // namespace zw
