#pragma once
// A window that shows a text over the whole screen, as the help viewer and
// the table editor do: the text commands every such window has, and Escape
// does not close it (Alt+F4 and the menu do).

#include "core/Schrift.h"
#include "ui/TextBefehle.h"

#include <QDialog>

#include <functional>

namespace zw {

class TTextFenster : public QDialog, public TextBefehle {
    Q_OBJECT
protected:
    using QDialog::QDialog;
    void keyPressEvent(QKeyEvent* ereignis) override;
};

// The font command of these windows: the font dialog works on a copy of the
// program font, which takes the choice only on OK. True when it did.
bool ProgrammSchriftWaehlen(const std::function<bool(TSchrift&)>& dialog, TSchrift& schrift);

} // namespace zw
