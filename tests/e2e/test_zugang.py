"""Accessibility as a screen reader meets it: every window opened by keyboard,
every control in it with a name and a sensible role, edits tied to their
labels, every control reached with Tab, every enabled menu item with the arrow
keys, context menus with the menu key and Shift+F10, and message boxes
announced as alerts with their text."""

import contextlib

import pyatspi

from bedienung import (alle, bedienbar, beschriftet_von, gesprochener_name, hat,
                       kinder, rolle, tasten, textfeld, warte)
from gemeinsam import ProgrammTest
from test_durchlauf import BRIEF, TABELLE, datei_waehlen, tabelle_waehlen

# Roles a screen reader cannot announce sensibly for a control.
SINNLOS = {"unknown", "filler", "panel", "invalid", "redundant object", "window"}
# Controls Tab does not stop at: items are reached with the arrow keys inside
# their list, menu or table.
EINTRAEGE = {"list item", "menu item", "table cell", "tree item", "table column header",
             "page tab", "check menu item", "radio menu item"}


def steuerelemente(fenster):
    return alle(fenster, bedienbar)


def tastenfolge(bindung):
    """AT-SPI's "Alt+D" as xdotool's "alt+d"."""
    return "+".join(t.lower() if len(t) > 1 else t.lower() for t in bindung.split("+"))


class Zugang(ProgrammTest):

    def setUp(self):
        super().setUp()
        self.p = self.starten()
        self.haupt = self.p.warte_auf_fenster("frame")
        tabelle_waehlen(self.p, self.datei("umlaute.tab", TABELLE))
        tasten("ctrl+o")
        datei_waehlen(self.p, "Öffnen", self.datei("brief.txt", BRIEF.encode("cp1252")))
        self.p.warte_auf_fenster("frame", "brief.txt - Zeichenwandler V1.22")

    # Checks of one window.

    def pruefe_namen(self, fenster):
        """Every control has a name to speak and a role that says what it is."""
        # A table cell is data and may be empty, as a folder's size is.
        ohne = [(rolle(o), o.description) for o in steuerelemente(fenster)
                if not gesprochener_name(o) and rolle(o) != "table cell"]
        self.assertEqual(ohne, [], f"Steuerelemente ohne Namen in „{fenster.name}“")
        sinnlos = [(rolle(o), o.name) for o in steuerelemente(fenster) if rolle(o) in SINNLOS]
        self.assertEqual(sinnlos, [], f"Steuerelemente ohne sinnvolle Rolle in „{fenster.name}“")

    def pruefe_beschriftungen(self, fenster):
        """Every one-line edit is tied to the label in front of it; a text that
        fills its window carries a name of its own."""
        felder = [o for o in steuerelemente(fenster)
                  if rolle(o) == "text" and hat(o, pyatspi.STATE_EDITABLE)
                  and hat(o, pyatspi.STATE_SINGLE_LINE)]
        lose = [o.name for o in felder if not beschriftet_von(o)]
        self.assertEqual(lose, [], f"Eingabefelder ohne Beschriftung in „{fenster.name}“")

    def pruefe_tabulator(self, fenster):
        """Tab visits every control; radio buttons of a group count as one."""
        def kennung(o):
            if rolle(o) == "radio button":
                return ("radio button", o.parent.name)
            return (rolle(o), gesprochener_name(o))
        soll = {kennung(o) for o in steuerelemente(fenster) if rolle(o) not in EINTRAEGE}
        erreicht = set()
        for _ in range(2 * len(soll) + 2):
            tasten("Tab")
            warte(lambda: self.p.fokus() is not None, "ein Steuerelement hat den Fokus")
            fokus = self.p.fokus()
            if rolle(fokus) in EINTRAEGE and fokus.parent is not None:
                fokus = fokus.parent
            erreicht.add(kennung(fokus))
            if soll <= erreicht:
                break
        self.assertEqual(soll - erreicht, set(), f"Mit Tab nicht erreicht in „{fenster.name}“")

    def pruefe_menues(self, fenster):
        """Each menu opens with its access key, and the arrow keys reach every
        enabled item of it."""
        leiste = [o for o in kinder(fenster) if rolle(o) == "menu bar"][0]
        for titel in [o for o in kinder(leiste) if rolle(o) == "menu item"]:
            bindung = titel.queryAction().getKeyBinding(0)
            self.assertTrue(bindung.startswith("Alt+"), f"Menü „{titel.name}“ ohne Zugriffstaste")
            popup = [o for o in kinder(titel) if rolle(o) in ("popup menu", "menu")][0]
            # Pressed again only while no menu is open, as menue_oeffnen does.
            for _ in range(3):
                tasten(tastenfolge(bindung))
                try:
                    warte(lambda: hat(popup, pyatspi.STATE_SHOWING), "", 5)
                    break
                except AssertionError:
                    if self.p.offenes_menue() is not None:
                        break
            warte(lambda: hat(popup, pyatspi.STATE_SHOWING), f"Menü „{titel.name}“ offen")
            eintraege = [o for o in kinder(popup) if rolle(o) == "menu item"]
            self.assertTrue(all(o.name for o in eintraege), f"Eintrag ohne Namen in {titel.name}")
            soll = {o.name for o in eintraege if hat(o, pyatspi.STATE_SENSITIVE)}
            erreicht = set()
            for _ in range(len(eintraege) + 1):
                warte(lambda: self.fokus_im_menue(popup) is not None, f"Eintrag in {titel.name}")
                erreicht.add(self.fokus_im_menue(popup).name)
                tasten("Down")
            self.assertEqual(soll - erreicht, set(), f"Im Menü „{titel.name}“ nicht erreicht")
            tasten("Escape", "Escape")
            warte(lambda: not hat(popup, pyatspi.STATE_SHOWING), f"Menü „{titel.name}“ zu")

    @staticmethod
    def fokus_im_menue(popup):
        for o in kinder(popup):
            if rolle(o) == "menu item" and hat(o, pyatspi.STATE_FOCUSED):
                return o
        return None

    def pruefe_kontextmenue(self, textfeld, taste):
        """The text's context menu opens from the keyboard on its first item.
        Qt keeps popup menus out of the tree; a screen reader learns of the
        item from its focus event, and so does this check."""
        self.p.warte_auf_fokus("text", textfeld.name)
        marke = self.ansagen.marke()
        tasten(taste)
        self.ansagen.warte_auf(marke, "Menüeintrag „", f"Kontextmenü mit {taste}")
        eintrag = next(z for z in self.ansagen.seit(marke) if z.startswith("Menüeintrag „"))
        tasten("Escape")
        self.p.warte_auf_fokus("text", textfeld.name)
        return eintrag

    def pruefe_fenster(self, fenster, tabulator=True):
        self.pruefe_namen(fenster)
        self.pruefe_beschriftungen(fenster)
        if tabulator:
            self.pruefe_tabulator(fenster)

    @contextlib.contextmanager
    def offen(self, tasten_, rolle_, name, schliessen="Escape"):
        """A window opened by keys, closed again also when a check in it fails,
        so the next check starts from the main window."""
        tasten(*tasten_)
        fenster = self.p.warte_auf_fenster(rolle_, name)
        try:
            yield fenster
        finally:
            for _ in range(3):
                if fenster not in self.p.fenster():
                    break
                tasten(schliessen)
                try:
                    self.p.warte_bis_zu(fenster, frist=5)
                except AssertionError:
                    tasten("Escape")
            self.p.warte_bis_zu(fenster)

    # The windows.

    def test_hauptfenster(self):
        self.pruefe_fenster(self.haupt)
        self.pruefe_menues(self.haupt)
        feld = textfeld(self.haupt)
        tasten("Tab")
        while gesprochener_name(self.p.fokus()) != "Text":
            tasten("Tab")
        erster = self.pruefe_kontextmenue(feld, "Menu")
        self.assertEqual(self.pruefe_kontextmenue(feld, "shift+F10"), erster)
        # The status bar's hint is a label a screen reader can read out.
        leiste = [o for o in alle(self.haupt) if rolle(o) == "status bar"][0]
        self.assertEqual([o.name for o in kinder(leiste) if rolle(o) == "label"],
                         ["Mit Strg+K starten Sie die Konvertierung"])

    def test_dialoge_des_hauptfensters(self):
        for tasten_, name in ((["ctrl+f"], "Suchen"), (["ctrl+p"], "Drucken"),
                              (["ctrl+l"], "Lokaler Anschluss"),
                              (["ctrl+n"], "Netzwerk-Anschluss"),
                              (["alt+a", "h"], "Schrifthintergrund wählen"),
                              (["alt+d", "v"], "Braille-Vorschau")):
            with self.subTest(name), self.offen(tasten_, "dialog", name) as fenster:
                self.pruefe_fenster(fenster)
                self.bild(name)

    def test_standarddialoge(self):
        """Qt's own file and font dialogs, as the program uses them."""
        for tasten_, name in ((["ctrl+o"], "Öffnen"), (["ctrl+t"], "Tabelle wechseln"),
                              (["alt+a", "Return"], "Schriftart")):
            with self.subTest(name), self.offen(tasten_, "dialog", name) as fenster:
                self.pruefe_namen(fenster)

    def test_hilfe_und_tabelleneditor(self):
        for taste, name in (("F1", "Hilfe zum Zeichenwandler V1.22"), ("ctrl+b", "umlaute.tab - Tabelle bearbeiten")):
            with self.subTest(name), self.offen([taste], "dialog", name, "alt+F4") as fenster:
                # In the editor Tab is a character of the table text.
                self.pruefe_fenster(fenster, tabulator=taste == "F1")
                self.pruefe_menues(fenster)
                textfeld = [o for o in alle(fenster) if rolle(o) == "text"][0]
                self.p.warte_auf_fokus("text", textfeld.name)
                erster = self.pruefe_kontextmenue(textfeld, "Menu")
                self.assertEqual(self.pruefe_kontextmenue(textfeld, "shift+F10"), erster)

    def test_meldungen_sind_alarme_mit_ihrem_text(self):
        marke = self.ansagen.marke()
        tasten("alt+h", "i")
        box, text = self.p.meldung()
        self.assertEqual(rolle(box), "alert")
        self.assertIn("Zeichenwandler", text)
        knopf = self.p.warte_auf_fokus("push button", "OK")
        self.assertIsNotNone(knopf)
        self.ansagen.warte_auf(marke, "Meldung „Information“: ")
        tasten("Return")
        self.p.warte_bis_zu(box)
        tasten("ctrl+k")
        box, text = self.p.meldung()
        self.assertRegex(text, r"^\d+ Zeichen wurden ersetzt$")
        tasten("Return")
        self.p.warte_bis_zu(box)
