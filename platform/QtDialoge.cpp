#include "platform/QtDialoge.h"

#include "platform/DateiFilter.h"
#include "platform/QtSchrift.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace zw {

namespace {

// Type and icon from the name alone. Qt's own provider reads into every
// file to guess its type, which is slow on network folders and blocks on
// files that never end.
class TypNachName : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override {
        return QFileIconProvider::icon(info.isDir() ? QFileIconProvider::Folder
                                                    : QFileIconProvider::File);
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType typ = mime_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return typ.comment().isEmpty() ? typ.name() : typ.comment();
    }

private:
    QMimeDatabase mime_;
};

} // namespace

QFileIconProvider* NamensTypen() {
    // Lives as long as the program: the dialog's background reader may still
    // ask it while a dialog is being destroyed.
    static auto* anbieter = new TypNachName;
    return anbieter;
}

DateiAuswahl::DateiAuswahl(QWidget* eltern, const DateiDialog& dialog)
    : QFileDialog(eltern), filter_(dialog.Filter),
      standardEndung_(dialog.StandardEndung.toLower()) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    setIconProvider(NamensTypen());
    setWindowTitle(dialog.Titel);
    if (dialog.Art == DateiDialogArt::Speichern) {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
    } else {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }

    const QStringList filter = QtNamensFilter(dialog.Filter);
    setNameFilters(filter);
    const int index = qBound(1, dialog.FilterIndex, qMax<int>(1, filter.size()));
    if (!filter.isEmpty())
        selectNameFilter(filter[index - 1]);
    EndungFolgtFilter(filter.value(index - 1));
    connect(this, &QFileDialog::filterSelected, this, &DateiAuswahl::EndungFolgtFilter);
    connect(this, &QFileDialog::filterSelected, this, &DateiAuswahl::NamenEndungReparieren);
    namensFeld_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (namensFeld_)
        connect(namensFeld_, &QLineEdit::textChanged, this, [this](const QString& text) {
            vorletzterName_ = letzterName_;
            letzterName_ = text;
        });
    // Room for the name, size and date columns without cutting them.
    resize(820, 520);

    // A full path from the last run names the folder as well as the file.
    const QFileInfo name(dialog.DateiName);
    if (!dialog.DateiName.isEmpty() && name.isAbsolute()) {
        setDirectory(name.absolutePath());
        selectFile(name.fileName());
    } else {
        if (!dialog.Ordner.isEmpty())
            setDirectory(dialog.Ordner);
        if (!dialog.DateiName.isEmpty())
            selectFile(dialog.DateiName);
    }
}

int DateiAuswahl::FilterPosition(const QString& filter) const {
    // With the patterns hidden, Qt names a filter by its shown text, the
    // part before the pattern parentheses, so both forms are matched.
    const QStringList alle = nameFilters();
    for (int i = 0; i < alle.size(); ++i) {
        const QString& voll = alle[i];
        if (filter == voll || filter.trimmed() == voll.left(voll.lastIndexOf(u'(')).trimmed())
            return i + 1;
    }
    return 0;
}

int DateiAuswahl::GewaehlterFilterIndex() const {
    return qMax(1, FilterPosition(selectedNameFilter()));
}

void DateiAuswahl::EndungFolgtFilter(const QString& namensFilter) {
    // Qt would add the extension even to an existing file that has none; an
    // open dialog looks for the extension itself when it accepts.
    if (acceptMode() == QFileDialog::AcceptOpen) {
        setDefaultSuffix(QString());
        return;
    }
    // A bare name gets the extension of the chosen entry, so "brief" saved
    // as rich text becomes brief.rtf; entries such as "*.*" fall back.
    const QString endung = FilterEndung(filter_, FilterPosition(namensFilter)).toLower();
    setDefaultSuffix(endung.isEmpty() ? standardEndung_ : endung);
}

void DateiAuswahl::NamenEndungReparieren(const QString& namensFilter) {
    // On a change of type Qt has just put the entry's first pattern, in its
    // case, in place of the name's extension. On Linux "brief.TXT" is another
    // file than brief.txt, so the user's extension stays when it fits the
    // entry, and a new one follows the case the user wrote.
    if (!namensFeld_ || namensFeld_->text() != letzterName_)
        return;
    const QString vorher = vorletzterName_;
    const QString jetzt = letzterName_;
    const qsizetype punktVorher = vorher.lastIndexOf(u'.');
    const qsizetype punktJetzt = jetzt.lastIndexOf(u'.');
    if (punktVorher <= 0 || punktVorher != punktJetzt ||
        vorher.left(punktVorher) != jetzt.left(punktJetzt))
        return;
    const QString alteEndung = vorher.mid(punktVorher + 1);
    QString neueEndung = jetzt.mid(punktJetzt + 1);
    const int position = FilterPosition(namensFilter);
    if (position == 0)
        return;
    const QString muster = nameFilters()[position - 1].section(u'(', -1).chopped(1);
    bool passt = false;
    for (const QString& m : muster.split(u' ', Qt::SkipEmptyParts))
        passt = passt || m.compare(QStringLiteral("*.") + alteEndung, Qt::CaseInsensitive) == 0;
    if (passt)
        neueEndung = alteEndung;
    else if (alteEndung == alteEndung.toLower())
        neueEndung = neueEndung.toLower();
    const QString name = jetzt.left(punktJetzt + 1) + neueEndung;
    if (name != jetzt)
        namensFeld_->setText(name);
}

QString DateiAuswahl::OeffnenEndung() const {
    const QString endung = FilterEndung(filter_, GewaehlterFilterIndex());
    return endung.isEmpty() ? standardEndung_ : endung;
}

void DateiAuswahl::accept() {
    if (acceptMode() == QFileDialog::AcceptOpen && namensFeld_) {
        // A name typed without extension that names no file opens the file
        // with the entry's extension, as "brief" opens brief.txt.
        const QStringList dateien = selectedFiles();
        const QFileInfo info(dateien.value(0));
        const QString endung = OeffnenEndung();
        if (dateien.size() == 1 && !info.exists() && !info.fileName().contains(u'.') &&
            !endung.isEmpty()) {
            for (const QString& e : {endung.toLower(), endung.toUpper()}) {
                const QFileInfo mit(info.filePath() + u'.' + e);
                if (mit.isFile()) {
                    namensFeld_->setText(mit.filePath());
                    break;
                }
            }
        }
    }
    if (acceptMode() == QFileDialog::AcceptSave) {
        const QStringList dateien = selectedFiles();
        if (!dateien.isEmpty()) {
            const QFileInfo info(dateien.first());
            if (!info.isDir()) {
                if (!info.absoluteDir().exists()) {
                    QMessageBox::warning(this, windowTitle(),
                                         info.filePath() +
                                             QStringLiteral("\nDer Pfad ist nicht vorhanden.\n"
                                                            "Überprüfen Sie den Pfad."));
                    return;
                }
                if (info.exists() && !info.isWritable()) {
                    QMessageBox::warning(
                        this, windowTitle(),
                        info.fileName() +
                            QStringLiteral("\nDiese Datei ist schreibgeschützt.\n"
                                           "Verwenden Sie einen anderen Dateinamen."));
                    return;
                }
            }
        }
    }
    QFileDialog::accept();
}

void DateiAuswahl::done(int ergebnis) {
    // Enter in the name field closes the dialog while the completer's list of
    // matching names may still be open. Qt then passes over the activation of
    // the window below, and no control there gets the keyboard until the user
    // changes windows; typing a path and Enter is how keyboard and screen
    // reader users answer this dialog.
    for (int i = 0; i < 8; ++i) {
        QWidget* liste = QApplication::activePopupWidget();
        if (!liste)
            break;
        liste->hide();
    }
    QFileDialog::done(ergebnis);
}

bool QtDialoge::DateiWaehlen(QWidget* eltern, DateiDialog& dialog) {
    DateiAuswahl auswahl(eltern, dialog);
    if (auswahl.exec() != QDialog::Accepted || auswahl.selectedFiles().isEmpty())
        return false;
    dialog.DateiName = auswahl.selectedFiles().first();
    dialog.FilterIndex = auswahl.GewaehlterFilterIndex();
    return true;
}

namespace {

Antwort Zeigen(QWidget* eltern, QMessageBox::Icon symbol, const QString& titel, const QString& text,
               QMessageBox::StandardButtons knoepfe, QMessageBox::StandardButton vorgabe,
               QMessageBox::StandardButton flucht) {
    QMessageBox box(symbol, titel, text, knoepfe, eltern);
    box.setDefaultButton(vorgabe);
    if (flucht != QMessageBox::NoButton)
        box.setEscapeButton(flucht);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Antwort::Ja;
    case QMessageBox::No:
        return Antwort::Nein;
    case QMessageBox::Ok:
        return Antwort::OK;
    case QMessageBox::Retry:
        return Antwort::Wiederholen;
    default:
        return Antwort::Abbrechen;
    }
}

} // namespace

void QtDialoge::Information(QWidget* eltern, const QString& text) {
    Zeigen(eltern, QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

Antwort QtDialoge::Bestaetigung(QWidget* eltern, const QString& text) {
    return Zeigen(eltern, QMessageBox::Question, QStringLiteral("Bestätigen"), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                  QMessageBox::Cancel);
}

Antwort QtDialoge::JaNein(QWidget* eltern, const QString& text) {
    // Nein is the default: Enter alone must not accept a loss.
    return Zeigen(eltern, QMessageBox::Warning, QStringLiteral("Bestätigen"), text,
                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::No);
}

Antwort QtDialoge::FehlerWiederholen(QWidget* eltern, const QString& text) {
    return Zeigen(eltern, QMessageBox::Critical, QStringLiteral("Fehler"), text,
                  QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry,
                  QMessageBox::Cancel);
}

void QtDialoge::Warnung(QWidget* eltern, const QString& text) {
    Zeigen(eltern, QMessageBox::Warning, QStringLiteral("Warnung"), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialoge::Fehler(QWidget* eltern, const QString& text) {
    Zeigen(eltern, QMessageBox::Critical, QStringLiteral("Fehler"), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

namespace {

bool Benennen(QWidget* w, const QString& name) {
    if (!w || name.isEmpty() || !w->accessibleName().isEmpty())
        return false;
    w->setAccessibleName(name);
    return true;
}

// The widget right above `w` in a grid column, if any.
QWidget* DarueberInDerSpalte(const QGridLayout& gitter, QWidget* w) {
    const int index = gitter.indexOf(w);
    if (index < 0)
        return nullptr;
    int zeile, spalte, zeilen, spalten;
    gitter.getItemPosition(index, &zeile, &spalte, &zeilen, &spalten);
    QWidget* darueber = nullptr;
    int unterkante = -1;
    for (int i = 0; i < gitter.count(); ++i) {
        int z, s, zs, ss;
        gitter.getItemPosition(i, &z, &s, &zs, &ss);
        QWidget* kandidat = gitter.itemAt(i)->widget();
        if (kandidat && s == spalte && z + zs <= zeile && z + zs > unterkante) {
            darueber = kandidat;
            unterkante = z + zs;
        }
    }
    return darueber;
}

bool EingabeOderListe(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

} // namespace

void SchriftDialogBenennen(QFontDialog& dialog) {
    const QList<QWidget*> alle = dialog.findChildren<QWidget*>();
    // A label names its buddy and the field that hands its focus to the
    // buddy, as the family field above the family list does. The label's own
    // accessible name is its text as Qt speaks it, without the "&".
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        QWidget* partner = label->buddy();
        QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(label);
        if (!partner || !zugang)
            continue;
        const QString name = zugang->text(QAccessible::Name);
        Benennen(partner, name);
        Benennen(partner->focusProxy(), name);
        for (QWidget* w : alle)
            if (w->focusProxy() == partner)
                Benennen(w, name);
    }

    // The rest take the name of a field or list they belong to: through a
    // focus proxy, or, as the size list below the size field, by standing
    // right below it in a column of the dialog's grid.
    const QList<QGridLayout*> gitter = dialog.findChildren<QGridLayout*>();
    for (bool weiter = true; weiter;) {
        weiter = false;
        for (QWidget* w : alle) {
            if (!EingabeOderListe(w) || !w->accessibleName().isEmpty())
                continue;
            QList<QWidget*> verwandte{w->focusProxy()};
            for (QWidget* andere : alle)
                if (andere->focusProxy() == w)
                    verwandte << andere;
            for (const QGridLayout* g : gitter)
                if (QWidget* darueber = DarueberInDerSpalte(*g, w); EingabeOderListe(darueber))
                    verwandte << darueber;
            for (QWidget* v : verwandte)
                if (v && Benennen(w, v->accessibleName())) {
                    weiter = true;
                    break;
                }
        }
    }
}

const std::array<SchriftFarbe, 16>& SchriftFarben() {
    // The order of the Windows list; where the background list has the same
    // value, its name, so one colour is not called two things.
    static const std::array<SchriftFarbe, 16> farben{{
        {"Schwarz", 0x000000},
        {"Braun", 0x000080},
        {"Grün", 0x008000},
        {"Olivgrün", 0x008080},
        {"Marineblau", 0x800000},
        {"Purpur", 0x800080},
        {"Blaugrün", 0x808000},
        {"Grau", 0x808080},
        {"Silber", 0xC0C0C0},
        {"Rot", 0x0000FF},
        {"Gelbgrün", 0x00FF00},
        {"Gelb", 0x00FFFF},
        {"Blau", 0xFF0000},
        {"Lila", 0xFF00FF},
        {"Aquamarin", 0xFFFF00},
        {"Weiß", 0xFFFFFF},
    }};
    return farben;
}

namespace {

QIcon FarbFeld(const QColor& farbe, int groesse) {
    QPixmap feld(groesse, groesse);
    feld.fill(farbe);
    QPainter maler(&feld);
    maler.setPen(Qt::gray);
    maler.drawRect(0, 0, groesse - 1, groesse - 1);
    return QIcon(feld);
}

} // namespace

SchriftFarbWahl::SchriftFarbWahl(QFontDialog& dialog, std::uint32_t farbe) {
    // The effects group holds Qt's underline and strike-out boxes.
    QGroupBox* effekte = nullptr;
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        if (auto* gruppe = qobject_cast<QGroupBox*>(box->parentWidget())) {
            effekte = gruppe;
            break;
        }
    QWidget* ort = effekte ? static_cast<QWidget*>(effekte) : &dialog;
    auto* label = new QLabel(QStringLiteral("&Farbe:"), ort);
    Liste = new QComboBox(ort);
    Liste->setObjectName(QStringLiteral("SchriftFarbe"));
    label->setBuddy(Liste);
    Liste->setAccessibleName(QStringLiteral("Farbe"));
    const QPalette palette = dialog.palette();
    const int groesse = dialog.fontMetrics().height();
    Liste->setIconSize(QSize(groesse, groesse));
    int anfangsIndex = -1;
    for (const SchriftFarbe& f : SchriftFarben()) {
        Liste->addItem(FarbFeld(FarbeAusWert(f.Wert, palette), groesse), QString::fromUtf8(f.Name),
                       qulonglong(f.Wert));
        if (f.Wert == farbe)
            anfangsIndex = Liste->count() - 1;
    }
    if (anfangsIndex < 0) {
        // The program's default follows the system's text colour, which the
        // list names as such; any other value as a colour of its own.
        const bool system = (farbe >> 24) == 0xFF;
        Liste->addItem(FarbFeld(FarbeAusWert(farbe, palette), groesse),
                       system ? QStringLiteral("Systemfarbe") : QStringLiteral("Benutzerdefiniert"),
                       qulonglong(farbe));
        anfangsIndex = Liste->count() - 1;
    }
    Liste->setCurrentIndex(anfangsIndex);

    if (auto* lage = ort->layout()) {
        lage->addWidget(label);
        lage->addWidget(Liste);
    }
    // The sample shows the colour too.
    QLineEdit* beispiel = nullptr;
    for (QLineEdit* feld : dialog.findChildren<QLineEdit*>())
        if (qobject_cast<QGroupBox*>(feld->parentWidget()) && feld->parentWidget() != effekte)
            beispiel = feld;
    const auto zeigen = [this, beispiel, palette] {
        if (!beispiel)
            return;
        QPalette p = beispiel->palette();
        const QColor c = FarbeAusWert(Farbe(), palette);
        p.setColor(QPalette::Text, c);
        p.setColor(QPalette::WindowText, c);
        beispiel->setPalette(p);
    };
    QObject::connect(Liste, &QComboBox::currentIndexChanged, Liste, zeigen);
    zeigen();
}

std::uint32_t SchriftFarbWahl::Farbe() const {
    // The colour the dialog began with is an item of its own too.
    return std::uint32_t(Liste->currentData().toULongLong());
}

bool QtDialoge::SchriftWaehlen(QWidget* eltern, TSchrift& schrift) {
    // Qt's own dialog, German with the rest of the program, with the colour
    // the Windows dialog offers besides Qt's underline and strike-out.
    QFontDialog dialog(QtSchrift(schrift), eltern);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Schriftart"));
    const SchriftFarbWahl farbe(dialog, schrift.Farbe);
    SchriftDialogBenennen(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    SchriftUebernehmen(dialog.selectedFont(), schrift);
    schrift.Farbe = farbe.Farbe();
    return true;
}

} // namespace zw
