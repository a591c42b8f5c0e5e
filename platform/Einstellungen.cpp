#include "platform/Einstellungen.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

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

} // namespace zw
