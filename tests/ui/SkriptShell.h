#pragma once
// The desktop as a test sees it: every request is recorded instead of
// started, and the program file and the temporary folder lie where the test
// puts them.

#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace zwtest {

struct ShellAnfrage {
    enum Art { Adresse, Datei, Programm } art;
    QString ziel;
    QStringList argumente;
    bool operator==(const ShellAnfrage&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ShellAnfrage& a) {
    const char* art[] = {"Adresse", "Datei", "Programm"};
    os << art[a.art] << " " << a.ziel.toStdString();
    for (const QString& arg : a.argumente)
        os << " [" << arg.toStdString() << "]";
    return os;
}

class SkriptShell : public zw::Shell {
public:
    std::vector<ShellAnfrage> Anfragen;
    QString Programm; // the program file
    QString Temp;     // the temporary folder, with its separator

    bool AdresseOeffnen(const QString& adresse) override {
        Anfragen.push_back({ShellAnfrage::Adresse, adresse, {}});
        return true;
    }
    bool DateiAnzeigen(const QString& datei) override {
        Anfragen.push_back({ShellAnfrage::Datei, datei, {}});
        return true;
    }
    bool ProgrammStarten(const QString& programm, const QStringList& argumente) override {
        Anfragen.push_back({ShellAnfrage::Programm, programm, argumente});
        return true;
    }
    QString ProgrammDatei() const override { return Programm; }
    QString TempPfad() const override { return Temp; }
};

} // namespace zwtest
