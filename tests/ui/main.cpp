// The window tests run inside one application object with the general error
// handler and Qt's German texts, as the program does. ctest starts one
// process per suite, so each test begins from the state a fresh process has.
#include "platform/Fehlerbehandlung.h"
#include "platform/Uebersetzung.h"

#include <QClipboard>
#include <QDir>
#include <QFont>
#include <QPalette>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// What a test may leave behind in the process, put back before the next:
// the user's settings folder emptied, the working folder, the application's
// font, palette and style sheet, the clipboard, and windows left open.
class FrischerZustand : public testing::EmptyTestEventListener {
public:
    explicit FrischerZustand(QString konfiguration)
        : konfiguration_(std::move(konfiguration)), ordner_(QDir::currentPath()),
          schrift_(QApplication::font()), palette_(QApplication::palette()),
          stil_(qApp->styleSheet()) {}

    void OnTestStart(const testing::TestInfo&) override {
        QDir(konfiguration_).removeRecursively();
        QDir().mkpath(konfiguration_);
        QDir::setCurrent(ordner_);
        if (QApplication::font() != schrift_)
            QApplication::setFont(schrift_);
        if (QApplication::palette() != palette_)
            QApplication::setPalette(palette_);
        if (qApp->styleSheet() != stil_)
            qApp->setStyleSheet(stil_);
        QGuiApplication::clipboard()->clear();
    }

    void OnTestEnd(const testing::TestInfo&) override {
        // Windows a test handed to deleteLater go now; one it left open
        // closes, so that no modal dialog waits for the next test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    QString konfiguration_, ordner_;
    QFont schrift_;
    QPalette palette_;
    QString stil_;
};

// A suite whose every test skipped ends with 77, which ctest shows as
// skipped; one that also ran tests that passed shows as passed, with the
// skips and their reasons in its output.
bool AllesAusgelassen() {
    const testing::UnitTest& lauf = *testing::UnitTest::GetInstance();
    return lauf.test_to_run_count() > 0 && lauf.skipped_test_count() == lauf.test_to_run_count();
}

} // namespace

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
    auto& zuhoerer = testing::UnitTest::GetInstance()->listeners();
    FrischerZustand frisch(konfiguration.path());
    zuhoerer.Append(&frisch);
    const int ergebnis = RUN_ALL_TESTS();
    // It holds a font and a palette, which go before the application does.
    zuhoerer.Release(&frisch);
    return ergebnis == 0 && AllesAusgelassen() ? 77 : ergebnis;
}
