#include "ui/TextBefehle.h"

#include "ui/Suchen.h"
#include "ui/TextFeld.h"

namespace zw {

void TextBefehle::TextBefehleAn(TextFeld& feld, Suche& suche) {
    feld_ = &feld;
    suche_ = &suche;
}

void TextBefehle::MenuBearbeitenAllesMarkierenClick() {
    feld_->setFocus();
    feld_->selectAll();
}

void TextBefehle::RePopupAllesMarkierenClick() {
    MenuBearbeitenAllesMarkierenClick();
}

void TextBefehle::MenuBearbeitenKopierenClick() {
    feld_->copy();
}

void TextBefehle::MenuBearbeitenSuchenClick() {
    suche_->SuchenZeigen();
}

} // namespace zw
