#pragma once
// Bringing the program's windows to the front when a later start asks for it.

class QWidget;

namespace zw {

// Restores the window if it is minimised and raises and activates it. True
// when it is the active window afterwards; the window system may refuse or
// grant that later, so callers do not rely on it.
bool FensterNachVorn(QWidget* fenster);

// Brings every visible window that `owner` owns to the front, in the order
// they were created, each followed by the windows it owns in turn; hidden
// windows and what they own are skipped. An open modal dialog is raised last,
// so it ends up in front of the window it belongs to.
void FormulareNachVorn(QWidget* owner);

} // namespace zw
