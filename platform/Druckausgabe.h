#pragma once
// Raw output to a Braille embosser. Plain C++ on the operating system's own
// calls, so it builds wherever the program does; no toolkit involved.
//
// A port string names where the bytes go. On Windows it is opened as it
// stands (a port such as "LPT1" or a printer share). Elsewhere:
//   "LPT1" to "LPT4"        the parallel ports /dev/lp0 to /dev/lp3
//   an absolute path        a device such as /dev/usb/lp0, or a file, written as
//                           it stands (a file is appended to)
//   "socket://HOST[:PORT]"  a raw TCP connection to a network embosser
//                           (AppSocket, port 9100 when none is given)
//   anything else           the name of a CUPS print queue, printed as a raw job
//
// Every copy opens the port, writes all bytes unchanged and closes it again,
// all within one time limit.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The longest a copy may take, connecting included: a printer that does not
// answer holds the program no longer than this.
inline constexpr std::chrono::milliseconds DruckZeitLimit{3000};

// Why a copy did not reach the printer. Every one of them is the printer-not-
// ready case for the user; the distinction serves diagnosis and the tests.
enum class DruckFehler {
    Keiner,
    Ungueltig,     // the port string names nothing that can be opened
    NichtGefunden, // no such device, file, host or queue
    Verweigert,    // the device is busy or the connection was refused
    Zeitlimit,     // not done within the time limit
    Abgebrochen,   // the device vanished or the connection closed mid-copy
};

struct DruckErgebnis {
    DruckFehler Fehler = DruckFehler::Keiner;
    // What the operating system or the print system said, for diagnosis.
    std::string Meldung;

    bool Ok() const { return Fehler == DruckFehler::Keiner; }
};

// What a port string names, read from its text alone.
enum class PortArt { Ungueltig, Geraet, Netzwerk, Warteschlange };

struct PortZiel {
    PortArt Art = PortArt::Ungueltig;
    std::string Pfad;          // Geraet: the device or file
    std::string Host;          // Netzwerk: name or address, without brackets
    std::uint16_t Port = 0;    // Netzwerk
    std::string Warteschlange; // Warteschlange: the queue's name
};

inline constexpr std::uint16_t AppSocketPort = 9100;

// How this platform reads a port string (the POSIX forms above); no system
// call is made.
PortZiel PortZerlegen(std::string_view port);

// One opened port. Opened, written and closed once per copy; the time limit
// runs from the opening to the end of the closing.
class DruckAnschluss {
public:
    virtual ~DruckAnschluss() = default;
    virtual DruckErgebnis Oeffnen(std::chrono::steady_clock::time_point frist) = 0;
    // Writes all bytes; a success means they have left for the printer.
    virtual DruckErgebnis Schreiben(std::string_view bytes,
                                    std::chrono::steady_clock::time_point frist) = 0;
    // After a failed write, closing discards what has not been sent yet.
    virtual DruckErgebnis Schliessen(std::chrono::steady_clock::time_point frist) = 0;
};

// The transport for a port string (UTF-8).
std::unique_ptr<DruckAnschluss> AnschlussFuer(const std::string& port);

// Opens the port, writes one copy, closes it.
DruckErgebnis KopieDrucken(const std::string& port, std::string_view bytes,
                           std::chrono::milliseconds zeitLimit = DruckZeitLimit);

// A printer the print system offers for choosing.
struct DruckerEintrag {
    std::string Name;         // the port string that prints to it
    std::string Beschreibung; // description and location, may be empty
};

// The print queues and the network printers the print system has found,
// waiting at most suchZeit for printers that announce themselves.
std::vector<DruckerEintrag> DruckerAuflisten(std::chrono::milliseconds suchZeit);

// Checks a typed port string without writing to it: a local port, an
// existing device or file, a host that resolves, a known queue. A relative
// path is taken against the current directory. Returns the string to store
// (a path made absolute, without a trailing separator), or nothing when the
// string names nothing that exists.
std::optional<std::string> PortAufloesen(const std::string& eingabe,
                                         std::chrono::milliseconds zeitLimit = DruckZeitLimit);

} // namespace zw
