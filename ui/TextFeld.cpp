#include "ui/TextFeld.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace zw {

namespace {

constexpr char16_t kAbsatz = 0x2029; // the document's own block separator

// The document's raw text with every block separator replaced.
std::u16string Ersetzt(const QString& roh, std::u16string_view zeilenende) {
    std::u16string text;
    text.reserve(std::size_t(roh.size()) + std::size_t(roh.size()) / 32);
    const char16_t* p = reinterpret_cast<const char16_t*>(roh.utf16());
    const char16_t* ende = p + roh.size();
    while (p < ende) {
        const char16_t* absatz =
            std::char_traits<char16_t>::find(p, std::size_t(ende - p), kAbsatz);
        if (!absatz) {
            text.append(p, ende);
            break;
        }
        text.append(p, absatz);
        text.append(zeilenende);
        p = absatz + 1;
    }
    return text;
}

} // namespace

TextFeld::TextFeld(QWidget* eltern) : QPlainTextEdit(eltern) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    // Read-only, yet the caret moves and selects from the keyboard, so the
    // text can be read line by line with a screen reader.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

std::u16string TextFeld::Text() const {
    return Ersetzt(document()->toRawText(), u"\r\n");
}

std::u16string TextFeld::PositionsText() const {
    return Ersetzt(document()->toRawText(), u"\r");
}

void TextFeld::TextSetzen(std::u16string_view text) {
    QString inhalt;
    inhalt.resize(qsizetype(text.size()));
    char16_t* ziel = reinterpret_cast<char16_t*>(inhalt.data());
    qsizetype n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ziel[n++] = u'\n';
        } else {
            ziel[n++] = c;
        }
    }
    inhalt.truncate(n);
    setPlainText(inhalt);
}

bool TextFeld::IstLeer() const {
    return document()->isEmpty();
}

qsizetype TextFeld::Laenge() const {
    return document()->characterCount() - 1;
}

qsizetype TextFeld::AuswahlStart() const {
    return textCursor().selectionStart();
}

qsizetype TextFeld::AuswahlLaenge() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TextFeld::Markieren(qsizetype start, qsizetype laenge) {
    const qsizetype n = Laenge();
    start = qBound<qsizetype>(0, start, n);
    laenge = qBound<qsizetype>(0, laenge, n - start);
    QTextCursor c(document());
    c.setPosition(int(start));
    c.setPosition(int(start + laenge), QTextCursor::KeepAnchor);
    setTextCursor(c);
    ensureCursorVisible();
}

std::u16string TextFeld::AusgewaehlterText() const {
    return Ersetzt(textCursor().selectedText(), u"\r\n");
}

void TextFeld::KontextmenueSetzen(QMenu* menu) {
    kontextmenue_ = menu;
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& punkt) {
        if (!kontextmenue_)
            return;
        kontextmenue_->popup(viewport()->mapToGlobal(punkt));
        if (!ueberTastatur_)
            return;
        for (QAction* eintrag : kontextmenue_->actions()) {
            if (!eintrag->isSeparator() && eintrag->isVisible() && eintrag->isEnabled()) {
                kontextmenue_->setActiveAction(eintrag);
                break;
            }
        }
    });
}

void TextFeld::KontextmenueAmCursor(Qt::KeyboardModifiers tasten) {
    // A caret scrolled out of view would put the menu elsewhere on the
    // screen; it opens at the edge.
    const QRect innen = viewport()->rect();
    QPoint punkt = cursorRect().center();
    punkt.setX(qBound(innen.left(), punkt.x(), innen.right()));
    punkt.setY(qBound(innen.top(), punkt.y(), innen.bottom()));
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, punkt, viewport()->mapToGlobal(punkt),
                           tasten);
    QApplication::sendEvent(viewport(), &menu);
}

void TextFeld::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->key() == Qt::Key_F10 &&
        (ereignis->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
        KontextmenueAmCursor(ereignis->modifiers());
        ereignis->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(ereignis);
}

bool TextFeld::event(QEvent* ereignis) {
    if (ereignis->type() == QEvent::ContextMenu) {
        auto* menu = static_cast<QContextMenuEvent*>(ereignis);
        if (menu->reason() == QContextMenuEvent::Keyboard) {
            KontextmenueAmCursor(menu->modifiers());
            menu->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(ereignis);
}

bool TextFeld::viewportEvent(QEvent* ereignis) {
    if (ereignis->type() == QEvent::ContextMenu)
        ueberTastatur_ =
            static_cast<QContextMenuEvent*>(ereignis)->reason() == QContextMenuEvent::Keyboard;
    return QPlainTextEdit::viewportEvent(ereignis);
}

QMimeData* TextFeld::createMimeDataFromSelection() const {
    auto* daten = new QMimeData;
#ifdef Q_OS_WIN
    const std::u16string zeilenende = u"\r\n";
#else
    const std::u16string zeilenende = u"\n";
#endif
    daten->setText(QString::fromStdU16String(Ersetzt(textCursor().selectedText(), zeilenende)));
    return daten;
}

TextFeld::ZeichnenAus::ZeichnenAus(TextFeld& feld) : feld_(feld), vorher_(feld.updatesEnabled()) {
    feld_.setUpdatesEnabled(false);
}

TextFeld::ZeichnenAus::~ZeichnenAus() {
    feld_.setUpdatesEnabled(vorher_);
    if (vorher_)
        feld_.viewport()->update();
}

} // namespace zw
