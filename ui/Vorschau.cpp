#include "ui/Vorschau.h"

#include "core/BrailleCodes.h"
#include "core/Konvertierung.h"
#include "ui/Layout.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>

namespace zw {

namespace {

// Per page a heading "Seite N von M", the braille lines, an empty line;
// seitenZeilen gets the line of each heading.
QString VorschauText(const BrailleSatz& satz, std::vector<int>& seitenZeilen) {
    std::size_t laenge = 0;
    for (const BrailleSeite& s : satz.Seiten)
        for (const auto& z : s.Zeilen)
            laenge += z.size() + 1;
    QString text;
    text.reserve(qsizetype(laenge + satz.Seiten.size() * 24));
    const QString von = QStringLiteral(" von %1").arg(satz.Seiten.size());
    int zeile = 0;
    for (std::size_t i = 0; i < satz.Seiten.size(); ++i) {
        seitenZeilen.push_back(zeile);
        text += QStringLiteral("Seite ") + QString::number(i + 1) + von + u'\n';
        ++zeile;
        for (const auto& z : satz.Seiten[i].Zeilen) {
            text.append(reinterpret_cast<const QChar*>(z.data()), qsizetype(z.size()));
            text += u'\n';
            ++zeile;
        }
        if (i + 1 < satz.Seiten.size()) {
            text += u'\n';
            ++zeile;
        }
    }
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

TVorschauForm::TVorschauForm(QWidget* owner, std::string druckBytes,
                             const BrailleEinstellung& einstellung)
    : TDialogFenster(owner, "VorschauForm", QStringLiteral("Braille-Vorschau"),
                     Rahmen::Veraenderlich),
      bytes_(std::move(druckBytes)) {
    const auto label = [this](const char* name, const QString& text) {
        return Beschriftung(name, text);
    };
    LabelCode = label("LabelCode", QStringLiteral("&Code:"));
    ComboCode = new QComboBox(this);
    ComboCode->setObjectName(QStringLiteral("ComboCode"));
    ComboCode->setAccessibleName(QStringLiteral("Code"));
    for (const BrailleCode& c : BrailleCodes())
        ComboCode->addItem(QString::fromUtf8(c.Titel.data(), qsizetype(c.Titel.size())) +
                               QStringLiteral(" (") +
                               QString::fromUtf8(c.Name.data(), qsizetype(c.Name.size())) + u')',
                           QString::fromUtf8(c.Name.data(), qsizetype(c.Name.size())));
    LabelCode->setBuddy(ComboCode);
    auto zahl = [&](const char* name, const QString& titel, int wert) {
        auto* e = new QSpinBox(this);
        e->setObjectName(QLatin1String(name));
        e->setAccessibleName(titel);
        e->setRange(kBrailleMin, kBrailleMax);
        e->setValue(std::clamp(wert, kBrailleMin, kBrailleMax));
        // The whole text is laid out again per change: not per digit typed.
        e->setKeyboardTracking(false);
        return e;
    };
    LabelZeichen = label("LabelZeichen", QStringLiteral("&Zeichen je Zeile:"));
    EditZeichen = zahl("EditZeichen", QStringLiteral("Zeichen je Zeile"), einstellung.Zeichen);
    LabelZeichen->setBuddy(EditZeichen);
    LabelZeilen = label("LabelZeilen", QStringLiteral("Zeilen je &Seite:"));
    EditZeilen = zahl("EditZeilen", QStringLiteral("Zeilen je Seite"), einstellung.Zeilen);
    LabelZeilen->setBuddy(EditZeilen);

    TextVorschau = new QPlainTextEdit(this);
    TextVorschau->setObjectName(QStringLiteral("TextVorschau"));
    TextVorschau->setAccessibleName(QStringLiteral("Braille-Vorschau"));
    TextVorschau->setReadOnly(true);
    // Readable by cursor, as a screen reader reads it.
    TextVorschau->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    TextVorschau->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextVorschau->setTabChangesFocus(true);
    TextVorschau->installEventFilter(this);
    LabelSeite = label("LabelSeite", QString());
    LabelOhneZelle = label("LabelOhneZelle", QString());
    LabelOhneZelle->setWordWrap(true);
    LabelOhneZelle->setTextFormat(Qt::PlainText);
    ButtonSchliessen = Knopf("ButtonSchliessen", QStringLiteral("&Schließen"));

    // The code in a row of its own, so its name stays whole at large sizes.
    ComboCode->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* oben = new QHBoxLayout;
    oben->addWidget(LabelCode);
    oben->addWidget(ComboCode);
    oben->addStretch(1);
    auto* format = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{LabelZeichen, EditZeichen, LabelZeilen, EditZeilen})
        format->addWidget(w);
    format->addStretch(1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(LabelSeite, 1);
    unten->addWidget(ButtonSchliessen);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(kLayoutAbstand, kLayoutAbstand, kLayoutAbstand, kLayoutAbstand);
    spalte->setSpacing(kLayoutAbstand);
    spalte->addLayout(oben);
    spalte->addLayout(format);
    spalte->addWidget(TextVorschau, 1);
    spalte->addWidget(LabelOhneZelle);
    spalte->addLayout(unten);

    setTabOrder(TextVorschau, ComboCode);
    setTabOrder(ComboCode, EditZeichen);
    setTabOrder(EditZeichen, EditZeilen);
    setTabOrder(EditZeilen, ButtonSchliessen);

    // The whole work area; the window manager adds the frame.
    setWindowState(Qt::WindowMaximized);

    const BrailleCode* code = BrailleCodeFinden(einstellung.Code);
    ComboCode->setCurrentIndex(code ? int(code - BrailleCodes().data()) : 0);
    Aktualisieren();

    connect(ComboCode, &QComboBox::currentIndexChanged, this, [this] { Aktualisieren(); });
    connect(EditZeichen, &QSpinBox::valueChanged, this, [this] { Aktualisieren(); });
    connect(EditZeilen, &QSpinBox::valueChanged, this, [this] { Aktualisieren(); });
    connect(TextVorschau, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { SeiteAnzeigen(); });
    connect(ButtonSchliessen, &QPushButton::clicked, this, &QDialog::accept);
}

BrailleEinstellung TVorschauForm::Einstellung() const {
    BrailleEinstellung e;
    e.Code = ComboCode->currentData().toString().toStdString();
    e.Zeichen = EditZeichen->value();
    e.Zeilen = EditZeilen->value();
    return e;
}

void TVorschauForm::Aktualisieren() {
    const BrailleEinstellung e = Einstellung();
    const ZellenTabelle& zellen = ZellenLaden(*BrailleCodeFinden(e.Code));
    satz_ = BrailleSetzen(bytes_, zellen, e.Zeichen, e.Zeilen);
    seitenZeilen_.clear();
    TextVorschau->setPlainText(VorschauText(satz_, seitenZeilen_));

    // The bytes without a cell, marked where they stand and listed below.
    QList<QTextEdit::ExtraSelection> marken;
    QTextCharFormat format;
    format.setBackground(QColor(255, 160, 160));
    format.setForeground(QColor(0, 0, 0));
    format.setFontUnderline(true);
    constexpr int kHoechstens = 10000;
    QTextDocument* dokument = TextVorschau->document();
    for (std::size_t s = 0; s < satz_.Seiten.size() && marken.size() < kHoechstens; ++s) {
        for (const BrailleMarke& m : satz_.Seiten[s].Marken) {
            const QTextBlock block =
                dokument->findBlockByNumber(seitenZeilen_[s] + 1 + int(m.Zeile));
            QTextCursor c(block);
            c.setPosition(block.position() + int(m.Spalte));
            c.setPosition(block.position() + int(m.Spalte) + 1, QTextCursor::KeepAnchor);
            marken.append({c, format});
            if (marken.size() >= kHoechstens)
                break;
        }
    }
    TextVorschau->setExtraSelections(marken);

    QStringList liste;
    std::size_t summe = 0;
    for (int b = 0; b < 256; ++b) {
        const std::size_t n = satz_.OhneZelle[std::size_t(b)];
        if (n == 0)
            continue;
        summe += n;
        liste << QStringLiteral("Byte %1 (%2) %3-mal")
                     .arg(b)
                     .arg(QString::fromStdString(ZeichenName(char32_t(b))))
                     .arg(QString::fromStdString(ZahlGruppieren(std::int64_t(n))));
    }
    LabelOhneZelle->setText(
        liste.isEmpty() ? QStringLiteral("Jedes Byte hat eine Zelle im Code.")
                        : QStringLiteral("%1 Bytes haben keine Zelle im Code und sind markiert: %2")
                              .arg(QString::fromStdString(ZahlGruppieren(std::int64_t(summe))),
                                   liste.join(QStringLiteral(", "))));
    SeiteAnzeigen();
}

int TVorschauForm::AktuelleSeite() const {
    const int zeile = TextVorschau->textCursor().blockNumber();
    const auto nach = std::upper_bound(seitenZeilen_.begin(), seitenZeilen_.end(), zeile);
    return std::max(int(nach - seitenZeilen_.begin()), 1);
}

void TVorschauForm::SeiteAnzeigen() {
    LabelSeite->setText(QStringLiteral("Seite %1 von %2")
                            .arg(seitenZeilen_.empty() ? 0 : AktuelleSeite())
                            .arg(seitenZeilen_.size()));
}

void TVorschauForm::SeiteBlaettern(int richtung) {
    if (seitenZeilen_.empty())
        return;
    const int ziel = std::clamp(AktuelleSeite() + richtung, 1, int(seitenZeilen_.size()));
    const int zeile = seitenZeilen_[std::size_t(ziel - 1)];
    QTextCursor c(TextVorschau->document()->findBlockByNumber(zeile));
    TextVorschau->setTextCursor(c);
    // The page's heading at the top of the view.
    TextVorschau->verticalScrollBar()->setValue(zeile);
}

bool TVorschauForm::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == TextVorschau && ereignis->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->modifiers() == Qt::NoModifier &&
            (taste->key() == Qt::Key_PageDown || taste->key() == Qt::Key_PageUp)) {
            SeiteBlaettern(taste->key() == Qt::Key_PageDown ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void TVorschauForm::SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund) {
    SchriftartAnwenden({LabelCode, ComboCode, LabelZeichen, EditZeichen, LabelZeilen, EditZeilen,
                        TextVorschau, LabelSeite, LabelOhneZelle},
                       {ButtonSchliessen}, schrift, hintergrund);
}

void TVorschauForm::SchalterEinrichten() {
    ButtonSchliessen->setFixedSize(KnopfBreite(ButtonSchliessen),
                                   SteuerelementHoehe(ButtonSchliessen->font(), ButtonSchliessen));
    // The preview covers the whole screen, like the help viewer.
    if (const QScreen* bildschirm = screen()) {
        const QSize rahmen = frameGeometry().size() - geometry().size();
        resize(bildschirm->availableGeometry().size() - rahmen);
    }
    FensterEinrichten();
}

void TVorschauForm::FormShow() {
    SchalterEinrichten();
    TextVorschau->setFocus();
}

} // namespace zw
