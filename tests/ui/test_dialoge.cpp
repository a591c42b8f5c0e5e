// The real Qt dialogs and message boxes, answered by a timer as a user
// would answer them, and the general error handler.
#include "ModalFenster.h"
#include "SkriptDialoge.h"

#include "core/Fehler.h"
#include "platform/DateiFilter.h"
#include "platform/Fehlerbehandlung.h"
#include "platform/QtDialoge.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>

using namespace zw;
using zwtest::Art;
using zwtest::SkriptDialoge;

namespace {

const QString kFilterOeffnen =
    QStringLiteral("Rich Text Format (*.RTF)|*.RTF|Textdokument (*.TXT; *.BRL)|*.TXT;*.BRL|"
                   "Alle Dateien (*.*)|*.*|");
const QString kFilterSpeichern =
    QStringLiteral("Rich Text Format (*.RTF)|*.RTF|Textdokument (*.TXT; *.BRL)|*.TXT;*.BRL|"
                   "Unicode-Textdokument (*.TXT)|*.TXT|");

QStringList KnopfTexte(QMessageBox* box) {
    QStringList texte;
    for (QAbstractButton* k : box->buttons())
        texte << k->text().remove(u'&');
    texte.sort();
    return texte;
}

// Presses a button of a message box; a box without it is a failure and is
// closed, so the test does not hang or crash.
void Druecken(QMessageBox* box, QMessageBox::StandardButton knopf) {
    if (QAbstractButton* k = box->button(knopf)) {
        k->click();
        return;
    }
    ADD_FAILURE() << "Meldung ohne den erwarteten Knopf: " << box->text().toStdString();
    box->reject();
}

// The file name field of a dialog, once the folder's first `dateien` rows
// are listed: a user types after seeing the folder, and a row that arrives
// later would put the preselected name back into the field.
QLineEdit* NamensFeld(QWidget* dialog, int dateien = 0) {
    auto* liste = dialog->findChild<QListView*>(QStringLiteral("listView"));
    for (int versuch = 0; liste && versuch < 300; ++versuch) {
        if (liste->model()->rowCount(liste->rootIndex()) >= dateien)
            break;
        QTest::qWait(10);
    }
    QTest::qWait(20); // the preselection follows the rows
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name)
        name->setFocus();
    return name;
}

void Anlegen(const QString& pfad) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// The names the dialog's list shows in its folder, once the folder has been
// read (Qt reads it in the background).
QStringList Gezeigt(DateiAuswahl& auswahl, int erwartet) {
    auto* liste = auswahl.findChild<QListView*>(QStringLiteral("listView"));
    if (!liste)
        return {QStringLiteral("(keine Liste)")};
    QStringList namen;
    for (int versuch = 0; versuch < 200; ++versuch) {
        QTest::qWait(10);
        namen.clear();
        const QModelIndex wurzel = liste->rootIndex();
        for (int i = 0; i < liste->model()->rowCount(wurzel); ++i) {
            const QModelIndex zeile = liste->model()->index(i, 0, wurzel);
            if (zeile.flags() & Qt::ItemIsEnabled)
                namen << zeile.data().toString();
        }
        if (namen.size() >= erwartet)
            break;
    }
    namen.sort();
    return namen;
}

} // namespace

TEST(DateiFilter, WirdZuQtNamensFilternInAllenSchreibweisen) {
    EXPECT_EQ(QtNamensFilter(kFilterOeffnen),
              (QStringList{"Rich Text Format (*.RTF) (*.RTF *.rtf)",
                           "Textdokument (*.TXT; *.BRL) (*.TXT *.txt *.BRL *.brl)",
                           "Alle Dateien (*.*) (*)"}));
    EXPECT_EQ(QtNamensFilter("Tabelle (*.TAB)|*.Tab|"),
              (QStringList{"Tabelle (*.TAB) (*.Tab *.TAB *.tab)"}));
    // Without the closing bar, with spaces, and an entry without a pattern.
    EXPECT_EQ(QtNamensFilter("Text| *.TXT ; *.BRL |Leer||Rest"),
              (QStringList{"Text (*.TXT *.txt *.BRL *.brl)"}));
    EXPECT_TRUE(QtNamensFilter("").isEmpty());
    EXPECT_EQ(FilterAnzahl(kFilterSpeichern), 3);
}

TEST(DateiFilter, EndungDesEintrags) {
    EXPECT_EQ(FilterEndung(kFilterOeffnen, 1), "RTF");
    EXPECT_EQ(FilterEndung(kFilterOeffnen, 2), "TXT");
    EXPECT_EQ(FilterEndung(kFilterOeffnen, 3), ""); // *.*
    EXPECT_EQ(FilterEndung(kFilterOeffnen, 0), "");
    EXPECT_EQ(FilterEndung(kFilterOeffnen, 4), "");
}

TEST(EchterDateiDialog, ZeigtDateienUnabhaengigVonDerSchreibweise) {
    QTemporaryDir ordner;
    for (const char* name : {"brief.txt", "BRIEF2.TXT", "Gemischt.Txt", "noten.brl", "bild.png",
                             "tabelle.tab", "Doku.Rtf"})
        Anlegen(ordner.filePath(name));
    DateiDialog d;
    d.Titel = QStringLiteral("Öffnen");
    d.Filter = kFilterOeffnen;
    d.FilterIndex = 2;
    d.StandardEndung = QStringLiteral("TXT");
    d.Ordner = ordner.path();
    DateiAuswahl auswahl(nullptr, d);
    EXPECT_EQ(auswahl.windowTitle(), "Öffnen");
    EXPECT_EQ(auswahl.fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(auswahl.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(auswahl.GewaehlterFilterIndex(), 2);
    auswahl.show();
    EXPECT_EQ(Gezeigt(auswahl, 4),
              (QStringList{"BRIEF2.TXT", "Gemischt.Txt", "brief.txt", "noten.brl"}));

    auswahl.selectNameFilter(auswahl.nameFilters()[0]);
    EXPECT_EQ(auswahl.GewaehlterFilterIndex(), 1);
    EXPECT_EQ(Gezeigt(auswahl, 1), QStringList{"Doku.Rtf"});
}

TEST(EchterDateiDialog, SpeichernHaengtDieEndungDesFiltersAnUndMeldetDenIndex) {
    QTemporaryDir ordner;
    QtDialoge dialoge;
    DateiDialog d;
    d.Art = DateiDialogArt::Speichern;
    d.Titel = QStringLiteral("Speichern unter");
    d.Filter = kFilterSpeichern;
    d.FilterIndex = 1;
    d.StandardEndung = QStringLiteral("TXT");
    d.Ordner = ordner.path();
    d.DateiName = QStringLiteral("brief.txt");

    QString vorgeschlagen;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* name = NamensFeld(w);
        ASSERT_TRUE(name);
        vorgeschlagen = name->text();
        name->setText(QStringLiteral("neu"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    ASSERT_TRUE(dialoge.DateiWaehlen(nullptr, d));
    EXPECT_EQ(vorgeschlagen, "brief.txt");
    EXPECT_EQ(d.DateiName, ordner.filePath("neu.rtf"));
    EXPECT_EQ(d.FilterIndex, 1);

    // The full path of the last run leads the next one to its folder; the
    // Unicode entry adds .txt.
    d.FilterIndex = 3;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* name = NamensFeld(w);
        ASSERT_TRUE(name);
        vorgeschlagen = name->text();
        name->setText(QStringLiteral("zwei"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    ASSERT_TRUE(dialoge.DateiWaehlen(nullptr, d));
    EXPECT_EQ(vorgeschlagen, "neu.rtf");
    EXPECT_EQ(d.DateiName, ordner.filePath("zwei.txt"));
    EXPECT_EQ(d.FilterIndex, 3);
}

TEST(EchterDateiDialog, SpeichernFragtVorDemUeberschreibenUndVerweigertFehlendeOrdner) {
    QTemporaryDir ordner;
    Anlegen(ordner.filePath("da.txt"));
    QtDialoge dialoge;
    DateiDialog d;
    d.Art = DateiDialogArt::Speichern;
    d.Titel = QStringLiteral("Speichern unter");
    d.Filter = kFilterSpeichern;
    d.FilterIndex = 2;
    d.Ordner = ordner.path();

    QString frage;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* name = NamensFeld(w, 1);
        ASSERT_TRUE(name);
        name->setText(QStringLiteral("da.txt"));
        zwtest::BeimNaechstenModalFenster([&](QWidget* b) {
            auto* box = qobject_cast<QMessageBox*>(b);
            ASSERT_TRUE(box);
            frage = box->text();
            Druecken(box, QMessageBox::Yes);
        });
        QTest::keyClick(name, Qt::Key_Return);
    });
    ASSERT_TRUE(dialoge.DateiWaehlen(nullptr, d));
    EXPECT_TRUE(frage.contains("da.txt")) << frage.toStdString();
    EXPECT_EQ(d.DateiName, ordner.filePath("da.txt"));

    QString warnung;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* name = NamensFeld(w, 1);
        ASSERT_TRUE(name);
        name->setText(ordner.filePath("fehlt/neu.txt"));
        zwtest::BeimNaechstenModalFenster([&](QWidget* b) {
            auto* box = qobject_cast<QMessageBox*>(b);
            ASSERT_TRUE(box);
            warnung = box->text();
            Druecken(box, QMessageBox::Ok);
        });
        QTest::keyClick(name, Qt::Key_Return);
        // Refused: the dialog is still open, and the user gives up.
        EXPECT_TRUE(w->isVisible());
        static_cast<QDialog*>(w)->reject();
    });
    EXPECT_FALSE(dialoge.DateiWaehlen(nullptr, d));
    EXPECT_TRUE(warnung.contains("Der Pfad ist nicht vorhanden")) << warnung.toStdString();
    EXPECT_EQ(d.DateiName, ordner.filePath("da.txt")); // unchanged by the cancelled run
}

TEST(EchteMeldung, JedeArtMitIhrenDeutschenKnoepfen) {
    QtDialoge dialoge;
    struct Fall {
        const char* art;
        std::function<Antwort()> zeigen;
        QStringList knoepfe;
        QMessageBox::StandardButton klick;
        Antwort antwort;
        QMessageBox::Icon symbol;
    };
    const std::vector<Fall> faelle = {
        {"Information",
         [&] {
             dialoge.Information(nullptr, QStringLiteral("Die Tabellen-Datei wurde geändert"));
             return Antwort::OK;
         },
         {"OK"},
         QMessageBox::Ok,
         Antwort::OK,
         QMessageBox::Information},
        {"Bestaetigung Ja",
         [&] { return dialoge.Bestaetigung(nullptr, QStringLiteral("Speichern?")); },
         {"Abbrechen", "Ja", "Nein"},
         QMessageBox::Yes,
         Antwort::Ja,
         QMessageBox::Question},
        {"Bestaetigung Nein",
         [&] { return dialoge.Bestaetigung(nullptr, QStringLiteral("Speichern?")); },
         {"Abbrechen", "Ja", "Nein"},
         QMessageBox::No,
         Antwort::Nein,
         QMessageBox::Question},
        {"Bestaetigung Abbrechen",
         [&] { return dialoge.Bestaetigung(nullptr, QStringLiteral("Speichern?")); },
         {"Abbrechen", "Ja", "Nein"},
         QMessageBox::Cancel,
         Antwort::Abbrechen,
         QMessageBox::Question},
        {"JaNein",
         [&] { return dialoge.JaNein(nullptr, QStringLiteral("Trotzdem speichern?")); },
         {"Ja", "Nein"},
         QMessageBox::Yes,
         Antwort::Ja,
         QMessageBox::Warning},
        {"FehlerWiederholen",
         [&] { return dialoge.FehlerWiederholen(nullptr, QStringLiteral("Nicht bereit")); },
         {"Abbrechen", "Wiederholen"},
         QMessageBox::Retry,
         Antwort::Wiederholen,
         QMessageBox::Critical},
        {"Warnung",
         [&] {
             dialoge.Warnung(nullptr, QStringLiteral("Achtung"));
             return Antwort::OK;
         },
         {"OK"},
         QMessageBox::Ok,
         Antwort::OK,
         QMessageBox::Warning},
        {"Fehler",
         [&] {
             dialoge.Fehler(nullptr, QStringLiteral("Datei x kann nicht geöffnet werden."));
             return Antwort::OK;
         },
         {"OK"},
         QMessageBox::Ok,
         Antwort::OK,
         QMessageBox::Critical},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.art);
        QStringList knoepfe;
        QMessageBox::Icon symbol = QMessageBox::NoIcon;
        zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_TRUE(box);
            knoepfe = KnopfTexte(box);
            symbol = box->icon();
            Druecken(box, f.klick);
        });
        EXPECT_EQ(f.zeigen(), f.antwort);
        EXPECT_EQ(knoepfe, f.knoepfe);
        EXPECT_EQ(symbol, f.symbol);
    }
}

TEST(EchteMeldung, EscapeBrichtAbOderVerneint) {
    QtDialoge dialoge;
    auto escape = [] {
        zwtest::BeimNaechstenModalFenster([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    };
    escape();
    EXPECT_EQ(dialoge.Bestaetigung(nullptr, QStringLiteral("Speichern?")), Antwort::Abbrechen);
    escape();
    EXPECT_EQ(dialoge.JaNein(nullptr, QStringLiteral("Verlust?")), Antwort::Nein);
    // Enter alone does not accept a loss.
    zwtest::BeimNaechstenModalFenster([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    EXPECT_EQ(dialoge.JaNein(nullptr, QStringLiteral("Verlust?")), Antwort::Nein);
}

TEST(Fehlerbehandlung, EinFehlerBeendetDenBefehlUndWirdGezeigt) {
    SkriptDialoge dialoge;
    bool weiter = false;
    EXPECT_FALSE(BefehlAusfuehren(dialoge, nullptr, [&] {
        throw DateiFehler("Datei /x kann nicht geöffnet werden. Zugriff verweigert.");
        weiter = true;
    }));
    EXPECT_FALSE(weiter);
    EXPECT_EQ(dialoge.Texte(Art::Fehler),
              std::vector<QString>{"Datei /x kann nicht geöffnet werden. Zugriff verweigert."});

    EXPECT_FALSE(BefehlAusfuehren(dialoge, nullptr, [] { throw std::bad_alloc(); }));
    EXPECT_EQ(dialoge.Texte(Art::Fehler).back(),
              "Nicht genügend Arbeitsspeicher für diesen Vorgang.");

    EXPECT_TRUE(BefehlAusfuehren(dialoge, nullptr, [&] { weiter = true; }));
    EXPECT_TRUE(weiter);
    EXPECT_EQ(dialoge.Aufrufe.size(), 2u);
}

namespace {

class Werfer : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw DateiFehler("Datei \"/y\" kann nicht erstellt werden. Der Datenträger ist voll.");
        return QObject::event(e);
    }
};

} // namespace

TEST(Fehlerbehandlung, EineAusnahmeInDerEreignisVerteilungBeendetDasProgrammNicht) {
    auto* anwendung = dynamic_cast<Anwendung*>(QCoreApplication::instance());
    ASSERT_TRUE(anwendung);
    SkriptDialoge dialoge;
    anwendung->DialogeSetzen(&dialoge);
    Werfer werfer;
    QCoreApplication::postEvent(&werfer, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    QEvent direkt(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&werfer, &direkt));
    anwendung->DialogeSetzen(nullptr);
    EXPECT_EQ(dialoge.Texte(Art::Fehler),
              std::vector<QString>(2, "Datei \"/y\" kann nicht erstellt werden. Der Datenträger "
                                      "ist voll."));
}

TEST(EchterDateiDialog, TypWechselLaesstDieEndungInDerSchreibweiseDesNamens) {
    // Qt puts the entry's first pattern in place of the extension; on Linux
    // "brief.TXT" would be a second file beside brief.txt.
    QTemporaryDir ordner;
    QtDialoge dialoge;
    DateiDialog d;
    d.Art = DateiDialogArt::Speichern;
    d.Titel = QStringLiteral("Speichern unter");
    d.Filter = kFilterSpeichern;
    d.FilterIndex = 2;
    d.Ordner = ordner.path();
    d.DateiName = QStringLiteral("brief.txt");

    QStringList namen;
    zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
        auto* name = NamensFeld(w);
        auto* typ = w->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_TRUE(name && typ);
        typ->setFocus();
        QTest::keyClick(typ, Qt::Key_Down); // Unicode-Textdokument
        namen << name->text();
        QTest::keyClick(typ, Qt::Key_Home); // Rich Text Format
        namen << name->text();
        name->setText(QStringLiteral("BRIEF.TXT"));
        QTest::keyClick(typ, Qt::Key_Down); // Textdokument
        namen << name->text();
        QTest::keyClick(typ, Qt::Key_Home);
        namen << name->text();
        name->setText(QStringLiteral("brief.txt"));
        QTest::keyClick(typ, Qt::Key_End); // Unicode-Textdokument
        namen << name->text();
        QTest::keyClick(name, Qt::Key_Return);
    });
    ASSERT_TRUE(dialoge.DateiWaehlen(nullptr, d));
    EXPECT_EQ(namen,
              (QStringList{"brief.txt", "brief.rtf", "BRIEF.TXT", "BRIEF.RTF", "brief.txt"}));
    EXPECT_EQ(d.DateiName, ordner.filePath("brief.txt"));
    EXPECT_EQ(d.FilterIndex, 3);
}

TEST(EchterDateiDialog, OeffnenFindetDateienMitUndOhneEndung) {
    // Linux files often have no extension: "Alle Dateien" lists them, and a
    // typed name opens them as they are; a name without extension that names
    // no file opens the one with the entry's extension.
    QTemporaryDir ordner;
    Anlegen(ordner.filePath("liesmich"));
    Anlegen(ordner.filePath("brief.txt"));
    Anlegen(ordner.filePath("NOTEN.TXT"));
    QtDialoge dialoge;
    DateiDialog d;
    d.Titel = QStringLiteral("Öffnen");
    d.Filter = kFilterOeffnen;
    d.FilterIndex = 3;
    d.StandardEndung = QStringLiteral("TXT");
    d.Ordner = ordner.path();
    {
        DateiAuswahl auswahl(nullptr, d);
        auswahl.show();
        EXPECT_EQ(Gezeigt(auswahl, 3), (QStringList{"NOTEN.TXT", "brief.txt", "liesmich"}));
    }

    struct Fall {
        const char* getippt;
        int index;
        const char* ergebnis;
    } faelle[] = {
        {"liesmich", 3, "liesmich"},
        {"brief", 2, "brief.txt"},
        {"brief", 3, "brief.txt"},
        {"NOTEN", 2, "NOTEN.TXT"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.getippt);
        d.FilterIndex = f.index;
        d.DateiName.clear();
        zwtest::BeimNaechstenModalFenster([&](QWidget* w) {
            auto* name = NamensFeld(w);
            ASSERT_TRUE(name);
            name->setText(QString::fromUtf8(f.getippt));
            QTest::keyClick(name, Qt::Key_Return);
            if (w->isVisible()) // refused: give up, so the test goes on
                static_cast<QDialog*>(w)->reject();
        });
        ASSERT_TRUE(dialoge.DateiWaehlen(nullptr, d));
        EXPECT_EQ(d.DateiName, ordner.filePath(f.ergebnis));
    }
}

TEST(EchterDateiDialog, SchliesstDieListeDerErgaenzungenVorSichSelbst) {
    // A path typed with Enter while the completer shows matching names: the
    // list must be gone before the dialog, or Qt leaves the window below
    // without an active window and the keyboard reaches nothing there.
    QTemporaryDir ordner;
    Anlegen(ordner.filePath("brief.txt"));
    DateiDialog d;
    d.Titel = QStringLiteral("Öffnen");
    d.Filter = kFilterOeffnen;
    d.Ordner = ordner.path();
    for (const bool annehmen : {true, false}) {
        SCOPED_TRACE(annehmen ? "angenommen" : "abgebrochen");
        DateiAuswahl auswahl(nullptr, d);
        auswahl.show();
        QLineEdit* name = NamensFeld(&auswahl);
        ASSERT_TRUE(name && name->completer());
        QWidget* liste = name->completer()->popup();
        name->setText(ordner.filePath("brief.txt"));
        liste->show();
        ASSERT_EQ(QApplication::activePopupWidget(), liste);

        bool listeOffenBeimSchliessen = true;
        QObject::connect(&auswahl, &QDialog::finished,
                         [&] { listeOffenBeimSchliessen = liste->isVisible(); });
        // Enter in the name field accepts, the cancel button rejects.
        if (annehmen)
            QTest::keyClick(name, Qt::Key_Return);
        else
            auswahl.reject();
        EXPECT_FALSE(auswahl.isVisible());
        EXPECT_FALSE(listeOffenBeimSchliessen);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}

TEST(EchterDateiDialog, TypenNachDemNamenOhneDieDateiZuLesen) {
    // A file without extension whose content is a PNG picture: the dialog
    // reads no file to show its type.
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath("bild");
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    }
    DateiDialog d;
    d.Filter = kFilterOeffnen;
    DateiAuswahl auswahl(nullptr, d);
    ASSERT_EQ(auswahl.iconProvider(), NamensTypen());
    const QString typ = NamensTypen()->type(QFileInfo(pfad));
    EXPECT_EQ(typ, QMimeDatabase().mimeTypeForName("application/octet-stream").comment());
    EXPECT_NE(typ, QMimeDatabase().mimeTypeForFile(pfad).comment()); // what reading would give
}

namespace {

// What a screen reader speaks for the control, Qt's own derived names included.
QString Gesprochen(QWidget* w) {
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(w);
    return zugang ? zugang->text(QAccessible::Name) : QString();
}

std::string Beschreibung(const QWidget* w) {
    return std::string(w->metaObject()->className()) + " bei " +
           std::to_string(w->mapTo(w->window(), QPoint()).x()) + "," +
           std::to_string(w->mapTo(w->window(), QPoint()).y());
}

// A shown font dialog of Qt's own, as the program opens it.
struct SchriftDialog : QFontDialog {
    SchriftDialog() {
        setOption(QFontDialog::DontUseNativeDialog);
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }

    // Family, style and size, left to right as they are seen; a combo box's
    // list is a window of its own and no part of the dialog.
    QList<QAbstractItemView*> Listen() {
        QList<QAbstractItemView*> listen;
        for (QAbstractItemView* l : findChildren<QAbstractItemView*>())
            if (l->window() == this)
                listen << l;
        std::sort(listen.begin(), listen.end(), [this](QWidget* a, QWidget* b) {
            return a->mapTo(this, QPoint()).x() < b->mapTo(this, QPoint()).x();
        });
        return listen;
    }

    // The field right above a list, in its column.
    QLineEdit* FeldUeber(QWidget* liste) {
        const QPoint oben = liste->mapTo(this, QPoint());
        QLineEdit* feld = nullptr;
        for (QLineEdit* e : findChildren<QLineEdit*>()) {
            const QRect r(e->mapTo(this, QPoint()), e->size());
            if (r.left() == oben.x() && r.bottom() < oben.y() &&
                (!feld || r.top() > feld->mapTo(this, QPoint()).y()))
                feld = e;
        }
        return feld;
    }
};

const QStringList kListenNamen = {QStringLiteral("Schriftart"), QStringLiteral("Schriftstil"),
                                  QStringLiteral("Größe")};

} // namespace

TEST(EchterSchriftDialog, JedesBedienelementHatEinenGesprochenenNamen) {
    SchriftDialog dialog;
    SchriftDialogBenennen(dialog);

    int bedienelemente = 0;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->window() != &dialog || (w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus)
            continue;
        if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractItemView*>(w) &&
            !qobject_cast<QComboBox*>(w) && !qobject_cast<QAbstractButton*>(w))
            continue;
        ++bedienelemente;
        EXPECT_FALSE(Gesprochen(w).isEmpty()) << Beschreibung(w);
    }
    // Two fields and three lists, the sample, the writing system, two
    // effects, OK and Abbrechen.
    EXPECT_GE(bedienelemente, 11);

    const QList<QAbstractItemView*> listen = dialog.Listen();
    ASSERT_EQ(listen.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Gesprochen(listen[i]), kListenNamen[i]);
        // The field above says the same, so a click into it is announced as
        // the list is.
        QLineEdit* feld = dialog.FeldUeber(listen[i]);
        ASSERT_TRUE(feld) << Beschreibung(listen[i]);
        EXPECT_EQ(Gesprochen(feld), kListenNamen[i]) << Beschreibung(feld);
    }
}

TEST(EchterSchriftDialog, EinEigenerNameBleibt) {
    SchriftDialog dialog;
    const QList<QAbstractItemView*> listen = dialog.Listen();
    ASSERT_EQ(listen.size(), 3);
    listen[2]->setAccessibleName(QStringLiteral("Punkte"));
    SchriftDialogBenennen(dialog);
    EXPECT_EQ(Gesprochen(listen[0]), kListenNamen[0]);
    EXPECT_EQ(Gesprochen(listen[2]), "Punkte");
    EXPECT_EQ(Gesprochen(dialog.FeldUeber(listen[2])), kListenNamen[2]);
}

TEST(EchterSchriftDialog, SchriftWaehlenZeigtDieListenMitNamen) {
    QtDialoge dialoge;
    TSchrift schrift;
    schrift.Groesse = 14;
    const TSchrift vorher = schrift;
    QStringList namen;
    zwtest::BeimNaechstenModalFenster([&](QWidget* oben) {
        for (QAbstractItemView* l : oben->findChildren<QAbstractItemView*>())
            if (l->window() == oben)
                namen << Gesprochen(l);
        qobject_cast<QDialog*>(oben)->reject();
    });
    EXPECT_FALSE(dialoge.SchriftWaehlen(nullptr, schrift));
    namen.sort();
    QStringList erwartet = kListenNamen;
    erwartet.sort();
    EXPECT_EQ(namen, erwartet);
    EXPECT_EQ(schrift, vorher);
}

// Qt's font dialog with the colour list the program adds: the sixteen colours
// of the Windows dialog by their German names, read out as "Farbe", beside
// underline and strike-out; the choice becomes the font's colour.
TEST(EchterSchriftDialog, FarbeUnterstrichenUndDurchgestrichen) {
    QtDialoge dialoge;
    TSchrift schrift; // in the system's text colour
    QStringList namen;
    zwtest::BeimNaechstenModalFenster([&](QWidget* oben) {
        auto* liste = oben->findChild<QComboBox*>(QStringLiteral("SchriftFarbe"));
        ASSERT_NE(liste, nullptr);
        // A screen reader reads the chosen colour as the list's value and the
        // label as its name.
        EXPECT_EQ(liste->accessibleName(), "Farbe");
        EXPECT_EQ(Gesprochen(liste), liste->currentText());
        QLabel* label = nullptr;
        for (QLabel* l : oben->findChildren<QLabel*>())
            if (l->buddy() == liste)
                label = l;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "&Farbe:");
        for (int i = 0; i < liste->count(); ++i)
            namen << liste->itemText(i);
        EXPECT_EQ(liste->currentText(), "Systemfarbe");
        // Underline and strike-out are Qt's own, in the same group.
        const QList<QCheckBox*> effekte = liste->parentWidget()->findChildren<QCheckBox*>();
        ASSERT_EQ(effekte.size(), 2);
        for (QCheckBox* box : effekte)
            box->click();
        // With the keyboard: the first entry, then down to the tenth, "Rot".
        QTest::keyClick(liste, Qt::Key_Home);
        EXPECT_EQ(liste->currentText(), "Schwarz");
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(liste, Qt::Key_Down);
        EXPECT_EQ(liste->currentText(), "Rot");
        qobject_cast<QDialog*>(oben)->accept();
    });
    ASSERT_TRUE(dialoge.SchriftWaehlen(nullptr, schrift));
    QStringList erwartet;
    for (const SchriftFarbe& f : SchriftFarben())
        erwartet << QString::fromUtf8(f.Name);
    EXPECT_EQ(erwartet.size(), 16);
    EXPECT_EQ(namen.mid(0, 16), erwartet);
    EXPECT_EQ(namen.value(16), "Systemfarbe");
    EXPECT_EQ(schrift.Farbe, 0x0000FFu);
    EXPECT_EQ(schrift.Stil & (StilUnterstrichen | StilDurchgestrichen),
              StilUnterstrichen | StilDurchgestrichen);

    // Opened on a colour of the list, OK without touching it keeps it; a
    // value outside the list is kept as well.
    for (std::uint32_t farbe : {0x808000u, 0x123456u, 0xFF000008u}) {
        TSchrift s;
        s.Farbe = farbe;
        QString gezeigt;
        zwtest::BeimNaechstenModalFenster([&](QWidget* oben) {
            gezeigt = oben->findChild<QComboBox*>(QStringLiteral("SchriftFarbe"))->currentText();
            qobject_cast<QDialog*>(oben)->accept();
        });
        ASSERT_TRUE(dialoge.SchriftWaehlen(nullptr, s));
        EXPECT_EQ(s.Farbe, farbe);
        EXPECT_EQ(gezeigt, farbe == 0x808000u   ? "Blaugrün"
                           : farbe == 0x123456u ? "Benutzerdefiniert"
                                                : "Systemfarbe");
    }

    // Cancelled: nothing changes.
    TSchrift s;
    zwtest::BeimNaechstenModalFenster([&](QWidget* oben) {
        auto* liste = oben->findChild<QComboBox*>(QStringLiteral("SchriftFarbe"));
        liste->setCurrentIndex(0);
        qobject_cast<QDialog*>(oben)->reject();
    });
    EXPECT_FALSE(dialoge.SchriftWaehlen(nullptr, s));
    EXPECT_EQ(s, TSchrift{});
}
