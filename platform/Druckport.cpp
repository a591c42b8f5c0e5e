// What every platform shares: reading a port string and the course of one
// copy. The transports themselves are in the platform's own source.
#include "platform/Druckausgabe.h"

#include <algorithm>
#include <cctype>

namespace zw {

namespace {

bool GleichOhneGross(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::uint16_t> PortNummer(std::string_view text) {
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    unsigned wert = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        wert = wert * 10 + unsigned(c - '0');
    }
    if (wert == 0 || wert > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(wert);
}

PortZiel Netzwerk(std::string_view rest) {
    // Whatever follows the address (a path, options) means nothing to a raw
    // connection.
    rest = rest.substr(0, std::min(rest.find('/'), rest.find('?')));
    PortZiel ziel;
    std::string_view host = rest;
    std::string_view port;
    if (rest.starts_with('[')) {
        const auto zu = rest.find(']');
        if (zu == std::string_view::npos)
            return {};
        host = rest.substr(1, zu - 1);
        const std::string_view danach = rest.substr(zu + 1);
        if (!danach.empty()) {
            if (!danach.starts_with(':'))
                return {};
            port = danach.substr(1);
            if (port.empty())
                return {};
        }
    } else if (const auto doppel = rest.find(':'); doppel != std::string_view::npos) {
        // One colon separates the port; more are an IPv6 address without one.
        if (rest.find(':', doppel + 1) == std::string_view::npos) {
            host = rest.substr(0, doppel);
            port = rest.substr(doppel + 1);
            if (port.empty())
                return {};
        }
    }
    if (host.empty())
        return {};
    ziel.Port = AppSocketPort;
    if (!port.empty()) {
        const auto nummer = PortNummer(port);
        if (!nummer)
            return {};
        ziel.Port = *nummer;
    }
    ziel.Art = PortArt::Netzwerk;
    ziel.Host = std::string(host);
    return ziel;
}

} // namespace

PortZiel PortZerlegen(std::string_view port) {
    PortZiel ziel;
    if (port.empty())
        return ziel;
    // Windows takes the port names in any case; so does this side.
    if (port.size() == 4 && GleichOhneGross(port.substr(0, 3), "LPT") && port[3] >= '1' &&
        port[3] <= '4') {
        ziel.Art = PortArt::Geraet;
        ziel.Pfad = "/dev/lp" + std::string(1, char(port[3] - 1));
        return ziel;
    }
    if (port.starts_with('/')) {
        ziel.Art = PortArt::Geraet;
        ziel.Pfad = std::string(port);
        return ziel;
    }
    constexpr std::string_view schema = "socket://";
    if (port.size() >= schema.size() && GleichOhneGross(port.substr(0, schema.size()), schema))
        return Netzwerk(port.substr(schema.size()));
    // A queue name has no slash, no blank and no control character; anything
    // else (a relative path, another scheme) cannot be opened unambiguously.
    const bool name = std::none_of(port.begin(), port.end(), [](char c) {
        return c == '/' || c == '#' || static_cast<unsigned char>(c) <= ' ' || c == 127;
    });
    if (!name)
        return ziel;
    ziel.Art = PortArt::Warteschlange;
    ziel.Warteschlange = std::string(port);
    return ziel;
}

DruckErgebnis KopieDrucken(const std::string& port, std::string_view bytes,
                           std::chrono::milliseconds zeitLimit) {
    const auto frist = std::chrono::steady_clock::now() + zeitLimit;
    const std::unique_ptr<DruckAnschluss> anschluss = AnschlussFuer(port);
    DruckErgebnis ergebnis = anschluss->Oeffnen(frist);
    if (!ergebnis.Ok()) {
        anschluss->Schliessen(frist);
        return ergebnis;
    }
    ergebnis = anschluss->Schreiben(bytes, frist);
    DruckErgebnis zu = anschluss->Schliessen(frist);
    // The first fault is the one to tell.
    return ergebnis.Ok() ? zu : ergebnis;
}

} // namespace zw
