#pragma once
// Errors of the file layer. Their text is what the user reads in the error box,
// so it is German and complete: path and reason included.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zw {

// A file could not be read or written. what() is the German message in UTF-8.
class DateiFehler : public std::runtime_error {
public:
    explicit DateiFehler(const std::string& meldung) : std::runtime_error(meldung) {}
};

// The reason for an errno value in German words, as Windows users know them.
std::string SystemGrund(int fehlerNummer);

// A path as UTF-8 text for messages.
std::string PfadText(const std::filesystem::path& pfad);

// "Datei %s kann nicht geöffnet werden. %s" with the full path.
DateiFehler OeffnenFehler(const std::filesystem::path& pfad, int fehlerNummer);
// The same with a reason of the file's content ("Die Datei ist keine
// Textdatei, sondern ein PDF-Dokument.").
DateiFehler OeffnenFehler(const std::filesystem::path& pfad, const std::string& grund);

// "Datei "%s" kann nicht erstellt werden. %s" with the full path.
DateiFehler ErstellenFehler(const std::filesystem::path& pfad, int fehlerNummer);

} // namespace zw
