#pragma once
// A modal window runs its own event loop; a test reaches into it with a
// timer that waits for the window to be shown.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace zwtest {

// Runs `tun` on the next modal window that opens above the one open now,
// from that window's own event loop. Gives up after five seconds, so a window
// that never opens leaves nothing behind for the next test.
inline void BeimNaechstenModalFenster(std::function<void(QWidget*)> tun) {
    QWidget* jetzt = QApplication::activeModalWidget();
    auto* uhr = new QTimer;
    uhr->setInterval(10);
    auto runden = std::make_shared<int>(0);
    QObject::connect(uhr, &QTimer::timeout, [uhr, jetzt, tun, runden] {
        QWidget* oben = QApplication::activeModalWidget();
        if (++*runden > 500) {
            uhr->stop();
            uhr->deleteLater();
            return;
        }
        if (!oben || oben == jetzt || !oben->isVisible())
            return;
        uhr->stop();
        uhr->deleteLater();
        tun(oben);
    });
    uhr->start();
}

} // namespace zwtest
