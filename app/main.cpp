// Start of the program: the application with its general error handler,
// Qt's German texts, and the main window as the only window created at start.
#include "platform/Fehlerbehandlung.h"
#include "platform/QtDialoge.h"
#include "platform/Uebersetzung.h"
#include "ui/Haupt.h"

int main(int argc, char** argv) {
    zw::Anwendung anwendung(argc, argv);
    zw::QtUebersetzungLaden(anwendung);
    zw::QtDialoge dialoge;
    anwendung.DialogeSetzen(&dialoge);
    zw::TForm1 form(dialoge);
    form.show();
    return anwendung.exec();
}
