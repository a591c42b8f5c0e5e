#include "ui/LokalDlg.h"

#include "ui/Layout.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zw {

int LptVorauswahl(const QString& port) {
    if (port.size() == 4 && port.startsWith(QStringLiteral("LPT")) && port[3] >= u'1' &&
        port[3] <= u'9')
        return qMin(port[3].unicode() - u'1', 3);
    return 0;
}

TLptWechselnForm::TLptWechselnForm(QWidget* owner, const QString& druckerPortStr)
    : TDialogFenster(owner, "LptWechselnForm", QStringLiteral("Lokaler Anschluss")),
      FDruckerPortStr(druckerPortStr) {

    RadioGroup = new QGroupBox(QStringLiteral("Anschluss"), this);
    RadioGroup->setObjectName(QStringLiteral("RadioGroup"));
    auto* punkte = new QVBoxLayout(RadioGroup);
    for (int i = 0; i < 4; ++i) {
        RadioItems[std::size_t(i)] =
            new QRadioButton(QStringLiteral("LPT%1").arg(i + 1), RadioGroup);
        RadioItems[std::size_t(i)]->setObjectName(QStringLiteral("RadioLPT%1").arg(i + 1));
        punkte->addWidget(RadioItems[std::size_t(i)]);
    }

    ButtonOk = Knopf("ButtonOk", QStringLiteral("O&K"), true);
    ButtonAbbrechen = Knopf("ButtonAbbrechen", QStringLiteral("&Abbrechen"));
    // SchalterEinrichten places the group and the buttons from the font when
    // the dialog is shown.

    connect(ButtonOk, &QPushButton::clicked, this, [this] {
        ButtonOkClick();
        accept();
    });
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

int TLptWechselnForm::ItemIndex() const {
    for (int i = 0; i < 4; ++i)
        if (RadioItems[std::size_t(i)]->isChecked())
            return i;
    return -1;
}

void TLptWechselnForm::SetItemIndex(int index) {
    if (index >= 0 && index < 4)
        RadioItems[std::size_t(index)]->setChecked(true);
}

void TLptWechselnForm::SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund) {
    SchriftartAnwenden({RadioGroup}, {ButtonOk, ButtonAbbrechen}, schrift, hintergrund);
}

void TLptWechselnForm::SchalterEinrichten() {
    const int rand = kLayoutAbstand;
    for (QPushButton* k : {ButtonOk, ButtonAbbrechen})
        k->resize(kLayoutKnopfBreite, SteuerelementHoehe(k->font(), k));
    // Room for the title and the four ports at any font: five button heights.
    RadioGroup->setGeometry(rand, rand, RadioGroup->width(), 5 * ButtonOk->height());
    ButtonOk->move(rand, RadioGroup->y() + RadioGroup->height() + rand);
    ButtonAbbrechen->move(2 * ButtonOk->x() + ButtonOk->width(), ButtonOk->y());
    const int breite = ButtonAbbrechen->x() + ButtonAbbrechen->width() + ButtonOk->x();
    setFixedSize(breite, ButtonOk->y() + ButtonOk->height() + rand);
    RadioGroup->resize(breite - 2 * RadioGroup->x(), RadioGroup->height());
    FensterEinrichten();
}

void TLptWechselnForm::FormShow() {
    SchalterEinrichten();
    SetItemIndex(LptVorauswahl(FDruckerPortStr));
    // The group has the focus through its selected item.
    RadioItems[std::size_t(ItemIndex())]->setFocus();
}

void TLptWechselnForm::ButtonOkClick() {
    FDruckerPortStr = QStringLiteral("LPT%1").arg(qMax(ItemIndex(), 0) + 1);
}

} // namespace zw
