"""Everyday use with the real program: a document opened from the command line
and handed to the running program by a later start, the table check in the
table editor read as a screen reader reads it, and the font colour chosen in
the real font dialog."""

import os
import subprocess

from bedienung import (alle, ausmasse, farben, haeufigste_farbe, rolle, tasten, text_von,
                       textfeld, warte)
import gemeinsam
from gemeinsam import ProgrammTest
from test_durchlauf import TITEL, datei_waehlen, hintergrund_waehlen

BRIEF = "Schöne Grüße\r\n"


class OeffnenMit(ProgrammTest):

    def zweiter_start(self, *argumente, ordner=None):
        zweiter = subprocess.run([gemeinsam.PROGRAMM, *argumente], env=self.umgebung, timeout=30,
                                 capture_output=True, cwd=ordner)
        self.assertEqual(zweiter.returncode, 0)
        self.assertEqual(zweiter.stdout + zweiter.stderr, b"")

    def test_datei_beim_start_und_von_einem_zweiten_start(self):
        brief = self.datei("brief.txt", BRIEF.encode("cp1252"))
        zweiter = self.datei("zweiter brief.txt", "Öl\r\n".encode("utf-8-sig"))
        self.datei("dritter.txt", b"drei\r\n")

        # Started with a file: opened as through Datei > Öffnen.
        p = self.starten(brief)
        haupt = p.warte_auf_fenster("frame", f"brief.txt - {TITEL}")
        feld = textfeld(haupt)
        warte(lambda: text_von(feld) == BRIEF.replace("\r\n", "\n"), "der Brief im Textfeld")
        self.bild("mit-datei-gestartet")

        # Converted, so the text has unsaved changes.
        tasten("ctrl+k")
        box, _ = p.meldung()
        tasten("Return")
        p.warte_bis_zu(box)

        # A later start with another file: the running program asks first.
        self.zweiter_start(zweiter)
        box, frage = p.meldung()
        self.assertEqual(frage, 'Änderungen in "brief.txt" speichern?')
        self.bild("frage-bei-uebergabe")
        tasten("alt+n")
        p.warte_bis_zu(box)
        haupt = p.warte_auf_fenster("frame", f"zweiter brief.txt - {TITEL}")
        warte(lambda: text_von(textfeld(haupt)) == "Öl\n", "der zweite Brief im Textfeld")
        with open(brief, "rb") as f:
            self.assertEqual(f.read(), BRIEF.encode("cp1252"), "Nein schreibt nichts")

        # A name relative to the folder the later start was made in.
        self.zweiter_start("dritter.txt", ordner=self.ordner)
        p.warte_auf_fenster("frame", f"dritter.txt - {TITEL}")
        self.assertEqual(len(p.fenster()), 1)
        tasten("alt+F4")
        self.assertEqual(p.warte_auf_ende(), 0)

    def test_fehlende_datei_meldet_die_fehlerbehandlung(self):
        fehlt = os.path.join(self.ordner, "fehlt.txt")
        p = self.starten(fehlt)
        box, meldung = p.meldung()
        self.assertTrue(meldung.startswith(f"Datei {fehlt} kann nicht geöffnet werden."), meldung)
        tasten("Return")
        p.warte_bis_zu(box)
        p.warte_auf_fenster("frame", f"KeinName - {TITEL}")
        tasten("alt+F4")
        self.assertEqual(p.warte_auf_ende(), 0)


class TabellePruefen(ProgrammTest):

    def test_befunde_lesen_und_zur_zeile_springen(self):
        tabelle = self.datei("schlecht.tab", b"; Kopf\r\n228\t62\r\n228 62\r\n246 91\r\n"
                                             b"228 63 doppelt\r\n")
        p = self.starten()
        p.warte_auf_fenster("frame")
        tasten("ctrl+t")
        datei_waehlen(p, "Tabelle wechseln", tabelle)
        box, _ = p.meldung()
        tasten("Return")
        p.warte_bis_zu(box)

        tasten("ctrl+b")
        editor = p.warte_auf_fenster("dialog", "schlecht.tab - Tabelle bearbeiten")
        tasten("F7")
        liste = p.warte_auf_fenster("dialog", "Tabelle prüfen")
        p.warte_auf_fokus("list item", "Zeile 2: Tabulator zwischen den Zahlen: Nur Leerzeichen "
                                       "trennen die Zahlen und den Kommentar.")
        tasten("Down")
        p.warte_auf_fokus("list item", "Zeile 5: Wirkt nie: Zeile 3 ersetzt schon „ä“ (228).")
        self.bild("befunde")
        tasten("Return")
        p.warte_bis_zu(liste)
        p.warte_auf_fokus("text", "Tabelle")

        # The status bar names the caret's place; Home goes to the line's
        # first character, 228 ("2").
        def status():
            return [o.name for o in alle(editor, lambda o: rolle(o) == "label")
                    if o.name.startswith(("Zeichen", "Zeilenende"))]
        warte(lambda: status() == ["Zeilenende, Zeile 5, Spalte 15"], "Zeilenende in Zeile 5")
        tasten("Home")
        warte(lambda: status() == ["Zeichen 50 „2“, Zeile 5, Spalte 1"], "Zeichen 50")
        self.bild("schreibmarke")
        tasten("alt+F4")
        p.warte_bis_zu(editor)
        tasten("alt+F4")
        self.assertEqual(p.warte_auf_ende(), 0)


class Schriftfarbe(ProgrammTest):

    def test_weisse_schrift_auf_schwarzem_grund(self):
        brief = self.datei("brief.txt", ("Schöne Grüße " * 40 + "\r\n").encode("cp1252") * 5)
        p = self.starten(brief)
        haupt = p.warte_auf_fenster("frame", f"brief.txt - {TITEL}")
        feld = textfeld(haupt)

        # Background "Schwarz": the text is black on black.
        hintergrund_waehlen(p, "Up", "Schwarz")
        warte(lambda: haeufigste_farbe(*ausmasse(feld)) == "#000000", "schwarzer Hintergrund")

        # White from the colour list of the real font dialog, by keyboard.
        p.menue_oeffnen("alt+a", "Schriftart...")
        tasten("Return")
        dialog = p.warte_auf_fenster("dialog", "Schriftart")
        tasten("alt+f")
        p.warte_auf_fokus("combo box", "Systemfarbe")
        tasten("Up")
        p.warte_auf_fokus("combo box", "Weiß")
        tasten("Home")
        p.warte_auf_fokus("combo box", "Schwarz")
        tasten("End", "Up")
        p.warte_auf_fokus("combo box", "Weiß")
        self.bild("farbe-weiss")
        tasten("Return")
        p.warte_bis_zu(dialog)
        warte(lambda: self.einstellungen().get("FontColor") == str(0xFFFFFF),
              "FontColor=16777215 gespeichert")
        self.assertEqual(self.einstellungen().get("HintColor"), "0")

        # The text and the labels are white on black now; the buttons keep
        # their own text colour.
        warte(lambda: farben(*ausmasse(feld)).get("#FFFFFF", 0) > 500, "weiße Schrift im Text")
        label = [o for o in alle(haupt, lambda o: rolle(o) == "label")
                 if o.name.startswith("Tabellen-Datei:")][0]
        self.assertGreater(farben(*ausmasse(label)).get("#FFFFFF", 0), 20)
        knopf = [o for o in alle(haupt, lambda o: rolle(o) == "push button")
                 if o.name == "Öffnen..."][0]
        dunkel = sum(n for f, n in farben(*ausmasse(knopf)).items()
                     if max(int(f[1:3], 16), int(f[3:5], 16), int(f[5:7], 16)) < 0x40)
        self.assertGreater(dunkel, 20, "dunkle Schrift auf dem Knopf")
        self.bild("weiss-auf-schwarz")
        tasten("alt+F4")
        self.assertEqual(p.warte_auf_ende(), 0)
