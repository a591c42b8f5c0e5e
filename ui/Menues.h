#pragma once
// Menus as every window builds them: named, with an accessible name that a
// screen reader speaks without the access-key marker, and each item tied to
// the window's command, which runs through the one error handler.

#include "platform/Fehlerbehandlung.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

#include <initializer_list>

class QMenuBar;

namespace zw {

QMenu* MenuAnlegen(QMenuBar* leiste, const char* name, const QString& titel);
QAction* EintragAnlegen(QMenu* menu, const char* name, const QString& text,
                        const QKeySequence& kuerzel = {});

// Runs one of the window's commands: an error it throws ends the command and
// is shown over the window.
template <class Fenster>
void Ausfuehren(Fenster* fenster, Dialoge& dialoge, void (Fenster::*befehl)()) {
    BefehlAusfuehren(dialoge, fenster, [fenster, befehl] { (fenster->*befehl)(); });
}

// A menu item that runs one of the window's commands.
template <class Fenster>
void Verbinden(Fenster* fenster, Dialoge& dialoge, QAction* aktion, void (Fenster::*befehl)()) {
    QObject::connect(aktion, &QAction::triggered, fenster,
                     [fenster, &dialoge, befehl] { Ausfuehren(fenster, dialoge, befehl); });
}

// One item of a menu: the member that keeps it, its object name, caption,
// shortcut and command. An item without a name is a separator.
template <class Fenster> struct MenuPunkt {
    QAction** Aktion = nullptr;
    const char* Name = nullptr;
    QString Text;
    QKeySequence Kuerzel;
    void (Fenster::*Befehl)() = nullptr;
};

// Adds the items to the menu in their order, each tied to its command.
template <class Fenster>
void PunkteAnlegen(Fenster* fenster, Dialoge& dialoge, QMenu* menu,
                   std::initializer_list<MenuPunkt<Fenster>> punkte) {
    for (const MenuPunkt<Fenster>& p : punkte) {
        if (!p.Name) {
            menu->addSeparator();
            continue;
        }
        *p.Aktion = EintragAnlegen(menu, p.Name, p.Text, p.Kuerzel);
        if (p.Befehl)
            Verbinden(fenster, dialoge, *p.Aktion, p.Befehl);
    }
}

// A menu of the bar with its items.
template <class Fenster>
QMenu* MenuAnlegen(Fenster* fenster, Dialoge& dialoge, QMenuBar* leiste, const char* name,
                   const QString& titel, std::initializer_list<MenuPunkt<Fenster>> punkte) {
    QMenu* menu = MenuAnlegen(leiste, name, titel);
    PunkteAnlegen(fenster, dialoge, menu, punkte);
    return menu;
}

// The menu bar of a dialog window, which Qt's dialogs do not have of their
// own; the window's layout takes it.
QMenuBar* MenuLeisteAnlegen(QWidget* fenster);

} // namespace zw
