#pragma once
// Qt's own German texts for its dialogs and standard buttons.

class QCoreApplication;

namespace zw {

// Installs Qt's German translation (qtbase_de.qm from Qt's translation
// folder) and makes German the default locale. Returns false when the
// translation is not installed; Qt then shows its English texts.
bool QtUebersetzungLaden(QCoreApplication& anwendung);

} // namespace zw
