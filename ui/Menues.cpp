#include "ui/Menues.h"

#include "ui/Layout.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zw {

QMenu* MenuAnlegen(QMenuBar* leiste, const char* name, const QString& titel) {
    QMenu* m = leiste->addMenu(titel);
    m->setObjectName(QLatin1String(name));
    m->setAccessibleName(UndZeichenEntfernen(titel));
    return m;
}

QMenuBar* MenuLeisteAnlegen(QWidget* fenster) {
    auto* leiste = new QMenuBar(fenster);
    leiste->setObjectName(QStringLiteral("MainMenu1"));
    leiste->setAccessibleName(QStringLiteral("Hauptmenü"));
    return leiste;
}

QAction* EintragAnlegen(QMenu* menu, const char* name, const QString& text,
                        const QKeySequence& kuerzel) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(kuerzel);
    return a;
}

} // namespace zw
