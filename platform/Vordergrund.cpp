#include "platform/Vordergrund.h"

#include <QApplication>
#include <QWidget>

namespace zw {

namespace {

void Eigene(QWidget* owner) {
    for (QObject* kind : owner->children()) {
        auto* fenster = qobject_cast<QWidget*>(kind);
        if (!fenster || !fenster->isWindow() || !fenster->isVisible())
            continue;
        FensterNachVorn(fenster);
        Eigene(fenster);
    }
}

} // namespace

bool FensterNachVorn(QWidget* fenster) {
    if (fenster->isMinimized())
        fenster->setWindowState((fenster->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    fenster->raise();
    fenster->activateWindow();
    return fenster->isActiveWindow();
}

void FormulareNachVorn(QWidget* owner) {
    Eigene(owner);
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        FensterNachVorn(modal);
}

} // namespace zw
