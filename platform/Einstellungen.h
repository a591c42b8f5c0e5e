#pragma once
// The per-user settings store: one key with named string and integer
// values. On Windows it is the registry key
// HKEY_CURRENT_USER\Software\Zeichenwandler; elsewhere an INI file in the user's configuration
// folder whose section is the same key path, with the same value names.

#include "core/Schrift.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>

class QSettings;

namespace zw {

// A value of the wrong type or a failing write. The text is the German
// message the general error handler shows.
class EinstellungsFehler : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Ungültiger Datentyp für 'NAME'"
EinstellungsFehler UngueltigerDatentyp(const QString& name);
// "Fehler beim Setzen der Daten für 'NAME'"
EinstellungsFehler SetzenFehler(const QString& name);

// How a stored value reads as an integer: a 32-bit number, also written as
// the unsigned value of the same bits (a colour such as 0xFF000008 reads
// back as 4278190088 or as -16777208). Anything else is not an integer.
std::optional<std::int32_t> AlsGanzzahl(const QVariant& wert);

class Einstellungen {
public:
    virtual ~Einstellungen() = default;

    // Opens the key, creating it when it does not exist. False when it can
    // be neither opened nor created for reading and writing; then nothing
    // is read or written.
    virtual bool Oeffnen() = 0;
    virtual void Schliessen() = 0;

    virtual bool WertVorhanden(const QString& name) = 0;
    // An absent value reads as empty. Throws UngueltigerDatentyp when the
    // value is no string.
    virtual QString StringLesen(const QString& name) = 0;
    // Throws UngueltigerDatentyp when the value is absent or no integer.
    virtual std::int32_t IntegerLesen(const QString& name) = 0;
    // Throw SetzenFehler when the value cannot be written.
    virtual void StringSchreiben(const QString& name, const QString& wert) = 0;
    virtual void IntegerSchreiben(const QString& name, std::int32_t wert) = 0;
};

// The store on QSettings: the registry on Windows, an INI file elsewhere.
class QtEinstellungen : public Einstellungen {
public:
    // The user's own store.
    QtEinstellungen();
    // An INI file at this path, whatever the platform: for a store that is
    // not the user's.
    explicit QtEinstellungen(const QString& iniDatei);
    ~QtEinstellungen() override;

    // The file or registry path the store uses.
    QString Ort() const;

    bool Oeffnen() override;
    void Schliessen() override;
    bool WertVorhanden(const QString& name) override;
    QString StringLesen(const QString& name) override;
    std::int32_t IntegerLesen(const QString& name) override;
    void StringSchreiben(const QString& name, const QString& wert) override;
    void IntegerSchreiben(const QString& name, std::int32_t wert) override;

private:
    void Schreiben(const QString& name, const QVariant& wert);

    QString iniDatei_; // empty: the registry
    std::unique_ptr<QSettings> settings_;
};

// The user's own store, one for the whole program.
Einstellungen& BenutzerEinstellungen();

// The key path, also the INI file's section.
inline const QString EinstellungsSchluessel = QStringLiteral("Software/Zeichenwandler");

// The program's own settings: the table, the port, the background and the
// font. The window keeps them in its fields; these are references to them.
struct ProgrammWerte {
    QString& Tabelle;
    QString& Port;
    int& HintergrundNr;
    TSchrift& Schrift;
};

// One stored value: its name, its type in the store and how it maps to the
// program's value. A string value also takes its default when it is empty.
struct EinstellungsWert {
    enum class Art { Text, Zahl };
    QString Name;
    Art Typ;
    QVariant (*Vorgabe)();
    QVariant (*Holen)(const ProgrammWerte&);
    void (*Setzen)(ProgrammWerte&, const QVariant&);
};

// The eight values in the order they are written.
std::span<const EinstellungsWert> ProgrammEinstellungen();

// The default table: "Eng-Ger.tab" in the program's folder.
QString StandardTabelle();

// Reads every value into werte, the background last, since taking it lays
// the window out with the font read before. False when the store cannot be
// opened; then nothing changes. A value of the wrong type throws, and what
// comes after it keeps its state.
bool ProgrammWerteLaden(Einstellungen& einstellungen, ProgrammWerte werte);
// Writes all eight values; nothing when the store cannot be opened. A
// failing write throws, and what comes after it is not written.
void ProgrammWerteSpeichern(Einstellungen& einstellungen, ProgrammWerte werte);

} // namespace zw
