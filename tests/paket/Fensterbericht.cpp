// Loaded into the real program with LD_PRELOAD: once the main window is shown
// and has read its table, it writes the window's caption and the texts of its
// labels to standard output and closes the window, so a script can check an
// installed copy from outside without a change to the program.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSchrittMs = 100;
constexpr int kHoechstensMs = 30000;

QMainWindow* Hauptfenster() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<QMainWindow*>(w); f && f->isVisible())
            return f;
    return nullptr;
}

void Berichten(QMainWindow* fenster) {
    std::printf("Titel: %s\n", fenster->windowTitle().toUtf8().constData());
    for (QLabel* l : fenster->findChildren<QLabel*>())
        if (!l->objectName().isEmpty())
            std::printf("%s: %s\n", l->objectName().toUtf8().constData(),
                        l->text().toUtf8().constData());
    std::fflush(stdout);
}

void Warten(int vergangen) {
    QMainWindow* fenster = Hauptfenster();
    // The entry label is filled when the window has been shown and has read
    // the table; before that the window is not ready to be reported.
    QLabel* eintraege = fenster ? fenster->findChild<QLabel*>("LabelTabEintraege") : nullptr;
    if (eintraege && !eintraege->text().isEmpty()) {
        Berichten(fenster);
        fenster->close();
        // Should the window refuse to close, the run still ends.
        QTimer::singleShot(5000, [] { QCoreApplication::exit(4); });
        return;
    }
    if (vergangen >= kHoechstensMs) {
        std::fprintf(stderr, "Fensterbericht: kein Hauptfenster nach %d ms\n", vergangen);
        std::exit(3);
    }
    QTimer::singleShot(kSchrittMs, [vergangen] { Warten(vergangen + kSchrittMs); });
}

void Anmelden() {
    QTimer::singleShot(0, [] { Warten(0); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Anmelden)
