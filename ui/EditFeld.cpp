#include "ui/EditFeld.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace zw {

EditFeld::EditFeld(QWidget* eltern) : TextFeld(eltern) {
    setReadOnly(false);
    setUndoRedoEnabled(true);
    setTextInteractionFlags(Qt::TextEditorInteraction);
    // Every key the user types goes into the text, a tab included.
    setTabChangesFocus(false);
}

bool EditFeld::Geaendert() const {
    return document()->isModified();
}

void EditFeld::GeaendertSetzen(bool wert) {
    document()->setModified(wert);
}

bool EditFeld::KannRueckgaengig() const {
    return document()->isUndoAvailable();
}

void EditFeld::keyPressEvent(QKeyEvent* ereignis) {
    const int taste = ereignis->key();
    if ((taste == Qt::Key_Return || taste == Qt::Key_Enter) &&
        (ereignis->modifiers() & Qt::ShiftModifier) && !isReadOnly()) {
        QTextCursor c = textCursor();
        c.insertText(QStringLiteral("\n"));
        setTextCursor(c);
        ensureCursorVisible();
        ereignis->accept();
        return;
    }
    TextFeld::keyPressEvent(ereignis);
}

void EditFeld::insertFromMimeData(const QMimeData* quelle) {
    if (isReadOnly() || !quelle || !quelle->hasText())
        return;
    QString text = quelle->text();
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    QTextCursor c = textCursor();
    c.insertText(text);
    setTextCursor(c);
    ensureCursorVisible();
}

} // namespace zw
