#include "ui/Suchen.h"

#include "ui/Fokus.h"

#include "platform/Dialoge.h"
#include "ui/TextFeld.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace zw {

TSuchDialog::TSuchDialog(QWidget* eltern) : QDialog(eltern) {
    setWindowTitle(QStringLiteral("Suchen"));
    setModal(false);
    setAccessibleName(QStringLiteral("Suchen"));

    auto* label = new QLabel(QStringLiteral("Suchen &nach:"), this);
    EditSuchen = new QLineEdit(this);
    label->setBuddy(EditSuchen);
    EditSuchen->setAccessibleName(QStringLiteral("Suchen nach"));
    EditSuchen->setAccessibleDescription(
        QStringLiteral("^a Zeilenende, ^t Tabulator, ^b Seitenvorschub, ^^ Zirkumflex, ^1 bis ^255 "
                       "Zeichen mit diesem Code"));

    CheckGanzesWort = new QCheckBox(QStringLiteral("Nur &ganzes Wort suchen"), this);
    CheckGanzesWort->setAccessibleName(QStringLiteral("Nur ganzes Wort suchen"));
    CheckGrossKlein = new QCheckBox(QStringLiteral("Groß-/&Kleinschreibung"), this);
    CheckGrossKlein->setAccessibleName(QStringLiteral("Groß-/Kleinschreibung"));

    auto* gruppe = new QGroupBox(QStringLiteral("Richtung"), this);
    gruppe->setAccessibleName(QStringLiteral("Richtung"));
    RadioOben = new QRadioButton(QStringLiteral("Nach &oben"), gruppe);
    RadioOben->setAccessibleName(QStringLiteral("Nach oben"));
    RadioUnten = new QRadioButton(QStringLiteral("Nach &unten"), gruppe);
    RadioUnten->setAccessibleName(QStringLiteral("Nach unten"));
    RadioUnten->setChecked(true);
    auto* richtung = new QHBoxLayout(gruppe);
    richtung->addWidget(RadioOben);
    richtung->addWidget(RadioUnten);

    ButtonWeitersuchen = new QPushButton(QStringLiteral("&Weitersuchen"), this);
    ButtonWeitersuchen->setAccessibleName(QStringLiteral("Weitersuchen"));
    ButtonWeitersuchen->setDefault(true);
    ButtonWeitersuchen->setEnabled(false);
    ButtonAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    ButtonAbbrechen->setAccessibleName(QStringLiteral("Abbrechen"));

    auto* links = new QVBoxLayout;
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(label);
    zeile->addWidget(EditSuchen, 1);
    links->addLayout(zeile);
    auto* unten = new QHBoxLayout;
    auto* optionen = new QVBoxLayout;
    optionen->addWidget(CheckGanzesWort);
    optionen->addWidget(CheckGrossKlein);
    optionen->addStretch();
    unten->addLayout(optionen);
    unten->addWidget(gruppe);
    links->addLayout(unten);
    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(ButtonWeitersuchen);
    knoepfe->addWidget(ButtonAbbrechen);
    knoepfe->addStretch();
    auto* ganz = new QHBoxLayout(this);
    ganz->addLayout(links, 1);
    ganz->addLayout(knoepfe);

    // As in the Windows dialog: nothing to find without a search text.
    connect(EditSuchen, &QLineEdit::textChanged, this,
            [this](const QString& text) { ButtonWeitersuchen->setEnabled(!text.isEmpty()); });
    connect(ButtonWeitersuchen, &QPushButton::clicked, this, &TSuchDialog::Suchen);
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

QString TSuchDialog::SuchText() const {
    return EditSuchen->text();
}

Richtung TSuchDialog::SuchRichtung() const {
    return RadioOben->isChecked() ? Richtung::Aufwaerts : Richtung::Abwaerts;
}

SuchOptionen TSuchDialog::Optionen() const {
    return SuchOptionen{CheckGrossKlein->isChecked(), CheckGanzesWort->isChecked()};
}

void TSuchDialog::done(int ergebnis) {
    const bool warSichtbar = isVisible();
    QDialog::done(ergebnis);
    if (warSichtbar)
        emit Geschlossen();
}

void TSuchDialog::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    EditSuchen->setFocus();
    EditSuchen->selectAll();
}

const Zeichenklassen& QtZeichenklassen() {
    static const Zeichenklassen klassen(
        [](char16_t c) { return char16_t(QChar::toCaseFolded(char32_t(c))); },
        [](char16_t c) {
            const QChar z(c);
            return z.isLetterOrNumber() || z.isMark() || c == u'_';
        });
    return klassen;
}

Suche::Suche(QWidget* fenster, TextFeld& feld, Dialoge& dialoge,
             std::function<void()> weiterSuchenAn, FokusMerker& fokus)
    : QObject(fenster), fenster_(fenster), feld_(feld), dialoge_(dialoge),
      weiterSuchenAn_(std::move(weiterSuchenAn)), fokus_(fokus), dialog_(new TSuchDialog(fenster)) {
    connect(dialog_, &TSuchDialog::Suchen, this, &Suche::SuchLauf);
    connect(dialog_, &TSuchDialog::Geschlossen, this, [this] { fokus_.Wiederherstellen(); });
    auto vergessen = [this] {
        textGueltig_ = false;
        text_.clear();
        text_.shrink_to_fit();
    };
    connect(feld_.document(), &QTextDocument::contentsChanged, this, vergessen);
    connect(&feld_, &QPlainTextEdit::textChanged, this, vergessen);
}

void Suche::SuchenZeigen() {
    fokus_.Merken(QApplication::focusWidget());
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void Suche::SuchLauf() {
    weiterSuchenAn_();
    const Richtung richtung = dialog_->SuchRichtung();
    const SuchOptionen optionen = dialog_->Optionen();
    if (dialog_->isVisible())
        dialog_->close();

    if (!textGueltig_) {
        text_ = feld_.PositionsText();
        textGueltig_ = true;
    }
    const std::u16string& text = text_;
    const std::u16string muster = SuchStringUmwandeln(dialog_->SuchText().toStdU16String());
    const SuchTreffer treffer =
        SucheAusfuehren(text, muster, std::size_t(feld_.AuswahlStart()),
                        std::size_t(feld_.AuswahlLaenge()), richtung, optionen, QtZeichenklassen());
    if (treffer.Position >= 0) {
        feld_.Markieren(treffer.Position, qsizetype(treffer.Laenge));
        return;
    }
    dialoge_.Information(fenster_, QString::fromUtf8(NichtGefundenMeldung(treffer.GanzerText)));
}

} // namespace zw
