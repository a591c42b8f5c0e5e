#pragma once
// The help viewer: the help file beside the program, shown read-only, RTF
// with its formatting, any other file as plain text. The user can search,
// copy, print it and change the program font.

#include "core/Rtf.h"
#include "core/Schrift.h"
#include "platform/Dialoge.h"
#include "ui/Fokus.h"
#include "ui/TextFenster.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;

namespace zw {

class Suche;
class TextFeld;

inline const QString HilfeDateiName = QStringLiteral("ZWD.hlp");

class THilfeForm : public TTextFenster {
    Q_OBJECT
public:
    // Loads the file when it exists; a file that cannot be read throws its
    // error out of the constructor. programmSchrift is the program-wide
    // font, which the font command changes.
    THilfeForm(QWidget* owner, Dialoge& dialoge, TSchrift& programmSchrift,
               std::uint32_t hintergrund, const QString& hilfeDateiOderText);

    TextFeld* RichEdit;

    QMenuBar* MainMenu1;
    QMenu* MenuHilfe;
    QAction* MenuHilfeDrucken;
    QAction* MenuHilfeBeenden;
    QMenu* MenuBearbeiten;
    QAction* MenuBearbeitenSuchen;
    QAction* MenuBearbeitenWeitersuchen;
    QAction* MenuBearbeitenKopieren;
    QAction* MenuBearbeitenAllesMarkieren;
    QMenu* MenuSchriftart;
    QAction* MenuSchriftartWechseln;

    QMenu* RePopup;
    QAction* RePopupSchriftart;
    QAction* RePopupDrucken;
    QAction* RePopupKopieren;
    QAction* RePopupAllesMarkieren;

    Suche* DialogSuchen = nullptr;

    // The print and font dialogs: true when the user confirmed. Qt's print
    // dialog and the font dialog of the dialog layer unless replaced.
    std::function<bool(QPrinter&)> DialogDrucken;
    std::function<bool(TSchrift&)> FontDialog1;

    FokusMerker MerkActiveControl;

    const QString& HilfeDatei() const { return FHilfeDatei; }
    const QString& DruckenTitel() const { return FDruckenTitel; }
    // Whether the file was read as RTF and is shown with its formatting.
    bool Formatiert() const { return rtf_.has_value(); }

    void SchriftartZuweisen();
    void SchalterEinrichten();
    void FensterEinrichten();

    // The whole text on the printer as one job titled DruckenTitel, over the
    // printable area of each page, a new page whenever one is full.
    void Drucken(QPrinter& drucker) const;

    void FormShow();
    void RichEditSelectionChange();
    void MenuHilfeDruckenClick();
    void MenuHilfeBeendenClick();
    void MenuSchriftartWechselnClick();
    void MenuBearbeitenWeitersuchenClick();

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    void MenuErzeugen();
    void InhaltZeigen();

    Dialoge& dialoge_;
    TSchrift& programmSchrift_;
    std::uint32_t hintergrund_;
    QString FHilfeDatei;
    QString FDruckenTitel;
    std::optional<RtfDokument> rtf_;
    std::u16string text_;
};

// Shows the help file beside the program in a viewer owned by aufrufer and
// returns when it has been closed; without the file only a message says so.
// The caller applies the program font to itself again afterwards.
void HilfeAnzeigen(QWidget* aufrufer, Dialoge& dialoge, const QString& programmOrdner,
                   TSchrift& programmSchrift, std::uint32_t hintergrund);

} // namespace zw
