#pragma once
// What the program says about itself in the help menu: the maker's
// addresses, the information box and the hand-over file for the updater.
// The addresses are set when building (ZW_HOMEPAGE, ZW_MAIL, ZW_LIZENZ).

#include "core/Schrift.h"

class QWidget;

#include <QString>

namespace zw {

// The home page; the donation page "spenden.htm" lies beside it.
QString HomepageAdresse();
QString SpendenAdresse();
QString MailAdresse();
// "mailto:" with the address and the product title as subject, as it stands.
QString MailAufruf();

// The lines of the information box, separated by line ends.
QString ProgrammInfoText();

// The updater beside the program and the hand-over file it is given.
extern const QString UpdaterName;
inline const QString UpdateDateiName = QStringLiteral("ZWD.cfg");
// The five lines of the hand-over file, each ended by CR LF: product title,
// the main window's caption, the program file, the short name, and the
// program font as size and name.
QString UpdateZeilen(const QString& fensterTitel, const QString& programmDatei,
                     const TSchrift& schrift);

class Dialoge;
class Shell;

// Hands the update over: the hand-over file for this window into the
// temporary folder, then the updater beside the program. A file that cannot
// be written is not the command's end but its own message, which names it.
void UpdateUebergeben(Shell& desktop, Dialoge& dialoge, QWidget* fenster, const TSchrift& schrift);

} // namespace zw
