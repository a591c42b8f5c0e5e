// The printer transports against real printers started here: a network
// embosser on 127.0.0.1, FIFOs and files as devices, a private CUPS
// scheduler.
#include "platform/Druckausgabe.h"

#include "DruckHilfen.h"
#include "Hilfen.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <csignal>

namespace zw {
// Found by the assertions through the type's namespace.
std::ostream& operator<<(std::ostream& os, DruckFehler f) {
    const char* namen[] = {"Keiner",    "Ungueltig",   "NichtGefunden", "Verweigert",
                           "Zeitlimit", "Abgebrochen", "Beendet"};
    return os << namen[int(f)];
}
} // namespace zw

using namespace zw;
using namespace zwtest;
using Uhr = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// Short, so the stalled printers do not hold the tests for long.
constexpr auto kGrenze = 300ms;

// A copy as the print dialog sends it: every byte value, ending with the form
// feed.
std::string Kopie(std::size_t groesse) {
    std::string bytes(groesse, '\0');
    for (std::size_t i = 0; i < groesse; ++i)
        bytes[i] = char(i * 7 % 256);
    bytes.back() = '\f';
    return bytes;
}

double Sekunden(Uhr::time_point seit) {
    return std::chrono::duration<double>(Uhr::now() - seit).count();
}

// The client library takes its scheduler from the environment; set anew for
// every test, since the library keeps what it read.
void CupsServerSetzen(const std::string& server) {
    ::setenv("CUPS_SERVER", server.c_str(), 1);
    cupsSetServer(nullptr);
}

} // namespace

// ---------------------------------------------------------------------------
// Port strings.

TEST(PortZerlegen, FormenDerPortStrings) {
    struct Fall {
        const char* port;
        PortArt art;
        std::string pfadOderName;
        std::uint16_t port_ = 0;
    };
    const Fall faelle[] = {
        {"LPT1", PortArt::Geraet, "/dev/lp0"},
        {"LPT4", PortArt::Geraet, "/dev/lp3"},
        {"lpt2", PortArt::Geraet, "/dev/lp1"},
        {"/dev/usb/lp0", PortArt::Geraet, "/dev/usb/lp0"},
        {"/tmp/ausgabe.brl", PortArt::Geraet, "/tmp/ausgabe.brl"},
        {"socket://praege", PortArt::Netzwerk, "praege", 9100},
        {"socket://10.1.2.3:9101", PortArt::Netzwerk, "10.1.2.3", 9101},
        {"SOCKET://Praege.local:65535", PortArt::Netzwerk, "Praege.local", 65535},
        {"socket://[::1]:9200", PortArt::Netzwerk, "::1", 9200},
        {"socket://[fe80::1]", PortArt::Netzwerk, "fe80::1", 9100},
        {"socket://fe80::1", PortArt::Netzwerk, "fe80::1", 9100},
        {"socket://praege:9100/?waiteof=false", PortArt::Netzwerk, "praege", 9100},
        {"Braille_Praeger", PortArt::Warteschlange, "Braille_Praeger"},
        // Not a parallel port here: a queue may have such a name.
        {"LPT5", PortArt::Warteschlange, "LPT5"},
        {"LPT0", PortArt::Warteschlange, "LPT0"},
        {"", PortArt::Ungueltig, ""},
        {"socket://", PortArt::Ungueltig, ""},
        {"socket://:9100", PortArt::Ungueltig, ""},
        {"socket://praege:", PortArt::Ungueltig, ""},
        {"socket://praege:0", PortArt::Ungueltig, ""},
        {"socket://praege:65536", PortArt::Ungueltig, ""},
        {"socket://praege:91x", PortArt::Ungueltig, ""},
        {"socket://[::1", PortArt::Ungueltig, ""},
        {"ordner/datei", PortArt::Ungueltig, ""},
        {"mein Drucker", PortArt::Ungueltig, ""},
        {"ipp://server/printers/x", PortArt::Ungueltig, ""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.port);
        const PortZiel z = PortZerlegen(f.port);
        EXPECT_EQ(int(z.Art), int(f.art));
        switch (f.art) {
        case PortArt::Geraet:
            EXPECT_EQ(z.Pfad, f.pfadOderName);
            break;
        case PortArt::Netzwerk:
            EXPECT_EQ(z.Host, f.pfadOderName);
            EXPECT_EQ(z.Port, f.port_);
            break;
        case PortArt::Warteschlange:
            EXPECT_EQ(z.Warteschlange, f.pfadOderName);
            break;
        case PortArt::Ungueltig:
            break;
        }
    }
}

TEST(Druckausgabe, UngueltigerPortIstNichtBereit) {
    const DruckErgebnis e = KopieDrucken("ordner/datei", "x\f");
    EXPECT_EQ(e.Fehler, DruckFehler::Ungueltig);
}

// ---------------------------------------------------------------------------
// Network embosser.

TEST(NetzwerkDrucker, DreiKopienKommenJedeVollstaendigAn) {
    TcpDrucker drucker;
    const std::string kopie = Kopie(300 * 1024);
    for (int i = 0; i < 3; ++i) {
        const DruckErgebnis e = KopieDrucken(drucker.PortString(), kopie);
        ASSERT_TRUE(e.Ok()) << e.Fehler << " " << e.Meldung;
    }
    ASSERT_TRUE(drucker.WartenAufKopien(3));
    const auto kopien = drucker.Kopien();
    ASSERT_EQ(kopien.size(), 3u);
    for (const auto& k : kopien) {
        EXPECT_EQ(k.size(), kopie.size());
        EXPECT_TRUE(k == kopie);
        EXPECT_EQ(k.back(), '\f');
    }
    // One connection per copy.
    EXPECT_EQ(drucker.Verbindungen(), 3);
}

TEST(NetzwerkDrucker, OhnePortnummerGiltAppSocket) {
    EXPECT_EQ(PortZerlegen("socket://127.0.0.1").Port, 9100);
}

TEST(NetzwerkDrucker, VerweigerteVerbindungMeldetSichSofort) {
    const auto start = Uhr::now();
    const DruckErgebnis e =
        KopieDrucken("socket://127.0.0.1:" + std::to_string(FreierPort()), Kopie(100));
    EXPECT_EQ(e.Fehler, DruckFehler::Verweigert) << e.Meldung;
    EXPECT_LT(Sekunden(start), 1.0);
}

TEST(NetzwerkDrucker, StockenderDruckerLaeuftInsZeitlimitUndDannWiederDurch) {
    TcpDrucker drucker(4096);
    drucker.Setzen(TcpDrucker::Verhalten::Stocken);
    const std::string kopie = Kopie(512 * 1024);

    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken(drucker.PortString(), kopie, kGrenze);
    const double dauer = Sekunden(start);
    EXPECT_EQ(e.Fehler, DruckFehler::Zeitlimit) << e.Meldung;
    EXPECT_GE(dauer, 0.29);
    EXPECT_LT(dauer, 1.3);

    // Ready again: the same copy goes through whole, and nothing of the
    // broken attempt arrives behind it.
    drucker.Setzen(TcpDrucker::Verhalten::Lesen);
    const DruckErgebnis wieder = KopieDrucken(drucker.PortString(), kopie);
    ASSERT_TRUE(wieder.Ok()) << wieder.Fehler << " " << wieder.Meldung;
    ASSERT_TRUE(drucker.WartenAufKopien(1));
    ASSERT_EQ(drucker.Kopien().size(), 1u);
    EXPECT_TRUE(drucker.Kopien()[0] == kopie);
    ASSERT_EQ(drucker.Abgebrochene().size(), 1u);
    EXPECT_LT(drucker.Abgebrochene()[0].size(), kopie.size());
}

TEST(NetzwerkDrucker, AuflegenMittenInDerKopieIstNichtBereit) {
    TcpDrucker drucker(4096);
    drucker.Setzen(TcpDrucker::Verhalten::SchliessenNach, 64 * 1024);
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken(drucker.PortString(), Kopie(1024 * 1024));
    EXPECT_FALSE(e.Ok());
    EXPECT_EQ(e.Fehler, DruckFehler::Abgebrochen) << e.Meldung;
    EXPECT_LT(Sekunden(start), 3.5);
    EXPECT_TRUE(drucker.Kopien().empty());
}

// Slow but steady: an embosser behind a small buffer takes the copy over many
// stall limits, and the copy goes through whole.
TEST(NetzwerkDrucker, LangsamerDruckerBekommtDieKopieGanzUndDerFortschrittWaechst) {
    // TCP tells of free room in the printer's buffer only once half of it
    // is free: at 2 KB/s every half second.
    TcpDrucker drucker(1024);
    drucker.Setzen(TcpDrucker::Verhalten::Langsam, 2048);
    const std::string kopie = Kopie(6 * 1024);
    std::vector<std::size_t> stand;
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken(drucker.PortString(), kopie, 1s, [&](std::size_t n) {
        if (stand.empty() || stand.back() != n)
            stand.push_back(n);
        return true;
    });
    const double dauer = Sekunden(start);
    ASSERT_TRUE(e.Ok()) << e.Fehler << " " << e.Meldung;
    // Longer than the stall limit: it is no limit on the whole copy.
    EXPECT_GT(dauer, 1.5);
    ASSERT_TRUE(drucker.WartenAufKopien(1));
    EXPECT_TRUE(drucker.Kopien()[0] == kopie);
    EXPECT_TRUE(drucker.Abgebrochene().empty());
    // Progress in steps, never backwards, ending at the whole copy.
    EXPECT_GT(stand.size(), 2u);
    EXPECT_TRUE(std::is_sorted(stand.begin(), stand.end()));
    EXPECT_EQ(stand.back(), kopie.size());
}

TEST(NetzwerkDrucker, StockenNachEinigenKilobytesMeldetWievielAnkam) {
    TcpDrucker drucker(2048);
    drucker.Setzen(TcpDrucker::Verhalten::StockenNach, 10 * 1024);
    const std::string kopie = Kopie(200 * 1024);
    DruckKopie k(drucker.PortString(), kopie, kGrenze);
    auto stockt = Uhr::now();
    std::size_t vorher = 0;
    while (k.Weiter()) {
        if (k.Gesendet() != vorher) {
            vorher = k.Gesendet();
            stockt = Uhr::now();
        }
        DruckWartenBlockierend(k.Warten());
    }
    // The message within the limit and a little of the stall.
    EXPECT_LT(Sekunden(stockt), 0.3 + 0.5);
    EXPECT_EQ(k.Ergebnis().Fehler, DruckFehler::Zeitlimit);
    EXPECT_GE(k.Gesendet(), 10u * 1024);
    EXPECT_LT(k.Gesendet(), kopie.size());
    const std::string text = DruckFehlerText(k.Ergebnis(), 12345, 60000, DruckZeitLimit);
    EXPECT_EQ(text.substr(0, 90), "Der Drucker nimmt seit 3 Sekunden keine Daten an. 12.345 von "
                                  "60.000 Bytes wurden gesendet.");
    EXPECT_NE(text.find("vielleicht schon geprägt"), std::string::npos) << text;

    // Ready again: the copy once more from its start, every byte once and
    // in order, nothing of the broken one behind it.
    drucker.Setzen(TcpDrucker::Verhalten::Lesen);
    ASSERT_TRUE(KopieDrucken(drucker.PortString(), kopie, kGrenze).Ok());
    ASSERT_TRUE(drucker.WartenAufKopien(1));
    EXPECT_TRUE(drucker.Kopien()[0] == kopie);
    ASSERT_EQ(drucker.Abgebrochene().size(), 1u);
    EXPECT_EQ(drucker.Abgebrochene()[0], kopie.substr(0, drucker.Abgebrochene()[0].size()));
}

TEST(NetzwerkDrucker, ZurueckgesetzteVerbindungIstSofortNichtBereit) {
    TcpDrucker drucker(2048);
    drucker.Setzen(TcpDrucker::Verhalten::ResetNach, 8 * 1024);
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken(drucker.PortString(), Kopie(512 * 1024), 2s);
    EXPECT_EQ(e.Fehler, DruckFehler::Abgebrochen) << e.Fehler << " " << e.Meldung;
    EXPECT_LT(Sekunden(start), 1.5);
    EXPECT_TRUE(drucker.Kopien().empty());
}

TEST(NetzwerkDrucker, BeendenHaeltDieKopieZwischenZweiStueckenAn) {
    TcpDrucker drucker(2048);
    drucker.Setzen(TcpDrucker::Verhalten::Langsam, 2048);
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken(drucker.PortString(), Kopie(100 * 1024), 10s,
                                         [&](std::size_t) { return Sekunden(start) < 0.2; });
    EXPECT_EQ(e.Fehler, DruckFehler::Beendet);
    EXPECT_LT(Sekunden(start), 0.2 + 0.5);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(drucker.Kopien().empty());
}

TEST(Druckausgabe, FehlerTexteNennenGrundUndMenge) {
    struct Fall {
        DruckFehler fehler;
        std::size_t gesendet;
        std::chrono::milliseconds grenze;
        std::string text;
    };
    const Fall faelle[] = {
        {DruckFehler::Verweigert, 0, 3s,
         "Der Drucker ist belegt oder hat die Verbindung abgelehnt. 0 von 1.000 Bytes wurden "
         "gesendet."},
        {DruckFehler::Zeitlimit, 0, 1s,
         "Der Drucker nimmt seit 1 Sekunde keine Daten an. 0 von 1.000 Bytes wurden gesendet."},
        {DruckFehler::Zeitlimit, 0, 250ms,
         "Der Drucker nimmt seit 0,25 Sekunden keine Daten an. 0 von 1.000 Bytes wurden "
         "gesendet."},
        {DruckFehler::NichtGefunden, 0, 3s,
         "Der Drucker oder sein Anschluss wurde nicht gefunden. 0 von 1.000 Bytes wurden "
         "gesendet."},
        {DruckFehler::Abgebrochen, 999, 3s,
         "Die Verbindung zum Drucker wurde unterbrochen. 999 von 1.000 Bytes wurden gesendet. Den "
         "gesendeten Teil hat der Drucker vielleicht schon geprägt; Wiederholen sendet die Kopie "
         "noch einmal von Anfang an."},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(DruckFehlerText({f.fehler, ""}, f.gesendet, 1000, f.grenze), f.text);
}

TEST(NetzwerkDrucker, UnbekannterHostHaengtNichtLaengerAlsDasZeitlimit) {
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken("socket://praege.invalid:9100", Kopie(100));
    EXPECT_FALSE(e.Ok());
    EXPECT_TRUE(e.Fehler == DruckFehler::NichtGefunden || e.Fehler == DruckFehler::Zeitlimit)
        << e.Fehler;
    EXPECT_LT(Sekunden(start), 4.0);
}

// ---------------------------------------------------------------------------
// Devices and files.

TEST(GeraetDrucker, FifoMitLeserBekommtAlleKopienUnveraendert) {
    TempOrdner ordner;
    FifoLeser leser(ordner / "lp0", FifoLeser::Verhalten::Lesen);
    const std::string kopie = Kopie(200 * 1024);
    for (int i = 0; i < 3; ++i) {
        const DruckErgebnis e = KopieDrucken(leser.Pfad(), kopie);
        ASSERT_TRUE(e.Ok()) << e.Fehler << " " << e.Meldung;
    }
    const std::string daten = leser.Daten(3 * kopie.size());
    EXPECT_TRUE(daten == kopie + kopie + kopie) << daten.size();
}

TEST(GeraetDrucker, FifoOhneLeserIstSofortNichtBereit) {
    TempOrdner ordner;
    const auto pfad = ordner / "lp0";
    ASSERT_EQ(::mkfifo(pfad.c_str(), 0600), 0);
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken(pfad.string(), Kopie(100));
    EXPECT_EQ(e.Fehler, DruckFehler::Verweigert) << e.Meldung;
    EXPECT_LT(Sekunden(start), 1.0);
}

TEST(GeraetDrucker, StockendesGeraetLaeuftInsZeitlimit) {
    TempOrdner ordner;
    FifoLeser leser(ordner / "lp0", FifoLeser::Verhalten::Stocken);
    const auto start = Uhr::now();
    // More than a pipe holds.
    const DruckErgebnis e = KopieDrucken(leser.Pfad(), Kopie(1024 * 1024), kGrenze);
    const double dauer = Sekunden(start);
    EXPECT_EQ(e.Fehler, DruckFehler::Zeitlimit) << e.Meldung;
    EXPECT_GE(dauer, 0.29);
    EXPECT_LT(dauer, 1.3);
}

TEST(GeraetDrucker, VerschwindendesGeraetBeendetDieKopieOhneSignal) {
    TempOrdner ordner;
    FifoLeser leser(ordner / "lp0", FifoLeser::Verhalten::SchliessenNach, 64 * 1024);
    const DruckErgebnis e = KopieDrucken(leser.Pfad(), Kopie(1024 * 1024));
    EXPECT_EQ(e.Fehler, DruckFehler::Abgebrochen) << e.Meldung;
    // The SIGPIPE of the broken pipe was taken away, none is left waiting.
    sigset_t anstehend;
    sigpending(&anstehend);
    EXPECT_FALSE(sigismember(&anstehend, SIGPIPE));
}

TEST(GeraetDrucker, DateiNimmtDieKopienNacheinanderAuf) {
    TempOrdner ordner;
    const auto datei = ordner / "ausgabe.brl";
    Schreiben(datei, "");
    const std::string kopie = Kopie(70000);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(KopieDrucken(datei.string(), kopie).Ok());
    EXPECT_TRUE(Lesen(datei) == kopie + kopie + kopie);
}

TEST(GeraetDrucker, FehlendeDateiWirdNichtAngelegt) {
    TempOrdner ordner;
    const auto datei = ordner / "fehlt.brl";
    EXPECT_EQ(KopieDrucken(datei.string(), Kopie(10)).Fehler, DruckFehler::NichtGefunden);
    EXPECT_FALSE(std::filesystem::exists(datei));
    EXPECT_FALSE(KopieDrucken(ordner.Pfad().string(), Kopie(10)).Ok());
}

// ---------------------------------------------------------------------------
// Checking a typed port string.

TEST(PortAufloesen, NimmtWasEsGibtUndGibtEsOhneTrennerZurueck) {
    TempOrdner ordner;
    std::filesystem::create_directories(ordner / "unter");
    Schreiben(ordner / "unter" / "datei.brl", "");
    CupsServerSetzen((ordner / "kein-cups.sock").string());
    const auto vorher = std::filesystem::current_path();
    std::filesystem::current_path(ordner.Pfad());
    const std::string o = ordner.Pfad().string();

    struct Fall {
        std::string eingabe;
        std::optional<std::string> erwartet;
    };
    const Fall faelle[] = {
        {"LPT2", "LPT2"},
        {"lpt3", "LPT3"},
        {"  LPT1 ", "LPT1"},
        {o + "/unter/datei.brl", o + "/unter/datei.brl"},
        {o + "/unter/", o + "/unter"},
        {"unter/datei.brl", o + "/unter/datei.brl"},
        {"./unter/", o + "/unter"},
        {o + "/fehlt", std::nullopt},
        {"fehlt/datei", std::nullopt},
        {"socket://127.0.0.1:9100", "socket://127.0.0.1:9100"},
        {"socket://127.0.0.1/", "socket://127.0.0.1"},
        {"socket://", std::nullopt},
        {"socket://praege.invalid", std::nullopt},
        {"GibtEsNicht", std::nullopt},
        {"", std::nullopt},
        {"ipp://x/y", std::nullopt},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(PortAufloesen(f.eingabe), f.erwartet) << f.eingabe;
    std::filesystem::current_path(vorher);
}

// ---------------------------------------------------------------------------
// CUPS.

TEST(CupsDrucker, OhneDruckdienstIstDieWarteschlangeNichtBereit) {
    TempOrdner ordner;
    CupsServerSetzen((ordner / "kein-cups.sock").string());
    const auto start = Uhr::now();
    const DruckErgebnis e = KopieDrucken("roh", Kopie(100));
    EXPECT_FALSE(e.Ok());
    EXPECT_LT(Sekunden(start), 4.0);
    const auto liste = Uhr::now();
    EXPECT_TRUE(DruckerAuflisten(std::chrono::milliseconds(500)).empty());
    EXPECT_LT(Sekunden(liste), 1.5);
}

class CupsDienstTest : public testing::Test {
protected:
    void SetUp() override {
        if (!CupsTestDienst::Installiert())
            ZW_OHNE(CupsTestDienst::kFehlt);
        const std::string warum = dienst_.Starten();
        ASSERT_TRUE(warum.empty()) << "Der CUPS-Testdienst startet nicht: " << warum;
        CupsServerSetzen(dienst_.Socket());
    }
    CupsTestDienst dienst_;
};

TEST_F(CupsDienstTest, JedeKopieIstEinRoherAuftragMitAllenBytes) {
    for (const std::size_t groesse : {std::size_t(256), std::size_t(300 * 1024)}) {
        std::string kopie = Kopie(groesse);
        // Bytes that a text filter would change: NUL, CR, ESC, gzip's magic.
        kopie.replace(0, 6, std::string("\x1f\x8b\0\r\x1b\n", 6));
        const DruckErgebnis e = KopieDrucken("roh", kopie);
        ASSERT_TRUE(e.Ok()) << e.Fehler << " " << e.Meldung;
        EXPECT_TRUE(dienst_.WartenAufAusgabe(kopie)) << dienst_.Protokoll();
    }
}

TEST_F(CupsDienstTest, UnbekannteUndGesperrteWarteschlangen) {
    EXPECT_EQ(KopieDrucken("gibtsnicht", Kopie(10)).Fehler, DruckFehler::NichtGefunden);
    const DruckErgebnis zu = KopieDrucken("zu", Kopie(10));
    EXPECT_EQ(zu.Fehler, DruckFehler::Verweigert) << zu.Meldung;
}

TEST_F(CupsDienstTest, WarteschlangenWerdenAufgelistetUndAufgeloest) {
    const auto liste = DruckerAuflisten(std::chrono::milliseconds(1000));
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(liste[0].Name, "roh");
    EXPECT_EQ(liste[0].Beschreibung, "Prägemaschine, Raum 3");
    EXPECT_EQ(liste[1].Name, "zu");
    EXPECT_EQ(PortAufloesen("roh"), std::optional<std::string>("roh"));
    EXPECT_EQ(PortAufloesen("gibtsnicht"), std::nullopt);
}
