#pragma once
// The commands that every window showing a text has under the same names:
// select all (menu and popup), copy and find. They are the text control's
// own operations; the window ties its menu items to them.

namespace zw {

class Suche;
class TextFeld;

class TextBefehle {
public:
    // The focus to the text and the whole text selected.
    void MenuBearbeitenAllesMarkierenClick();
    void RePopupAllesMarkierenClick();
    void MenuBearbeitenKopierenClick();
    void MenuBearbeitenSuchenClick();

protected:
    // The window's text control and its search, once both exist.
    void TextBefehleAn(TextFeld& feld, Suche& suche);
    ~TextBefehle() = default;

private:
    TextFeld* feld_ = nullptr;
    Suche* suche_ = nullptr;
};

} // namespace zw
