#include "ui/TextFenster.h"

#include <QKeyEvent>

namespace zw {

void TTextFenster::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
        ereignis->accept();
        return;
    }
    QDialog::keyPressEvent(ereignis);
}

bool ProgrammSchriftWaehlen(const std::function<bool(TSchrift&)>& dialog, TSchrift& schrift) {
    TSchrift neu = schrift;
    if (!dialog(neu))
        return false;
    schrift = neu;
    return true;
}

} // namespace zw
