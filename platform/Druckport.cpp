// What every platform shares: reading a port string and the course of one
// copy. The transports themselves are in the platform's own source.
#include "platform/Druckausgabe.h"

#include "core/Konvertierung.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

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

DruckKopie::DruckKopie(const std::string& port, std::string bytes,
                       std::chrono::milliseconds stockLimit)
    : bytes_(std::move(bytes)), limit_(stockLimit), anschluss_(AnschlussFuer(port, stockLimit)),
      letzterFortschritt_(std::chrono::steady_clock::now()) {}

DruckKopie::~DruckKopie() {
    if (laeuft_)
        anschluss_->Verwerfen();
}

void DruckKopie::Ende(DruckErgebnis e) {
    if (!e.Ok())
        anschluss_->Verwerfen();
    laeuft_ = false;
    ergebnis_ = std::move(e);
}

bool DruckKopie::Weiter() {
    if (!laeuft_)
        return false;
    const DruckAnschluss::Stand stand = anschluss_->Weiter(bytes_);
    const std::size_t angenommen = anschluss_->Angenommen();
    const auto jetzt = std::chrono::steady_clock::now();
    if (angenommen > gesendet_) {
        gesendet_ = angenommen;
        letzterFortschritt_ = jetzt;
    }
    switch (stand) {
    case DruckAnschluss::Stand::Fertig:
        gesendet_ = bytes_.size();
        Ende({});
        return false;
    case DruckAnschluss::Stand::Fehler:
        Ende(anschluss_->Ergebnis());
        return false;
    case DruckAnschluss::Stand::Laeuft:
        break;
    }
    if (jetzt - letzterFortschritt_ >= limit_) {
        Ende({DruckFehler::Zeitlimit, "Zeitlimit überschritten"});
        return false;
    }
    return true;
}

DruckWarten DruckKopie::Warten() const {
    DruckWarten w = anschluss_->Warten();
    const auto rest = std::chrono::ceil<std::chrono::milliseconds>(
        letzterFortschritt_ + limit_ - std::chrono::steady_clock::now());
    const auto grenze = std::max(rest, std::chrono::milliseconds(0));
    if (w.Worauf == DruckWarten::Art::Nichts)
        w.Hoechstens = std::min(w.Hoechstens, grenze);
    else
        w.Hoechstens = w.Hoechstens.count() > 0 ? std::min(w.Hoechstens, grenze) : grenze;
    return w;
}

void DruckKopie::Beenden() {
    if (laeuft_)
        Ende({DruckFehler::Beendet, "Beendet"});
}

DruckErgebnis KopieDrucken(const std::string& port, std::string_view bytes,
                           std::chrono::milliseconds stockLimit,
                           const std::function<bool(std::size_t)>& fortschritt) {
    DruckKopie kopie(port, std::string(bytes), stockLimit);
    while (kopie.Weiter()) {
        if (fortschritt && !fortschritt(kopie.Gesendet())) {
            kopie.Beenden();
            break;
        }
        DruckWartenBlockierend(kopie.Warten());
    }
    if (fortschritt)
        fortschritt(kopie.Gesendet());
    return kopie.Ergebnis();
}

namespace {

std::string Sekunden(std::chrono::milliseconds ms) {
    const long long n = ms.count();
    if (n % 1000 == 0)
        return n == 1000 ? "1 Sekunde" : std::to_string(n / 1000) + " Sekunden";
    std::string text = std::to_string(n / 1000) + "," + std::to_string(n % 1000 + 1000).substr(1);
    while (text.back() == '0')
        text.pop_back();
    return text + " Sekunden";
}

// Every failure but the stall, whose text names the limit.
constexpr std::pair<DruckFehler, std::string_view> kGruende[] = {
    {DruckFehler::Ungueltig, "Der Anschluss ist kein gültiger Druckeranschluss."},
    {DruckFehler::NichtGefunden, "Der Drucker oder sein Anschluss wurde nicht gefunden."},
    {DruckFehler::Verweigert, "Der Drucker ist belegt oder hat die Verbindung abgelehnt."},
    {DruckFehler::Abgebrochen, "Die Verbindung zum Drucker wurde unterbrochen."},
    {DruckFehler::Beendet, "Der Druck wurde abgebrochen."},
};

} // namespace

std::string DruckFehlerText(const DruckErgebnis& e, std::size_t gesendet, std::size_t groesse,
                            std::chrono::milliseconds stockLimit) {
    if (e.Fehler == DruckFehler::Keiner)
        return {};
    std::string grund;
    if (e.Fehler == DruckFehler::Zeitlimit)
        grund = "Der Drucker nimmt seit " + Sekunden(stockLimit) + " keine Daten an.";
    for (const auto& [fehler, text] : kGruende)
        if (fehler == e.Fehler)
            grund = text;
    std::string text = grund + " " + ZahlGruppieren(std::int64_t(gesendet)) + " von " +
                       ZahlGruppieren(std::int64_t(groesse)) + " Bytes wurden gesendet.";
    if (gesendet > 0)
        text += " Den gesendeten Teil hat der Drucker vielleicht schon geprägt; Wiederholen "
                "sendet die Kopie noch einmal von Anfang an.";
    return text;
}

} // namespace zw
