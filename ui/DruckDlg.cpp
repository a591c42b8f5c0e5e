#include "ui/DruckDlg.h"

#include "core/BrailleCodes.h"
#include "core/Drucktext.h"
#include "core/Konvertierung.h"
#include "platform/DruckLauf.h"
#include "platform/Druckausgabe.h"
#include "platform/Fehlerbehandlung.h"
#include "platform/Pfad.h"
#include "ui/Layout.h"
#include "ui/Vorschau.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace zw {

namespace {

const QString kNichtBereit = QStringLiteral("Der Braille-Drucker ist nicht betriebsbereit!");

QString Gruppiert(std::size_t n) {
    return QString::fromStdString(ZahlGruppieren(std::int64_t(n)));
}

} // namespace

QString PortKuerzen(const QString& port, const QFontMetrics& metrik, int breite) {
    auto passt = [&](const QString& text) { return metrik.horizontalAdvance(text) <= breite; };
    if (passt(port))
        return port;

    const QChar trenner = port.contains(u'\\') ? u'\\' : u'/';
    QString laufwerk;
    QString rest = port;
    if (const qsizetype schema = port.indexOf(QStringLiteral("://")); schema > 0) {
        // A URI: scheme and address stand for the drive.
        const qsizetype pfad = port.indexOf(u'/', schema + 3);
        laufwerk = pfad < 0 ? port : port.left(pfad);
        rest = pfad < 0 ? QString() : port.mid(pfad);
    } else if (port.startsWith(QStringLiteral("\\\\"))) {
        const qsizetype server = port.indexOf(u'\\', 2);
        laufwerk = server < 0 ? port : port.left(server);
        rest = server < 0 ? QString() : port.mid(server);
    } else if (port.size() >= 2 && port[1] == u':' && port[0].isLetter()) {
        laufwerk = port.left(2);
        rest = port.mid(2);
    }
    QStringList teile = rest.split(trenner, Qt::SkipEmptyParts);
    if (teile.isEmpty()) {
        // Nothing but the address: its last part is the name.
        const qsizetype schema = laufwerk.indexOf(QStringLiteral("://"));
        return schema > 0 ? laufwerk.mid(schema + 3) : laufwerk;
    }
    const QString name = teile.takeLast();
    const QString auslassung = QStringLiteral("...");
    for (qsizetype k = 1; k <= teile.size(); ++k) {
        QStringList uebrig = teile.mid(k);
        uebrig.prepend(auslassung);
        uebrig.append(name);
        const QString kandidat = laufwerk + trenner + uebrig.join(trenner);
        if (passt(kandidat))
            return kandidat;
    }
    const QString ohneLaufwerk = auslassung + trenner + name;
    if (passt(ohneLaufwerk))
        return ohneLaufwerk;
    return name;
}

TDruckenForm::TDruckenForm(QWidget* owner, Dialoge& dialoge, const QString& druckerPortStr,
                           std::u16string_view druckTextStr, const BrailleEinstellung& braille)
    : TDialogFenster(owner, "DruckenForm", QStringLiteral("Drucken")), dialoge_(dialoge) {
    Signalton = [] { QApplication::beep(); };

    const auto label = [this](const char* name, const QString& text) {
        return Beschriftung(name, text);
    };
    LabelPort = label("LabelPort", QStringLiteral("Anschluss:"));
    LabelPortText = label("LabelPortText", QString());
    // The port is shortened to the room the dialog has; it must not widen it.
    LabelPortText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    LabelPortText->setMinimumWidth(0);
    LabelKopien = label("LabelKopien", QStringLiteral("&Kopien:"));
    EditKopien = new QLineEdit(this);
    EditKopien->setObjectName(QStringLiteral("EditKopien"));
    EditKopien->setMaxLength(2);
    EditKopien->setAccessibleName(QStringLiteral("Kopien"));
    LabelKopien->setBuddy(EditKopien);
    auto seite = [&](const char* name, const QString& titel) {
        auto* e = new QSpinBox(this);
        e->setObjectName(QLatin1String(name));
        e->setAccessibleName(titel);
        e->setRange(1, 1);
        e->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        return e;
    };
    LabelSeiten = label("LabelSeiten", QStringLiteral("&Seiten von:"));
    EditSeitenVon = seite("EditSeitenVon", QStringLiteral("Seiten von"));
    LabelSeiten->setBuddy(EditSeitenVon);
    LabelSeitenBis = label("LabelSeitenBis", QStringLiteral("b&is:"));
    EditSeitenBis = seite("EditSeitenBis", QStringLiteral("Seiten bis"));
    LabelSeitenBis->setBuddy(EditSeitenBis);
    LabelSeitenAnzahl = label("LabelSeitenAnzahl", QString());
    LabelStatus = label("LabelStatus", QStringLiteral("Status:"));
    LabelStatusText = label("LabelStatusText", QStringLiteral("-"));
    // A screen reader reads a value with its caption when the two are tied.
    // The status gets no accessible name of its own, so the one spoken is
    // always the text shown.
    LabelPort->setBuddy(LabelPortText);
    LabelStatus->setBuddy(LabelStatusText);
    LabelPruefung = label("LabelPruefung", QString());
    LabelPruefung->setWordWrap(true);
    LabelPruefung->setTextFormat(Qt::PlainText);

    ButtonDrucken = Knopf("ButtonDrucken", QStringLiteral("&Drucken"), true);
    ButtonVorschau = Knopf("ButtonVorschau", QStringLiteral("Braille-&Vorschau..."));
    ButtonAbbrechen = Knopf("ButtonAbbrechen", QStringLiteral("&Abbrechen"));
    // SchalterEinrichten places the controls from the font when the dialog
    // is shown.

    FDruckerPortStr = druckerPortStr;
    FDruckTextStr = DruckTextBilden(druckTextStr);
    LabelPortText->setText(FDruckerPortStr);
    LabelPortText->setToolTip(FDruckerPortStr);
    LabelPortText->setAccessibleName(FDruckerPortStr);
    EditKopien->setText(QStringLiteral("1"));
    EditKopienChange();
    // The copies come first, then the pages, then the buttons.
    setTabOrder(EditKopien, EditSeitenVon);
    setTabOrder(EditSeitenVon, EditSeitenBis);
    setTabOrder(EditSeitenBis, ButtonDrucken);
    setTabOrder(ButtonDrucken, ButtonVorschau);
    setTabOrder(ButtonVorschau, ButtonAbbrechen);
    bytes_ = DruckBytes(FDruckTextStr);
    SetBraille(braille);

    lauf_ = new DruckLauf(this);
    lauf_->Fortschritt = [this](std::size_t gesendet, std::size_t groesse) {
        StatusZeigen(gesendet, groesse);
    };
    lauf_->Fertig = [this](const DruckErgebnis& e) {
        // Answered from the event loop, not from inside the copy's step.
        QTimer::singleShot(0, this, [this, e] { KopieFertig(e); });
    };
    connect(EditSeitenVon, &QSpinBox::valueChanged, this, [this](int von) {
        if (EditSeitenBis->value() < von)
            EditSeitenBis->setValue(von);
    });
    connect(EditSeitenBis, &QSpinBox::valueChanged, this, [this](int bis) {
        if (EditSeitenVon->value() > bis)
            EditSeitenVon->setValue(bis);
    });

    EditKopien->installEventFilter(this);
    connect(EditKopien, &QLineEdit::textChanged, this, [this] { EditKopienChange(); });
    connect(ButtonDrucken, &QPushButton::clicked, this, [this] {
        BefehlAusfuehren(dialoge_, this, [this] { ButtonDruckenClick(); });
        // A job that could not start ends the dialog as one that ended.
        if (!druckt_)
            accept();
    });
    connect(ButtonVorschau, &QPushButton::clicked, this,
            [this] { BefehlAusfuehren(dialoge_, this, [this] { ButtonVorschauClick(); }); });
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &TDruckenForm::reject);
}

void TDruckenForm::SetKopien(int n) {
    if (n == 0) {
        FKopien = 1;
        EditKopien->setText(QStringLiteral("1"));
    } else {
        FKopien = n;
    }
}

void TDruckenForm::SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund) {
    schrift_ = schrift;
    hintergrund_ = hintergrund;
    SchriftartAnwenden({LabelPort, LabelPortText, LabelKopien, EditKopien, LabelSeiten,
                        EditSeitenVon, LabelSeitenBis, EditSeitenBis, LabelSeitenAnzahl,
                        LabelStatus, LabelStatusText, LabelPruefung},
                       {ButtonDrucken, ButtonVorschau, ButtonAbbrechen}, schrift, hintergrund);
}

void TDruckenForm::SetBraille(const BrailleEinstellung& braille) {
    braille_ = braille;
    if (!BrailleCodeFinden(braille_.Code))
        braille_.Code = std::string(BrailleCodes().front().Name);
    SeitenEinrichten();
    try {
        const ZellenTabelle& zellen = ZellenLaden(*BrailleCodeFinden(braille_.Code));
        pruefMeldung_ = QString::fromStdString(PruefMeldung(DruckPruefen(FDruckTextStr, zellen)));
    } catch (const BrailleFehler& f) {
        // Printing does not need the check.
        pruefMeldung_ =
            QStringLiteral("Die Prüfung ist nicht möglich: ") + QString::fromUtf8(f.what());
    }
    PruefungZeigen();
}

void TDruckenForm::SetNichtKonvertiert(std::int64_t anzahl) {
    nichtKonvertiert_ = anzahl;
    PruefungZeigen();
}

void TDruckenForm::SeitenEinrichten() {
    seiten_ = SeitenGrenzen(bytes_, braille_.Zeichen, braille_.Zeilen);
    const int n = std::max(int(seiten_.size()), 1);
    for (QSpinBox* e : {EditSeitenVon, EditSeitenBis})
        e->setRange(1, n);
    // All pages unless asked otherwise.
    EditSeitenVon->setValue(1);
    EditSeitenBis->setValue(n);
    LabelSeitenAnzahl->setText(
        n == 1 ? QStringLiteral("(1 Seite zu %1 x %2)").arg(braille_.Zeichen).arg(braille_.Zeilen)
               : QStringLiteral("(%1 Seiten zu %2 x %3)")
                     .arg(n)
                     .arg(braille_.Zeichen)
                     .arg(braille_.Zeilen));
    LabelSeitenAnzahl->adjustSize();
}

void TDruckenForm::PruefungZeigen() {
    QStringList teile;
    if (nichtKonvertiert_ > 0)
        teile << QStringLiteral("Achtung: Der Text wurde noch nicht konvertiert; die Tabelle "
                                "würde %1 Zeichen ersetzen.")
                     .arg(QString::fromStdString(ZahlGruppieren(nichtKonvertiert_)));
    if (!pruefMeldung_.isEmpty())
        teile << pruefMeldung_;
    const QString text = teile.join(u'\n');
    LabelPruefung->setText(text);
    LabelPruefung->setVisible(!text.isEmpty());
    // Read out with the copies field, which has the focus when the dialog
    // opens.
    EditKopien->setAccessibleDescription(text);
    setAccessibleDescription(text);
    if (isVisible())
        SchalterEinrichten();
}

void TDruckenForm::SchalterEinrichten() {
    const int rand = kLayoutAbstand;
    // The preview's caption is longer than the others; its button is as
    // wide as the caption needs.
    for (QPushButton* k : {ButtonDrucken, ButtonVorschau, ButtonAbbrechen})
        k->resize(k == ButtonVorschau ? KnopfBreite(k) : kLayoutKnopfBreite,
                  SteuerelementHoehe(k->font(), k));
    // The labels are as large as their texts; the port's, for now, as its
    // whole text.
    LabelPortText->setText(FDruckerPortStr);
    for (QLabel* l : {LabelPort, LabelPortText, LabelKopien, LabelSeiten, LabelSeitenBis,
                      LabelSeitenAnzahl, LabelStatus, LabelStatusText})
        l->adjustSize();

    LabelPort->move(rand, rand);
    LabelPortText->move(LabelPort->x() + LabelPort->width() + rand, LabelPort->y());
    LabelKopien->move(LabelPort->x(), LabelKopien->y());
    EditKopien->setGeometry(LabelKopien->x() + LabelKopien->width() + 5,
                            LabelPort->y() + LabelPort->height() + rand, LabelPortText->width(),
                            SteuerelementHoehe(EditKopien->font(), EditKopien));
    // The label in the middle of the edit's height.
    LabelKopien->move(LabelKopien->x(),
                      (EditKopien->height() - LabelKopien->height()) / 2 + EditKopien->y());
    // The page range in a row of its own, each field as wide as five digits.
    const int seitenHoehe = SteuerelementHoehe(EditSeitenVon->font(), EditSeitenVon);
    const int seitenBreite = TextBreite(EditSeitenVon->font(), QStringLiteral("99999")) +
                             2 * SchriftHoehe(EditSeitenVon->font());
    const int seitenOben = EditKopien->y() + EditKopien->height() + rand;
    LabelSeiten->move(rand, seitenOben + (seitenHoehe - LabelSeiten->height()) / 2);
    EditSeitenVon->setGeometry(LabelSeiten->x() + LabelSeiten->width() + 5, seitenOben,
                               seitenBreite, seitenHoehe);
    LabelSeitenBis->move(EditSeitenVon->x() + EditSeitenVon->width() + rand, LabelSeiten->y());
    EditSeitenBis->setGeometry(LabelSeitenBis->x() + LabelSeitenBis->width() + 5, seitenOben,
                               seitenBreite, seitenHoehe);
    LabelSeitenAnzahl->move(EditSeitenBis->x() + EditSeitenBis->width() + rand, LabelSeiten->y());

    LabelStatus->move(LabelKopien->x(), seitenOben + seitenHoehe + rand);
    LabelStatusText->move(LabelStatus->x() + LabelStatus->width() + rand, LabelStatus->y());

    // Three buttons with a button's width before, between and after them.
    const int knopfBreite = ButtonDrucken->width();
    const int breite = 5 * knopfBreite + ButtonVorschau->width() + ButtonAbbrechen->width();
    int unten = LabelStatus->y() + LabelStatus->height() + rand;
    if (!LabelPruefung->text().isEmpty()) {
        const int pruefBreite = breite - 2 * rand;
        LabelPruefung->setGeometry(rand, unten, pruefBreite,
                                   LabelPruefung->heightForWidth(pruefBreite));
        unten = LabelPruefung->y() + LabelPruefung->height() + rand;
    }
    ButtonDrucken->move(knopfBreite, unten);
    ButtonVorschau->move(3 * knopfBreite, unten);
    ButtonAbbrechen->move(ButtonVorschau->x() + ButtonVorschau->width() + knopfBreite, unten);
    setFixedSize(breite, ButtonDrucken->y() + ButtonDrucken->height() + rand);

    // The port to the room that is left, shortened as a path is.
    LabelPortText->resize(breite - LabelPortText->x() - rand, LabelPortText->height());
    LabelPortText->setText(
        PortKuerzen(FDruckerPortStr, LabelPortText->fontMetrics(), LabelPortText->width()));
    FensterEinrichten();
}

void TDruckenForm::FormShow() {
    SchalterEinrichten();
    EditKopien->selectAll();
    EditKopien->setFocus();
    LabelStatusText->setText(QStringLiteral("-"));
    LabelStatusText->adjustSize();
}

bool TDruckenForm::EditKopienKeyPress(QChar zeichen) {
    if ((zeichen >= u'0' && zeichen <= u'9') || zeichen == QChar(8))
        return true;
    Signalton();
    return false;
}

bool TDruckenForm::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == EditKopien && ereignis->type() == QEvent::KeyPress) {
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        switch (taste->key()) {
        // The dialog's own keys: default button, cancel, focus change.
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        // Editing keys that type no character (some platforms give Delete
        // the text DEL).
        case Qt::Key_Delete:
            return QDialog::eventFilter(objekt, ereignis);
        default:
            break;
        }
        QChar zeichen;
        if (!taste->text().isEmpty())
            zeichen = taste->text().at(0);
        else if (taste->key() == Qt::Key_Backspace)
            zeichen = QChar(8);
        else if ((taste->modifiers() & Qt::ControlModifier) && taste->key() >= Qt::Key_A &&
                 taste->key() <= Qt::Key_Z)
            // Control and a letter is a character of its own (paste, cut,
            // undo are among them), even where the platform gives no text.
            zeichen = QChar(taste->key() - Qt::Key_A + 1);
        if (!zeichen.isNull() && !EditKopienKeyPress(zeichen))
            return true;
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void TDruckenForm::EditKopienChange() {
    bool zahl = false;
    const int n = EditKopien->text().toInt(&zahl);
    ButtonDrucken->setEnabled(zahl && n > 0);
}

void TDruckenForm::ButtonDruckenClick() {
    SetKopien(EditKopien->text().toInt());
    const int von = EditSeitenVon->value(), bis = EditSeitenBis->value();
    // All pages are the text as it is; a range is cut at the page bounds of
    // the embosser's page size.
    auftrag_ =
        (von == 1 && bis >= SeitenAnzahl()) ? bytes_ : SeitenBytes(bytes_, seiten_, von, bis);
    geschrieben_ = 0;
    druckt_ = true;
    for (QWidget* w : std::initializer_list<QWidget*>{EditKopien, EditSeitenVon, EditSeitenBis,
                                                      ButtonDrucken, ButtonVorschau})
        w->setEnabled(false);
    // Esc and the button end the job now; the focus goes to the button so
    // Return does not print again.
    ButtonAbbrechen->setFocus();
    KopieBeginnen();
}

void TDruckenForm::KopieBeginnen() {
    StatusZeigen(0, auftrag_.size());
    lauf_->Starten(PortBytes(FDruckerPortStr), auftrag_, StockLimit);
}

void TDruckenForm::StatusZeigen(std::size_t gesendet, std::size_t groesse) {
    // A few times a second is enough to watch, and a screen reader is not
    // flooded with changes.
    const auto jetzt = std::chrono::steady_clock::now();
    if (gesendet != 0 && gesendet != groesse &&
        jetzt - statusZeit_ < std::chrono::milliseconds(500))
        return;
    statusZeit_ = jetzt;
    LabelStatusText->setText(QStringLiteral("Es wird gedruckt... Kopie %1 von %2, %3 von %4 Bytes")
                                 .arg(std::min(geschrieben_ + 1, FKopien))
                                 .arg(FKopien)
                                 .arg(Gruppiert(gesendet), Gruppiert(groesse)));
    LabelStatusText->adjustSize();
}

void TDruckenForm::KopieFertig(const DruckErgebnis& e) {
    if (!druckt_)
        return;
    if (e.Ok()) {
        ++geschrieben_;
        if (geschrieben_ < FKopien)
            KopieBeginnen();
        else
            Schluss();
        return;
    }
    if (e.Fehler == DruckFehler::Beendet) {
        Schluss();
        return;
    }
    const DruckKopie* kopie = lauf_->Kopie();
    const QString text = kNichtBereit + QStringLiteral("\n\n") +
                         QString::fromStdString(DruckFehlerText(
                             e, kopie ? kopie->Gesendet() : 0,
                             kopie ? kopie->Groesse() : auftrag_.size(), StockLimit));
    // Retry writes the same copy again from its start; it is not counted.
    if (dialoge_.FehlerWiederholen(this, text) == Antwort::Wiederholen)
        KopieBeginnen();
    else
        Schluss();
}

void TDruckenForm::Schluss() {
    druckt_ = false;
    accept();
}

void TDruckenForm::reject() {
    if (druckt_) {
        // Between two pieces: what the port has not taken stays unsent.
        if (lauf_->Laeuft())
            lauf_->Beenden();
        else
            Schluss();
        return;
    }
    QDialog::reject();
}

void TDruckenForm::ButtonVorschauClick() {
    TVorschauForm vorschau(this, bytes_, braille_);
    vorschau.SchriftartZuweisen(schrift_, hintergrund_);
    vorschau.exec();
    const BrailleEinstellung neu = vorschau.Einstellung();
    if (neu == braille_)
        return;
    SetBraille(neu);
    if (BrailleGeaendert)
        BrailleGeaendert(braille_);
}

} // namespace zw
