// The transports of a POSIX system: devices and files, raw TCP connections
// and CUPS print queues.
#include "platform/Druckausgabe.h"

#include <cups/cups.h>

#include <algorithm>
#include <cctype>
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

using Stand = DruckAnschluss::Stand;
using Art = DruckWarten::Art;

constexpr auto kUmschau = std::chrono::milliseconds(100);

DruckWarten Auf(Art art, int fd, std::chrono::milliseconds hoechstens = kUmschau) {
    return DruckWarten{art, fd, hoechstens};
}

DruckWarten Gleich() {
    return DruckWarten{Art::Nichts, -1, std::chrono::milliseconds(0)};
}

// Whether the descriptor is ready now, without waiting.
short Bereit(int fd, short ereignisse) {
    pollfd pf{fd, ereignisse, 0};
    if (::poll(&pf, 1, 0) <= 0)
        return 0;
    return pf.revents;
}

// The pieces one step writes at most, so the caller's loop runs between
// them even where the port takes everything at once (a file).
constexpr std::size_t kStueck = 64 * 1024;

// Writes to a non-blocking descriptor what it takes now, up to one piece.
// Returns the bytes written, or -1 with errno for an error other than a full
// port.
ssize_t StueckSchreiben(int fd, std::string_view rest, bool socket) {
    std::size_t geschrieben = 0;
    while (geschrieben < rest.size() && geschrieben < kStueck) {
        const std::size_t n = std::min(rest.size() - geschrieben, kStueck - geschrieben);
        const ssize_t r = socket ? ::send(fd, rest.data() + geschrieben, n, MSG_NOSIGNAL)
                                 : ::write(fd, rest.data() + geschrieben, n);
        if (r > 0) {
            geschrieben += std::size_t(r);
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r == 0 || errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        if (geschrieben > 0)
            break; // the error comes again with the next step
        return -1;
    }
    return ssize_t(geschrieben);
}

// ---------------------------------------------------------------------------
// Devices and files.

class GeraetAnschluss : public DruckAnschluss {
public:
    explicit GeraetAnschluss(std::string pfad) : pfad_(std::move(pfad)) {}
    ~GeraetAnschluss() override { Zu(); }

    Stand Weiter(std::string_view bytes) override {
        if (fd_ < 0) {
            // Opened without waiting: a FIFO without a reader or a device
            // that is switched off is not ready, rather than a hang. A file
            // must exist and takes the copies one after the other.
            fd_ = ::open(pfad_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_APPEND);
            if (fd_ < 0) {
                const int fehler = errno;
                return Fehler((fehler == ENOENT || fehler == ENOTDIR) ? DruckFehler::NichtGefunden
                                                                      : DruckFehler::Verweigert,
                              fehler);
            }
        }
        const SigpipeSperre sperre;
        const bool geweckt = warten_.Worauf == Art::Schreibbar;
        const ssize_t n = StueckSchreiben(fd_, bytes.substr(geschrieben_), false);
        if (n < 0)
            return Fehler(DruckFehler::Abgebrochen, errno);
        geschrieben_ += std::size_t(n);
        if (geschrieben_ == bytes.size()) {
            const int r = Zu();
            // Some drivers report a failed transfer only when closing.
            if (r < 0 && errno != EINTR)
                return Fehler(DruckFehler::Abgebrochen, errno);
            return Stand::Fertig;
        }
        if (n > 0)
            warten_ = Gleich();
        else if (geweckt && (Bereit(fd_, POLLOUT) & POLLOUT))
            // Some device drivers have no poll of their own and always
            // report ready; then a refused write waits a little instead of
            // spinning.
            warten_ = DruckWarten{Art::Nichts, -1, std::chrono::milliseconds(5)};
        else
            warten_ = Auf(Art::Schreibbar, fd_);
        return Stand::Laeuft;
    }

    DruckWarten Warten() const override { return warten_; }
    std::size_t Angenommen() const override { return geschrieben_; }
    DruckErgebnis Ergebnis() const override { return ergebnis_; }
    void Verwerfen() override { Zu(); }

private:
    Stand Fehler(DruckFehler art, int fehler) {
        ergebnis_ = Fehlschlag(art, pfad_ + ": " + Systemfehler(fehler));
        Zu();
        return Stand::Fehler;
    }

    int Zu() {
        if (fd_ < 0)
            return 0;
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

    std::string pfad_;
    int fd_ = -1;
    std::size_t geschrieben_ = 0;
    DruckWarten warten_;
    DruckErgebnis ergebnis_;
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

// A literal address needs no lookup.
bool LiteralAufloesen(const std::string& host, std::uint16_t port, std::vector<Adresse>& aus) {
    addrinfo hinweis{};
    hinweis.ai_family = AF_UNSPEC;
    hinweis.ai_socktype = SOCK_STREAM;
    hinweis.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const std::string dienst = std::to_string(port);
    addrinfo* liste = nullptr;
    if (::getaddrinfo(host.c_str(), dienst.c_str(), &hinweis, &liste) != 0)
        return false;
    aus = Adressen(liste);
    ::freeaddrinfo(liste);
    return true;
}

// A name resolved beside the caller, who learns of the answer through a
// pipe that becomes readable; a late answer after the caller has gone is
// dropped by the helper itself.
struct Nachschlagen {
    std::mutex m;
    bool erledigt = false;
    int rc = 0;
    std::vector<Adresse> adressen;
    int pipe[2] = {-1, -1};
    ~Nachschlagen() {
        for (int fd : pipe)
            if (fd >= 0)
                ::close(fd);
    }
};

std::shared_ptr<Nachschlagen> NachschlagenBeginnen(const std::string& host, std::uint16_t port) {
    auto zustand = std::make_shared<Nachschlagen>();
    if (::pipe2(zustand->pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    const std::string dienst = std::to_string(port);
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
            const char eins = 1;
            [[maybe_unused]] const ssize_t n = ::write(zustand->pipe[1], &eins, 1);
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return zustand;
}

// Name resolution has no time limit of its own: a name that is not a literal
// address is looked up beside the caller, who waits no longer than the
// deadline.
int HostAufloesen(const std::string& host, std::uint16_t port, Uhr::time_point frist,
                  std::vector<Adresse>& aus) {
    if (LiteralAufloesen(host, port, aus))
        return 0;
    const auto zustand = NachschlagenBeginnen(host, port);
    if (!zustand)
        return EAI_AGAIN;
    pollfd p{zustand->pipe[0], POLLIN, 0};
    if (::poll(&p, 1, RestMs(frist)) <= 0)
        return EAI_AGAIN;
    const std::lock_guard sperre(zustand->m);
    aus = std::move(zustand->adressen);
    return zustand->rc;
}

class NetzwerkAnschluss : public DruckAnschluss {
public:
    NetzwerkAnschluss(std::string host, std::uint16_t port) : host_(std::move(host)), port_(port) {}
    ~NetzwerkAnschluss() override { Zu(true); }

    Stand Weiter(std::string_view bytes) override {
        const SigpipeSperre sperre;
        switch (phase_) {
        case Phase::Anfang:
            return Anfangen();
        case Phase::Aufloesen:
            return Aufgeloest();
        case Phase::Verbinden:
            return Verbunden();
        case Phase::Senden:
            return Senden(bytes);
        case Phase::Leeren:
            return Leeren();
        case Phase::Ende:
            break;
        }
        return Stand::Fehler;
    }

    DruckWarten Warten() const override { return warten_; }

    std::size_t Angenommen() const override { return quittiert_; }

    DruckErgebnis Ergebnis() const override { return ergebnis_; }
    void Verwerfen() override {
        Zu(true);
        phase_ = Phase::Ende;
    }

private:
    enum class Phase { Anfang, Aufloesen, Verbinden, Senden, Leeren, Ende };

    Stand Anfangen() {
        if (LiteralAufloesen(host_, port_, adressen_))
            return NaechsteAdresse();
        nachschlagen_ = NachschlagenBeginnen(host_, port_);
        if (!nachschlagen_)
            return Fehler(DruckFehler::NichtGefunden, host_ + ": " + ::gai_strerror(EAI_AGAIN));
        phase_ = Phase::Aufloesen;
        warten_ = Auf(Art::Lesbar, nachschlagen_->pipe[0], std::chrono::milliseconds(0));
        return Stand::Laeuft;
    }

    Stand Aufgeloest() {
        int rc = 0;
        {
            const std::lock_guard sperre(nachschlagen_->m);
            if (!nachschlagen_->erledigt)
                return Stand::Laeuft;
            rc = nachschlagen_->rc;
            adressen_ = std::move(nachschlagen_->adressen);
        }
        nachschlagen_.reset();
        if (rc != 0 || adressen_.empty())
            return Fehler(DruckFehler::NichtGefunden, host_ + ": " + ::gai_strerror(rc));
        return NaechsteAdresse();
    }

    // Tries the addresses one after the other; the last failure is told.
    Stand NaechsteAdresse() {
        while (naechste_ < adressen_.size()) {
            const Adresse& a = adressen_[naechste_++];
            fd_ = ::socket(a.familie, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd_ < 0) {
                letzterFehler_ = Fehlschlag(DruckFehler::Verweigert, Systemfehler(errno));
                continue;
            }
            if (::connect(fd_, reinterpret_cast<const sockaddr*>(&a.adresse), a.laenge) == 0) {
                phase_ = Phase::Senden;
                warten_ = Gleich();
                return Stand::Laeuft;
            }
            if (errno == EINPROGRESS || errno == EINTR) {
                phase_ = Phase::Verbinden;
                warten_ = Auf(Art::Schreibbar, fd_, std::chrono::milliseconds(0));
                return Stand::Laeuft;
            }
            letzterFehler_ = VerbindungsFehler(errno);
            Zu(false);
        }
        phase_ = Phase::Ende;
        ergebnis_ =
            letzterFehler_.Ok() ? Fehlschlag(DruckFehler::NichtGefunden, host_) : letzterFehler_;
        return Stand::Fehler;
    }

    Stand Verbunden() {
        if (!(Bereit(fd_, POLLOUT) & (POLLOUT | POLLERR | POLLHUP)))
            return Stand::Laeuft;
        if (const int fehler = SocketFehler()) {
            letzterFehler_ = VerbindungsFehler(fehler);
            Zu(false);
            return NaechsteAdresse();
        }
        phase_ = Phase::Senden;
        warten_ = Gleich();
        return Stand::Laeuft;
    }

    Stand Senden(std::string_view bytes) {
        if (gesendet_ < bytes.size()) {
            const ssize_t n = StueckSchreiben(fd_, bytes.substr(gesendet_), true);
            if (n < 0)
                return Fehler(DruckFehler::Abgebrochen, Systemfehler(errno));
            gesendet_ += std::size_t(n);
        }
        Quittiert();
        if (gesendet_ < bytes.size()) {
            warten_ = Auf(Art::Schreibbar, fd_);
            return Stand::Laeuft;
        }
        phase_ = Phase::Leeren;
        return Leeren();
    }

    // A written byte has only reached the send queue. The copy is done when
    // the printer has acknowledged all of it: a printer that stops reading
    // keeps the queue full, and that is a stall, not a success.
    Stand Leeren() {
        const int offen = Quittiert();
        const short r = Bereit(fd_, 0);
        if (r & (POLLERR | POLLHUP)) {
            // Reading the error clears it: read once.
            if (const int fehler = SocketFehler())
                return Fehler(DruckFehler::Abgebrochen, Systemfehler(fehler));
            if (offen > 0)
                return Fehler(DruckFehler::Abgebrochen, "Verbindung getrennt");
        }
        if (offen > 0) {
            // Looked at soon after the last bytes, then less often while the
            // printer works through the queue.
            if (quittiert_ != zuletztQuittiert_)
                leerenMs_ = 1;
            zuletztQuittiert_ = quittiert_;
            warten_ = DruckWarten{Art::Nichts, -1, std::chrono::milliseconds(leerenMs_)};
            leerenMs_ = std::min(leerenMs_ * 2, 50);
            return Stand::Laeuft;
        }
        if (const int fehler = SocketFehler())
            return Fehler(DruckFehler::Abgebrochen, Systemfehler(fehler));
        Zu(false);
        phase_ = Phase::Ende;
        return Stand::Fertig;
    }

    // What is still in the send queue; the rest the printer has taken.
    int Quittiert() {
        int offen = 0;
#ifdef SIOCOUTQ
        if (::ioctl(fd_, SIOCOUTQ, &offen) < 0)
            offen = 0;
#endif
        offen = std::max(offen, 0);
        quittiert_ = std::max(quittiert_, gesendet_ - std::min(gesendet_, std::size_t(offen)));
        return offen;
    }

    Stand Fehler(DruckFehler art, std::string text) {
        ergebnis_ = Fehlschlag(art, std::move(text));
        Zu(true);
        phase_ = Phase::Ende;
        return Stand::Fehler;
    }

    DruckErgebnis VerbindungsFehler(int fehler) const {
        const std::string text = host_ + ":" + std::to_string(port_) + ": " + Systemfehler(fehler);
        if (fehler == ECONNREFUSED)
            return Fehlschlag(DruckFehler::Verweigert, text);
        return Fehlschlag(DruckFehler::NichtGefunden, text);
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
    Phase phase_ = Phase::Anfang;
    std::shared_ptr<Nachschlagen> nachschlagen_;
    std::vector<Adresse> adressen_;
    std::size_t naechste_ = 0;
    DruckErgebnis letzterFehler_;
    int fd_ = -1;
    std::size_t gesendet_ = 0;
    std::size_t quittiert_ = 0;
    std::size_t zuletztQuittiert_ = 0;
    int leerenMs_ = 1;
    DruckWarten warten_;
    DruckErgebnis ergebnis_;
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
    void Frist(Uhr::time_point frist) { frist_ = frist; }
    // Whether the connection takes more data now.
    bool Bereit() const {
        return http_ && (zw::Bereit(httpGetFd(http_), POLLOUT) & (POLLOUT | POLLERR));
    }

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
    CupsAnschluss(std::string name, std::chrono::milliseconds limit)
        : name_(std::move(name)), limit_(limit) {}
    ~CupsAnschluss() override { Aufraeumen(); }

    // The scheduler is asked and answers at once; its waits end at the
    // stall limit. The data then goes to it in pieces whenever its
    // connection takes more.
    Stand Weiter(std::string_view bytes) override {
        const SigpipeSperre sperre;
        if (!dokument_) {
            if (fehler_)
                return Stand::Fehler;
            return Oeffnen();
        }
        if (!verbindung_->Bereit())
            return Stand::Laeuft;
        verbindung_->Frist(Uhr::now() + limit_);
        if (geschrieben_ < bytes.size()) {
            const std::size_t n = std::min(kCupsStueck, bytes.size() - geschrieben_);
            if (cupsWriteRequestData(verbindung_->Http(), bytes.data() + geschrieben_, n) !=
                HTTP_STATUS_CONTINUE)
                return Fehler(DruckFehler::Abgebrochen);
            geschrieben_ += n;
            return Stand::Laeuft;
        }
        dokument_ = false;
        if (!CupsOk(cupsFinishDestDocument(verbindung_->Http(), dest_, info_)))
            return Fehler(DruckFehler::Abgebrochen);
        auftrag_ = 0;
        Aufraeumen();
        return Stand::Fertig;
    }

    DruckWarten Warten() const override {
        if (!verbindung_ || !verbindung_->Http())
            return Gleich();
        return Auf(Art::Schreibbar, httpGetFd(verbindung_->Http()));
    }
    std::size_t Angenommen() const override { return geschrieben_; }
    DruckErgebnis Ergebnis() const override { return ergebnis_; }
    void Verwerfen() override {
        dokument_ = false;
        Aufraeumen();
    }

private:
    static constexpr std::size_t kCupsStueck = 16 * 1024;

    Stand Oeffnen() {
        verbindung_ = std::make_unique<CupsVerbindung>(Uhr::now() + limit_);
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
        return Stand::Laeuft;
    }

    Stand Fehler(DruckFehler art) {
        fehler_ = true;
        if (verbindung_ && verbindung_->Abgelaufen()) {
            ergebnis_ = Zeitueberschreitung();
        } else {
            std::string text = name_;
            if (const std::string m = CupsMeldung(); !m.empty())
                text += ": " + m;
            ergebnis_ = Fehlschlag(art, text);
        }
        Aufraeumen();
        return Stand::Fehler;
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
    std::chrono::milliseconds limit_;
    std::unique_ptr<CupsVerbindung> verbindung_;
    cups_dest_t* dest_ = nullptr;
    cups_dinfo_t* info_ = nullptr;
    int auftrag_ = 0;
    bool dokument_ = false;
    bool fehler_ = false;
    std::size_t geschrieben_ = 0;
    DruckErgebnis ergebnis_;
};

class UngueltigerAnschluss : public DruckAnschluss {
public:
    explicit UngueltigerAnschluss(std::string port) : port_(std::move(port)) {}
    Stand Weiter(std::string_view) override { return Stand::Fehler; }
    DruckWarten Warten() const override { return Gleich(); }
    std::size_t Angenommen() const override { return 0; }
    DruckErgebnis Ergebnis() const override {
        return Fehlschlag(DruckFehler::Ungueltig, "Kein gültiger Anschluss: \"" + port_ + "\"");
    }
    void Verwerfen() override {}

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

std::unique_ptr<DruckAnschluss> AnschlussFuer(const std::string& port,
                                              std::chrono::milliseconds stockLimit) {
    PortZiel ziel = PortZerlegen(port);
    switch (ziel.Art) {
    case PortArt::Geraet:
        return std::make_unique<GeraetAnschluss>(std::move(ziel.Pfad));
    case PortArt::Netzwerk:
        return std::make_unique<NetzwerkAnschluss>(std::move(ziel.Host), ziel.Port);
    case PortArt::Warteschlange:
        return std::make_unique<CupsAnschluss>(std::move(ziel.Warteschlange), stockLimit);
    case PortArt::Ungueltig:
        break;
    }
    return std::make_unique<UngueltigerAnschluss>(port);
}

void DruckWartenBlockierend(const DruckWarten& warten) {
    const int ms = int(std::min<long long>(warten.Hoechstens.count(), 24LL * 3600 * 1000));
    if (warten.Worauf == DruckWarten::Art::Nichts || warten.Griff < 0) {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    pollfd pf{int(warten.Griff),
              short(warten.Worauf == DruckWarten::Art::Lesbar ? POLLIN : POLLOUT), 0};
    ::poll(&pf, 1, ms);
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
