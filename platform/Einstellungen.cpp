#include "platform/Einstellungen.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <QScopeGuard>

#include <array>
#include <limits>

namespace zw {

namespace {

// Files Qt found broken, with the size and time they had then. Qt keeps a
// file it has read for the whole process and reports a format error only when
// it parses it, so a second opening of the same broken file would look fine
// and write over what the user may still want to mend.
struct Stand {
    qint64 groesse;
    QDateTime zeit;
    bool operator==(const Stand&) const = default;
};
QHash<QString, Stand>& KaputteDateien() {
    static QHash<QString, Stand> dateien;
    return dateien;
}
Stand StandVon(const QFileInfo& info) {
    return Stand{info.size(), info.lastModified()};
}

EinstellungsFehler Fehler(const char* muster, const QString& name) {
    return EinstellungsFehler(QString::fromUtf8(muster).arg(name).toStdString());
}

} // namespace

EinstellungsFehler UngueltigerDatentyp(const QString& name) {
    return Fehler("Ungültiger Datentyp für '%1'", name);
}

EinstellungsFehler SetzenFehler(const QString& name) {
    return Fehler("Fehler beim Setzen der Daten für '%1'", name);
}

std::optional<std::int32_t> AlsGanzzahl(const QVariant& wert) {
    qint64 zahl = 0;
    switch (wert.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        zahl = wert.toLongLong();
        break;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (wert.toULongLong() > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
        zahl = qint64(wert.toULongLong());
        break;
    case QMetaType::QString: {
        // An INI file has no types: an integer is a decimal number there.
        bool ok = false;
        zahl = wert.toString().trimmed().toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        break;
    }
    default:
        return std::nullopt;
    }
    if (zahl < std::numeric_limits<std::int32_t>::min() ||
        zahl > qint64(std::numeric_limits<std::uint32_t>::max()))
        return std::nullopt;
    return std::int32_t(std::uint32_t(zahl));
}

QtEinstellungen::QtEinstellungen() {
#ifndef Q_OS_WIN
    iniDatei_ = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                    .filePath(QStringLiteral("Zeichenwandler/Zeichenwandler.ini"));
#endif
}

QtEinstellungen::QtEinstellungen(const QString& iniDatei) : iniDatei_(iniDatei) {}

QtEinstellungen::~QtEinstellungen() = default;

QString QtEinstellungen::Ort() const {
    if (iniDatei_.isEmpty())
        return QStringLiteral("HKEY_CURRENT_USER\\") +
               QString(EinstellungsSchluessel).replace(u'/', u'\\');
    return iniDatei_;
}

bool QtEinstellungen::Oeffnen() {
    Schliessen();
    if (iniDatei_.isEmpty()) {
        settings_ = std::make_unique<QSettings>(Ort(), QSettings::NativeFormat);
    } else {
        // The key exists once the file does, also when nothing has been
        // written yet.
        const QFileInfo info(iniDatei_);
        if (!QDir().mkpath(info.absolutePath()))
            return false;
        if (!info.exists()) {
            QSaveFile leer(iniDatei_);
            if (!leer.open(QIODevice::WriteOnly) || !leer.commit())
                return false;
        }
        const QFileInfo jetzt(iniDatei_);
        if (!jetzt.isFile() || !jetzt.isReadable() || !jetzt.isWritable())
            return false;
        const QString schluessel = jetzt.absoluteFilePath();
        if (const auto it = KaputteDateien().constFind(schluessel);
            it != KaputteDateien().cend() && *it == StandVon(jetzt))
            return false;
        KaputteDateien().remove(schluessel);
        settings_ = std::make_unique<QSettings>(iniDatei_, QSettings::IniFormat);
        if (settings_->status() == QSettings::FormatError)
            KaputteDateien().insert(schluessel, StandVon(jetzt));
        settings_->beginGroup(EinstellungsSchluessel);
    }
    // A file that does not read as INI stays as the user left it.
    if (settings_->status() != QSettings::NoError || !settings_->isWritable()) {
        settings_.reset();
        return false;
    }
    return true;
}

void QtEinstellungen::Schliessen() {
    settings_.reset();
}

bool QtEinstellungen::WertVorhanden(const QString& name) {
    return settings_ && settings_->contains(name);
}

QString QtEinstellungen::StringLesen(const QString& name) {
    if (!settings_)
        return QString();
    const QVariant wert = settings_->value(name);
    if (!wert.isValid())
        return QString();
    if (wert.typeId() != QMetaType::QString)
        throw UngueltigerDatentyp(name);
    return wert.toString();
}

std::int32_t QtEinstellungen::IntegerLesen(const QString& name) {
    const std::optional<std::int32_t> zahl =
        settings_ ? AlsGanzzahl(settings_->value(name)) : std::nullopt;
    if (!zahl)
        throw UngueltigerDatentyp(name);
    return *zahl;
}

void QtEinstellungen::Schreiben(const QString& name, const QVariant& wert) {
    if (!settings_)
        throw SetzenFehler(name);
    settings_->setValue(name, wert);
    // Written through at once, so a failure names the value it hit and the
    // values after it are not written.
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw SetzenFehler(name);
}

void QtEinstellungen::StringSchreiben(const QString& name, const QString& wert) {
    Schreiben(name, wert);
}

void QtEinstellungen::IntegerSchreiben(const QString& name, std::int32_t wert) {
    Schreiben(name, int(wert));
}

Einstellungen& BenutzerEinstellungen() {
    static QtEinstellungen einstellungen;
    return einstellungen;
}

QString StandardTabelle() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Eng-Ger.tab"));
}

namespace {

using Art = EinstellungsWert::Art;

constexpr int kStilBits = StilKursiv | StilFett | StilUnterstrichen | StilDurchgestrichen;

// The font's defaults are the font's own.
const TSchrift kSchrift{};

const std::array<EinstellungsWert, 8> kWerte = {{
    {QStringLiteral("Tabelle"), Art::Text, [] { return QVariant(StandardTabelle()); },
     [](const ProgrammWerte& w) { return QVariant(w.Tabelle); },
     [](ProgrammWerte& w, const QVariant& v) { w.Tabelle = v.toString(); }},
    {QStringLiteral("Port"), Art::Text, [] { return QVariant(QStringLiteral("LPT1")); },
     [](const ProgrammWerte& w) { return QVariant(w.Port); },
     [](ProgrammWerte& w, const QVariant& v) { w.Port = v.toString(); }},
    // The background's place in the colour list; the list's second entry,
    // white.
    {QStringLiteral("HintColor"), Art::Zahl, [] { return QVariant(1); },
     [](const ProgrammWerte& w) { return QVariant(w.HintergrundNr); },
     [](ProgrammWerte& w, const QVariant& v) { w.HintergrundNr = v.toInt(); }},
    {QStringLiteral("FontName"), Art::Text,
     [] { return QVariant(QString::fromStdU16String(kSchrift.Name)); },
     [](const ProgrammWerte& w) { return QVariant(QString::fromStdU16String(w.Schrift.Name)); },
     [](ProgrammWerte& w, const QVariant& v) { w.Schrift.Name = v.toString().toStdU16String(); }},
    {QStringLiteral("FontSize"), Art::Zahl, [] { return QVariant(kSchrift.Groesse); },
     [](const ProgrammWerte& w) { return QVariant(w.Schrift.Groesse); },
     [](ProgrammWerte& w, const QVariant& v) { w.Schrift.Groesse = v.toInt(); }},
    // A colour value or a system colour, kept as its bits.
    {QStringLiteral("FontColor"), Art::Zahl, [] { return QVariant(std::int32_t(kSchrift.Farbe)); },
     [](const ProgrammWerte& w) { return QVariant(std::int32_t(w.Schrift.Farbe)); },
     [](ProgrammWerte& w, const QVariant& v) { w.Schrift.Farbe = std::uint32_t(v.toInt()); }},
    {QStringLiteral("FontCharSet"), Art::Zahl, [] { return QVariant(kSchrift.Zeichensatz); },
     [](const ProgrammWerte& w) { return QVariant(w.Schrift.Zeichensatz); },
     [](ProgrammWerte& w, const QVariant& v) { w.Schrift.Zeichensatz = v.toInt() & 0xFF; }},
    // -1 stands for "no value" and so means no style; higher bits have no
    // meaning.
    {QStringLiteral("FontStyle"), Art::Zahl, [] { return QVariant(kSchrift.Stil); },
     [](const ProgrammWerte& w) { return QVariant(w.Schrift.Stil & kStilBits); },
     [](ProgrammWerte& w, const QVariant& v) {
         w.Schrift.Stil = v.toInt() == -1 ? 0 : v.toInt() & kStilBits;
     }},
}};

void WertLaden(Einstellungen& reg, const EinstellungsWert& wert, ProgrammWerte& werte) {
    QVariant gelesen;
    if (wert.Typ == Art::Text) {
        const QString text = reg.StringLesen(wert.Name);
        if (!text.isEmpty())
            gelesen = text;
    } else if (reg.WertVorhanden(wert.Name)) {
        gelesen = reg.IntegerLesen(wert.Name);
    }
    wert.Setzen(werte, gelesen.isValid() ? gelesen : wert.Vorgabe());
}

bool IstHintergrund(const EinstellungsWert& wert) {
    return wert.Name == QLatin1String("HintColor");
}

} // namespace

std::span<const EinstellungsWert> ProgrammEinstellungen() {
    return kWerte;
}

bool ProgrammWerteLaden(Einstellungen& einstellungen, ProgrammWerte werte) {
    if (!einstellungen.Oeffnen())
        return false;
    const auto zu = qScopeGuard([&einstellungen] { einstellungen.Schliessen(); });
    for (const EinstellungsWert& wert : kWerte)
        if (!IstHintergrund(wert))
            WertLaden(einstellungen, wert, werte);
    for (const EinstellungsWert& wert : kWerte)
        if (IstHintergrund(wert))
            WertLaden(einstellungen, wert, werte);
    return true;
}

void ProgrammWerteSpeichern(Einstellungen& einstellungen, ProgrammWerte werte) {
    if (!einstellungen.Oeffnen())
        return;
    const auto zu = qScopeGuard([&einstellungen] { einstellungen.Schliessen(); });
    for (const EinstellungsWert& wert : kWerte) {
        if (wert.Typ == Art::Text)
            einstellungen.StringSchreiben(wert.Name, wert.Holen(werte).toString());
        else
            einstellungen.IntegerSchreiben(wert.Name, wert.Holen(werte).toInt());
    }
}

} // namespace zw
