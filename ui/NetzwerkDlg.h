#pragma once
// The network choice: the print queues and network printers the print system
// knows, and an edit field for a port string typed by hand. A typed string
// that names nothing is reported while the dialog stays open.

#include "core/Schrift.h"
#include "platform/Dialoge.h"
#include "platform/Druckausgabe.h"
#include "ui/DialogFenster.h"

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zw {

class TNetzwerkForm : public TDialogFenster {
    Q_OBJECT
public:
    TNetzwerkForm(QWidget* owner, Dialoge& dialoge, const QString& pfad, const QString& titel,
                  const QString& hinweis, const std::vector<DruckerEintrag>& drucker);

    QLabel* LabelHinweis;
    QListWidget* ListeDrucker;
    QLabel* LabelPfad;
    QLineEdit* EditPfad;
    QPushButton* ButtonOk;
    QPushButton* ButtonAbbrechen;

    // After OK: the chosen port string, empty when nothing was chosen.
    const QString& Pfad() const { return FPfad; }

    void SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund);
    void SchalterEinrichten() override;
    void FormShow() override;
    void ListeDruckerSelectionChange();
    void ButtonOkClick();

private:
    Dialoge& dialoge_;
    QString FPfad;
};

// Shows the network choice with pfad preselected. False when the user
// cancelled; true when something was chosen, and pfad then holds it without a
// trailing separator, possibly empty. The current directory is the same
// afterwards as before.
bool NetzwerkpfadWaehlen(QWidget* owner, Dialoge& dialoge, QString& pfad, const QString& titel,
                         const QString& hinweis, const TSchrift& schrift,
                         std::uint32_t hintergrund);

} // namespace zw
