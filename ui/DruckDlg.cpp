#include "ui/DruckDlg.h"

#include "core/Drucktext.h"
#include "platform/Druckausgabe.h"
#include "platform/Fehlerbehandlung.h"
#include "ui/DialogSchrift.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zw {

namespace {

const QString kNichtBereit = QStringLiteral("Der Braille-Drucker ist nicht betriebsbereit!");

QString Zusammen(const QStringList& teile, QChar trenner) {
    return teile.join(trenner);
}

} // namespace

std::string PortBytes(const QString& port) {
#ifdef _WIN32
    return port.toStdString();
#else
    return QFile::encodeName(port).toStdString();
#endif
}

QString PortText(const std::string& bytes) {
#ifdef _WIN32
    return QString::fromStdString(bytes);
#else
    return QFile::decodeName(QByteArray::fromStdString(bytes));
#endif
}

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
        const QString kandidat = laufwerk + trenner + Zusammen(uebrig, trenner);
        if (passt(kandidat))
            return kandidat;
    }
    const QString ohneLaufwerk = auslassung + trenner + name;
    if (passt(ohneLaufwerk))
        return ohneLaufwerk;
    return name;
}

TDruckenForm::TDruckenForm(QWidget* owner, Dialoge& dialoge, const QString& druckerPortStr,
                           std::u16string_view druckTextStr)
    : QDialog(owner), dialoge_(dialoge) {
    setObjectName(QStringLiteral("DruckenForm"));
    setWindowTitle(QStringLiteral("Drucken"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Signalton = [] { QApplication::beep(); };

    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
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
    LabelStatus = label("LabelStatus", QStringLiteral("Status:"));
    LabelStatusText = label("LabelStatusText", QStringLiteral("-"));
    // A screen reader reads a value with its caption when the two are tied.
    // The status gets no accessible name of its own, so the one spoken is
    // always the text shown.
    LabelPort->setBuddy(LabelPortText);
    LabelStatus->setBuddy(LabelStatusText);

    ButtonDrucken = new QPushButton(QStringLiteral("&Drucken"), this);
    ButtonDrucken->setObjectName(QStringLiteral("ButtonDrucken"));
    ButtonDrucken->setDefault(true);
    ButtonAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    ButtonAbbrechen->setObjectName(QStringLiteral("ButtonAbbrechen"));
    ButtonAbbrechen->setAutoDefault(false);
    // SchalterEinrichten places the controls from the font when the dialog
    // is shown.

    FDruckerPortStr = druckerPortStr;
    FDruckTextStr = DruckTextBilden(druckTextStr);
    LabelPortText->setText(FDruckerPortStr);
    LabelPortText->setToolTip(FDruckerPortStr);
    LabelPortText->setAccessibleName(FDruckerPortStr);
    EditKopien->setText(QStringLiteral("1"));
    EditKopienChange();

    EditKopien->installEventFilter(this);
    connect(EditKopien, &QLineEdit::textChanged, this, [this] { EditKopienChange(); });
    connect(ButtonDrucken, &QPushButton::clicked, this, [this] {
        BefehlAusfuehren(dialoge_, this, [this] { ButtonDruckenClick(); });
        accept();
    });
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
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
    SchriftUndHintergrund(
        {LabelPort, LabelPortText, LabelKopien, EditKopien, LabelStatus, LabelStatusText}, schrift,
        hintergrund);
    SchriftFuerKnoepfe({ButtonDrucken, ButtonAbbrechen}, schrift);
}

void TDruckenForm::SchalterEinrichten() {
    const int rand = kLayoutAbstand;
    for (QPushButton* k : {ButtonDrucken, ButtonAbbrechen})
        k->resize(kLayoutKnopfBreite, SteuerelementHoehe(k->font(), k));
    // The labels are as large as their texts; the port's, for now, as its
    // whole text.
    LabelPortText->setText(FDruckerPortStr);
    for (QLabel* l : {LabelPort, LabelPortText, LabelKopien, LabelStatus, LabelStatusText})
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
    LabelStatus->move(LabelKopien->x(), EditKopien->y() + EditKopien->height() + rand);
    LabelStatusText->move(LabelStatus->x() + LabelStatus->width() + rand, LabelStatus->y());

    // Two buttons with a button's width before, between and after them.
    ButtonDrucken->move(ButtonDrucken->width(), LabelStatus->y() + LabelStatus->height() + rand);
    ButtonAbbrechen->move(2 * ButtonDrucken->x() + ButtonAbbrechen->width(), ButtonDrucken->y());
    const int breite = ButtonAbbrechen->x() + ButtonAbbrechen->width() + ButtonDrucken->x();
    setFixedSize(breite, ButtonDrucken->y() + ButtonDrucken->height() + rand);

    // The port to the room that is left, shortened as a path is.
    LabelPortText->resize(breite - LabelPortText->x() - rand, LabelPortText->height());
    LabelPortText->setText(
        PortKuerzen(FDruckerPortStr, LabelPortText->fontMetrics(), LabelPortText->width()));
    FensterEinrichten();
}

void TDruckenForm::FensterEinrichten() {
    DialogMittig(this);
}

void TDruckenForm::FormShow() {
    SchalterEinrichten();
    EditKopien->selectAll();
    EditKopien->setFocus();
    LabelStatusText->setText(QStringLiteral("-"));
    LabelStatusText->adjustSize();
}

void TDruckenForm::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    if (!ereignis->spontaneous())
        FormShow();
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
    LabelStatusText->setText(QStringLiteral("Es wird gedruckt..."));
    LabelStatusText->adjustSize();
    LabelStatusText->repaint();

    const std::string port = PortBytes(FDruckerPortStr);
    const std::string bytes = DruckBytes(FDruckTextStr);
    int geschrieben = 0;
    while (geschrieben < FKopien) {
        if (KopieDrucken(port, bytes).Ok()) {
            ++geschrieben;
            continue;
        }
        // Retry writes the same copy again; it is not counted.
        if (dialoge_.FehlerWiederholen(this, kNichtBereit) != Antwort::Wiederholen)
            break;
    }
}

} // namespace zw
