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
// Every copy opens the port, writes all bytes unchanged and closes it again.
// Embossers are slow: a copy may take many minutes of steady writing. It
// fails only when the port takes no byte for a while (the stall limit), or
// reports an error. The bytes go out in pieces, as the port takes them, so
// a caller's event loop keeps running between the pieces.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The longest a port may take no byte, connecting included: a printer that
// does not answer holds the program no longer than this. A printer that
// keeps taking bytes is never cut short.
inline constexpr std::chrono::milliseconds DruckZeitLimit{3000};

// Why a copy did not reach the printer. Every one of them is the printer-not-
// ready case for the user; the distinction serves diagnosis and the tests.
enum class DruckFehler {
    Keiner,
    Ungueltig,     // the port string names nothing that can be opened
    NichtGefunden, // no such device, file, host or queue
    Verweigert,    // the device is busy or the connection was refused
    Zeitlimit,     // the port took no byte within the stall limit
    Abgebrochen,   // the device vanished or the connection closed mid-copy
    Beendet,       // the user ended the job
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

// What a port waits for before its next step can do anything.
struct DruckWarten {
    enum class Art {
        Nichts,     // only for the time below (0: go on at once)
        Schreibbar, // the descriptor can take bytes
        Lesbar,     // the descriptor has something to read
        Ereignis,   // Windows: the event handle is signalled
    };
    Art Worauf = Art::Nichts;
    std::intptr_t Griff = -1;
    // The step runs after this time at the latest, whatever the port does.
    std::chrono::milliseconds Hoechstens{0};
};

// One copy on one port, as steps. Each step does what the port allows
// without waiting (opening, connecting, writing as much as it takes,
// closing) and then says what it waits for. Closing the port discards what
// has not been sent.
class DruckAnschluss {
public:
    enum class Stand { Laeuft, Fertig, Fehler };
    virtual ~DruckAnschluss() = default;
    // bytes stay the same, and alive, for every step of the copy. Not
    // called again once a step has ended the copy or it was discarded.
    virtual Stand Weiter(std::string_view bytes) = 0;
    virtual DruckWarten Warten() const = 0;
    // Bytes the printer has taken so far: written to the device, or
    // acknowledged by the network printer.
    virtual std::size_t Angenommen() const = 0;
    // Why the copy failed, after Stand::Fehler.
    virtual DruckErgebnis Ergebnis() const = 0;
    // Ends the copy at once; nothing more goes out.
    virtual void Verwerfen() = 0;
};

// The transport for a port string (UTF-8). A print system's own waits end
// at the stall limit.
std::unique_ptr<DruckAnschluss>
AnschlussFuer(const std::string& port, std::chrono::milliseconds stockLimit = DruckZeitLimit);

// A copy under way, with the stall limit watched: it fails when the port
// has taken no byte for stockLimit, counted from the start and from every
// byte taken. Driven by a caller's event loop (Weiter after each wait) or
// by KopieDrucken.
class DruckKopie {
public:
    DruckKopie(const std::string& port, std::string bytes,
               std::chrono::milliseconds stockLimit = DruckZeitLimit);
    ~DruckKopie();
    DruckKopie(const DruckKopie&) = delete;
    DruckKopie& operator=(const DruckKopie&) = delete;

    // One step; false once the copy has ended, whole or not (Ergebnis).
    bool Weiter();
    // What to wait for before the next step, never longer than the stall
    // limit leaves.
    DruckWarten Warten() const;
    // Ends the copy between two steps (DruckFehler::Beendet).
    void Beenden();

    bool Laeuft() const { return laeuft_; }
    std::size_t Gesendet() const { return gesendet_; }
    std::size_t Groesse() const { return bytes_.size(); }
    // Ok only when every byte has gone out and the port is closed.
    const DruckErgebnis& Ergebnis() const { return ergebnis_; }

private:
    void Ende(DruckErgebnis e);

    std::string bytes_;
    std::chrono::milliseconds limit_;
    std::unique_ptr<DruckAnschluss> anschluss_;
    std::chrono::steady_clock::time_point letzterFortschritt_;
    std::size_t gesendet_ = 0;
    bool laeuft_ = true;
    DruckErgebnis ergebnis_;
};

// Waits, blocking, for what a step waits for (poll, or the event handle).
void DruckWartenBlockierend(const DruckWarten& warten);

// Writes one copy and waits until it has ended. fortschritt, when given, is
// told the bytes taken after every step and ends the copy by returning false.
DruckErgebnis KopieDrucken(const std::string& port, std::string_view bytes,
                           std::chrono::milliseconds stockLimit = DruckZeitLimit,
                           const std::function<bool(std::size_t gesendet)>& fortschritt = {});

// The message of a copy that did not go out whole, below the first line
// "Der Braille-Drucker ist nicht betriebsbereit!": the reason in German
// words and how much of the copy went out.
std::string DruckFehlerText(const DruckErgebnis& e, std::size_t gesendet, std::size_t groesse,
                            std::chrono::milliseconds stockLimit);

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
