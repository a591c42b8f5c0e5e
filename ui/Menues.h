#pragma once
// Menus as every window builds them: named, with an accessible name that a
// screen reader speaks without the access-key marker.

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace zw {

QMenu* MenuAnlegen(QMenuBar* leiste, const char* name, const QString& titel);
QAction* EintragAnlegen(QMenu* menu, const char* name, const QString& text,
                        const QKeySequence& kuerzel = {});

} // namespace zw
