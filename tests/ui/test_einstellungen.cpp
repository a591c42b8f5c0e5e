// The settings store: the INI store's type rules and failures, and the main
// window loading and writing its eight values through it.
#include "../Hilfen.h"
#include "SkriptDialoge.h"

#include "platform/Einstellungen.h"
#include "ui/Haupt.h"
#include "ui/Layout.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

using namespace zw;
using namespace zwtest;

namespace {

const std::vector<QString> kAlleWerte = {"Tabelle",  "Port",      "HintColor",   "FontName",
                                         "FontSize", "FontColor", "FontCharSet", "FontStyle"};

// The values of the INI file as they stand in it, without Qt's reading.
std::map<QString, QString> Roh(const QString& pfad) {
    std::map<QString, QString> werte;
    const QString praefix = QStringLiteral("Zeichenwandler\\");
    bool abschnitt = false;
    for (const QString& zeile : QString::fromUtf8(Lesen(pfad)).split(u'\n')) {
        if (zeile.startsWith(u'['))
            abschnitt = zeile.trimmed() == QStringLiteral("[Software]");
        else if (abschnitt && zeile.startsWith(praefix) && zeile.contains(u'='))
            werte[zeile.mid(praefix.size()).section(u'=', 0, 0)] = zeile.section(u'=', 1);
    }
    return werte;
}

// A store in memory that keeps the order of the writes and fails at one
// value, so the window's part of the rules can be seen on its own.
class ProtokollSpeicher : public Einstellungen {
public:
    std::map<QString, QVariant> Werte;
    std::vector<QString> Geschrieben;
    QString ScheitertBei;
    int Offen = 0;

    bool Oeffnen() override {
        ++Offen;
        return true;
    }
    void Schliessen() override { --Offen; }
    bool WertVorhanden(const QString& name) override { return Werte.count(name) > 0; }
    QString StringLesen(const QString& name) override {
        const auto it = Werte.find(name);
        if (it == Werte.end())
            return QString();
        if (it->second.typeId() != QMetaType::QString)
            throw UngueltigerDatentyp(name);
        return it->second.toString();
    }
    std::int32_t IntegerLesen(const QString& name) override {
        const auto zahl = AlsGanzzahl(Werte[name]);
        if (!zahl)
            throw UngueltigerDatentyp(name);
        return *zahl;
    }
    void StringSchreiben(const QString& name, const QString& wert) override { Merken(name, wert); }
    void IntegerSchreiben(const QString& name, std::int32_t wert) override {
        Merken(name, int(wert));
    }

private:
    void Merken(const QString& name, const QVariant& wert) {
        if (name == ScheitertBei)
            throw SetzenFehler(name);
        Geschrieben.push_back(name);
        Werte[name] = wert;
    }
};

class EinstellungenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ordner_.isValid());
        ini = Pfad("konfiguration/zw.ini");
        abTabelle = Pfad("ab.tab");
        Schreiben(abTabelle, "97 98 a wird b\r\n");
    }
    void TearDown() override {
        EXPECT_TRUE(dialoge.AllesBeantwortet()) << "nicht alle Antworten wurden gebraucht";
    }

    QString Pfad(const QString& name) const { return ordner_.filePath(name); }

    // The settings file with these values in the store's section.
    void Ini(const std::vector<std::pair<QString, QString>>& werte) {
        std::string text = "[Software]\n";
        for (const auto& [name, wert] : werte)
            text += "Zeichenwandler\\" + name.toStdString() + "=" + wert.toStdString() + "\n";
        Schreiben(ini, text);
    }

    // A main window on the store, shown, which loads the settings.
    TForm1& Starten(Einstellungen* speicher = nullptr) {
        if (!speicher) {
            eigener_ = std::make_unique<QtEinstellungen>(ini);
            speicher = eigener_.get();
        }
        form = std::make_unique<TForm1>(dialoge, *speicher);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    SkriptDialoge dialoge;
    QString ini, abTabelle;
    std::unique_ptr<TForm1> form;

private:
    QTemporaryDir ordner_;
    std::unique_ptr<QtEinstellungen> eigener_;
};

QString TabelleBeimProgramm() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Eng-Ger.tab"));
}

} // namespace

// ---------------------------------------------------------------------------
// The store's own rules.

TEST(Einstellungen, GanzzahlenLesenSichNurAlsGanzzahlen) {
    struct Fall {
        QVariant wert;
        std::optional<std::int32_t> zahl;
    } faelle[] = {
        {QVariant(12), 12},
        {QVariant(QStringLiteral("12")), 12},
        {QVariant(QStringLiteral(" -1 ")), -1},
        // A colour written as the signed and as the unsigned value of its bits.
        {QVariant(QStringLiteral("-16777208")), std::int32_t(0xFF000008u)},
        {QVariant(QStringLiteral("4278190088")), std::int32_t(0xFF000008u)},
        {QVariant(qint64(4294967295LL)), -1},
        {QVariant(QStringLiteral("4294967296")), std::nullopt},
        {QVariant(QStringLiteral("-2147483649")), std::nullopt},
        {QVariant(QStringLiteral("abc")), std::nullopt},
        {QVariant(QStringLiteral("12abc")), std::nullopt},
        {QVariant(QStringLiteral("0x10")), std::nullopt},
        {QVariant(QString()), std::nullopt},
        {QVariant(QStringList{"1", "2"}), std::nullopt},
        {QVariant(QByteArray("12")), std::nullopt},
        {QVariant(), std::nullopt},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.wert.toString().toStdString());
        EXPECT_EQ(AlsGanzzahl(f.wert), f.zahl);
    }
}

TEST_F(EinstellungenTest, SpeicherLegtOrdnerUndDateiAnUndSchreibtGanzzahlenAlsZahlen) {
    QtEinstellungen speicher(ini);
    ASSERT_TRUE(speicher.Oeffnen());
    EXPECT_TRUE(QFileInfo(ini).isFile());
    EXPECT_FALSE(speicher.WertVorhanden("FontSize"));
    EXPECT_EQ(speicher.StringLesen("Tabelle"), QString());
    speicher.IntegerSchreiben("FontColor", std::int32_t(0xFF000008u));
    speicher.IntegerSchreiben("FontSize", 12);
    speicher.StringSchreiben("Tabelle", "/ein, zwei/ab.tab");
    speicher.Schliessen();

    const auto roh = Roh(ini);
    EXPECT_EQ(roh.at("FontColor"), "-16777208");
    EXPECT_EQ(roh.at("FontSize"), "12");

    QtEinstellungen wieder(ini);
    ASSERT_TRUE(wieder.Oeffnen());
    EXPECT_EQ(wieder.IntegerLesen("FontColor"), std::int32_t(0xFF000008u));
    EXPECT_EQ(wieder.StringLesen("Tabelle"), "/ein, zwei/ab.tab");
}

TEST_F(EinstellungenTest, FalscheTypenMeldenDenNamen) {
    Ini({{"Tabelle", "a, b"}, {"FontSize", "gross"}});
    QtEinstellungen speicher(ini);
    ASSERT_TRUE(speicher.Oeffnen());
    try {
        speicher.StringLesen("Tabelle");
        ADD_FAILURE() << "keine Ausnahme";
    } catch (const EinstellungsFehler& f) {
        EXPECT_STREQ(f.what(), "Ungültiger Datentyp für 'Tabelle'");
    }
    try {
        speicher.IntegerLesen("FontSize");
        ADD_FAILURE() << "keine Ausnahme";
    } catch (const EinstellungsFehler& f) {
        EXPECT_STREQ(f.what(), "Ungültiger Datentyp für 'FontSize'");
    }
}

TEST_F(EinstellungenTest, UnerreichbarerOderUnlesbarerSpeicherOeffnetNicht) {
    // A folder that cannot be made, because a file has its name.
    Schreiben(Pfad("datei"), "kein Ordner");
    QtEinstellungen ohneOrdner(Pfad("datei/zw.ini"));
    EXPECT_FALSE(ohneOrdner.Oeffnen());
    EXPECT_EQ(Lesen(Pfad("datei")), "kein Ordner");

    // A file in the way that is no INI file stays as it is.
    Schreiben(ini, "[[[\n=\n");
    QtEinstellungen kaputt(ini);
    EXPECT_FALSE(kaputt.Oeffnen());
    EXPECT_FALSE(kaputt.Oeffnen()) << "auch nicht beim zweiten Mal";
    EXPECT_EQ(Lesen(ini), "[[[\n=\n");
    // Mended while the program runs, it is read again.
    Schreiben(ini, "[Software]\nZeichenwandler\\Port=LPT2\n");
    ASSERT_TRUE(kaputt.Oeffnen());
    EXPECT_EQ(kaputt.StringLesen("Port"), "LPT2");
}

TEST_F(EinstellungenTest, SchreibfehlerNenntDenWert) {
    QtEinstellungen speicher(ini);
    ASSERT_TRUE(speicher.Oeffnen());
    // The folder goes away under the open store and a file takes its place.
    ASSERT_TRUE(QDir(QFileInfo(ini).absolutePath()).removeRecursively());
    Schreiben(QFileInfo(ini).absolutePath(), "kein Ordner");
    try {
        speicher.StringSchreiben("Tabelle", "x");
        ADD_FAILURE() << "keine Ausnahme";
    } catch (const EinstellungsFehler& f) {
        EXPECT_STREQ(f.what(), "Fehler beim Setzen der Daten für 'Tabelle'");
    }
}

// ---------------------------------------------------------------------------
// The main window and its settings.

TEST_F(EinstellungenTest, ErsterStartNimmtDieVorgabenUndSchreibtErstBeimSchliessen) {
    TForm1& f = Starten();
    EXPECT_TRUE(QFileInfo(ini).isFile()) << "der Schlüssel wird angelegt";
    EXPECT_TRUE(Roh(ini).empty());
    EXPECT_EQ(f.TabDateiStr, TabelleBeimProgramm());
    EXPECT_EQ(f.DruckerPortStr, "LPT1");
    EXPECT_TRUE(f.DruckerPortS);
    EXPECT_EQ(f.ProgrammSchrift, (TSchrift{u"Arial", 12, FarbeFensterText, 0, 0}));
    EXPECT_EQ(f.HintergrundNr(), 1);
    EXPECT_EQ(f.SchriftHintergrundFarbe, 0xFFFFFFu);
    EXPECT_EQ(f.RichEdit->font().pointSize(), 12);
    EXPECT_TRUE(dialoge.Aufrufe.empty());

    f.MenuDateiBeenden->trigger();
    EXPECT_FALSE(f.isVisible());
    const std::map<QString, QString> erwartet = {
        {"Tabelle", TabelleBeimProgramm()},
        {"Port", "LPT1"},
        {"HintColor", "1"},
        {"FontName", "Arial"},
        {"FontSize", "12"},
        {"FontColor", "-16777208"},
        {"FontCharSet", "0"},
        {"FontStyle", "0"},
    };
    EXPECT_EQ(Roh(ini), erwartet);
}

TEST_F(EinstellungenTest, JederWertUndSeineSonderfaelle) {
    struct Fall {
        const char* name;
        std::vector<std::pair<QString, QString>> werte;
        std::function<void(TForm1&)> pruefen;
    };
    const std::vector<Fall> faelle = {
        {"HintColor 19",
         {{"HintColor", "19"}},
         [](TForm1& f) {
             EXPECT_EQ(f.HintergrundNr(), 0);
             EXPECT_EQ(f.SchriftHintergrundFarbe, 0x000000u);
         }},
        {"HintColor -1", {{"HintColor", "-1"}}, [](TForm1& f) { EXPECT_EQ(f.HintergrundNr(), 0); }},
        {"HintColor 18",
         {{"HintColor", "18"}},
         [](TForm1& f) {
             EXPECT_EQ(f.HintergrundNr(), 18);
             EXPECT_EQ(f.SchriftHintergrundFarbe, 0x000080u);
         }},
        {"FontStyle 3",
         {{"FontStyle", "3"}},
         [](TForm1& f) {
             EXPECT_EQ(f.ProgrammSchrift.Stil, StilKursiv | StilFett);
             EXPECT_TRUE(f.RichEdit->font().italic());
             EXPECT_TRUE(f.RichEdit->font().bold());
         }},
        {"FontStyle 1",
         {{"FontStyle", "1"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Stil, StilKursiv); }},
        {"FontStyle 2",
         {{"FontStyle", "2"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Stil, StilFett); }},
        {"FontStyle 12",
         {{"FontStyle", "12"}},
         [](TForm1& f) {
             EXPECT_EQ(f.ProgrammSchrift.Stil, StilUnterstrichen | StilDurchgestrichen);
             EXPECT_TRUE(f.LabelTabDatei->font().underline());
             EXPECT_TRUE(f.LabelTabDatei->font().strikeOut());
         }},
        {"FontStyle 16",
         {{"FontStyle", "16"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Stil, 0); }},
        {"FontStyle -1",
         {{"FontStyle", "-1"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Stil, 0); }},
        {"FontName leer",
         {{"FontName", ""}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Name, u"Arial"); }},
        {"FontName",
         {{"FontName", "Courier New"}},
         [](TForm1& f) {
             EXPECT_EQ(f.ProgrammSchrift.Name, u"Courier New");
             EXPECT_EQ(f.RichEdit->font().family(), "Courier New");
         }},
        {"Port leer",
         {{"Port", ""}},
         [](TForm1& f) {
             EXPECT_EQ(f.DruckerPortStr, "LPT1");
             EXPECT_TRUE(f.DruckerPortS);
         }},
        {"Port",
         {{"Port", "socket://drucker:9100"}},
         [](TForm1& f) { EXPECT_EQ(f.DruckerPortStr, "socket://drucker:9100"); }},
        {"Tabelle leer",
         {{"Tabelle", ""}},
         [](TForm1& f) { EXPECT_EQ(f.TabDateiStr, TabelleBeimProgramm()); }},
        {"FontColor vorzeichenbehaftet",
         {{"FontColor", "-16777208"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Farbe, 0xFF000008u); }},
        {"FontColor vorzeichenlos",
         {{"FontColor", "4278190088"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Farbe, 0xFF000008u); }},
        {"FontColor rot",
         {{"FontColor", "255"}},
         [](TForm1& f) {
             EXPECT_EQ(f.ProgrammSchrift.Farbe, 0x0000FFu);
             EXPECT_EQ(f.RichEdit->palette().color(QPalette::Text), QColor(255, 0, 0));
         }},
        {"FontCharSet",
         {{"FontCharSet", "2"}},
         [](TForm1& f) { EXPECT_EQ(f.ProgrammSchrift.Zeichensatz, 2); }},
        {"FontSize",
         {{"FontSize", "28"}},
         [](TForm1& f) {
             EXPECT_EQ(f.ProgrammSchrift.Groesse, 28);
             EXPECT_EQ(f.ButtonOpen->height(), SchriftHoehe(f.ButtonOpen->font()) + 12);
             EXPECT_EQ(f.ButtonOpen->font().pointSize(), 28);
         }},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        form.reset();
        Ini(fall.werte);
        fall.pruefen(Starten());
        EXPECT_TRUE(dialoge.Aufrufe.empty());
    }
}

TEST_F(EinstellungenTest, FalscherTypBeendetDasLadenMitSeinemFehler) {
    // Each value in its place in the order of loading: what comes before it
    // is loaded, what comes after keeps its state, the table is not read.
    struct Fall {
        QString name;
        QString wert;
        bool tabelle, port, schriftName;
    } faelle[] = {
        {"Tabelle", "a, b", false, false, false},
        {"Port", "LPT1, LPT2", true, false, false},
        {"FontName", "Arial, Courier", true, true, false},
        {"FontSize", "gross", true, true, true},
        {"FontColor", "rot", true, true, true},
        {"FontCharSet", "0x01", true, true, true},
        {"FontStyle", "fett", true, true, true},
        {"HintColor", "2.5", true, true, true},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name.toStdString());
        form.reset();
        dialoge.Vergessen();
        std::vector<std::pair<QString, QString>> werte = {
            {"Tabelle", abTabelle}, {"Port", "LPT3"},     {"FontName", "Courier New"},
            {"FontSize", "20"},     {"FontColor", "255"}, {"FontCharSet", "2"},
            {"FontStyle", "2"},     {"HintColor", "2"},
        };
        for (auto& [name, wert] : werte)
            if (name == fall.name)
                wert = fall.wert;
        Ini(werte);
        TForm1& f = Starten();
        EXPECT_EQ(dialoge.Texte(Art::Fehler),
                  std::vector<QString>{"Ungültiger Datentyp für '" + fall.name + "'"});
        EXPECT_EQ(f.TabDateiStr, fall.tabelle ? abTabelle : QString());
        EXPECT_EQ(f.DruckerPortStr, fall.port ? "LPT3" : "");
        EXPECT_EQ(f.ProgrammSchrift.Name, fall.schriftName ? u"Courier New" : u"Arial");
        // The background is set last; it was not reached.
        EXPECT_EQ(f.HintergrundNr(), 1);
        EXPECT_FALSE(f.TabDateiS);
        EXPECT_TRUE(f.TabListe.empty());
        EXPECT_EQ(f.LabelTabDatei->text(), "Tabellen-Datei: (Keine ausgewählt!)");
    }
}

TEST_F(EinstellungenTest, UnerreichbarerSpeicherLaedtUndSchreibtNichtsOhneMeldung) {
    Schreiben(Pfad("datei"), "kein Ordner");
    QtEinstellungen speicher(Pfad("datei/zw.ini"));
    TForm1& f = Starten(&speicher);
    EXPECT_TRUE(f.DruckerPortStr.isEmpty());
    EXPECT_FALSE(f.DruckerPortS);
    EXPECT_EQ(f.ProgrammSchrift.Groesse, 8) << "die Schrift des Entwurfs bleibt";
    EXPECT_EQ(f.HintergrundNr(), 1);
    // The table is read all the same: there is none.
    EXPECT_TRUE(f.TabDateiStr.isEmpty());
    EXPECT_FALSE(f.TabDateiS);
    f.MenuDateiBeenden->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(dialoge.Aufrufe.empty());
    EXPECT_EQ(Lesen(Pfad("datei")), "kein Ordner");
}

TEST_F(EinstellungenTest, KaputteDateiBleibtUnberuehrt) {
    // A section that is never closed: Qt reads the port but reports the file
    // as broken, so nothing of it counts and nothing is written over it.
    const std::string kaputt = "[Software]\nZeichenwandler\\Port=LPT2\n[[[\n";
    Schreiben(ini, kaputt);
    TForm1& f = Starten();
    EXPECT_TRUE(f.DruckerPortStr.isEmpty());
    f.MenuDateiBeenden->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(dialoge.Aufrufe.empty());
    EXPECT_EQ(Lesen(ini), kaputt);
}

TEST_F(EinstellungenTest, SpeichernSchreibtAlleAchtInIhrerReihenfolgeUndTypen) {
    ProtokollSpeicher speicher;
    TForm1& f = Starten(&speicher);
    f.MenuDateiBeenden->trigger();
    EXPECT_EQ(speicher.Geschrieben, kAlleWerte);
    EXPECT_EQ(speicher.Offen, 0) << "jedes Öffnen wird geschlossen";
    for (const char* name : {"Tabelle", "Port", "FontName"})
        EXPECT_EQ(speicher.Werte[name].typeId(), QMetaType::QString) << name;
    for (const char* name : {"HintColor", "FontSize", "FontColor", "FontCharSet", "FontStyle"})
        EXPECT_EQ(speicher.Werte[name].typeId(), QMetaType::Int) << name;
}

TEST_F(EinstellungenTest, SchreibfehlerBeendetDasSpeichernUndDasSchliessen) {
    ProtokollSpeicher speicher;
    speicher.ScheitertBei = "HintColor";
    TForm1& f = Starten(&speicher);
    f.MenuDateiBeenden->trigger();
    EXPECT_EQ(dialoge.Texte(Art::Fehler),
              std::vector<QString>{"Fehler beim Setzen der Daten für 'HintColor'"});
    EXPECT_EQ(speicher.Geschrieben, (std::vector<QString>{"Tabelle", "Port"}));
    EXPECT_EQ(speicher.Offen, 0);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.IsClosing);

    speicher.ScheitertBei.clear();
    dialoge.Vergessen();
    f.MenuDateiBeenden->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(dialoge.Aufrufe.empty());
}

TEST_F(EinstellungenTest, AbbrechenBeimSchliessenSchreibtTrotzdemAlles) {
    const QString brief = Pfad("brief.txt");
    Schreiben(brief, "Haus am See\r\n");
    Ini({{"Tabelle", abTabelle}, {"HintColor", "5"}});
    TForm1& f = Starten();
    dialoge.DateiWaehlt(brief);
    f.MenuDateiOeffnen->trigger();
    f.ButtonKonvertieren->click();
    ASSERT_TRUE(f.TextGeaendertS());
    dialoge.Antwortet(Antwort::Abbrechen);
    f.MenuDateiBeenden->trigger();
    EXPECT_TRUE(f.isVisible());
    const auto roh = Roh(ini);
    EXPECT_EQ(roh.size(), kAlleWerte.size());
    EXPECT_EQ(roh.at("Tabelle"), abTabelle);
    EXPECT_EQ(roh.at("HintColor"), "5");
}

TEST_F(EinstellungenTest, FehlendeTabelleWirdUnveraendertZurueckgeschrieben) {
    const QString fehlt = Pfad("geloescht.tab");
    Ini({{"Tabelle", fehlt}});
    TForm1& f = Starten();
    EXPECT_EQ(f.TabDateiStr, fehlt);
    EXPECT_FALSE(f.TabDateiS);
    EXPECT_EQ(f.LabelTabDatei->text(), "Tabellen-Datei: (Keine ausgewählt!)");
    f.MenuDateiBeenden->trigger();
    EXPECT_EQ(Roh(ini).at("Tabelle"), fehlt);
}

TEST_F(EinstellungenTest, TabellenWechselSpeichertSofort) {
    TForm1& f = Starten();
    dialoge.DateiWaehlt(abTabelle);
    f.MenuTabelleWechseln->trigger();
    EXPECT_EQ(Roh(ini).at("Tabelle"), abTabelle);
    EXPECT_EQ(Roh(ini).size(), kAlleWerte.size());
}
