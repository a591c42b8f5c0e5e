#pragma once
// The desktop around the program: web and mail addresses and files handed to
// the desktop's default programs, other programs started with a list of
// arguments (never through a command shell), and where the program and the
// user's temporary files live. The program passes the desktop itself, tests
// pass a double that records the requests.

#include <QString>
#include <QStringList>

namespace zw {

class Shell {
public:
    virtual ~Shell() = default;

    // Hands a web address or a "mailto:" address to the default program.
    // Does not wait; false when the desktop could not take the request.
    virtual bool AdresseOeffnen(const QString& adresse) = 0;
    // Shows a file in the desktop's default program for its type.
    virtual bool DateiAnzeigen(const QString& datei) = 0;
    // Starts a program with these arguments, each one reaching it as one
    // argument as it stands. Does not wait for it.
    virtual bool ProgrammStarten(const QString& programm, const QStringList& argumente) = 0;

    // The full path of the running program file.
    virtual QString ProgrammDatei() const = 0;
    // The user's folder for temporary files, ending with a separator.
    virtual QString TempPfad() const = 0;

    // The folder of the running program file.
    QString ProgrammOrdner() const;
};

// The desktop through Qt: QDesktopServices for addresses and files,
// QProcess::startDetached for programs.
class QtShell : public Shell {
public:
    bool AdresseOeffnen(const QString& adresse) override;
    bool DateiAnzeigen(const QString& datei) override;
    bool ProgrammStarten(const QString& programm, const QStringList& argumente) override;
    QString ProgrammDatei() const override;
    QString TempPfad() const override;
};

// The desktop the program runs on; lives as long as the program.
Shell& StandardShell();

} // namespace zw
