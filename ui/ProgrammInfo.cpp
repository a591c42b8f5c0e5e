#include "ui/ProgrammInfo.h"

#include "ui/Haupt.h"

#include <QStringList>
#include <QUrl>

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

} // namespace zw
