#include "core/Fehler.h"

#include <cerrno>
#include <string_view>
#include <system_error>
#include <utility>

namespace zw {

namespace {

// The reasons in the words Windows uses for the same failures.
constexpr char kBelegt[] = "Der Prozess kann nicht auf die Datei zugreifen, da sie von einem "
                           "anderen Prozess verwendet wird.";
constexpr std::pair<int, std::string_view> kGruende[] = {
    {ENOENT, "Das System kann die angegebene Datei nicht finden."},
    {ENOTDIR, "Das System kann den angegebenen Pfad nicht finden."},
    {EACCES, "Zugriff verweigert."},
    {EPERM, "Zugriff verweigert."},
    {EISDIR, "Der angegebene Pfad ist ein Ordner, keine Datei."},
    {ENOSPC, "Auf dem Datenträger ist nicht genügend Speicherplatz verfügbar."},
#ifdef EDQUOT
    {EDQUOT, "Das Speicherkontingent auf dem Datenträger ist erschöpft."},
#endif
    {EROFS, "Der Datenträger ist schreibgeschützt."},
    {EMFILE, "Das System kann die Datei nicht öffnen."},
    {ENFILE, "Das System kann die Datei nicht öffnen."},
    {EBUSY, kBelegt},
#ifdef ETXTBSY
    {ETXTBSY, kBelegt},
#endif
    {ENAMETOOLONG, "Der Dateiname oder die Erweiterung ist zu lang."},
    {EIO, "Die Anforderung konnte wegen eines E/A-Gerätefehlers nicht ausgeführt werden."},
    {ENOMEM, "Nicht genügend Speicher verfügbar, um diesen Befehl zu verarbeiten."},
    {EEXIST, "Die Datei ist bereits vorhanden."},
    {EFBIG, "Die Datei ist zu groß."},
    {EINVAL, "Der Parameter ist falsch."},
#ifdef ELOOP
    {ELOOP, "Zu viele symbolische Verknüpfungen im Pfad."},
#endif
    {ENXIO, "Das Gerät ist nicht bereit."},
    {ENODEV, "Das Gerät ist nicht bereit."},
};

} // namespace

std::string SystemGrund(int fehlerNummer) {
    for (const auto& [nummer, grund] : kGruende)
        if (nummer == fehlerNummer)
            return std::string(grund);
    return "Unbekannter Fehler (" + std::to_string(fehlerNummer) + ").";
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
