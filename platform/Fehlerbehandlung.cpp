#include "platform/Fehlerbehandlung.h"

#include "core/Fehler.h"

#include <QWidget>

#include <cstdio>
#include <new>

namespace zw {

QString FehlerText(const std::exception& fehler) {
    if (dynamic_cast<const std::bad_alloc*>(&fehler))
        return QStringLiteral("Nicht genügend Arbeitsspeicher für diesen Vorgang.");
    return QString::fromUtf8(fehler.what());
}

bool BefehlAusfuehren(Dialoge& dialoge, QWidget* eltern, const std::function<void()>& befehl) {
    QString text;
    try {
        befehl();
        return true;
    } catch (const std::exception& fehler) {
        text = FehlerText(fehler);
    }
    // Shown outside the handler, so the box's own event loop does not run
    // while the exception is still alive.
    dialoge.Fehler(eltern, text);
    return false;
}

Anwendung::Anwendung(int& argc, char** argv) : QApplication(argc, argv) {}

bool Anwendung::notify(QObject* empfaenger, QEvent* ereignis) {
    QString text;
    try {
        return QApplication::notify(empfaenger, ereignis);
    } catch (const std::exception& fehler) {
        text = FehlerText(fehler);
    }
    if (dialoge_) {
        QWidget* fenster = activeModalWidget();
        if (!fenster)
            fenster = activeWindow();
        dialoge_->Fehler(fenster, text);
    } else {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
    return false;
}

} // namespace zw
