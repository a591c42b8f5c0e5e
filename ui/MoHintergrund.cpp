#include "ui/MoHintergrund.h"

#include "ui/Layout.h"

#include <QListWidget>
#include <QPushButton>

namespace zw {

const std::array<const char16_t*, kHintergrundAnzahl> HintergrundNamen = {
    u"Schwarz", u"Weiß",     u"Gelb",     u"Blau",     u"Marineblau", u"Himmelblau", u"Blaugrün",
    u"Grün",    u"Minzgrün", u"Gelbgrün", u"Olivgrün", u"Grau",       u"Dunkelgrau", u"Hellgrau",
    u"Rot",     u"Purpur",   u"Lila",     u"Silber",   u"Braun",
};

const std::array<std::uint32_t, kHintergrundAnzahl> HintergrundFarben = {
    0x000000, 0xFFFFFF, 0x00FFFF, 0xFF0000, 0x800000, 0xF0CAA6, 0x808000,
    0x008000, 0xC0DCC0, 0x00FF00, 0x008080, 0x808080, 0x808080, 0xC0C0C0,
    0x0000FF, 0x800080, 0xFF00FF, 0xC0C0C0, 0x000080,
};

THintergrundForm::THintergrundForm(QWidget* owner, int rand)
    : TDialogFenster(owner, "HintergrundForm", QString()), Rand(rand) {
    setModal(true);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    Button1 = Knopf("Button1", QString(), true);
    Button2 = Knopf("Button2", QString());
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    CaptionZuweisen(QStringLiteral("Schrifthintergrund wählen"), QStringLiteral("O&K"),
                    QStringLiteral("&Abbrechen"));
}

void THintergrundForm::CaptionZuweisen(const QString& aCaption, const QString& aBtn1Caption,
                                       const QString& aBtn2Caption) {
    setWindowTitle(aCaption);
    setAccessibleName(aCaption);
    Button1->setText(aBtn1Caption);
    Button1->setAccessibleName(UndZeichenEntfernen(aBtn1Caption));
    Button2->setText(aBtn2Caption);
    Button2->setAccessibleName(UndZeichenEntfernen(aBtn2Caption));
    ListBox1->setAccessibleName(UndZeichenEntfernen(aCaption));
    ListBox1->clear();
    for (const char16_t* name : HintergrundNamen)
        ListBox1->addItem(QString::fromUtf16(name));
    ListBox1->setCurrentRow(-1);
}

int THintergrundForm::HintergrundNr() const {
    return ListBox1->currentRow();
}

void THintergrundForm::SetHintergrundNr(int nr) {
    if (nr < 0 || nr >= kHintergrundAnzahl)
        nr = 0;
    ListBox1->setCurrentRow(nr);
}

std::uint32_t THintergrundForm::HintergrundFarbe() const {
    const int nr = HintergrundNr();
    return HintergrundFarben[std::size_t(nr >= 0 && nr < kHintergrundAnzahl ? nr : 0)];
}

void THintergrundForm::SchriftartZuweisen(const TSchrift& aFont, std::uint32_t aColor) {
    SchriftartAnwenden({ListBox1}, {Button1, Button2}, aFont, aColor);
}

void THintergrundForm::SchalterEinrichten() {
    // Both buttons as wide as the longest caption with room for two more
    // letters, so they fit whatever the language and the font.
    QString laengste;
    for (QPushButton* k : {Button1, Button2}) {
        k->setFixedHeight(SteuerelementHoehe(k->font(), k));
        const QString text = UndZeichenEntfernen(k->text());
        if (text.size() > laengste.size())
            laengste = text;
    }
    for (QPushButton* k : {Button1, Button2})
        k->setFixedWidth(TextBreite(k->font(), laengste + QStringLiteral("MM")));

    Button1->move(Rand, Button1->y());
    Button2->move(2 * Button1->x() + Button1->width(), Button2->y());
    const int breite = Button2->x() + Button2->width() + Button1->x();

    // Twenty lines: all nineteen names without a scroll bar.
    const int zeile = SchriftHoehe(ListBox1->font());
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->item(i)->setSizeHint(QSize(0, zeile));
    ListBox1->setGeometry(Rand, Rand, breite - 2 * Rand, 20 * zeile);

    const int knopfOben = ListBox1->y() + ListBox1->height() + Rand;
    Button1->move(Button1->x(), knopfOben);
    Button2->move(Button2->x(), knopfOben);
    setFixedSize(breite, Button1->y() + Button1->height() + Rand);
    FensterEinrichten();
}

void THintergrundForm::FormShow() {
    SchalterEinrichten();
    MerkItemIndex = ListBox1->currentRow();
    ListBox1->setFocus();
}

void THintergrundForm::done(int ergebnis) {
    // Esc, Abbrechen and the close box leave the colour as it was.
    if (ergebnis != QDialog::Accepted)
        ListBox1->setCurrentRow(MerkItemIndex);
    QDialog::done(ergebnis);
}

} // namespace zw
