// The transports of a POSIX system: devices and files, raw TCP connections
// and CUPS print queues.
#include "platform/Druckausgabe.h"

#include <cups/cups.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/sockios.h>
#endif

namespace zw {

namespace {

using Uhr = std::chrono::steady_clock;

// Milliseconds left until the deadline, rounded up, 0 once it has passed.
int RestMs(Uhr::time_point frist) {
    const auto rest = frist - Uhr::now();
    if (rest <= Uhr::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(rest).count();
    return int(std::min<long long>(ms, 24LL * 3600 * 1000));
}

std::string Systemfehler(int fehler) {
    return std::strerror(fehler);
}

DruckErgebnis Fehlschlag(DruckFehler art, std::string meldung) {
    return DruckErgebnis{art, std::move(meldung)};
}

DruckErgebnis Zeitueberschreitung() {
    return Fehlschlag(DruckFehler::Zeitlimit, "Zeitlimit überschritten");
}

// A reader that goes away raises SIGPIPE, which would end the program. While
// an object lives the signal is held back for this thread; one raised in that
// time is taken away before the old mask returns, so the write just fails
// with EPIPE.
class SigpipeSperre {
public:
    SigpipeSperre() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t anstehend;
        sigpending(&anstehend);
        schonAnstehend_ = sigismember(&anstehend, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &alt_);
    }
    ~SigpipeSperre() {
        if (!schonAnstehend_) {
            const timespec sofort{0, 0};
            while (sigtimedwait(&pipe_, nullptr, &sofort) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &alt_, nullptr);
    }
    SigpipeSperre(const SigpipeSperre&) = delete;
    SigpipeSperre& operator=(const SigpipeSperre&) = delete;

private:
    sigset_t pipe_{}, alt_{};
    bool schonAnstehend_ = false;
};

// Writes everything to a non-blocking descriptor before the deadline.
DruckErgebnis AllesSchreiben(int fd, std::string_view bytes, Uhr::time_point frist, bool socket) {
    const char* p = bytes.data();
    std::size_t rest = bytes.size();
    // Some device drivers have no poll of their own and always report ready;
    // then a refused write waits a little instead of spinning.
    bool bereitGemeldet = false;
    while (rest > 0) {
        const ssize_t n = socket ? ::send(fd, p, rest, MSG_NOSIGNAL) : ::write(fd, p, rest);
        if (n > 0) {
            p += n;
            rest -= std::size_t(n);
            bereitGemeldet = false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
            int ms = RestMs(frist);
            if (ms == 0)
                return Zeitueberschreitung();
            if (bereitGemeldet) {
                std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 5)));
                ms = RestMs(frist);
            }
            pollfd pf{fd, POLLOUT, 0};
            const int r = ::poll(&pf, 1, ms);
            if (r < 0 && errno != EINTR)
                return Fehlschlag(DruckFehler::Abgebrochen, Systemfehler(errno));
            if (r == 0)
                return Zeitueberschreitung();
            bereitGemeldet = r > 0;
            continue;
        }
        return Fehlschlag(DruckFehler::Abgebrochen, Systemfehler(errno));
    }
    return {};
}

// ---------------------------------------------------------------------------
// Devices and files.

class GeraetAnschluss : public DruckAnschluss {
public:
    explicit GeraetAnschluss(std::string pfad) : pfad_(std::move(pfad)) {}
    ~GeraetAnschluss() override { Zu(); }

    DruckErgebnis Oeffnen(Uhr::time_point) override {
        // Opened without waiting: a FIFO without a reader or a device that is
        // switched off is not ready, rather than a hang. A file must exist and
        // takes the copies one after the other.
        fd_ = ::open(pfad_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_APPEND);
        if (fd_ >= 0)
            return {};
        const int fehler = errno;
        const DruckFehler art = (fehler == ENOENT || fehler == ENOTDIR) ? DruckFehler::NichtGefunden
                                                                        : DruckFehler::Verweigert;
        return Fehlschlag(art, pfad_ + ": " + Systemfehler(fehler));
    }

    DruckErgebnis Schreiben(std::string_view bytes, Uhr::time_point frist) override {
        const SigpipeSperre sperre;
        return AllesSchreiben(fd_, bytes, frist, false);
    }

    DruckErgebnis Schliessen(Uhr::time_point) override {
        if (fd_ < 0)
            return {};
        const int r = Zu();
        // Some drivers report a failed transfer only when closing.
        if (r < 0 && errno != EINTR)
            return Fehlschlag(DruckFehler::Abgebrochen, pfad_ + ": " + Systemfehler(errno));
        return {};
    }

private:
    int Zu() {
        if (fd_ < 0)
            return 0;
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

    std::string pfad_;
    int fd_ = -1;
};

// ---------------------------------------------------------------------------
// Raw TCP connections.

struct Adresse {
    sockaddr_storage adresse{};
    socklen_t laenge = 0;
    int familie = AF_UNSPEC;
};

std::vector<Adresse> Adressen(const addrinfo* liste) {
    std::vector<Adresse> aus;
    for (const addrinfo* a = liste; a; a = a->ai_next) {
        if (a->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        Adresse x;
        std::memcpy(&x.adresse, a->ai_addr, a->ai_addrlen);
        x.laenge = socklen_t(a->ai_addrlen);
        x.familie = a->ai_family;
        aus.push_back(x);
    }
    return aus;
}

// Name resolution has no time limit of its own. A name that is not a literal
// address is resolved beside the caller, who waits no longer than the
// deadline; a late answer is dropped by the helper itself.
struct Aufloesung {
    std::mutex m;
    std::condition_variable fertig;
    bool erledigt = false;
    int rc = 0;
    std::vector<Adresse> adressen;
};

int HostAufloesen(const std::string& host, std::uint16_t port, Uhr::time_point frist,
                  std::vector<Adresse>& aus) {
    addrinfo hinweis{};
    hinweis.ai_family = AF_UNSPEC;
    hinweis.ai_socktype = SOCK_STREAM;
    hinweis.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const std::string dienst = std::to_string(port);
    addrinfo* liste = nullptr;
    int rc = ::getaddrinfo(host.c_str(), dienst.c_str(), &hinweis, &liste);
    if (rc == 0) {
        aus = Adressen(liste);
        ::freeaddrinfo(liste);
        return 0;
    }

    auto zustand = std::make_shared<Aufloesung>();
    try {
        std::thread([zustand, host, dienst] {
            addrinfo hinweis{};
            hinweis.ai_family = AF_UNSPEC;
            hinweis.ai_socktype = SOCK_STREAM;
            hinweis.ai_flags = AI_NUMERICSERV;
            addrinfo* liste = nullptr;
            const int rc = ::getaddrinfo(host.c_str(), dienst.c_str(), &hinweis, &liste);
            std::vector<Adresse> adressen;
            if (rc == 0) {
                adressen = Adressen(liste);
                ::freeaddrinfo(liste);
            }
            const std::lock_guard sperre(zustand->m);
            zustand->rc = rc;
            zustand->adressen = std::move(adressen);
            zustand->erledigt = true;
            zustand->fertig.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return EAI_AGAIN;
    }
    std::unique_lock sperre(zustand->m);
    if (!zustand->fertig.wait_until(sperre, frist, [&] { return zustand->erledigt; }))
        return EAI_AGAIN;
    aus = std::move(zustand->adressen);
    return zustand->rc;
}

class NetzwerkAnschluss : public DruckAnschluss {
public:
    NetzwerkAnschluss(std::string host, std::uint16_t port) : host_(std::move(host)), port_(port) {}
    ~NetzwerkAnschluss() override { Zu(false); }

    DruckErgebnis Oeffnen(Uhr::time_point frist) override {
        std::vector<Adresse> adressen;
        const int rc = HostAufloesen(host_, port_, frist, adressen);
        if (rc != 0 || adressen.empty()) {
            if (RestMs(frist) == 0)
                return Zeitueberschreitung();
            return Fehlschlag(DruckFehler::NichtGefunden, host_ + ": " + ::gai_strerror(rc));
        }
        DruckErgebnis letzter = Fehlschlag(DruckFehler::NichtGefunden, host_);
        for (const Adresse& a : adressen) {
            letzter = Verbinden(a, frist);
            if (letzter.Ok() || letzter.Fehler == DruckFehler::Zeitlimit)
                return letzter;
        }
        return letzter;
    }

    DruckErgebnis Schreiben(std::string_view bytes, Uhr::time_point frist) override {
        DruckErgebnis e = AllesSchreiben(fd_, bytes, frist, true);
        if (e.Ok())
            e = Abwarten(frist);
        fehler_ = !e.Ok();
        return e;
    }

    DruckErgebnis Schliessen(Uhr::time_point) override {
        Zu(fehler_);
        return {};
    }

private:
    DruckErgebnis Verbinden(const Adresse& a, Uhr::time_point frist) {
        fd_ = ::socket(a.familie, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0)
            return Fehlschlag(DruckFehler::Verweigert, Systemfehler(errno));
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&a.adresse), a.laenge) == 0)
            return {};
        if (errno != EINPROGRESS && errno != EINTR) {
            const int fehler = errno;
            Zu(false);
            return VerbindungsFehler(fehler);
        }
        for (;;) {
            pollfd pf{fd_, POLLOUT, 0};
            const int r = ::poll(&pf, 1, RestMs(frist));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0) {
                Zu(true);
                return Zeitueberschreitung();
            }
            break;
        }
        int fehler = 0;
        socklen_t laenge = sizeof(fehler);
        ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &fehler, &laenge);
        if (fehler == 0)
            return {};
        Zu(false);
        return VerbindungsFehler(fehler);
    }

    DruckErgebnis VerbindungsFehler(int fehler) const {
        const std::string text = host_ + ":" + std::to_string(port_) + ": " + Systemfehler(fehler);
        if (fehler == ECONNREFUSED)
            return Fehlschlag(DruckFehler::Verweigert, text);
        return Fehlschlag(DruckFehler::NichtGefunden, text);
    }

    // A written byte has only reached the send queue. The copy is done when
    // the printer has acknowledged all of it: a printer that stops reading
    // keeps the queue full, and that is the time-out, not a success.
    DruckErgebnis Abwarten(Uhr::time_point frist) {
#ifdef SIOCOUTQ
        for (;;) {
            int offen = 0;
            if (::ioctl(fd_, SIOCOUTQ, &offen) < 0 || offen == 0)
                break;
            const int ms = RestMs(frist);
            if (ms == 0)
                return Zeitueberschreitung();
            // No events asked for: poll wakes only for an error or a hang-up.
            pollfd pf{fd_, 0, 0};
            if (::poll(&pf, 1, std::min(ms, 2)) > 0 && (pf.revents & (POLLERR | POLLHUP))) {
                // Reading the error clears it: read once.
                if (const int fehler = SocketFehler())
                    return Fehlschlag(DruckFehler::Abgebrochen, Systemfehler(fehler));
                if (::ioctl(fd_, SIOCOUTQ, &offen) == 0 && offen > 0)
                    return Fehlschlag(DruckFehler::Abgebrochen, "Verbindung getrennt");
                break;
            }
        }
#else
        (void)frist;
#endif
        if (const int fehler = SocketFehler())
            return Fehlschlag(DruckFehler::Abgebrochen, Systemfehler(fehler));
        return {};
    }

    int SocketFehler() const {
        int fehler = 0;
        socklen_t laenge = sizeof(fehler);
        ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &fehler, &laenge);
        return fehler;
    }

    // After a failure the connection is reset, so nothing of the broken copy
    // reaches the printer later, in front of the copy written again.
    void Zu(bool verwerfen) {
        if (fd_ < 0)
            return;
        if (verwerfen) {
            const linger sofort{1, 0};
            ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &sofort, sizeof(sofort));
        }
        ::close(fd_);
        fd_ = -1;
    }

    std::string host_;
    std::uint16_t port_;
    int fd_ = -1;
    bool fehler_ = false;
};

// ---------------------------------------------------------------------------
// CUPS print queues.

// A connection to the print system's scheduler whose every wait ends at the
// deadline.
class CupsVerbindung {
public:
    explicit CupsVerbindung(Uhr::time_point frist) : frist_(frist) {
        int abbruch = 0;
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             std::max(RestMs(frist), 1), &abbruch);
        if (http_)
            httpSetTimeout(http_, 0.1, &CupsVerbindung::Weiter, this);
    }
    ~CupsVerbindung() {
        if (http_)
            httpClose(http_);
    }
    CupsVerbindung(const CupsVerbindung&) = delete;
    CupsVerbindung& operator=(const CupsVerbindung&) = delete;

    http_t* Http() const { return http_; }
    bool Abgelaufen() const { return RestMs(frist_) == 0; }

private:
    static int Weiter(http_t*, void* selbst) {
        return static_cast<CupsVerbindung*>(selbst)->Abgelaufen() ? 0 : 1;
    }

    Uhr::time_point frist_;
    http_t* http_ = nullptr;
};

std::string CupsMeldung() {
    const char* text = cupsLastErrorString();
    return text ? text : "";
}

bool CupsOk(ipp_status_t status) {
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

class CupsAnschluss : public DruckAnschluss {
public:
    explicit CupsAnschluss(std::string name) : name_(std::move(name)) {}
    ~CupsAnschluss() override { Aufraeumen(); }

    DruckErgebnis Oeffnen(Uhr::time_point frist) override {
        const SigpipeSperre sperre;
        verbindung_ = std::make_unique<CupsVerbindung>(frist);
        if (!verbindung_->Http())
            return Fehler(DruckFehler::Verweigert);
        http_t* http = verbindung_->Http();
        dest_ = cupsGetNamedDest(http, name_.c_str(), nullptr);
        if (!dest_)
            return Fehler(DruckFehler::NichtGefunden);
        // For a printer found on the network this sets up its queue.
        info_ = cupsCopyDestInfo(http, dest_);
        if (!info_)
            return Fehler(DruckFehler::Verweigert);
        if (!CupsOk(
                cupsCreateDestJob(http, dest_, info_, &auftrag_, "Zeichenwandler", 0, nullptr)) ||
            auftrag_ <= 0)
            return Fehler(DruckFehler::Verweigert);
        if (cupsStartDestDocument(http, dest_, info_, auftrag_, "Zeichenwandler", CUPS_FORMAT_RAW,
                                  0, nullptr, 1) != HTTP_STATUS_CONTINUE)
            return Fehler(DruckFehler::Verweigert);
        dokument_ = true;
        return {};
    }

    DruckErgebnis Schreiben(std::string_view bytes, Uhr::time_point) override {
        const SigpipeSperre sperre;
        constexpr std::size_t stueck = 64 * 1024;
        for (std::size_t i = 0; i < bytes.size(); i += stueck) {
            const std::size_t n = std::min(stueck, bytes.size() - i);
            if (cupsWriteRequestData(verbindung_->Http(), bytes.data() + i, n) !=
                HTTP_STATUS_CONTINUE)
                return Fehler(DruckFehler::Abgebrochen);
        }
        return {};
    }

    DruckErgebnis Schliessen(Uhr::time_point) override {
        const SigpipeSperre sperre;
        DruckErgebnis e;
        if (dokument_ && !fehler_) {
            dokument_ = false;
            if (!CupsOk(cupsFinishDestDocument(verbindung_->Http(), dest_, info_)))
                e = Fehler(DruckFehler::Abgebrochen);
            else
                auftrag_ = 0;
        }
        Aufraeumen();
        return e;
    }

private:
    DruckErgebnis Fehler(DruckFehler art) {
        fehler_ = true;
        if (verbindung_ && verbindung_->Abgelaufen())
            return Zeitueberschreitung();
        std::string text = name_;
        if (const std::string m = CupsMeldung(); !m.empty())
            text += ": " + m;
        return Fehlschlag(art, text);
    }

    // A job left half-written would wait in the queue for the rest; it is
    // cancelled on a fresh connection, briefly, since the old one may be
    // broken.
    void Aufraeumen() {
        if (auftrag_ > 0 && dest_) {
            verbindung_.reset();
            const CupsVerbindung kurz(Uhr::now() + std::chrono::milliseconds(500));
            if (kurz.Http())
                cupsCancelDestJob(kurz.Http(), dest_, auftrag_);
            auftrag_ = 0;
        }
        if (info_)
            cupsFreeDestInfo(info_);
        info_ = nullptr;
        if (dest_)
            cupsFreeDests(1, dest_);
        dest_ = nullptr;
        verbindung_.reset();
    }

    std::string name_;
    std::unique_ptr<CupsVerbindung> verbindung_;
    cups_dest_t* dest_ = nullptr;
    cups_dinfo_t* info_ = nullptr;
    int auftrag_ = 0;
    bool dokument_ = false;
    bool fehler_ = false;
};

class UngueltigerAnschluss : public DruckAnschluss {
public:
    explicit UngueltigerAnschluss(std::string port) : port_(std::move(port)) {}
    DruckErgebnis Oeffnen(Uhr::time_point) override {
        return Fehlschlag(DruckFehler::Ungueltig, "Kein gültiger Anschluss: \"" + port_ + "\"");
    }
    DruckErgebnis Schreiben(std::string_view, Uhr::time_point) override {
        return Fehlschlag(DruckFehler::Ungueltig, port_);
    }
    DruckErgebnis Schliessen(Uhr::time_point) override { return {}; }

private:
    std::string port_;
};

// ---------------------------------------------------------------------------
// Listing and checking.

struct Sammlung {
    std::vector<DruckerEintrag> liste;
};

int DruckerGefunden(void* daten, unsigned flags, cups_dest_t* dest) {
    auto& liste = static_cast<Sammlung*>(daten)->liste;
    // Instances are option sets of a queue, not printers of their own.
    if (!dest || !dest->name || dest->instance)
        return 1;
    const std::string name = dest->name;
    const auto vorhanden =
        std::find_if(liste.begin(), liste.end(), [&](const auto& e) { return e.Name == name; });
    if (flags & CUPS_DEST_FLAGS_REMOVED) {
        if (vorhanden != liste.end())
            liste.erase(vorhanden);
        return 1;
    }
    std::string beschreibung;
    for (const char* option : {"printer-info", "printer-location"}) {
        const char* wert = cupsGetOption(option, dest->num_options, dest->options);
        if (!wert || !*wert || name == wert)
            continue;
        if (!beschreibung.empty())
            beschreibung += ", ";
        beschreibung += wert;
    }
    if (vorhanden != liste.end())
        vorhanden->Beschreibung = beschreibung;
    else
        liste.push_back(DruckerEintrag{name, beschreibung});
    return 1;
}

bool WarteschlangeVorhanden(const std::string& name, Uhr::time_point frist) {
    const SigpipeSperre sperre;
    const CupsVerbindung verbindung(frist);
    if (!verbindung.Http())
        return false;
    cups_dest_t* dest = cupsGetNamedDest(verbindung.Http(), name.c_str(), nullptr);
    if (!dest)
        return false;
    cupsFreeDests(1, dest);
    return true;
}

bool Vorhanden(const std::filesystem::path& pfad) {
    std::error_code ec;
    return std::filesystem::exists(pfad, ec);
}

std::string OhneTrennerAmEnde(std::string text) {
    if (text.size() > 1 && (text.back() == '/' || text.back() == '\\'))
        text.pop_back();
    return text;
}

std::string Getrimmt(const std::string& text) {
    const auto anfang = text.find_first_not_of(" \t\r\n");
    if (anfang == std::string::npos)
        return {};
    const auto ende = text.find_last_not_of(" \t\r\n");
    return text.substr(anfang, ende - anfang + 1);
}

std::optional<std::string> RelativerPfad(const std::string& text) {
    std::error_code ec;
    const auto pfad = std::filesystem::absolute(text, ec).lexically_normal();
    if (ec || !Vorhanden(pfad))
        return std::nullopt;
    return OhneTrennerAmEnde(pfad.string());
}

} // namespace

std::unique_ptr<DruckAnschluss> AnschlussFuer(const std::string& port) {
    PortZiel ziel = PortZerlegen(port);
    switch (ziel.Art) {
    case PortArt::Geraet:
        return std::make_unique<GeraetAnschluss>(std::move(ziel.Pfad));
    case PortArt::Netzwerk:
        return std::make_unique<NetzwerkAnschluss>(std::move(ziel.Host), ziel.Port);
    case PortArt::Warteschlange:
        return std::make_unique<CupsAnschluss>(std::move(ziel.Warteschlange));
    case PortArt::Ungueltig:
        break;
    }
    return std::make_unique<UngueltigerAnschluss>(port);
}

std::vector<DruckerEintrag> DruckerAuflisten(std::chrono::milliseconds suchZeit) {
    const SigpipeSperre sperre;
    Sammlung sammlung;
    int abbruch = 0;
    cupsEnumDests(CUPS_DEST_FLAGS_NONE, int(std::max<long long>(suchZeit.count(), 1)), &abbruch, 0,
                  0, &DruckerGefunden, &sammlung);
    std::sort(sammlung.liste.begin(), sammlung.liste.end(),
              [](const auto& a, const auto& b) { return a.Name < b.Name; });
    return std::move(sammlung.liste);
}

std::optional<std::string> PortAufloesen(const std::string& eingabe,
                                         std::chrono::milliseconds zeitLimit) {
    const auto frist = Uhr::now() + zeitLimit;
    const std::string text = Getrimmt(eingabe);
    const PortZiel ziel = PortZerlegen(text);
    switch (ziel.Art) {
    case PortArt::Geraet:
        if (ziel.Pfad != text) {
            // A parallel port: the name in its usual spelling.
            std::string lpt = text;
            std::transform(lpt.begin(), lpt.end(), lpt.begin(),
                           [](unsigned char c) { return char(std::toupper(c)); });
            return lpt;
        }
        if (!Vorhanden(ziel.Pfad))
            return std::nullopt;
        return OhneTrennerAmEnde(text);
    case PortArt::Netzwerk: {
        std::vector<Adresse> adressen;
        if (HostAufloesen(ziel.Host, ziel.Port, frist, adressen) != 0 || adressen.empty())
            return std::nullopt;
        return OhneTrennerAmEnde(text);
    }
    case PortArt::Warteschlange:
        if (WarteschlangeVorhanden(text, frist))
            return text;
        // A bare name may also be a file in the current folder.
        return RelativerPfad(text);
    case PortArt::Ungueltig:
        break;
    }
    if (text.empty() || text.find("://") != std::string::npos)
        return std::nullopt;
    return RelativerPfad(text);
}

} // namespace zw
