#include "cli/Schliessen.h"

#include <cstdio>

#ifdef ZW_MIT_EINZELINSTANZ
#include "core/Programm.h"
#include "platform/EineInstanz.h"

#include <QCoreApplication>
#endif

namespace zw::cli {

#ifdef ZW_MIT_EINZELINSTANZ

int Schliessen() {
    using namespace std::chrono_literals;
    int argc = 1;
    char name[] = "zeichenwandler-cli";
    char* argv[] = {name, nullptr};
    const QCoreApplication anwendung(argc, argv);
    switch (AnfrageSenden(InstanzName(QString::fromUtf8(ProgrammTitelText)),
                          InstanzAnfrage::Beenden, 2s)) {
    case SendeErgebnis::Angenommen:
        // Whether it closes is up to the user: it asks about unsaved changes.
        std::fputs("Der laufende Zeichenwandler wurde gebeten, sich zu beenden.\n", stdout);
        return 0;
    case SendeErgebnis::KeineInstanz:
        std::fputs("Es läuft kein Zeichenwandler.\n", stderr);
        return KeinProgramm;
    case SendeErgebnis::KeineAntwort:
    case SendeErgebnis::Unbekannt: // not a Zeichenwandler that knows the request
        break;
    }
    std::fputs("Der laufende Zeichenwandler antwortet nicht.\n", stderr);
    return KeineAntwort;
}

#else

int Schliessen() {
    std::fputs("Dieser Befehl fehlt in einem Build ohne Qt.\n", stderr);
    return 2;
}

#endif

} // namespace zw::cli
