// Start of the program: the application with its general error handler,
// one instance per user, Qt's German texts, and the main window as the only
// window created at start.
#include "platform/EineInstanz.h"
#include "platform/Fehlerbehandlung.h"
#include "platform/QtDialoge.h"
#include "platform/Uebersetzung.h"
#include "ui/DateiUebergabe.h"
#include "ui/Haupt.h"

int main(int argc, char** argv) {
    zw::Anwendung anwendung(argc, argv);

    // A file named on the command line ("Öffnen mit") is opened at start; a
    // later start hands it over to the running instance, which comes to the
    // front and opens it, and ends without showing anything.
    const QString datei = zw::StartDatei(QCoreApplication::arguments().mid(1));
    zw::EineInstanz instanz(zw::InstanzName(zw::ProgrammTitel));
    if (!instanz.Starten(std::chrono::milliseconds(250), datei))
        return 0;

    zw::QtUebersetzungLaden(anwendung);
    zw::QtDialoge dialoge;
    anwendung.DialogeSetzen(&dialoge);
    zw::TForm1 form(dialoge);
    QObject::connect(&instanz, &zw::EineInstanz::Zeigen, &form, &zw::TForm1::WMZeigen);
    QObject::connect(&instanz, &zw::EineInstanz::Beenden, &form, &zw::TForm1::WMBeenden);
    zw::DateiUebergabe uebergabe(form);
    QObject::connect(&instanz, &zw::EineInstanz::Oeffnen, &uebergabe,
                     &zw::DateiUebergabe::Uebernehmen);
    form.show();
    uebergabe.Vormerken(datei);
    return anwendung.exec();
}
