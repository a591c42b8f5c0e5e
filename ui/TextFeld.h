#pragma once
// The read-only text control of the windows that show a document.
//
// Outside, a text has CR LF line ends, as the file layer delivers and expects
// it. Inside, a line end is one position, so selections and search hits count
// it as one character. The whole text is set in one assignment and read out
// in one piece; there is no undo.

#include <QPlainTextEdit>
#include <QPointer>

class QMenu;

#include <string>
#include <string_view>

namespace zw {

class TextFeld : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextFeld(QWidget* eltern = nullptr);

    // The whole text, every line end as CR LF.
    std::u16string Text() const;

    // Replaces the whole text. CR LF, a single CR and a single LF each end a
    // line. The caret goes to the start, nothing is selected.
    void TextSetzen(std::u16string_view text);

    // The text as the positions count it: every line end is a single CR, so
    // an index into it is a position of the control.
    std::u16string PositionsText() const;

    bool IstLeer() const;

    // Number of positions.
    qsizetype Laenge() const;

    // The selection in positions; the start is the smaller end.
    qsizetype AuswahlStart() const;
    qsizetype AuswahlLaenge() const;
    // Selects and scrolls into view; the caret goes to the end.
    void Markieren(qsizetype start, qsizetype laenge);
    // The selected text, every line end as CR LF.
    std::u16string AusgewaehlterText() const;

    // Makes `menu` the control's context menu. A right click opens it at the
    // mouse; the Menu key and Shift+F10 open it at the caret with its first
    // available entry selected, so the arrow keys start there and a screen
    // reader has an entry to speak.
    void KontextmenueSetzen(QMenu* menu);

    // While an object lives, the control is not redrawn; the whole control is
    // drawn again once it is gone, also after an exception.
    class ZeichnenAus {
    public:
        explicit ZeichnenAus(TextFeld& feld);
        ~ZeichnenAus();
        ZeichnenAus(const ZeichnenAus&) = delete;
        ZeichnenAus& operator=(const ZeichnenAus&) = delete;

    private:
        TextFeld& feld_;
        bool vorher_;
    };

protected:
    // Shift+F10 opens the context menu as the Menu key does: it is the key
    // screen-reader users know, and Qt gives it no meaning of its own.
    void keyPressEvent(QKeyEvent* ereignis) override;
    // The Menu key's request comes to the control itself; it takes the way
    // of Shift+F10.
    bool event(QEvent* ereignis) override;
    // Notes whether a request for the context menu came from the keyboard.
    bool viewportEvent(QEvent* ereignis) override;
    // The clipboard gets the characters as they stand: Qt's own plain text
    // would turn a no-break space into a space.
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Asks for the context menu at the caret, through the viewport as a right
    // click comes, so the request carries a point in viewport coordinates.
    void KontextmenueAmCursor(Qt::KeyboardModifiers tasten);

    QPointer<QMenu> kontextmenue_;
    bool ueberTastatur_ = false;
};

} // namespace zw
