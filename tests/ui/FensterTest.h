#pragma once
// A shown main window with scripted dialogs, a private folder for documents
// and tables, and short ways to drive the window as a user would.

#include "../Hilfen.h"
#include "SkriptDialoge.h"
#include "ui/Haupt.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zwtest {

// What the state rules decide, read from the window.
struct Zustand {
    bool Konvertiert, DateiOffen, TextGeaendert;
    bool Konvertieren; // button and menu item
    bool Speichern;    // button, menu item and save as
    QString Fokus;
    QString Hinweis;
    bool operator==(const Zustand&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Zustand& z) {
    return os << "{Konvertiert " << z.Konvertiert << ", DateiOffen " << z.DateiOffen
              << ", TextGeaendert " << z.TextGeaendert << ", Konvertieren " << z.Konvertieren
              << ", Speichern " << z.Speichern << ", Fokus " << z.Fokus.toStdString() << ", \""
              << z.Hinweis.toStdString() << "\"}";
}

inline const QString HinweisO = QStringLiteral("Mit Strg+O können Sie eine Datei öffnen");
inline const QString HinweisK = QStringLiteral("Mit Strg+K starten Sie die Konvertierung");
inline const QString HinweisS = QStringLiteral("Mit Strg+S können Sie den Text speichern");
inline const QString HinweisT = QStringLiteral("Mit Strg+T können Sie eine Tabellen-Datei wählen");

class FensterTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ordner_.isValid());
        // Settings of the test's own, empty at first.
        einstellungen =
            std::make_unique<zw::QtEinstellungen>(Pfad(QStringLiteral("einstellungen/zw.ini")));
        form = std::make_unique<zw::TForm1>(dialoge, *einstellungen);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        // The tables of the tests: a to b and ä to {, or no valid line.
        abTabelle = Datei("ab.tab", "97 98 a wird b\r\n228 123 ae wird {\r\n");
        leereTabelle = Datei("leer.tab", "Nur Kommentar\r\nx 12\r\n");
        TabelleSetzen(abTabelle);
        brief = Datei("brief.txt", "Haus am See\r\n");
        dialoge.Vergessen();
    }

    void TearDown() override {
        EXPECT_TRUE(dialoge.AllesBeantwortet()) << "nicht alle Antworten wurden gebraucht";
    }

    QString Pfad(const QString& name) const { return ordner_.filePath(name); }
    QString Datei(const QString& name, const std::string& bytes) const {
        const QString pfad = Pfad(name);
        Schreiben(pfad, bytes);
        return pfad;
    }

    void TabelleSetzen(const QString& pfad) {
        form->TabDateiStr = pfad;
        form->TabListeEinlesen();
    }
    // No table file, and nothing left from an earlier one.
    void OhneTabelle() {
        form->TabListe.clear();
        TabelleSetzen(Pfad("fehlt.tab"));
    }

    void Oeffnen(const QString& pfad) {
        dialoge.DateiWaehlt(pfad);
        form->MenuDateiOeffnen->trigger();
    }
    void Konvertieren() { form->ButtonKonvertieren->click(); }
    void Speichern() { form->MenuDateiSpeichern->trigger(); }
    void SpeichernUnter(const QString& pfad, int filterIndex) {
        dialoge.DateiWaehlt(pfad, filterIndex);
        form->MenuDateiSpeichernUnter->trigger();
    }
    void TabelleWechseln(const QString& pfad) {
        dialoge.DateiWaehlt(pfad);
        form->MenuTabelleWechseln->trigger();
    }

    QString Fokus() const {
        QWidget* w = form->focusWidget();
        return w ? w->objectName() : QStringLiteral("(keins)");
    }
    std::u16string Text() const { return form->RichEdit->Text(); }

    Zustand Lesen() const {
        EXPECT_EQ(form->ButtonKonvertieren->isEnabled(),
                  form->MenuBearbeitenKonvertieren->isEnabled());
        EXPECT_EQ(form->ButtonSpeichern->isEnabled(), form->MenuDateiSpeichern->isEnabled());
        EXPECT_EQ(form->ButtonSpeichern->isEnabled(), form->MenuDateiSpeichernUnter->isEnabled());
        return Zustand{form->KonvertiertS(),
                       form->DateiOffenS(),
                       form->TextGeaendertS(),
                       form->ButtonKonvertieren->isEnabled(),
                       form->ButtonSpeichern->isEnabled(),
                       Fokus(),
                       form->StatusHinweis()};
    }

    SkriptDialoge dialoge;
    std::unique_ptr<zw::QtEinstellungen> einstellungen;
    std::unique_ptr<zw::TForm1> form;
    QString abTabelle, leereTabelle, brief;

private:
    QTemporaryDir ordner_;
};

} // namespace zwtest
