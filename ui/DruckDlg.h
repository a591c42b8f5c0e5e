#pragma once
// The print dialog: shows the port, asks for the number of copies and writes
// the text raw to the port once per copy, asking again while the printer is
// not ready.

#include "core/Schrift.h"
#include "platform/Dialoge.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QFontMetrics;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zw {

class TDruckenForm : public QDialog {
    Q_OBJECT
public:
    // druckTextStr is the trimmed text; the dialog appends the form feed.
    TDruckenForm(QWidget* owner, Dialoge& dialoge, const QString& druckerPortStr,
                 std::u16string_view druckTextStr);

    QLabel* LabelPort;
    QLabel* LabelPortText;
    QLabel* LabelKopien;
    QLineEdit* EditKopien;
    QLabel* LabelStatus;
    QLabel* LabelStatusText;
    QPushButton* ButtonDrucken;
    QPushButton* ButtonAbbrechen;

    const QString& DruckerPortStr() const { return FDruckerPortStr; }
    const std::u16string& DruckTextStr() const { return FDruckTextStr; }
    int Kopien() const { return FKopien; }
    void SetKopien(int n);

    void SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund);
    void SchalterEinrichten();
    void FensterEinrichten();

    void FormShow();
    // True when the typed character may go into the copies field.
    bool EditKopienKeyPress(QChar zeichen);
    void EditKopienChange();
    void ButtonDruckenClick();

    // The default system beep of the key filter; tests listen to it here.
    std::function<void()> Signalton;

protected:
    void showEvent(QShowEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    Dialoge& dialoge_;
    QString FDruckerPortStr;
    std::u16string FDruckTextStr;
    int FKopien = 1;
};

// A port string as the transports take it: UTF-8 on Windows, the file-name
// encoding elsewhere, so that a path Qt lists is the same device.
std::string PortBytes(const QString& port);
QString PortText(const std::string& bytes);

// A port string shortened to a width as a path is: the folders after the
// drive or the root are replaced one by one by "...", then the drive is
// dropped, and at the end only the last part remains, whichever first fits.
QString PortKuerzen(const QString& port, const QFontMetrics& metrik, int breite);

} // namespace zw
