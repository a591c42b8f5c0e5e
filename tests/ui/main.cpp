// The window tests run inside one application object with the general error
// handler and Qt's German texts, as the program does.
#include "platform/Fehlerbehandlung.h"
#include "platform/Uebersetzung.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Without a display the tests still run, also when ctest lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A window made without a store of its own uses the user's settings;
    // here that is a folder of the run's own, never the real user's.
    QTemporaryDir konfiguration;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(konfiguration.path()));
    testing::InitGoogleTest(&argc, argv);
    zw::Anwendung anwendung(argc, argv);
    zw::QtUebersetzungLaden(anwendung);
    // Tests close windows one after another; none of them ends the run.
    anwendung.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
