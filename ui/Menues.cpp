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

QAction* EintragAnlegen(QMenu* menu, const char* name, const QString& text,
                        const QKeySequence& kuerzel) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(kuerzel);
    return a;
}

} // namespace zw
