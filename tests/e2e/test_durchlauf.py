"""The main course as a user takes it, with the keyboard only: first start with
empty settings, another code table, a document opened, converted, saved and
printed in two copies to a network embosser, font and background changed,
closed and started again with everything kept; a second start, and the close
request of another program."""

import socket
import subprocess
import threading
import time

import pyatspi

from bedienung import (alle, ausmasse, haeufigste_farbe, hat, rolle, tasten, text_von,
                       textfeld, tippen, warte)
import gemeinsam
from gemeinsam import ProgrammTest

TITEL = "Zeichenwandler V1.22"
GELB = "#FFFF00"

# A table for German umlauts and a letter in Windows-1252 that uses them.
TABELLE = (b"; Umlaute\r\n228 62 ae\r\n246 91 oe\r\n252 93 ue\r\n223 33 sz\r\n"
           b"Zeilen ohne zwei Zahlen sind Kommentar\r\n")
ERSETZUNG = {0xE4: ">", 0xF6: "[", 0xFC: "]", 0xDF: "!"}
BRIEF = "Schöne Grüße aus Düsseldorf!\r\nÄltere Bücher für blinde Leser.\r\n\r\n"


class Drucker:
    """A network embosser on a local port: keeps what each connection sent."""

    def __init__(self):
        self.lauscher = socket.create_server(("127.0.0.1", 0))
        self.port = f"socket://127.0.0.1:{self.lauscher.getsockname()[1]}"
        self.kopien = []
        threading.Thread(target=self._annehmen, daemon=True).start()

    def _annehmen(self):
        while True:
            try:
                verbindung, _ = self.lauscher.accept()
            except OSError:
                return
            with verbindung:
                daten = b""
                while stueck := verbindung.recv(65536):
                    daten += stueck
            self.kopien.append(daten)

    def schliessen(self):
        self.lauscher.close()


def datei_waehlen(p, titel, pfad):
    """Answers a file dialog by typing the full path into its name field."""
    dialog = p.warte_auf_fenster("dialog", titel)
    p.warte_auf_fokus("text", "Dateiname:")
    tippen(pfad)
    tasten("Return")
    p.warte_bis_zu(dialog)


def tabelle_waehlen(p, pfad):
    """Tabelle > Wechseln, answered up to the report that closes it."""
    tasten("ctrl+t")
    datei_waehlen(p, "Tabelle wechseln", pfad)
    box, meldung = p.meldung()
    assert meldung == "Die Tabellen-Datei wurde geändert", meldung
    tasten("Return")
    p.warte_bis_zu(box)


def hintergrund_waehlen(p, taste, name):
    """Chooses a background colour from Weiß by an arrow key in the colour
    dialog (Ansicht > Schrifthintergrund)."""
    p.menue_oeffnen("alt+a", "Schriftart...")
    tasten("h")
    dialog = p.warte_auf_fenster("dialog", "Schrifthintergrund wählen")
    p.warte_auf_fokus("list item", "Weiß")
    tasten(taste)
    p.warte_auf_fokus("list item", name)
    tasten("Return")
    p.warte_bis_zu(dialog)


def beschriftung(fenster, anfang):
    treffer = [o for o in alle(fenster, lambda o: rolle(o) == "label") if o.name.startswith(anfang)]
    return treffer[0] if treffer else None


def statuszeile(fenster):
    leiste = alle(fenster, lambda o: rolle(o) == "status bar")[0]
    return [o.name for o in alle(leiste, lambda o: rolle(o) == "label")][0]


class Hauptablauf(ProgrammTest):

    def warte_auf_beschriftung(self, fenster, text):
        warte(lambda: beschriftung(fenster, text.split(":")[0] + ":").name == text,
              f"Beschriftung „{text}“")

    def warte_auf_status(self, fenster, text):
        warte(lambda: statuszeile(fenster) == text, f"Statuszeile „{text}“")

    def test_von_der_tabelle_bis_zum_zweiten_start(self):
        tabelle = self.datei("umlaute.tab", TABELLE)
        brief = self.datei("brief.txt", BRIEF.encode("cp1252"))
        konvertiert = BRIEF.translate(ERSETZUNG)
        anzahl = sum(BRIEF.count(chr(c)) for c in ERSETZUNG)
        drucker = Drucker()
        self.addCleanup(drucker.schliessen)

        # First start with an empty settings folder: the table beside the
        # program is read, and the hint names the first step.
        p = self.starten()
        haupt = p.warte_auf_fenster("frame", f"KeinName - {TITEL}")
        self.warte_auf_beschriftung(haupt, "Tabellen-Datei: Eng-Ger.tab")
        self.warte_auf_beschriftung(haupt, "Tabellen-Einträge: 8")
        self.warte_auf_status(haupt, "Mit Strg+O können Sie eine Datei öffnen")
        p.warte_auf_fokus("push button", "Öffnen...")
        self.bild("erster-start")

        # Another table.
        tabelle_waehlen(p, tabelle)
        self.warte_auf_beschriftung(haupt, "Tabellen-Datei: umlaute.tab")
        self.warte_auf_beschriftung(haupt, "Tabellen-Einträge: 4")

        # A document: shown as it is, and the next step offered.
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", brief)
        haupt = p.warte_auf_fenster("frame", f"brief.txt - {TITEL}")
        feld = textfeld(haupt)
        warte(lambda: text_von(feld) == BRIEF.replace("\r\n", "\n"), "der Brief im Textfeld")
        self.warte_auf_status(haupt, "Mit Strg+K starten Sie die Konvertierung")
        # The focus is back where it was before the dialog.
        p.warte_auf_fokus("push button", "Öffnen...")

        # Conversion, with its report read out as a message.
        marke = self.ansagen.marke()
        tasten("ctrl+k")
        box, meldung = p.meldung()
        self.assertEqual(meldung, f"{anzahl} Zeichen wurden ersetzt")
        self.assertEqual(box.name, "Information")
        p.warte_auf_fokus("push button", "OK")
        self.ansagen.warte_auf(marke, f"Meldung „Information“: {anzahl} Zeichen wurden ersetzt")
        self.bild("bericht")
        tasten("Return")
        p.warte_bis_zu(box)
        warte(lambda: text_von(feld) == konvertiert.replace("\r\n", "\n"),
              "der konvertierte Text im Textfeld")
        self.warte_auf_status(haupt, "Mit Strg+S können Sie den Text speichern")
        p.warte_auf_fokus("push button", "Speichern")

        # Saved in the document's own type, Windows-1252.
        tasten("ctrl+s")
        self.warte_auf_status(haupt, "Mit Strg+O können Sie eine Datei öffnen")
        with open(brief, "rb") as f:
            self.assertEqual(f.read(), konvertiert.encode("cp1252"))

        # The network embosser as printer port.
        tasten("ctrl+n")
        dialog = p.warte_auf_fenster("dialog", "Netzwerk-Anschluss")
        p.warte_auf_fokus("text", "Anschluss")
        tippen(drucker.port)
        tasten("Return")
        box, meldung = p.meldung()
        self.assertEqual(meldung, "Der Drucker-Anschluss wurde geändert")
        tasten("Return")
        p.warte_bis_zu(box)

        # Two copies: the text trimmed at its end, a form feed after each.
        tasten("ctrl+p")
        dialog = p.warte_auf_fenster("dialog", "Drucken")
        self.assertTrue(any(o.name == drucker.port for o in alle(dialog)))
        p.warte_auf_fokus("text", "Kopien")
        tasten("ctrl+a")
        tippen("2")
        self.bild("drucken")
        tasten("alt+d")
        p.warte_bis_zu(dialog)
        einmal = konvertiert.rstrip("".join(map(chr, range(33)))).encode("cp1252") + b"\f"
        warte(lambda: len(drucker.kopien) == 2, "zwei Kopien beim Drucker")
        self.assertEqual(drucker.kopien, [einmal, einmal])

        # A larger font from the view menu, through the font dialog.
        p.menue_oeffnen("alt+a", "Schriftart...")
        tasten("Return")
        dialog = p.warte_auf_fenster("dialog", "Schriftart")
        tasten("alt+g", "ctrl+a")
        tippen("20")
        tasten("Return")
        p.warte_bis_zu(dialog)
        warte(lambda: "size:20" in feld.queryText().getAttributeRun(0, True)[0],
              "der Text in 20 Punkt")
        warte(lambda: self.einstellungen().get("FontSize") == "20", "FontSize=20 gespeichert")
        hoehe = ausmasse(beschriftung(haupt, "Tabellen-Datei:"))[3]

        # A yellow background from the colour dialog.
        hintergrund_waehlen(p, "Down", "Gelb")
        warte(lambda: self.einstellungen().get("HintColor") == "2", "HintColor=2 gespeichert")
        warte(lambda: haeufigste_farbe(*ausmasse(feld)) == GELB, "gelber Hintergrund")
        self.bild("schrift-und-hintergrund")

        # Closed through Datei > Beenden: nothing unsaved, so no question.
        p.menue_oeffnen("alt+d", "Öffnen...")
        tasten("b")
        self.assertEqual(p.warte_auf_ende(), 0)
        werte = self.einstellungen()
        self.assertEqual(werte["Tabelle"], tabelle)
        self.assertEqual(werte["Port"], drucker.port)
        self.assertEqual(werte["FontSize"], "20")
        self.assertEqual(werte["HintColor"], "2")

        # Started again: table, font, background and port are kept.
        p = self.starten()
        haupt = p.warte_auf_fenster("frame", f"KeinName - {TITEL}")
        self.warte_auf_beschriftung(haupt, "Tabellen-Datei: umlaute.tab")
        self.warte_auf_beschriftung(haupt, "Tabellen-Einträge: 4")
        self.assertEqual(ausmasse(beschriftung(haupt, "Tabellen-Datei:"))[3], hoehe)
        feld = textfeld(haupt)
        warte(lambda: haeufigste_farbe(*ausmasse(feld)) == GELB, "gelber Hintergrund")
        self.bild("zweiter-start")
        # The port: the print dialog names it.
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", brief)
        p.warte_auf_fenster("frame", f"brief.txt - {TITEL}")
        tasten("ctrl+p")
        dialog = p.warte_auf_fenster("dialog", "Drucken")
        self.assertTrue(any(o.name == drucker.port for o in alle(dialog)))
        tasten("Escape")
        p.warte_bis_zu(dialog)
        tasten("alt+F4")
        self.assertEqual(p.warte_auf_ende(), 0)


class EineInstanz(ProgrammTest):

    def test_zweiter_start_holt_das_laufende_fenster_nach_vorn(self):
        p = self.starten()
        haupt = p.warte_auf_fenster("frame")
        subprocess.run(["xdotool", "getactivewindow", "windowminimize"], check=True)
        warte(lambda: not hat(haupt, pyatspi.STATE_ACTIVE), "Hauptfenster minimiert")

        marke = self.ansagen.marke()
        beginn = time.monotonic()
        zweiter = subprocess.run([gemeinsam.PROGRAMM], env=self.umgebung, timeout=30, capture_output=True)
        dauer = time.monotonic() - beginn
        print(f"\nZweiter Start endete nach {dauer * 1000:.0f} ms")
        self.assertEqual(zweiter.returncode, 0)
        self.assertEqual(zweiter.stdout + zweiter.stderr, b"")

        warte(lambda: hat(haupt, pyatspi.STATE_ACTIVE), "Hauptfenster wieder aktiv")
        self.assertFalse(hat(haupt, pyatspi.STATE_ICONIFIED))
        self.assertTrue(p.laeuft())
        # Nothing of the second start was shown: the only window that became
        # active is the first instance's.
        self.assertEqual(self.ansagen.seit(marke)[:1], [f"Fenster „{haupt.name}“"])
        self.assertEqual(len(p.fenster()), 1)

    def test_schliessen_anfrage_fragt_nach_ungespeicherten_aenderungen(self):
        tabelle = self.datei("umlaute.tab", TABELLE)
        brief = self.datei("brief.txt", BRIEF.encode("cp1252"))
        p = self.starten()
        p.warte_auf_fenster("frame")
        tabelle_waehlen(p, tabelle)
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", brief)
        tasten("ctrl+k")
        box, _ = p.meldung()
        tasten("Return")
        p.warte_bis_zu(box)

        # Abbrechen keeps the program running with its changes.
        self.assertEqual(self.werkzeug("schliessen").returncode, 0)
        box, frage = p.meldung()
        self.assertEqual(box.name, "Bestätigen")
        self.assertEqual(frage, 'Änderungen in "brief.txt" speichern?')
        tasten("Escape")
        p.warte_bis_zu(box)
        time.sleep(0.5)
        self.assertTrue(p.laeuft())

        # Nein ends it without writing the document.
        self.assertEqual(self.werkzeug("schliessen").returncode, 0)
        box, _ = p.meldung()
        tasten("alt+n")
        self.assertEqual(p.warte_auf_ende(), 0)
        with open(brief, "rb") as f:
            self.assertEqual(f.read(), BRIEF.encode("cp1252"))
        # Nobody is left to ask.
        self.assertEqual(self.werkzeug("schliessen").returncode, 3)
