#include "core/Fehler.h"

#include <cerrno>
#include <system_error>

namespace zw {

std::string SystemGrund(int fehlerNummer) {
    switch (fehlerNummer) {
    case ENOENT:
        return "Das System kann die angegebene Datei nicht finden.";
    case ENOTDIR:
        return "Das System kann den angegebenen Pfad nicht finden.";
    case EACCES:
    case EPERM:
        return "Zugriff verweigert.";
    case EISDIR:
        return "Der angegebene Pfad ist ein Ordner, keine Datei.";
    case ENOSPC:
        return "Auf dem Datenträger ist nicht genügend Speicherplatz verfügbar.";
#ifdef EDQUOT
    case EDQUOT:
        return "Das Speicherkontingent auf dem Datenträger ist erschöpft.";
#endif
    case EROFS:
        return "Der Datenträger ist schreibgeschützt.";
    case EMFILE:
    case ENFILE:
        return "Das System kann die Datei nicht öffnen.";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return "Der Prozess kann nicht auf die Datei zugreifen, da sie von einem anderen "
               "Prozess verwendet wird.";
    case ENAMETOOLONG:
        return "Der Dateiname oder die Erweiterung ist zu lang.";
    case EIO:
        return "Die Anforderung konnte wegen eines E/A-Gerätefehlers nicht ausgeführt werden.";
    case ENOMEM:
        return "Nicht genügend Speicher verfügbar, um diesen Befehl zu verarbeiten.";
    case EEXIST:
        return "Die Datei ist bereits vorhanden.";
    case EFBIG:
        return "Die Datei ist zu groß.";
    case EINVAL:
        return "Der Parameter ist falsch.";
#ifdef ELOOP
    case ELOOP:
        return "Zu viele symbolische Verknüpfungen im Pfad.";
#endif
    case ENXIO:
    case ENODEV:
        return "Das Gerät ist nicht bereit.";
    default:
        return "Unbekannter Fehler (" + std::to_string(fehlerNummer) + ").";
    }
}

std::string PfadText(const std::filesystem::path& pfad) {
    const std::u8string u8 = pfad.u8string();
    return std::string(u8.begin(), u8.end());
}

namespace {
std::filesystem::path VollerPfad(const std::filesystem::path& pfad) {
    std::error_code ec;
    auto voll = std::filesystem::absolute(pfad, ec);
    return ec ? pfad : voll.lexically_normal();
}
} // namespace

DateiFehler OeffnenFehler(const std::filesystem::path& pfad, int fehlerNummer) {
    return DateiFehler("Datei " + PfadText(VollerPfad(pfad)) + " kann nicht geöffnet werden. " +
                       SystemGrund(fehlerNummer));
}

DateiFehler OeffnenFehler(const std::filesystem::path& pfad, const std::string& grund) {
    return DateiFehler("Datei " + PfadText(VollerPfad(pfad)) + " kann nicht geöffnet werden. " +
                       grund);
}

DateiFehler ErstellenFehler(const std::filesystem::path& pfad, int fehlerNummer) {
    return DateiFehler("Datei \"" + PfadText(VollerPfad(pfad)) + "\" kann nicht erstellt werden. " +
                       SystemGrund(fehlerNummer));
}

} // namespace zw
