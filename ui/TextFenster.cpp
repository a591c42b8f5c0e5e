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

} // namespace zw
