#pragma once
// Files that reach the main window from outside: the one named on the command
// line at start, and those a later start hands over. Each is opened through
// the main window's open command once no modal window stands in the way, so
// a print dialog, the table editor or a save question is never pulled out
// from under the user.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace zw {

class TForm1;

// The file a start names on its command line (the first argument that is no
// option, a file: URL as its local path), as an absolute path; empty when
// there is none. `argumente` without the program itself.
QString StartDatei(const QStringList& argumente);

class DateiUebergabe : public QObject {
    Q_OBJECT
public:
    explicit DateiUebergabe(TForm1& form, QObject* eltern = nullptr);

    // Opens the file as soon as nothing modal is open; a later file replaces
    // one that still waits.
    void Vormerken(const QString& datei);
    // A later start's file: the window comes to the front first.
    void Uebernehmen(const QString& datei);

    // The file still waiting, if any.
    const QString& Wartend() const { return wartend_; }

private:
    void Weiter();

    TForm1& form_;
    QString wartend_;
    QTimer warten_;
    bool oeffnet_ = false;
};

} // namespace zw
