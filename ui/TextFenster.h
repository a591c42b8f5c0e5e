#pragma once
// A window that shows a text over the whole screen, as the help viewer and
// the table editor do: the text commands every such window has, and Escape
// does not close it (Alt+F4 and the menu do).

#include "ui/TextBefehle.h"

#include <QDialog>

namespace zw {

class TTextFenster : public QDialog, public TextBefehle {
    Q_OBJECT
protected:
    using QDialog::QDialog;
    void keyPressEvent(QKeyEvent* ereignis) override;
};

} // namespace zw
