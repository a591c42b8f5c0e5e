#include "ui/NetzwerkDlg.h"

#include "platform/Pfad.h"
#include "ui/DruckDlg.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace zw {

namespace {

// Printers that announce themselves on the network get this long to answer.
constexpr std::chrono::milliseconds kSuchZeit{1000};

QString OhneTrennerAmEnde(QString pfad) {
    if (pfad.size() > 1 && (pfad.endsWith(u'/') || pfad.endsWith(u'\\')))
        pfad.chop(1);
    return pfad;
}

// The typed text as the warning names it: a path expanded against the
// current directory, any other string as it stands.
QString VollerName(const QString& text) {
    if (text.contains(QStringLiteral("://")) || !text.contains(u'/') || QDir::isAbsolutePath(text))
        return text;
    return QDir::cleanPath(QDir::current().absoluteFilePath(text));
}

} // namespace

TNetzwerkForm::TNetzwerkForm(QWidget* owner, Dialoge& dialoge, const QString& pfad,
                             const QString& titel, const QString& hinweis,
                             const std::vector<DruckerEintrag>& drucker)
    : TDialogFenster(owner, "NetzwerkForm", titel, Rahmen::Veraenderlich), dialoge_(dialoge) {
    LabelHinweis = Beschriftung("LabelHinweis", hinweis);
    LabelHinweis->setWordWrap(true);
    ListeDrucker = new QListWidget(this);
    ListeDrucker->setObjectName(QStringLiteral("ListeDrucker"));
    ListeDrucker->setAccessibleName(QStringLiteral("Drucker"));
    for (const DruckerEintrag& d : drucker) {
        const QString name = PortText(d.Name);
        QString text = name;
        if (!d.Beschreibung.empty())
            text += QStringLiteral(" (%1)").arg(QString::fromStdString(d.Beschreibung));
        auto* eintrag = new QListWidgetItem(text, ListeDrucker);
        eintrag->setData(Qt::UserRole, name);
    }
    LabelPfad = Beschriftung("LabelPfad", QStringLiteral("&Anschluss:"));
    EditPfad = new QLineEdit(pfad, this);
    EditPfad->setObjectName(QStringLiteral("EditPfad"));
    EditPfad->setAccessibleName(QStringLiteral("Anschluss"));
    LabelPfad->setBuddy(EditPfad);

    ButtonOk = Knopf("ButtonOk", QStringLiteral("O&K"), true);
    ButtonAbbrechen = Knopf("ButtonAbbrechen", QStringLiteral("&Abbrechen"));
    for (QPushButton* k : {ButtonOk, ButtonAbbrechen})
        k->setFixedWidth(kLayoutKnopfBreite);

    auto* zeile = new QHBoxLayout;
    zeile->setSpacing(kLayoutAbstand);
    zeile->addWidget(LabelPfad);
    zeile->addWidget(EditPfad, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->setSpacing(kLayoutAbstand);
    knoepfe->addStretch(1);
    knoepfe->addWidget(ButtonOk);
    knoepfe->addWidget(ButtonAbbrechen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(kLayoutAbstand, kLayoutAbstand, kLayoutAbstand, kLayoutAbstand);
    spalte->setSpacing(kLayoutAbstand);
    spalte->addWidget(LabelHinweis);
    spalte->addWidget(ListeDrucker, 1);
    spalte->addLayout(zeile);
    spalte->addLayout(knoepfe);

    connect(ListeDrucker, &QListWidget::itemSelectionChanged, this,
            [this] { ListeDruckerSelectionChange(); });
    connect(ListeDrucker, &QListWidget::itemActivated, this, [this] { ButtonOk->click(); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

void TNetzwerkForm::SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund) {
    SchriftartAnwenden({LabelHinweis, ListeDrucker, LabelPfad, EditPfad},
                       {ButtonOk, ButtonAbbrechen}, schrift, hintergrund);
}

void TNetzwerkForm::SchalterEinrichten() {
    // Four button widths and a list of ten lines, so that queue names and
    // their descriptions have room.
    const int zeile = ListeDrucker->fontMetrics().height();
    ListeDrucker->setMinimumHeight(10 * zeile);
    setMinimumWidth(5 * kLayoutKnopfBreite);
    adjustSize();
    FensterEinrichten();
}

void TNetzwerkForm::FormShow() {
    SchalterEinrichten();
    // The given path is preselected in the list when it is there.
    for (int i = 0; i < ListeDrucker->count(); ++i) {
        if (ListeDrucker->item(i)->data(Qt::UserRole).toString() == EditPfad->text()) {
            ListeDrucker->setCurrentRow(i);
            break;
        }
    }
    if (ListeDrucker->count() > 0)
        ListeDrucker->setFocus();
    else
        EditPfad->setFocus();
}

void TNetzwerkForm::ListeDruckerSelectionChange() {
    const QList<QListWidgetItem*> auswahl = ListeDrucker->selectedItems();
    if (!auswahl.isEmpty())
        EditPfad->setText(auswahl.first()->data(Qt::UserRole).toString());
}

void TNetzwerkForm::ButtonOkClick() {
    const QString text = EditPfad->text().trimmed();
    if (text.isEmpty()) {
        // Nothing chosen: the caller says so and asks again.
        FPfad.clear();
        accept();
        return;
    }
    std::optional<std::string> port;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto zeiger = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        port = PortAufloesen(PortBytes(text));
    }
    if (!port) {
        dialoge_.Warnung(
            this, QStringLiteral("Der Netzwerk-Anschluss \"%1\" ist nicht vorhanden.\n\nStellen "
                                 "Sie sicher, dass der Zugriff auf den Netzwerk-Anschluss "
                                 "möglich ist oder geben Sie einen anderen Netzwerkpfad ein.")
                      .arg(VollerName(text)));
        EditPfad->setFocus();
        EditPfad->selectAll();
        return;
    }
    FPfad = OhneTrennerAmEnde(PortText(*port));
    accept();
}

bool NetzwerkpfadWaehlen(QWidget* owner, Dialoge& dialoge, QString& pfad, const QString& titel,
                         const QString& hinweis, const TSchrift& schrift,
                         std::uint32_t hintergrund) {
    const QString ordner = QDir::currentPath();
    const auto zurueck = qScopeGuard([&] { QDir::setCurrent(ordner); });

    std::vector<DruckerEintrag> drucker;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto zeiger = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        drucker = DruckerAuflisten(kSuchZeit);
    }
    TNetzwerkForm form(owner, dialoge, pfad, titel, hinweis, drucker);
    form.SchriftartZuweisen(schrift, hintergrund);
    if (form.exec() != QDialog::Accepted)
        return false;
    pfad = OhneTrennerAmEnde(form.Pfad());
    return true;
}

} // namespace zw
