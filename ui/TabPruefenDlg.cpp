#include "ui/TabPruefenDlg.h"

#include "ui/Layout.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace zw {

namespace {

// Lines of findings the list shows at once; more scroll.
constexpr int kSichtbareZeilen = 15;

} // namespace

TTabPruefenForm::TTabPruefenForm(QWidget* owner, const std::vector<TabBefund>& befunde)
    : TDialogFenster(owner, "TabPruefenForm", QStringLiteral("Tabelle prüfen")) {
    const std::size_t n = befunde.size();
    LabelBefunde =
        Beschriftung("LabelBefunde", n == 1 ? QStringLiteral("1 &Auffälligkeit:")
                                            : QStringLiteral("%1 &Auffälligkeiten:").arg(n));
    ListBefunde = new QListWidget(this);
    ListBefunde->setObjectName(QStringLiteral("ListBefunde"));
    LabelBefunde->setBuddy(ListBefunde);
    ListBefunde->setAccessibleName(QStringLiteral("Auffälligkeiten"));
    for (const TabBefund& b : befunde) {
        auto* eintrag = new QListWidgetItem(QString::fromStdString(BefundZeile(b)), ListBefunde);
        eintrag->setData(Qt::UserRole, qulonglong(b.Zeile));
    }
    ListBefunde->setCurrentRow(0);

    ButtonZeile = Knopf("ButtonZeile", QStringLiteral("Zur &Zeile"), true);
    ButtonSchliessen = Knopf("ButtonSchliessen", QStringLiteral("S&chließen"));
    setTabOrder(ListBefunde, ButtonZeile);
    setTabOrder(ButtonZeile, ButtonSchliessen);

    connect(ButtonZeile, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    // A double click, or Enter where the list takes it itself.
    connect(ListBefunde, &QListWidget::itemActivated, this, &QDialog::accept);
}

std::size_t TTabPruefenForm::Zeile() const {
    const QListWidgetItem* eintrag = ListBefunde->currentItem();
    return eintrag ? std::size_t(eintrag->data(Qt::UserRole).toULongLong()) : 0;
}

void TTabPruefenForm::SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund) {
    SchriftartAnwenden({LabelBefunde, ListBefunde}, {ButtonZeile, ButtonSchliessen}, schrift,
                       hintergrund);
}

void TTabPruefenForm::SchalterEinrichten() {
    const int rand = kLayoutAbstand;
    for (QPushButton* k : {ButtonZeile, ButtonSchliessen})
        k->resize(kLayoutKnopfBreite, SteuerelementHoehe(k->font(), k));
    LabelBefunde->adjustSize();
    LabelBefunde->move(rand, rand);

    // As wide as the longest finding, but not wider than the screen.
    const QFont schrift = ListBefunde->font();
    int breite = 2 * kLayoutKnopfBreite + 3 * rand;
    for (int i = 0; i < ListBefunde->count(); ++i)
        breite = qMax(breite, TextBreite(schrift, ListBefunde->item(i)->text()) + 2 * rand +
                                  ListBefunde->verticalScrollBar()->sizeHint().width());
    const int zeilen = qMin(kSichtbareZeilen, qMax(ListBefunde->count(), 3));
    const int listeOben = LabelBefunde->y() + LabelBefunde->height() + rand / 2;
    int hoehe = zeilen * SchriftHoehe(schrift) + 2 * ListBefunde->frameWidth() + 4;
    if (const QScreen* bildschirm = screen()) {
        // At a very large font the list gets fewer lines, so the buttons
        // stay on the screen; the frame counts as it is known.
        const QRect platz = bildschirm->availableGeometry();
        const QSize rahmen = frameGeometry().size() - geometry().size();
        breite = qMin(breite, platz.width() - 2 * rand - rahmen.width());
        const int rest =
            platz.height() - rahmen.height() - listeOben - 2 * rand - ButtonZeile->height();
        hoehe = qMin(hoehe, qMax(rest, 2 * SchriftHoehe(schrift)));
    }
    ListBefunde->setGeometry(rand, listeOben, breite, hoehe);

    const int knopfOben = ListBefunde->y() + ListBefunde->height() + rand;
    ButtonZeile->move(rand, knopfOben);
    ButtonSchliessen->move(2 * rand + ButtonZeile->width(), knopfOben);
    setFixedSize(breite + 2 * rand, knopfOben + ButtonZeile->height() + rand);
    FensterEinrichten();
}

void TTabPruefenForm::FormShow() {
    SchalterEinrichten();
    ListBefunde->setFocus();
}

} // namespace zw
