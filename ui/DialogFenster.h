#pragma once
// What every dialog of the program shares: it is laid out from the program
// font each time it is shown (SchalterEinrichten, then FormShow's own
// steps), it is placed in the middle of the screen, and its labels and
// buttons are made alike.

#include <QDialog>

class QLabel;
class QPushButton;

namespace zw {

class TDialogFenster : public QDialog {
    Q_OBJECT
public:
    // Sizes and places the controls from their fonts and ends with
    // FensterEinrichten.
    virtual void SchalterEinrichten() = 0;
    // Centred on the screen, one pixel up and left (DialogMittig).
    void FensterEinrichten();
    // Runs when the dialog is shown, not again when it comes back from
    // being minimised: the layout, then what the dialog adds (its focus).
    virtual void FormShow();

protected:
    enum class Rahmen { Fest, Veraenderlich };
    TDialogFenster(QWidget* owner, const char* name, const QString& titel,
                   Rahmen rahmen = Rahmen::Fest);

    // A label with its object name.
    QLabel* Beschriftung(const char* name, const QString& text);
    // A push button with its object name; the default button takes Return,
    // the others do not become the default when they get the focus.
    QPushButton* Knopf(const char* name, const QString& text, bool standard = false);

    void showEvent(QShowEvent* ereignis) override;
};

} // namespace zw
