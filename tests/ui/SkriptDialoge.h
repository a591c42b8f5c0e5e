#pragma once
// Dialogs answered from a script: each file dialog and each question takes
// the next scripted answer; every call is recorded with its text and the
// window's state at that moment, so a test sees what the user would have seen.

#include "platform/Dialoge.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace zwtest {

enum class Art {
    Datei,
    Information,
    Bestaetigung,
    JaNein,
    FehlerWiederholen,
    Warnung,
    Fehler,
    Schrift
};

inline const char* ArtName(Art art) {
    switch (art) {
    case Art::Datei:
        return "Datei";
    case Art::Information:
        return "Information";
    case Art::Bestaetigung:
        return "Bestaetigung";
    case Art::JaNein:
        return "JaNein";
    case Art::FehlerWiederholen:
        return "FehlerWiederholen";
    case Art::Warnung:
        return "Warnung";
    case Art::Fehler:
        return "Fehler";
    case Art::Schrift:
        return "Schrift";
    }
    return "?";
}

struct Aufruf {
    Art art;
    QString text;           // the message, or the file dialog's title
    zw::DateiDialog dialog; // for Datei: the dialog as it was handed in
    zw::TSchrift schrift;   // for Schrift: the font the dialog opened on
};

class SkriptDialoge : public zw::Dialoge {
public:
    // The next file dialog confirms this path; a filter index above 0 is
    // chosen in it, otherwise the preselected one stays.
    void DateiWaehlt(const QString& pfad, int filterIndex = 0) {
        dateien_.push_back(Wahl{pfad, filterIndex});
    }
    void DateiBricht() { dateien_.push_back(std::nullopt); }
    // The answer to the next question (Bestaetigung, JaNein, FehlerWiederholen).
    void Antwortet(zw::Antwort antwort) { antworten_.push_back(antwort); }
    // The next font dialog confirms face, size and style of this font; as in
    // the real dialog, colour and character set stay.
    // Face, size and style of `schrift`; with `mitFarbe` its colour too, as
    // when the user also picks one from the colour list.
    void SchriftWaehlt(const zw::TSchrift& schrift, bool mitFarbe = false) {
        schriften_.push_back(SchriftWahl{schrift, mitFarbe});
    }
    void SchriftBricht() { schriften_.push_back(std::nullopt); }

    // Runs at every call, before it is answered; for looking at the window
    // while a dialog is open.
    std::function<void(const Aufruf&)> BeimAufruf;

    std::vector<Aufruf> Aufrufe;

    // The kinds of all calls so far, for order checks.
    std::vector<Art> Arten() const {
        std::vector<Art> arten;
        for (const auto& a : Aufrufe)
            arten.push_back(a.art);
        return arten;
    }
    std::vector<QString> Texte(Art art) const {
        std::vector<QString> texte;
        for (const auto& a : Aufrufe)
            if (a.art == art)
                texte.push_back(a.text);
        return texte;
    }
    bool AllesBeantwortet() const {
        return dateien_.empty() && antworten_.empty() && schriften_.empty();
    }
    void Vergessen() { Aufrufe.clear(); }

    bool DateiWaehlen(QWidget*, zw::DateiDialog& dialog) override {
        Merken(Art::Datei, dialog.Titel, dialog);
        if (dateien_.empty()) {
            ADD_FAILURE() << "Dateidialog ohne Antwort: " << dialog.Titel.toStdString();
            return false;
        }
        const auto wahl = dateien_.front();
        dateien_.pop_front();
        if (!wahl)
            return false;
        dialog.DateiName = wahl->pfad;
        if (wahl->filterIndex > 0)
            dialog.FilterIndex = wahl->filterIndex;
        return true;
    }
    void Information(QWidget*, const QString& text) override { Merken(Art::Information, text); }
    zw::Antwort Bestaetigung(QWidget*, const QString& text) override {
        return Frage(Art::Bestaetigung, text);
    }
    zw::Antwort JaNein(QWidget*, const QString& text) override { return Frage(Art::JaNein, text); }
    zw::Antwort FehlerWiederholen(QWidget*, const QString& text) override {
        return Frage(Art::FehlerWiederholen, text);
    }
    void Warnung(QWidget*, const QString& text) override { Merken(Art::Warnung, text); }
    void Fehler(QWidget*, const QString& text) override { Merken(Art::Fehler, text); }
    bool SchriftWaehlen(QWidget*, zw::TSchrift& schrift) override {
        Aufrufe.push_back(Aufruf{Art::Schrift, QString(), {}, schrift});
        if (BeimAufruf)
            BeimAufruf(Aufrufe.back());
        if (schriften_.empty()) {
            ADD_FAILURE() << "Schriftdialog ohne Antwort";
            return false;
        }
        const auto wahl = schriften_.front();
        schriften_.pop_front();
        if (!wahl)
            return false;
        schrift.Name = wahl->schrift.Name;
        schrift.Groesse = wahl->schrift.Groesse;
        schrift.Stil = wahl->schrift.Stil;
        if (wahl->mitFarbe)
            schrift.Farbe = wahl->schrift.Farbe;
        return true;
    }

private:
    struct Wahl {
        QString pfad;
        int filterIndex;
    };
    struct SchriftWahl {
        zw::TSchrift schrift;
        bool mitFarbe;
    };

    void Merken(Art art, const QString& text, const zw::DateiDialog& dialog = {}) {
        Aufrufe.push_back(Aufruf{art, text, dialog, {}});
        if (BeimAufruf)
            BeimAufruf(Aufrufe.back());
    }
    zw::Antwort Frage(Art art, const QString& text) {
        Merken(art, text);
        if (antworten_.empty()) {
            ADD_FAILURE() << "Frage ohne Antwort: " << text.toStdString();
            return zw::Antwort::Abbrechen;
        }
        const zw::Antwort a = antworten_.front();
        antworten_.pop_front();
        return a;
    }

    std::deque<std::optional<Wahl>> dateien_;
    std::deque<zw::Antwort> antworten_;
    std::deque<std::optional<SchriftWahl>> schriften_;
};

inline std::ostream& operator<<(std::ostream& os, Art art) {
    return os << ArtName(art);
}

} // namespace zwtest
