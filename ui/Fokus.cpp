#include "ui/Fokus.h"

namespace zw {

void FokusMerker::Wiederherstellen() const {
    QWidget* ziel = ziel_;
    if (!ziel || !ziel->isVisible() || !ziel->isEnabled() || ziel->focusPolicy() == Qt::NoFocus)
        return;
    const QWidget* fenster = ziel->window();
    if (!fenster->isVisible() || !fenster->isEnabled())
        return;
    ziel->setFocus(Qt::OtherFocusReason);
}

} // namespace zw
