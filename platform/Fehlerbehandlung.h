#pragma once
// The application's general error handler. Commands do not catch file
// errors: the error ends the command where it arose, and its German text is
// shown in an error box; the program goes on.

#include "platform/Dialoge.h"

#include <QApplication>

#include <exception>
#include <functional>

namespace zw {

// The text the user reads for an error: a DateiFehler's own German message,
// a German sentence for lack of memory, otherwise what() as it stands.
QString FehlerText(const std::exception& fehler);

// Runs one command. An exception it throws ends it and is shown with
// Dialoge::Fehler over the window; returns false then.
bool BefehlAusfuehren(Dialoge& dialoge, QWidget* eltern, const std::function<void()>& befehl);

// The last catch: an exception that leaves an event handler is shown like a
// command's error instead of ending the program.
class Anwendung : public QApplication {
public:
    Anwendung(int& argc, char** argv);

    // The dialogs for errors that reach the event dispatch; without them such
    // an error is written to standard error.
    void DialogeSetzen(Dialoge* dialoge) { dialoge_ = dialoge; }

    bool notify(QObject* empfaenger, QEvent* ereignis) override;

private:
    Dialoge* dialoge_ = nullptr;
};

} // namespace zw
