#pragma once
// The editable text control of the table editor: the shared text control
// with typing, undo and the clipboard. It counts and reads its text as the
// read-only one does (CR LF outside, one position per line end inside), so
// the search runs over it unchanged.

#include "ui/TextFeld.h"

namespace zw {

class EditFeld : public TextFeld {
    Q_OBJECT
public:
    explicit EditFeld(QWidget* eltern = nullptr);

    // The modified flag: set by every edit of the user, cleared by loading,
    // a new table and saving.
    bool Geaendert() const;
    void GeaendertSetzen(bool wert);

    bool KannRueckgaengig() const;

protected:
    // Shift+Return is a line end like Return: a line separator of its own
    // would not survive the way out as CR LF.
    void keyPressEvent(QKeyEvent* ereignis) override;
    // Pasted text keeps only line ends the text knows.
    void insertFromMimeData(const QMimeData* quelle) override;
};

} // namespace zw
