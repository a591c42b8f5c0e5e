#pragma once
// Printers for the tests, started by the tests themselves: a network embosser
// on 127.0.0.1 that records what it receives and can refuse, stall or hang up,
// a FIFO with a reader, and a private CUPS scheduler with its own queues.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Hilfen.h"

extern char** environ;

namespace zwtest {

using namespace std::chrono_literals;

// A port on 127.0.0.1 where nothing listens: connecting is refused.
inline std::uint16_t FreierPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    socklen_t n = sizeof(a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    ::close(fd);
    return ntohs(a.sin_port);
}

// A network embosser on 127.0.0.1. It serves one connection at a time, as a
// printer does; each connection is one copy.
class TcpDrucker {
public:
    enum class Verhalten {
        Lesen,          // reads everything until the sender closes
        Stocken,        // accepts, then reads nothing
        SchliessenNach, // reads so many bytes, then hangs up
        Langsam,        // reads so many bytes a second, like an embosser
        StockenNach,    // reads so many bytes, then nothing more
        ResetNach,      // reads so many bytes, then resets the connection
    };

    // A receive buffer of a few kilobytes makes a stalled printer show at
    // once instead of after megabytes that the kernel takes on its behalf.
    explicit TcpDrucker(int empfangsPuffer = 0) {
        lauscher_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int ja = 1;
        ::setsockopt(lauscher_, SOL_SOCKET, SO_REUSEADDR, &ja, sizeof(ja));
        if (empfangsPuffer > 0)
            ::setsockopt(lauscher_, SOL_SOCKET, SO_RCVBUF, &empfangsPuffer, sizeof(empfangsPuffer));
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(lauscher_, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        ::listen(lauscher_, 8);
        socklen_t n = sizeof(a);
        ::getsockname(lauscher_, reinterpret_cast<sockaddr*>(&a), &n);
        port_ = ntohs(a.sin_port);
        faden_ = std::thread([this] { Laufen(); });
    }
    ~TcpDrucker() {
        ende_ = true;
        faden_.join();
        ::close(lauscher_);
    }
    TcpDrucker(const TcpDrucker&) = delete;
    TcpDrucker& operator=(const TcpDrucker&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string PortString() const { return "socket://127.0.0.1:" + std::to_string(port_); }

    // Takes effect at once, also for a connection that is stalled now.
    void Setzen(Verhalten v, std::size_t nachBytes = 0) {
        const std::lock_guard s(m_);
        verhalten_ = v;
        nachBytes_ = nachBytes;
    }

    // What each connection brought that the sender closed in order.
    std::vector<std::string> Kopien() const {
        const std::lock_guard s(m_);
        return kopien_;
    }
    // Connections that ended otherwise: reset by the sender, or hung up here.
    std::vector<std::string> Abgebrochene() const {
        const std::lock_guard s(m_);
        return abgebrochen_;
    }
    int Verbindungen() const { return verbindungen_; }
    // Forgets what has arrived, for long runs.
    void Leeren() {
        const std::lock_guard s(m_);
        kopien_.clear();
        abgebrochen_.clear();
    }

    bool WartenAufKopien(std::size_t anzahl, std::chrono::milliseconds zeit = 5s) const {
        std::unique_lock s(m_);
        return neu_.wait_for(s, zeit, [&] { return kopien_.size() >= anzahl; });
    }

private:
    void Laufen() {
        int verbindung = -1;
        std::string daten;
        while (!ende_) {
            if (verbindung < 0) {
                pollfd pf{lauscher_, POLLIN, 0};
                if (::poll(&pf, 1, 20) <= 0)
                    continue;
                verbindung = ::accept4(lauscher_, nullptr, nullptr, SOCK_CLOEXEC);
                if (verbindung < 0)
                    continue;
                ++verbindungen_;
                daten.clear();
            }
            Verhalten v;
            std::size_t grenze;
            {
                const std::lock_guard s(m_);
                v = verhalten_;
                grenze = nachBytes_;
            }
            if (v == Verhalten::StockenNach && daten.size() >= grenze)
                v = Verhalten::Stocken;
            if (v == Verhalten::ResetNach && daten.size() >= grenze) {
                const linger sofort{1, 0};
                ::setsockopt(verbindung, SOL_SOCKET, SO_LINGER, &sofort, sizeof(sofort));
                Ablegen(abgebrochen_, daten);
                ::close(verbindung);
                verbindung = -1;
                continue;
            }
            if (v == Verhalten::Stocken) {
                // A sender that gives up and tries again comes back as a new
                // connection; the stalled one is then dropped.
                pollfd pf{lauscher_, POLLIN, 0};
                if (::poll(&pf, 1, 20) > 0) {
                    Ablegen(abgebrochen_, daten);
                    ::close(verbindung);
                    verbindung = -1;
                }
                continue;
            }
            pollfd pf{verbindung, POLLIN, 0};
            if (::poll(&pf, 1, 20) <= 0)
                continue;
            char puffer[65536];
            std::size_t wunsch = sizeof(puffer);
            if (v == Verhalten::SchliessenNach)
                wunsch = std::min(wunsch, grenze > daten.size() ? grenze - daten.size() : 0);
            if (v == Verhalten::StockenNach || v == Verhalten::ResetNach)
                wunsch = std::min(wunsch, grenze - daten.size());
            if (v == Verhalten::Langsam) {
                // A fiftieth of the rate every 20 ms.
                std::this_thread::sleep_until(naechstesLesen_);
                naechstesLesen_ = std::chrono::steady_clock::now() + 20ms;
                wunsch = std::min(wunsch, std::max<std::size_t>(grenze / 50, 1));
            }
            if (wunsch == 0) {
                Ablegen(abgebrochen_, daten);
                ::close(verbindung);
                verbindung = -1;
                continue;
            }
            const ssize_t n = ::recv(verbindung, puffer, wunsch, 0);
            if (n > 0) {
                daten.append(puffer, std::size_t(n));
                continue;
            }
            Ablegen(n == 0 ? kopien_ : abgebrochen_, daten);
            ::close(verbindung);
            verbindung = -1;
        }
        if (verbindung >= 0)
            ::close(verbindung);
    }

    void Ablegen(std::vector<std::string>& liste, std::string& daten) {
        {
            const std::lock_guard s(m_);
            liste.push_back(std::move(daten));
        }
        daten.clear();
        neu_.notify_all();
    }

    int lauscher_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> ende_{false};
    std::atomic<int> verbindungen_{0};
    mutable std::mutex m_;
    mutable std::condition_variable neu_;
    Verhalten verhalten_ = Verhalten::Lesen;
    std::size_t nachBytes_ = 0;
    std::vector<std::string> kopien_, abgebrochen_;
    std::chrono::steady_clock::time_point naechstesLesen_{};
    std::thread faden_;
};

// A FIFO standing in for a device. The reader keeps it open for the whole
// test (with a writer of its own, so it never sees an end between copies)
// and collects everything.
class FifoLeser {
public:
    enum class Verhalten { Lesen, Stocken, SchliessenNach };

    FifoLeser(std::filesystem::path pfad, Verhalten v, std::size_t nachBytes = 0)
        : pfad_(std::move(pfad)), verhalten_(v), nachBytes_(nachBytes) {
        ::mkfifo(pfad_.c_str(), 0600);
        lesen_ = ::open(pfad_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        halten_ = ::open(pfad_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        faden_ = std::thread([this] { Laufen(); });
    }
    ~FifoLeser() {
        ende_ = true;
        faden_.join();
        if (lesen_ >= 0)
            ::close(lesen_);
        if (halten_ >= 0)
            ::close(halten_);
    }

    std::string Pfad() const { return pfad_.string(); }

    std::string Daten(std::size_t erwartet, std::chrono::milliseconds zeit = 5s) const {
        std::unique_lock s(m_);
        neu_.wait_for(s, zeit, [&] { return daten_.size() >= erwartet; });
        return daten_;
    }

private:
    void Laufen() {
        while (!ende_) {
            if (verhalten_ == Verhalten::Stocken || lesen_ < 0) {
                std::this_thread::sleep_for(20ms);
                continue;
            }
            pollfd pf{lesen_, POLLIN, 0};
            if (::poll(&pf, 1, 20) <= 0)
                continue;
            char puffer[65536];
            std::size_t wunsch = sizeof(puffer);
            if (verhalten_ == Verhalten::SchliessenNach) {
                const std::lock_guard s(m_);
                wunsch = std::min(wunsch, nachBytes_ - std::min(nachBytes_, daten_.size()));
            }
            if (wunsch == 0) {
                // The device goes away: no reader is left.
                ::close(lesen_);
                ::close(halten_);
                lesen_ = halten_ = -1;
                continue;
            }
            const ssize_t n = ::read(lesen_, puffer, wunsch);
            if (n > 0) {
                const std::lock_guard s(m_);
                daten_.append(puffer, std::size_t(n));
                neu_.notify_all();
            }
        }
    }

    std::filesystem::path pfad_;
    Verhalten verhalten_;
    std::size_t nachBytes_;
    int lesen_ = -1, halten_ = -1;
    std::atomic<bool> ende_{false};
    mutable std::mutex m_;
    mutable std::condition_variable neu_;
    std::string daten_;
    std::thread faden_;
};

// A CUPS scheduler of the test's own, listening only on a socket in a private
// folder, with two queues: "roh", which writes every job unchanged to a file,
// and "zu", which takes no jobs. CUPS 2.4 writes a file device only through
// a filter, so "roh" has a description that passes every job on as it is.
class CupsTestDienst {
public:
    static constexpr const char* kCupsd = "/usr/sbin/cupsd";
    static bool Installiert() { return ::access(kCupsd, X_OK) == 0; }
    static constexpr const char* kFehlt = "cupsd ist nicht installiert (Debian-Paket cups)";

    // Empty when the scheduler runs; otherwise why it does not.
    std::string Starten() {
        const char* cupsd = kCupsd;
        if (!Installiert())
            return kFehlt;
        char muster[] = "/tmp/zw-cups-XXXXXX";
        if (!::mkdtemp(muster))
            return "kein temporärer Ordner";
        ordner_ = muster;
        // The filters run as the scheduler's own user, who must reach the
        // spool folder below this one.
        ::chmod(ordner_.c_str(), 0755);
        namespace fs = std::filesystem;
        for (const char* o : {"etc", "etc/ppd", "spool", "cache", "state", "log"})
            fs::create_directories(ordner_ / o);
        socket_ = (ordner_ / "cups.sock").string();
        Schreiben("etc/cupsd.conf", "Listen " + socket_ +
                                        "\nLogLevel warn\nBrowsing No\nDefaultAuthType None\n"
                                        "<Location />\n  Order allow,deny\n  Allow all\n"
                                        "</Location>\n");
        const std::string o = ordner_.string();
        Schreiben("etc/cups-files.conf",
                  "ServerRoot " + o + "/etc\nRequestRoot " + o + "/spool\nCacheDir " + o +
                      "/cache\nStateDir " + o + "/state\nTempDir " + o + "/spool\nErrorLog " + o +
                      "/log/error_log\nAccessLog " + o + "/log/access_log\nPageLog " + o +
                      "/log/page_log\nPrintcap " + o + "/state/printcap\nFileDevice Yes\n");
        Schreiben("etc/printers.conf",
                  "<Printer roh>\nInfo Prägemaschine\nLocation Raum 3\nDeviceURI file://" +
                      Ausgabe().string() +
                      "\nState Idle\nAccepting Yes\nShared No\n</Printer>\n"
                      "<Printer zu>\nInfo Gesperrt\nDeviceURI file:///dev/null\nState Idle\n"
                      "Accepting No\nShared No\n</Printer>\n");
        Schreiben("etc/ppd/roh.ppd",
                  "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                  "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                  "*PCFileName: \"ROH.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Roh)\"\n"
                  "*ModelName: \"Roh\"\n*ShortNickName: \"Roh\"\n*NickName: \"Roh\"\n"
                  "*PSVersion: \"(3010.000) 0\"\n"
                  "*cupsFilter: \"application/vnd.cups-raw 0 gziptoany\"\n"
                  // Without a paper size CUPS logs the description as invalid.
                  "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
                  "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
                  "*CloseUI: *PageSize\n*DefaultPageRegion: A4\n"
                  "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"0 0 595 842\"\n"
                  "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n");

        const std::string conf = o + "/etc/cupsd.conf", files = o + "/etc/cups-files.conf";
        const std::string ausgabe = o + "/log/cupsd.out";
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_addopen(&aktionen, 1, ausgabe.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&aktionen, 1, 2);
        char* argv[] = {const_cast<char*>(cupsd),
                        const_cast<char*>("-f"),
                        const_cast<char*>("-c"),
                        const_cast<char*>(conf.c_str()),
                        const_cast<char*>("-s"),
                        const_cast<char*>(files.c_str()),
                        nullptr};
        const int rc = ::posix_spawn(&pid_, cupsd, &aktionen, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&aktionen);
        if (rc != 0) {
            pid_ = -1;
            return std::string("cupsd ließ sich nicht starten: ") + std::strerror(rc);
        }
        const auto ende = std::chrono::steady_clock::now() + 15s;
        while (std::chrono::steady_clock::now() < ende) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return "cupsd hat sich beendet: " + Lesen(ausgabe) +
                       Lesen(ordner_ / "log/error_log");
            }
            if (Erreichbar())
                return {};
            std::this_thread::sleep_for(50ms);
        }
        return "cupsd antwortet nicht: " + Lesen(ordner_ / "log/error_log");
    }

    ~CupsTestDienst() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            const auto ende = std::chrono::steady_clock::now() + 5s;
            while (::waitpid(pid_, &status, WNOHANG) == 0 &&
                   std::chrono::steady_clock::now() < ende)
                std::this_thread::sleep_for(20ms);
            if (::waitpid(pid_, &status, WNOHANG) == 0) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
            }
        }
        if (!ordner_.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(ordner_, ec);
        }
    }

    // What the client library is to use as its server.
    const std::string& Socket() const { return socket_; }
    std::filesystem::path Ausgabe() const { return ordner_ / "roh.out"; }

    // The file of "roh" holds the last job; waits until it holds these bytes.
    bool WartenAufAusgabe(const std::string& erwartet, std::chrono::milliseconds zeit = 10s) const {
        const auto ende = std::chrono::steady_clock::now() + zeit;
        while (std::chrono::steady_clock::now() < ende) {
            if (Lesen(Ausgabe()) == erwartet)
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    std::string Protokoll() const { return Lesen(ordner_ / "log/error_log"); }

private:
    void Schreiben(const std::string& name, const std::string& text) const {
        zwtest::Schreiben(ordner_ / name, text);
        ::chmod((ordner_ / name).c_str(), 0644);
    }

    bool Erreichbar() const {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strncpy(a.sun_path, socket_.c_str(), sizeof(a.sun_path) - 1);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0;
        ::close(fd);
        return ok;
    }

    std::filesystem::path ordner_;
    std::string socket_;
    pid_t pid_ = -1;
};

} // namespace zwtest
