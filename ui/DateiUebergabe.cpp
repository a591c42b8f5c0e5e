#include "ui/DateiUebergabe.h"

#include "ui/Haupt.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace zw {

namespace {

// How often a waiting file looks whether the modal window has closed; Qt
// tells nobody when the last one goes.
constexpr int kNachsehenMs = 200;

} // namespace

QString StartDatei(const QStringList& argumente) {
    bool optionen = true;
    for (const QString& a : argumente) {
        if (optionen && a == QStringLiteral("--")) {
            optionen = false;
            continue;
        }
        if (optionen && a.startsWith(u'-'))
            continue;
        QString pfad = a;
        if (a.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive))
            pfad = QUrl(a).toLocalFile();
        if (pfad.isEmpty())
            continue;
        return QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
    }
    return QString();
}

DateiUebergabe::DateiUebergabe(TForm1& form, QObject* eltern) : QObject(eltern), form_(form) {
    warten_.setSingleShot(true);
    connect(&warten_, &QTimer::timeout, this, &DateiUebergabe::Weiter);
}

void DateiUebergabe::Vormerken(const QString& datei) {
    if (datei.isEmpty())
        return;
    wartend_ = datei;
    // From the event loop, so the window has been shown and has read its
    // settings and table first.
    warten_.start(0);
}

void DateiUebergabe::Uebernehmen(const QString& datei) {
    form_.WMZeigen();
    Vormerken(datei);
}

void DateiUebergabe::Weiter() {
    if (wartend_.isEmpty())
        return;
    if (form_.IsClosing) {
        wartend_.clear();
        return;
    }
    // The open command's own save question is modal too, so a file that
    // arrives while it is asked waits for the answer.
    if (oeffnet_ || QApplication::activeModalWidget() || !form_.isVisible()) {
        warten_.start(kNachsehenMs);
        return;
    }
    const QString datei = wartend_;
    wartend_.clear();
    oeffnet_ = true;
    form_.DateiOeffnen(datei);
    oeffnet_ = false;
    if (!wartend_.isEmpty())
        warten_.start(0);
}

} // namespace zw
