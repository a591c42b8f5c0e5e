#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace zw {

QString Shell::ProgrammOrdner() const {
    return QFileInfo(ProgrammDatei()).absolutePath();
}

bool QtShell::AdresseOeffnen(const QString& adresse) {
    // Tolerant: a mail subject with a space is an address users write.
    return QDesktopServices::openUrl(QUrl(adresse, QUrl::TolerantMode));
}

bool QtShell::DateiAnzeigen(const QString& datei) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(datei));
}

bool QtShell::ProgrammStarten(const QString& programm, const QStringList& argumente) {
    return QProcess::startDetached(programm, argumente);
}

QString QtShell::ProgrammDatei() const {
    return QCoreApplication::applicationFilePath();
}

QString QtShell::TempPfad() const {
    return QDir::toNativeSeparators(QDir::tempPath() + u'/');
}

Shell& StandardShell() {
    static QtShell shell;
    return shell;
}

} // namespace zw
