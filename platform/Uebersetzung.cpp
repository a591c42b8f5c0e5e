#include "platform/Uebersetzung.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zw {

bool QtUebersetzungLaden(QCoreApplication& anwendung) {
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    QLocale::setDefault(deutsch);
    auto* uebersetzer = new QTranslator(&anwendung);
    if (!uebersetzer->load(deutsch, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete uebersetzer;
        return false;
    }
    anwendung.installTranslator(uebersetzer);
    return true;
}

} // namespace zw
