#include "ui/ProgrammInfo.h"

#include "ui/Haupt.h"

#include "core/MoFiles.h"
#include "platform/Dialoge.h"
#include "platform/Pfad.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#ifndef ZW_HOMEPAGE
#define ZW_HOMEPAGE "https://zeichenwandler.example.org/"
#endif
#ifndef ZW_MAIL
#define ZW_MAIL "zeichenwandler@example.org"
#endif
#ifndef ZW_LIZENZ
#define ZW_LIZENZ "GNU General Public License, Version 3 oder später"
#endif

namespace zw {

#ifdef _WIN32
const QString UpdaterName = QStringLiteral("Auffrischer.exe");
#else
const QString UpdaterName = QStringLiteral("Auffrischer");
#endif

QString HomepageAdresse() {
    return QString::fromUtf8(ZW_HOMEPAGE);
}

QString SpendenAdresse() {
    // On the same site, in the home page's folder.
    return QUrl(HomepageAdresse()).resolved(QUrl(QStringLiteral("spenden.htm"))).toString();
}

QString MailAdresse() {
    return QString::fromUtf8(ZW_MAIL);
}

QString MailAufruf() {
    return QStringLiteral("mailto:") + MailAdresse() + QStringLiteral("?subject=") + ProgrammTitel;
}

QString ProgrammInfoText() {
    const QStringList zeilen{
        ProgrammTitel,
        QStringLiteral("Umwandlung von bestimmten Zeichen eines Textes."),
        QString(),
        QStringLiteral("Copyright © Zeichenwandler-Gruppe"),
        QStringLiteral("Freie Software unter der ") + QString::fromUtf8(ZW_LIZENZ),
        QStringLiteral("Mail: ") + MailAdresse(),
        QStringLiteral("Internet: ") + HomepageAdresse(),
        QString(),
        QStringLiteral("Erstellt mit C++ und Qt"),
    };
    return zeilen.join(u'\n');
}

QString UpdateZeilen(const QString& fensterTitel, const QString& programmDatei,
                     const TSchrift& schrift) {
    const QStringList zeilen{
        ProgrammTitel,
        fensterTitel,
        programmDatei,
        QStringLiteral("ZWD"),
        QStringLiteral("%1 %2").arg(schrift.Groesse).arg(QString::fromStdU16String(schrift.Name)),
    };
    return zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void UpdateUebergeben(Shell& desktop, Dialoge& dialoge, QWidget* fenster, const TSchrift& schrift) {
    const QString konfiguration = desktop.TempPfad() + UpdateDateiName;
    const QString zeilen = UpdateZeilen(fenster->windowTitle(),
                                        QDir::toNativeSeparators(desktop.ProgrammDatei()), schrift);
    try {
        // A read-only file left by an earlier run is replaced.
        QFile::setPermissions(konfiguration, QFile::permissions(konfiguration) |
                                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        TextDateiSpeichern(AlsPfad(konfiguration), zeilen.toStdU16String(), tfText);
        // The updater finds the file in the temporary folder by its name.
        desktop.ProgrammStarten(
            QDir::toNativeSeparators(QDir(desktop.ProgrammOrdner()).filePath(UpdaterName)),
            {UpdateDateiName});
    } catch (const std::exception&) {
        dialoge.Fehler(fenster, QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\n"
                                               "Die Datei \"%1\" konnte nicht gespeichert werden.")
                                    .arg(konfiguration));
    }
}

} // namespace zw
