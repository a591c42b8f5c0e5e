#pragma once
// Find and find-next for a window that shows a text: the modeless find
// dialog, the search run over the text control, and the not-found messages.
// The main window, the table editor and the help viewer each attach one.

#include "core/Suche.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zw {

class Dialoge;
class FokusMerker;
class TextFeld;

// The find dialog as users know it from Windows: search text, whole word,
// letter case, direction. Modeless; it keeps text and options between runs.
class TSuchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSuchDialog(QWidget* eltern);

    QString SuchText() const;
    Richtung SuchRichtung() const;
    SuchOptionen Optionen() const;

    QLineEdit* EditSuchen;
    QCheckBox* CheckGanzesWort;
    QCheckBox* CheckGrossKlein;
    QRadioButton* RadioOben;
    QRadioButton* RadioUnten;
    QPushButton* ButtonWeitersuchen;
    QPushButton* ButtonAbbrechen;

signals:
    // The find button was pressed.
    void Suchen();
    // The dialog was closed, by a search run or by the user.
    void Geschlossen();

protected:
    void done(int ergebnis) override;
    void showEvent(QShowEvent* ereignis) override;
};

// Letter case and word classes as Qt knows them, the same in both directions.
const Zeichenklassen& QtZeichenklassen();

class Suche : public QObject {
    Q_OBJECT
public:
    // `weiterSuchenAn` runs at every search run (it enables the window's
    // find-next items); `fokus` (the window's MerkActiveControl) remembers
    // the active control when the dialog opens and gives it the focus back
    // when the dialog closes.
    Suche(QWidget* fenster, TextFeld& feld, Dialoge& dialoge, std::function<void()> weiterSuchenAn,
          FokusMerker& fokus);

    // The find command: remembers the active control and opens the dialog.
    void SuchenZeigen();
    // One search run with the dialog's text and options (find-next, and
    // the dialog's find button).
    void SuchLauf();

    TSuchDialog& Dialog() { return *dialog_; }

private:
    QWidget* fenster_;
    TextFeld& feld_;
    Dialoge& dialoge_;
    std::function<void()> weiterSuchenAn_;
    FokusMerker& fokus_;
    TSuchDialog* dialog_;
    // The text as the positions count it, read once per change of the
    // document: find-next after find-next reads nothing again.
    std::u16string text_;
    bool textGueltig_ = false;
};

} // namespace zw
