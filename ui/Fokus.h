#pragma once
// The control that had the focus before a dialog or a command took it, and
// the way back to it once that is over, so the user goes on where they were.

#include <QPointer>
#include <QWidget>

namespace zw {

class FokusMerker {
public:
    void Merken(QWidget* steuerelement) { ziel_ = steuerelement; }
    QWidget* Gemerkt() const { return ziel_; }

    // Gives the focus back to the remembered control, unless it is gone,
    // hidden, disabled or takes no focus, or its window is hidden or
    // disabled (a modal dialog still open): then the focus stays where it is.
    void Wiederherstellen() const;

private:
    QPointer<QWidget> ziel_;
};

// Remembers a control for the length of a command and gives the focus back
// when the command ends, also when it ends by an error.
class FokusBereich {
public:
    FokusBereich(FokusMerker& merker, QWidget* steuerelement) : merker_(merker) {
        merker_.Merken(steuerelement);
    }
    ~FokusBereich() { merker_.Wiederherstellen(); }
    FokusBereich(const FokusBereich&) = delete;
    FokusBereich& operator=(const FokusBereich&) = delete;

private:
    FokusMerker& merker_;
};

} // namespace zw
